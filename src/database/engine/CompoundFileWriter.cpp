#include "database/engine/CompoundFileWriter.h"

#include "core/Assert.h"
#include "database/engine/CompoundFileFormat.h"
#include "database/engine/CompoundFileIo.h"

#include <algorithm>
#include <numeric>

namespace Database::Engine::Implementation {

namespace {

constexpr std::size_t kSectorSize = 512;
constexpr std::size_t kEntriesPerSector = kSectorSize / 4;
constexpr std::size_t kDirectoryEntriesPerSector = kSectorSize / kDirectoryEntrySize;
constexpr std::size_t kCopyBufferSize = 1 << 20;

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t unit) { return (value + unit - 1) / unit; }

// Sector numbers of every part of the new file. The stream data comes first and
// the tables last, so that a file cut short always loses a table and is refused.
struct ALayout {
    std::vector<std::uint32_t> start;  // per stream: first sector, first mini sector, or kEndOfChain
    std::vector<bool> inMiniStream;
    std::uint64_t miniStreamSize = 0;
    std::uint32_t miniStreamStart = kEndOfChain;
    std::uint32_t miniStreamSectors = 0;
    std::uint32_t directoryStart = 0;
    std::uint32_t directorySectors = 0;
    std::uint32_t miniFatStart = kEndOfChain;
    std::uint32_t miniFatSectors = 0;
    std::uint32_t fatStart = 0;
    std::uint32_t fatSectors = 0;
    std::uint32_t difatStart = kEndOfChain;
    std::uint32_t difatSectors = 0;
    std::uint64_t totalSectors = 0;
};

HRESULT PlanLayout(const std::vector<AStreamToWrite>& streams, ALayout& layout)
{
    std::uint64_t next = 0;
    std::uint64_t nextMini = 0;
    for (const AStreamToWrite& stream : streams) {
        const std::uint64_t size = stream.source->Size();
        if (size > 0xFFFFFFFFull) return Result::kStgMediumFull;
        const bool mini = size < kMiniStreamCutoff;
        std::uint64_t& cursor = mini ? nextMini : next;
        layout.inMiniStream.push_back(mini);
        layout.start.push_back(size == 0 ? kEndOfChain : static_cast<std::uint32_t>(cursor));
        cursor += CeilDiv(size, mini ? kMiniSectorSize : kSectorSize);
        if (next > kMaxRegularSector || nextMini > kMaxRegularSector) return Result::kStgMediumFull;
    }
    layout.miniStreamSize = nextMini * kMiniSectorSize;
    layout.miniStreamSectors = static_cast<std::uint32_t>(CeilDiv(layout.miniStreamSize, kSectorSize));
    if (layout.miniStreamSectors > 0) layout.miniStreamStart = static_cast<std::uint32_t>(next);
    next += layout.miniStreamSectors;
    layout.directoryStart = static_cast<std::uint32_t>(next);
    layout.directorySectors = static_cast<std::uint32_t>(CeilDiv(streams.size() + 1, kDirectoryEntriesPerSector));
    next += layout.directorySectors;
    layout.miniFatSectors = static_cast<std::uint32_t>(CeilDiv(nextMini, kEntriesPerSector));
    if (layout.miniFatSectors > 0) layout.miniFatStart = static_cast<std::uint32_t>(next);
    next += layout.miniFatSectors;

    // The FAT must also cover its own sectors and those of the DIFAT; grow both until they do.
    std::uint64_t fat = 0;
    std::uint64_t difat = 0;
    for (;;) {
        const std::uint64_t needFat = CeilDiv(next + fat + difat, kEntriesPerSector);
        const std::uint64_t needDifat =
            needFat > kHeaderDifatEntries ? CeilDiv(needFat - kHeaderDifatEntries, kEntriesPerSector - 1) : 0;
        if (needFat == fat && needDifat == difat) break;
        fat = needFat;
        difat = needDifat;
    }
    layout.totalSectors = next + fat + difat;
    if (layout.totalSectors > kMaxRegularSector) return Result::kStgMediumFull;
    layout.fatStart = static_cast<std::uint32_t>(next);
    layout.fatSectors = static_cast<std::uint32_t>(fat);
    if (difat > 0) layout.difatStart = static_cast<std::uint32_t>(next + fat);
    layout.difatSectors = static_cast<std::uint32_t>(difat);
    return Result::kOk;
}

void LinkChain(std::vector<std::uint32_t>& table, std::uint32_t start, std::uint64_t count)
{
    for (std::uint64_t k = 0; k < count; ++k) {
        table[start + k] = k + 1 < count ? static_cast<std::uint32_t>(start + k + 1) : kEndOfChain;
    }
}

std::vector<std::uint8_t> TableBytes(const std::vector<std::uint32_t>& table)
{
    std::vector<std::uint8_t> bytes(table.size() * 4);
    for (std::size_t i = 0; i < table.size(); ++i) Store32(bytes.data() + 4 * i, table[i]);
    return bytes;
}

std::vector<std::uint8_t> BuildFat(const std::vector<AStreamToWrite>& streams, const ALayout& layout)
{
    std::vector<std::uint32_t> fat(std::size_t{layout.fatSectors} * kEntriesPerSector, kFreeSector);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (!layout.inMiniStream[i]) LinkChain(fat, layout.start[i], CeilDiv(streams[i].source->Size(), kSectorSize));
    }
    if (layout.miniStreamSectors > 0) LinkChain(fat, layout.miniStreamStart, layout.miniStreamSectors);
    LinkChain(fat, layout.directoryStart, layout.directorySectors);
    if (layout.miniFatSectors > 0) LinkChain(fat, layout.miniFatStart, layout.miniFatSectors);
    std::fill_n(fat.begin() + layout.fatStart, layout.fatSectors, kFatSector);
    std::fill_n(fat.begin() + layout.fatStart + layout.fatSectors, layout.difatSectors, kDifatSector);
    return TableBytes(fat);
}

std::vector<std::uint8_t> BuildMiniFat(const std::vector<AStreamToWrite>& streams, const ALayout& layout)
{
    std::vector<std::uint32_t> miniFat(std::size_t{layout.miniFatSectors} * kEntriesPerSector, kFreeSector);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::uint64_t size = streams[i].source->Size();
        if (layout.inMiniStream[i] && size > 0) LinkChain(miniFat, layout.start[i], CeilDiv(size, kMiniSectorSize));
    }
    return TableBytes(miniFat);
}

// DIFAT sectors: the numbers of the FAT sectors past the header's 109, with the
// next DIFAT sector's number in each sector's last entry.
std::vector<std::uint8_t> BuildDifat(const ALayout& layout)
{
    std::vector<std::uint32_t> difat(std::size_t{layout.difatSectors} * kEntriesPerSector, kFreeSector);
    for (std::uint32_t d = 0; d < layout.difatSectors; ++d) {
        for (std::size_t i = 0; i + 1 < kEntriesPerSector; ++i) {
            const std::uint64_t fatIndex = kHeaderDifatEntries + d * (kEntriesPerSector - 1) + i;
            if (fatIndex < layout.fatSectors)
                difat[d * kEntriesPerSector + i] = layout.fatStart + static_cast<std::uint32_t>(fatIndex);
        }
        difat[d * kEntriesPerSector + kEntriesPerSector - 1] =
            d + 1 < layout.difatSectors ? layout.difatStart + d + 1 : kEndOfChain;
    }
    return TableBytes(difat);
}

std::vector<std::uint8_t> BuildHeader(const ALayout& layout)
{
    std::vector<std::uint8_t> header(kHeaderSize, 0);
    std::copy(std::begin(kCfbSignature), std::end(kCfbSignature), header.begin());
    std::uint8_t* h = header.data();
    Store16(h + HeaderField::kMinorVersion, 0x3E);
    Store16(h + HeaderField::kMajorVersion, 3);
    Store16(h + HeaderField::kByteOrder, 0xFFFE);
    Store16(h + HeaderField::kSectorShift, 9);
    Store16(h + HeaderField::kMiniSectorShift, 6);
    Store32(h + HeaderField::kFatSectorCount, layout.fatSectors);
    Store32(h + HeaderField::kFirstDirectorySector, layout.directoryStart);
    Store32(h + HeaderField::kMiniStreamCutoff, static_cast<std::uint32_t>(kMiniStreamCutoff));
    Store32(h + HeaderField::kFirstMiniFatSector, layout.miniFatStart);
    Store32(h + HeaderField::kMiniFatSectorCount, layout.miniFatSectors);
    Store32(h + HeaderField::kFirstDifatSector, layout.difatStart);
    Store32(h + HeaderField::kDifatSectorCount, layout.difatSectors);
    for (std::size_t i = 0; i < kHeaderDifatEntries; ++i) {
        Store32(h + HeaderField::kDifat + 4 * i,
                i < layout.fatSectors ? layout.fatStart + static_cast<std::uint32_t>(i) : kFreeSector);
    }
    return header;
}

void StoreEntry(std::uint8_t* entry, const std::u16string& name, AEntryType type, std::uint32_t start,
                std::uint64_t size)
{
    for (std::size_t i = 0; i < name.size(); ++i) Store16(entry + EntryField::kName + 2 * i, name[i]);
    Store16(entry + EntryField::kNameLength, static_cast<std::uint16_t>(2 * (name.size() + 1)));
    entry[EntryField::kType] = static_cast<std::uint8_t>(type);
    Store32(entry + EntryField::kStartSector, start);
    Store64(entry + EntryField::kSize, size);
}

// Links the entries first..last (ids in name order) into a tree split at the
// middle. Its empty links all lie on the last two levels, so colouring the
// nodes of the last level red (when that level is not full) and all others
// black makes it a valid red-black tree.
std::uint32_t LinkTree(std::uint8_t* entries, std::uint32_t first, std::uint32_t last, unsigned depth,
                       unsigned redDepth)
{
    if (first > last) return kNoStream;
    const std::uint32_t middle = first + (last - first) / 2;
    std::uint8_t* entry = entries + std::size_t{middle} * kDirectoryEntrySize;
    entry[EntryField::kColor] = static_cast<std::uint8_t>(depth == redDepth ? AEntryColor::kRed : AEntryColor::kBlack);
    Store32(entry + EntryField::kLeft,
            middle > first ? LinkTree(entries, first, middle - 1, depth + 1, redDepth) : kNoStream);
    Store32(entry + EntryField::kRight, LinkTree(entries, middle + 1, last, depth + 1, redDepth));
    return middle;
}

std::vector<std::uint8_t> BuildDirectory(const std::vector<AStreamToWrite>& streams, const ALayout& layout)
{
    std::vector<std::uint8_t> directory(std::size_t{layout.directorySectors} * kSectorSize, 0);
    for (std::size_t offset = 0; offset < directory.size(); offset += kDirectoryEntrySize) {
        Store32(directory.data() + offset + EntryField::kLeft, kNoStream);
        Store32(directory.data() + offset + EntryField::kRight, kNoStream);
        Store32(directory.data() + offset + EntryField::kChild, kNoStream);
    }
    std::uint8_t* root = directory.data();
    StoreEntry(root, u"Root Entry", AEntryType::kRoot, layout.miniStreamStart, layout.miniStreamSize);
    root[EntryField::kColor] = static_cast<std::uint8_t>(AEntryColor::kBlack);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        StoreEntry(root + (i + 1) * kDirectoryEntrySize, streams[i].name, AEntryType::kStream, layout.start[i],
                   streams[i].source->Size());
    }
    if (!streams.empty()) {
        const auto count = static_cast<std::uint32_t>(streams.size());
        unsigned levels = 0;
        while ((std::uint64_t{1} << levels) - 1 < count) ++levels;
        const bool lastLevelFull = (std::uint64_t{1} << levels) - 1 == count;
        const unsigned redDepth = lastLevelFull ? ~0u : levels - 1;
        Store32(root + EntryField::kChild, LinkTree(root, 1, count, 0, redDepth));
    }
    return directory;
}

HRESULT CopyContent(ASequentialWriter& writer, ACompoundStream& source, std::vector<std::uint8_t>& buffer)
{
    const std::uint64_t size = source.Size();
    for (std::uint64_t position = 0; position < size;) {
        const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size - position));
        std::size_t got = 0;
        HRESULT hr = source.ReadAt(position, buffer.data(), part, &got);
        if (Result::Succeeded(hr) && got != part) hr = Result::kStgReadFault;
        if (Result::Succeeded(hr)) hr = writer.Write(buffer.data(), part);
        if (Result::Failed(hr)) return hr;
        position += part;
    }
    return Result::kOk;
}

HRESULT PadTo(ASequentialWriter& writer, std::uint64_t unit)
{
    const std::uint64_t rest = writer.Position() % unit;
    return rest == 0 ? Result::kOk : writer.WriteZeros(unit - rest);
}

}  // namespace

HRESULT WriteContainer(int fd, const std::vector<AStreamToWrite>& unordered, std::vector<AExtentList>& written)
{
    // Directory ids follow the name order, which the tree builder relies on.
    std::vector<std::size_t> order(unordered.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return CompareEntryNames(unordered[a].name, unordered[b].name) < 0;
    });
    std::vector<AStreamToWrite> streams;
    for (std::size_t i : order) streams.push_back(unordered[i]);

    ALayout layout;
    HRESULT hr = PlanLayout(streams, layout);
    if (Result::Failed(hr)) return hr;

    ASequentialWriter writer(fd);
    std::vector<std::uint8_t> buffer(kCopyBufferSize);
    const std::vector<std::uint8_t> header = BuildHeader(layout);
    hr = writer.Write(header.data(), header.size());
    for (int pass = 0; pass < 2 && Result::Succeeded(hr); ++pass) {
        // Large streams first, then the small ones packed into the mini stream.
        const bool mini = pass == 1;
        for (std::size_t i = 0; i < streams.size() && Result::Succeeded(hr); ++i) {
            if (layout.inMiniStream[i] != mini) continue;
            hr = CopyContent(writer, *streams[i].source, buffer);
            if (Result::Succeeded(hr)) hr = PadTo(writer, mini ? kMiniSectorSize : kSectorSize);
        }
    }
    if (Result::Succeeded(hr)) hr = PadTo(writer, kSectorSize);
    for (const auto& table : {BuildDirectory(streams, layout), BuildMiniFat(streams, layout), BuildFat(streams, layout),
                              BuildDifat(layout)}) {
        if (Result::Succeeded(hr)) hr = writer.Write(table.data(), table.size());
    }
    if (Result::Succeeded(hr)) hr = writer.Flush();
    if (Result::Failed(hr)) return hr;
    if (!FD_VERIFY(writer.Position() == (layout.totalSectors + 1) * kSectorSize)) return Result::kUnexpected;

    written.assign(unordered.size(), AExtentList());
    const std::uint64_t miniStreamOffset = (std::uint64_t{layout.miniStreamStart} + 1) * kSectorSize;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::uint64_t size = streams[i].source->Size();
        if (size == 0) continue;
        const std::uint64_t offset = layout.inMiniStream[i]
                                         ? miniStreamOffset + std::uint64_t{layout.start[i]} * kMiniSectorSize
                                         : (std::uint64_t{layout.start[i]} + 1) * kSectorSize;
        written[order[i]].Append(offset, size);
    }
    return Result::kOk;
}

}  // namespace Database::Engine::Implementation
