#include "database/engine/CompoundFileWriter.h"

#include "core/Assert.h"
#include "database/engine/CompoundFileFormat.h"
#include "database/engine/CompoundFileIo.h"
#include "database/engine/CompoundFileTables.h"

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

std::vector<std::uint8_t> BuildFat(const std::vector<AStreamToWrite>& streams, const ALayout& layout)
{
    std::vector<std::uint32_t> fat(std::size_t{layout.fatSectors} * kEntriesPerSector, kFreeSector);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (!layout.inMiniStream[i])
            LinkChain(fat, Consecutive(layout.start[i], CeilDiv(streams[i].source->Size(), kSectorSize)));
    }
    if (layout.miniStreamSectors > 0) LinkChain(fat, Consecutive(layout.miniStreamStart, layout.miniStreamSectors));
    LinkChain(fat, Consecutive(layout.directoryStart, layout.directorySectors));
    if (layout.miniFatSectors > 0) LinkChain(fat, Consecutive(layout.miniFatStart, layout.miniFatSectors));
    std::fill_n(fat.begin() + layout.fatStart, layout.fatSectors, kFatSector);
    std::fill_n(fat.begin() + layout.fatStart + layout.fatSectors, layout.difatSectors, kDifatSector);
    return TableBytes(fat);
}

std::vector<std::uint8_t> BuildMiniFat(const std::vector<AStreamToWrite>& streams, const ALayout& layout)
{
    std::vector<std::uint32_t> miniFat(std::size_t{layout.miniFatSectors} * kEntriesPerSector, kFreeSector);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::uint64_t size = streams[i].source->Size();
        if (layout.inMiniStream[i] && size > 0)
            LinkChain(miniFat, Consecutive(layout.start[i], CeilDiv(size, kMiniSectorSize)));
    }
    return TableBytes(miniFat);
}

AHeaderFields HeaderFields(const ALayout& layout)
{
    AHeaderFields fields;
    fields.fatSectors = Consecutive(layout.fatStart, layout.fatSectors);
    fields.difatSectors = Consecutive(layout.difatStart, layout.difatSectors);
    fields.directoryStart = layout.directoryStart;
    fields.miniFatStart = layout.miniFatStart;
    fields.miniFatSectors = layout.miniFatSectors;
    return fields;
}

std::vector<std::uint8_t> Directory(const std::vector<AStreamToWrite>& streams, const ALayout& layout)
{
    std::vector<ADirectoryItem> items;
    for (std::size_t i = 0; i < streams.size(); ++i)
        items.push_back({streams[i].name, layout.start[i], streams[i].source->Size()});
    return BuildDirectory(items, layout.miniStreamStart, layout.miniStreamSize, layout.directorySectors);
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
    const std::vector<std::uint8_t> header = BuildHeader(HeaderFields(layout));
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
    const AHeaderFields fields = HeaderFields(layout);
    for (const auto& table : {Directory(streams, layout), BuildMiniFat(streams, layout), BuildFat(streams, layout),
                              BuildDifat(fields.fatSectors, fields.difatSectors)}) {
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
