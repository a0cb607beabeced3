#include "database/engine/DataFileWriter.h"

#include "core/FileSystem.h"
#include "core/Guid.h"
#include "core/Version.h"
#include "database/engine/CompoundFile.h"
#include "database/engine/PagedStream.h"
#include "database/engine/StreamNames.h"
#include "database/engine/dbEngine.h"

#include <algorithm>
#include <cstring>

namespace Database::Engine {

namespace {

template <class I>
void Put(std::vector<std::uint8_t>& out, I value)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof(I));
}

bool Unchanged(const ARecordBase& slot) { return slot.current == slot.saved && slot.filePosition != 0; }

}  // namespace

HRESULT ADataFileWriter::WriteHeaderStream(AFileHeader& header)
{
    ACompoundStream* raw = nullptr;
    const bool fresh = rewriteAll_ || !storage_.HasStream(StreamNames::kHeader);
    HRESULT hr = fresh ? storage_.CreateStream(StreamNames::kHeader, &raw)
                       : storage_.OpenStream(StreamNames::kHeader, &raw);
    if (Result::Failed(hr))
        return hr;
    APagedStream stream(*raw, true);
    std::uint64_t blockAt;
    if (fresh) {
        const std::uint8_t length = sizeof StreamNames::kSignature;
        buffer_.assign(1, length);
        buffer_.insert(buffer_.end(), StreamNames::kSignature, StreamNames::kSignature + length);
        if (hr = stream.Write(0, buffer_.data(), buffer_.size()); Result::Failed(hr))
            return hr;
        blockAt = buffer_.size();
        header = AFileHeader{};
        const AGuid guid = NewGuid();
        std::memcpy(header.identity, guid.data(), guid.size());
        header.formatA = Version::kFormatWordA;
        header.formatB = Version::kFormatWordB;
        header.creatorBuild = Version::kBuild;
        header.lowestReaderBuild = Version::kLowestReaderBuild;
    } else {
        // Keep what the file says, as read now, and raise the lowest reader to ours.
        std::uint8_t length = 0;
        std::size_t got = 0;
        if (hr = stream.Read(0, &length, 1, &got); Result::Failed(hr))
            return hr;
        blockAt = 1u + length;
        std::uint8_t block[28] = {};
        if (hr = stream.Read(blockAt, block, sizeof block, &got); Result::Failed(hr))
            return hr;
        std::memcpy(header.identity, block, 16);
        std::memcpy(&header.formatA, block + 16, 12);
        header.lowestReaderBuild = std::max(header.lowestReaderBuild, Version::kLowestReaderBuild);
    }
    header.writerBuild = Version::kBuild;
    buffer_.assign(header.identity, header.identity + 16);
    for (std::uint16_t word : {header.formatA, header.formatB, header.creatorBuild, header.writerBuild,
                               header.lowestReaderBuild, header.reserved})
        Put(buffer_, word);
    if (hr = stream.Write(blockAt, buffer_.data(), buffer_.size()); Result::Failed(hr))
        return hr;
    return stream.Flush();
}

void ADataFileWriter::SlotBytes(const ATableBase& table, std::size_t slotPosition, std::uint32_t slotHeaderSize,
                                bool withBody, std::vector<std::uint8_t>& out)
{
    auto& slot = const_cast<ATableBase&>(table).SlotAt(slotPosition);
    out.clear();
    Put(out, slot.id);
    Put(out, slot.stamp);
    Put(out, std::uint8_t{slot.Exists() ? std::uint8_t{0} : std::uint8_t{1}});
    out.resize(slotHeaderSize, 0);
    if (withBody)
        table.WriteBody(slot, out);
}

HRESULT ADataFileWriter::WriteFixedSlots(ATableBase& table, APagedStream& stream, bool fresh, APendingTable& pending)
{
    const std::uint32_t slotHeaderSize = pending.slotHeaderSize;
    const std::uint32_t slotSize = slotHeaderSize + pending.recordSize;
    std::uint64_t end = fresh ? pending.headerSize : stream.Size();
    for (const std::uint32_t i : pending.looked) {
        ARecordBase& slot = table.SlotAt(i);
        const bool written = !fresh && slot.filePosition != 0;
        if (fresh ? !slot.Exists() : (Unchanged(slot) || (!written && !slot.Exists()))) {
            engine_.Progress().Add(1);
            continue;
        }
        SlotBytes(table, i, slotHeaderSize, slot.Exists(), buffer_);
        std::uint64_t at;
        if (written) {
            at = slot.filePosition;  // bytes beyond our body stay as they are
        } else {
            at = end;
            buffer_.resize(slotSize, 0);
            end += slotSize;
            pending.placed.emplace_back(i, static_cast<std::uint32_t>(at));
        }
        if (at > UINT32_MAX)
            return Result::kStgMediumFull;
        if (HRESULT hr = stream.Write(at, buffer_.data(), buffer_.size()); Result::Failed(hr))
            return hr;
        engine_.Progress().Add(1);
    }
    return Result::kOk;
}

HRESULT ADataFileWriter::WriteVariableSlots(ATableBase& table, APagedStream& stream, bool fresh,
                                            APendingTable& pending)
{
    // Everything from the first slot that changed on is written again, one after
    // another, and the stream is cut after the last.
    std::uint64_t from = fresh ? pending.headerSize : UINT64_MAX;
    if (!fresh)
        for (const std::uint32_t i : pending.looked) {
            const ARecordBase& slot = table.SlotAt(i);
            if (Unchanged(slot) || (slot.filePosition == 0 && !slot.Exists()))
                continue;
            from = std::min<std::uint64_t>(from, slot.filePosition != 0 ? slot.filePosition : stream.Size());
        }
    if (from == UINT64_MAX) {
        engine_.Progress().Add(pending.looked.size());
        return Result::kOk;
    }
    // What follows from moves, so this save writes every slot it rewrites.
    pending.looked.clear();
    std::uint64_t at = from;
    for (std::uint32_t i = 0; i < table.SlotCount(); ++i) {
        ARecordBase& slot = table.SlotAt(i);
        const bool rewrite = fresh || slot.filePosition == 0 || slot.filePosition >= from;
        if (!rewrite)
            continue;
        pending.looked.push_back(i);
        engine_.Progress().Add(1);
        if (!slot.Exists()) {
            pending.placed.emplace_back(i, 0);  // no longer in the file
            continue;
        }
        SlotBytes(table, i, pending.slotHeaderSize, true, buffer_);
        if (at > UINT32_MAX)
            return Result::kStgMediumFull;
        if (HRESULT hr = stream.Write(at, buffer_.data(), buffer_.size()); Result::Failed(hr))
            return hr;
        pending.placed.emplace_back(i, static_cast<std::uint32_t>(at));
        at += buffer_.size();
    }
    return stream.SetSize(at);
}

HRESULT ADataFileWriter::WriteTable(ATableBase& table, APendingTable& pending)
{
    const std::u16string name = StreamNames::Table(table.Id());
    const ATableHeader& stored = table.Header();
    const bool fresh = rewriteAll_ || !storage_.HasStream(name) || stored.headerSize < ATableHeader::kHeaderSize ||
                       stored.slotHeaderSize < ATableHeader::kSlotHeaderSize ||
                       (table.FixedSize() && table.RecordSize() > stored.recordSize);
    ACompoundStream* raw = nullptr;
    HRESULT hr = fresh ? storage_.CreateStream(name, &raw) : storage_.OpenStream(name, &raw);
    if (Result::Failed(hr))
        return hr;

    // A few changes in a large table: only the slots they touched are looked at.
    if (!fresh && table.TracksUnsaved()) {
        pending.looked = table.UnsavedPositions();
    } else {
        pending.looked.resize(table.SlotCount());
        for (std::uint32_t i = 0; i < pending.looked.size(); ++i)
            pending.looked[i] = i;
    }
    if (fresh)
        for (const std::uint32_t i : pending.looked)
            pending.placed.emplace_back(i, 0);
    pending.headerSize = fresh ? ATableHeader::kHeaderSize : stored.headerSize;
    pending.slotHeaderSize = fresh ? ATableHeader::kSlotHeaderSize : stored.slotHeaderSize;
    pending.recordSize = fresh ? table.RecordSize() : stored.recordSize;

    APagedStream stream(*raw, true);
    buffer_.clear();
    Put(buffer_, pending.headerSize);
    Put(buffer_, pending.slotHeaderSize);
    Put(buffer_, pending.recordSize);
    Put(buffer_, stored.nextId);
    Put(buffer_, stored.changeCounter);
    if (hr = stream.Write(0, buffer_.data(), buffer_.size()); Result::Failed(hr))
        return hr;
    hr = table.FixedSize() ? WriteFixedSlots(table, stream, fresh, pending)
                           : WriteVariableSlots(table, stream, fresh, pending);
    if (Result::Failed(hr))
        return hr;
    return stream.Flush();
}

HRESULT ADataFileWriter::Run()
{
    std::uint64_t records = 0;
    for (ATableId id = 1; id <= ADBEngine::kTableCount; ++id) {
        ATableBase& table = engine_.Table(id);
        records += rewriteAll_ || !table.TracksUnsaved() ? table.SlotCount() : table.UnsavedPositions().size();
    }
    engine_.Progress().Reset();
    engine_.Progress().SetTotal(records);

    AFileHeader header = engine_.FileHeader();
    std::vector<APendingTable> pending(ADBEngine::kTableCount + 1);
    HRESULT hr = WriteHeaderStream(header);
    for (ATableId id = 1; id <= ADBEngine::kTableCount && Result::Succeeded(hr); ++id)
        hr = WriteTable(engine_.Table(id), pending[id]);
    if (Result::Succeeded(hr))
        hr = storage_.Commit();
    if (Result::Failed(hr)) {
        storage_.Revert();
        return hr;
    }
    for (ATableId id = 1; id <= ADBEngine::kTableCount; ++id) {
        ATableBase& table = engine_.Table(id);
        ATableHeader& stored = table.Header();
        stored.headerSize = pending[id].headerSize;
        stored.slotHeaderSize = pending[id].slotHeaderSize;
        stored.recordSize = pending[id].recordSize;
        for (const auto& [slot, position] : pending[id].placed)
            table.SlotAt(slot).filePosition = position;
        table.MarkSaved(pending[id].looked);
    }
    engine_.fileHeader_ = header;
    return Result::kOk;
}

HRESULT ADBEngine::Save()
{
    if (!FD_VERIFY(!stepOpen_))
        return Result::kUnexpected;
    if (!storage_ || readOnly_)
        return Result::kUnexpected;
    ADataFileWriter writer(*this, *storage_, renumbered_);
    HRESULT hr = writer.Run();
    if (Result::Succeeded(hr))
        MarkSaved();
    return hr;
}

HRESULT ADBEngine::SaveAs(const std::string& path)
{
    if (!FD_VERIFY(!stepOpen_))
        return Result::kUnexpected;
    AFileName name;
    name.Set(path, programFolder_);
    // Saved as under its own name: our own lock would refuse a second container, so the
    // one we hold is written whole.
    if (storage_ && !readOnly_ && Files::SamePath(name.FullPath(), fileName_.FullPath())) {
        ADataFileWriter writer(*this, *storage_, true);
        HRESULT hr = writer.Run();
        if (Result::Succeeded(hr)) {
            fileName_ = name;
            MarkSaved();
        }
        return hr;
    }
    std::unique_ptr<ACompoundFile> file;
    HRESULT hr = ACompoundFile::Create(name.FullPath(), file);
    if (Result::Failed(hr))
        return hr;
    ADataFileWriter writer(*this, *file, true);
    if (hr = writer.Run(); Result::Failed(hr))
        return hr;
    storage_ = std::move(file);
    readOnly_ = false;
    fileName_ = name;
    MarkSaved();
    return hr;
}

void ADBEngine::ReleaseStorage()
{
    storage_.reset();
}

void ADBEngine::MarkSaved()
{
    savedStep_ = current_;
    renumbered_ = false;
}

}  // namespace Database::Engine
