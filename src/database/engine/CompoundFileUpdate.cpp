#include "database/engine/CompoundFileUpdate.h"

#include "core/Assert.h"
#include "database/engine/CompoundFileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Database::Engine::Implementation {

namespace {

constexpr std::size_t kEntriesPerSector = 512 / 4;
constexpr std::size_t kEntriesPerDirectorySector = 512 / kDirectoryEntrySize;

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t unit) { return (value + unit - 1) / unit; }
std::uint64_t SectorOffset(std::uint32_t sector) { return (std::uint64_t{sector} + 1) * 512; }

HRESULT ReadExactly(ACompoundStream& stream, std::uint64_t position, std::uint8_t* out, std::size_t count)
{
    std::size_t got = 0;
    const HRESULT hr = stream.ReadAt(position, out, count, &got);
    if (Result::Failed(hr)) return hr;
    return got == count ? Result::kOk : Result::kStgReadFault;
}

}  // namespace

bool AInPlaceUpdate::WasInUse(std::uint32_t sector) const
{
    return sector < old_.sectorCount && sector < old_.fat.size() && old_.fat[sector] != kFreeSector;
}

std::uint32_t AInPlaceUpdate::Allocate()
{
    // Only sectors nothing used before this save: what they held needs no journal.
    while (cursor_ < old_.fat.size() && old_.fat[cursor_] != kFreeSector) ++cursor_;
    const std::uint32_t sector = cursor_++;
    maxSector_ = std::max(maxSector_, sector + 1);
    return sector;
}

std::vector<std::uint32_t> AInPlaceUpdate::Reuse(const std::vector<std::uint32_t>& chain, std::uint64_t count)
{
    std::vector<std::uint32_t> sectors(chain.begin(), chain.begin() + std::min<std::uint64_t>(chain.size(), count));
    while (sectors.size() < count) sectors.push_back(Allocate());
    return sectors;
}

HRESULT AInPlaceUpdate::Place(std::uint64_t offset, const std::uint8_t* bytes, bool wasInUse)
{
    AWrite write{offset, std::vector<std::uint8_t>(bytes, bytes + kSector), wasInUse, {}};
    if (wasInUse) {
        // A foreign file may end in a short sector; the journal keeps what there is.
        write.old.resize(kSector);
        std::size_t got = 0;
        const HRESULT hr = ReadUpTo(fd_, offset, write.old.data(), kSector, &got);
        if (Result::Failed(hr)) return hr;
        write.old.resize(got);
        if (write.old == write.bytes) return Result::kOk;
    }
    writes_.push_back(std::move(write));
    return Result::kOk;
}

HRESULT AInPlaceUpdate::PlaceSectors(const std::vector<std::uint32_t>& chain, const std::vector<std::uint8_t>& bytes)
{
    if (!FD_VERIFY(bytes.size() <= chain.size() * kSector)) return Result::kUnexpected;
    std::uint8_t sector[kSector];
    for (std::size_t k = 0; k < chain.size(); ++k) {
        const std::size_t from = std::min(bytes.size(), k * kSector);
        const std::size_t count = std::min(bytes.size() - from, kSector);
        std::memcpy(sector, bytes.data() + from, count);
        std::memset(sector + count, 0, kSector - count);
        if (HRESULT hr = Place(SectorOffset(chain[k]), sector, WasInUse(chain[k])); Result::Failed(hr)) return hr;
    }
    return Result::kOk;
}

HRESULT AInPlaceUpdate::PlanLargeStream(const AStreamToUpdate& stream, ADirectoryItem& item, AExtentList& extents)
{
    const std::uint64_t size = stream.stream->Size();
    const auto found = old_.chains.find(stream.name);
    static const std::vector<std::uint32_t> kNone;
    const std::vector<std::uint32_t>& before = found != old_.chains.end() ? found->second : kNone;
    std::vector<std::uint32_t> chain = Reuse(before, CeilDiv(size, kSector));

    // Sectors wholly within the stored bytes that no change touches are as they were;
    // everything from the first sector past them may differ, and so may changed chunks.
    const std::uint64_t unchangedUpTo = std::min<std::uint64_t>(stream.stream->StoredLength() / kSector, before.size());
    std::vector<std::uint64_t> candidates;
    constexpr std::uint64_t kSectorsPerChunk = ACompoundStreamImpl::kChunkSize / kSector;
    stream.stream->ForEachChangedChunk([&](std::uint64_t chunk) {
        for (std::uint64_t k = chunk * kSectorsPerChunk; k < (chunk + 1) * kSectorsPerChunk && k < unchangedUpTo; ++k)
            candidates.push_back(k);
    });
    for (std::uint64_t k = unchangedUpTo; k < chain.size(); ++k) candidates.push_back(k);

    std::uint8_t sector[kSector];
    for (std::uint64_t k : candidates) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kSector, size - k * kSector));
        HRESULT hr = ReadExactly(*stream.stream, k * kSector, sector, count);
        std::memset(sector + count, 0, kSector - count);
        if (Result::Succeeded(hr)) hr = Place(SectorOffset(chain[k]), sector, WasInUse(chain[k]));
        if (Result::Failed(hr)) return hr;
    }
    for (std::uint64_t k = 0; k < chain.size(); ++k)
        extents.Append(SectorOffset(chain[k]), std::min<std::uint64_t>(kSector, size - k * kSector));
    item = {stream.name, chain.front(), size};
    layout_.chains[stream.name] = std::move(chain);
    return Result::kOk;
}

HRESULT AInPlaceUpdate::PlanSmallStreams(const std::vector<AStreamToUpdate>& streams, std::vector<ADirectoryItem>& items)
{
    // Packed in name order, each from a mini sector of its own, as a new file has them.
    std::vector<std::uint8_t> mini;
    std::vector<std::uint32_t> miniFatChains;
    std::vector<std::uint32_t> miniFat;
    std::vector<std::pair<std::size_t, std::uint32_t>> placed;  // stream index, first mini sector
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::uint64_t size = streams[i].stream->Size();
        if (size >= kMiniStreamCutoff) continue;
        if (size == 0) {
            items[i] = {streams[i].name, kEndOfChain, 0};
            continue;
        }
        const auto start = static_cast<std::uint32_t>(mini.size() / kMiniSectorSize);
        mini.resize(mini.size() + CeilDiv(size, kMiniSectorSize) * kMiniSectorSize, 0);
        const HRESULT hr = ReadExactly(*streams[i].stream, 0, mini.data() + std::size_t{start} * kMiniSectorSize,
                                       static_cast<std::size_t>(size));
        if (Result::Failed(hr)) return hr;
        items[i] = {streams[i].name, start, size};
        placed.emplace_back(i, start);
    }
    miniStreamSize_ = mini.size();
    const std::uint64_t miniSectors = mini.size() / kMiniSectorSize;
    layout_.miniStream = Reuse(old_.miniStream, CeilDiv(mini.size(), kSector));
    if (HRESULT hr = PlaceSectors(layout_.miniStream, mini); Result::Failed(hr)) return hr;

    miniFat.assign(CeilDiv(miniSectors, kEntriesPerSector) * kEntriesPerSector, kFreeSector);
    for (const auto& [i, start] : placed) {
        const std::uint64_t size = streams[i].stream->Size();
        const std::uint64_t count = CeilDiv(size, kMiniSectorSize);
        LinkChain(miniFat, Consecutive(start, count));
        for (std::uint64_t j = 0; j < count; ++j) {
            const std::uint64_t position = (start + j) * kMiniSectorSize;
            extents_[i].Append(SectorOffset(layout_.miniStream[position / kSector]) + position % kSector,
                               std::min<std::uint64_t>(kMiniSectorSize, size - j * kMiniSectorSize));
        }
    }
    layout_.miniFat = Reuse(old_.miniFat, miniFat.size() / kEntriesPerSector);
    return PlaceSectors(layout_.miniFat, TableBytes(miniFat));
}

HRESULT AInPlaceUpdate::PlanDirectory(const std::vector<ADirectoryItem>& items)
{
    layout_.directory = Reuse(old_.directory, CeilDiv(items.size() + 1, kEntriesPerDirectorySector));
    const std::uint32_t miniStart = layout_.miniStream.empty() ? kEndOfChain : layout_.miniStream.front();
    return PlaceSectors(layout_.directory,
                        BuildDirectory(items, miniStart, miniStreamSize_, layout_.directory.size()));
}

HRESULT AInPlaceUpdate::PlanFat()
{
    // The FAT covers every sector of the file, its own and the DIFAT's among them, so
    // each sector it takes may call for more; the old ones are kept even when fewer would do.
    layout_.fatSectors = old_.fatSectors;
    layout_.difatSectors = old_.difatSectors;
    for (;;) {
        const std::uint64_t fatCount = std::max<std::uint64_t>(CeilDiv(maxSector_, kEntriesPerSector),
                                                               layout_.fatSectors.size());
        const std::uint64_t difatCount =
            fatCount > kHeaderDifatEntries ? CeilDiv(fatCount - kHeaderDifatEntries, kEntriesPerSector - 1) : 0;
        if (layout_.fatSectors.size() < fatCount) {
            layout_.fatSectors.push_back(Allocate());
        } else if (layout_.difatSectors.size() < difatCount) {
            layout_.difatSectors.push_back(Allocate());
        } else {
            break;
        }
        if (maxSector_ > kMaxRegularSector) return Result::kStgMediumFull;
    }
    std::vector<std::uint32_t>& fat = layout_.fat;
    fat.assign(layout_.fatSectors.size() * kEntriesPerSector, kFreeSector);
    for (const auto& [name, chain] : layout_.chains) LinkChain(fat, chain);
    for (const auto* chain : {&layout_.miniStream, &layout_.directory, &layout_.miniFat}) LinkChain(fat, *chain);
    for (std::uint32_t sector : layout_.fatSectors) fat[sector] = kFatSector;
    for (std::uint32_t sector : layout_.difatSectors) fat[sector] = kDifatSector;
    HRESULT hr = PlaceSectors(layout_.fatSectors, TableBytes(fat));
    if (Result::Succeeded(hr)) hr = PlaceSectors(layout_.difatSectors, BuildDifat(layout_.fatSectors, layout_.difatSectors));
    if (Result::Failed(hr)) return hr;

    AHeaderFields fields;
    fields.fatSectors = layout_.fatSectors;
    fields.difatSectors = layout_.difatSectors;
    fields.directoryStart = layout_.directory.front();
    fields.miniFatStart = layout_.miniFat.empty() ? kEndOfChain : layout_.miniFat.front();
    fields.miniFatSectors = static_cast<std::uint32_t>(layout_.miniFat.size());
    return Place(0, BuildHeader(fields).data(), true);
}

HRESULT AInPlaceUpdate::Plan(const std::vector<AStreamToUpdate>& streams)
{
    writes_.clear();
    extents_.assign(streams.size(), AExtentList());
    layout_ = AContainerLayout();
    layout_.updatable = true;
    std::vector<ADirectoryItem> items(streams.size());
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (streams[i].stream->Size() < kMiniStreamCutoff) continue;
        if (HRESULT hr = PlanLargeStream(streams[i], items[i], extents_[i]); Result::Failed(hr)) return hr;
    }
    HRESULT hr = PlanSmallStreams(streams, items);
    if (Result::Succeeded(hr)) hr = PlanDirectory(items);
    if (Result::Succeeded(hr)) hr = PlanFat();
    if (Result::Failed(hr)) return hr;
    layout_.sectorCount = maxSector_;
    std::sort(writes_.begin(), writes_.end(), [](const AWrite& a, const AWrite& b) { return a.offset < b.offset; });
    return Result::kOk;
}

std::uint64_t AInPlaceUpdate::FreeSectors() const
{
    std::uint64_t free = 0;
    for (std::uint32_t s = 0; s < maxSector_ && s < layout_.fat.size(); ++s) free += layout_.fat[s] == kFreeSector;
    return free;
}

HRESULT AInPlaceUpdate::Apply(const std::string& journalPath, const AJournal& identity, ASaveCalls& calls,
                              bool& journalLeft)
{
    journalLeft = false;
    AJournal journal = identity;
    journal.pieces.clear();
    for (const AWrite& write : writes_)
        if (write.journaled) journal.pieces.push_back({write.offset, write.old});
    const bool journaled = !journal.pieces.empty();
    if (journaled)
        if (HRESULT hr = WriteJournal(journalPath, journal, calls); Result::Failed(hr)) return hr;

    HRESULT hr = Result::kOk;
    for (std::size_t i = 0; i < writes_.size() && Result::Succeeded(hr);) {
        // Adjacent sectors go in one call.
        std::vector<std::uint8_t> run = writes_[i].bytes;
        std::size_t next = i + 1;
        while (next < writes_.size() && writes_[next].offset == writes_[i].offset + run.size()) {
            run.insert(run.end(), writes_[next].bytes.begin(), writes_[next].bytes.end());
            ++next;
        }
        for (std::size_t done = 0; done < run.size() && Result::Succeeded(hr);) {
            const ssize_t n = calls.WriteAt(fd_, run.data() + done, run.size() - done, writes_[i].offset + done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) hr = n < 0 ? Result::FromErrno(errno) : Result::kStgWriteFault;
            else done += static_cast<std::size_t>(n);
        }
        i = next;
    }
    if (Result::Succeeded(hr) && calls.Flush(fd_) != 0) hr = Result::FromErrno(errno);
    if (Result::Succeeded(hr) && journaled) hr = RemoveJournal(journalPath);
    if (Result::Succeeded(hr)) return hr;

    // Put the old bytes back, so that the file and everything read from it stay as before.
    if (Result::Succeeded(RollBack(fd_, journal, calls))) {
        if (journaled && Result::Succeeded(RemoveJournal(journalPath))) return hr;
        if (!journaled) return hr;
    }
    journalLeft = journaled;
    return hr;
}

}  // namespace Database::Engine::Implementation
