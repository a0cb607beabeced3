#include "database/engine/CompoundFileTables.h"

#include "database/engine/CompoundFileFormat.h"

#include <algorithm>

namespace Database::Engine::Implementation {

namespace {

constexpr std::size_t kSectorSize = 512;
constexpr std::size_t kEntriesPerSector = kSectorSize / 4;

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

}  // namespace

void LinkChain(std::vector<std::uint32_t>& table, const std::vector<std::uint32_t>& chain)
{
    for (std::size_t k = 0; k < chain.size(); ++k) table[chain[k]] = k + 1 < chain.size() ? chain[k + 1] : kEndOfChain;
}

std::vector<std::uint32_t> Consecutive(std::uint32_t start, std::uint64_t count)
{
    std::vector<std::uint32_t> sectors(count);
    for (std::uint64_t k = 0; k < count; ++k) sectors[k] = static_cast<std::uint32_t>(start + k);
    return sectors;
}

std::vector<std::uint8_t> TableBytes(const std::vector<std::uint32_t>& table)
{
    std::vector<std::uint8_t> bytes(table.size() * 4);
    for (std::size_t i = 0; i < table.size(); ++i) Store32(bytes.data() + 4 * i, table[i]);
    return bytes;
}

std::vector<std::uint8_t> BuildHeader(const AHeaderFields& fields)
{
    std::vector<std::uint8_t> header(kHeaderSize, 0);
    std::copy(std::begin(kCfbSignature), std::end(kCfbSignature), header.begin());
    std::uint8_t* h = header.data();
    Store16(h + HeaderField::kMinorVersion, 0x3E);
    Store16(h + HeaderField::kMajorVersion, 3);
    Store16(h + HeaderField::kByteOrder, 0xFFFE);
    Store16(h + HeaderField::kSectorShift, 9);
    Store16(h + HeaderField::kMiniSectorShift, 6);
    Store32(h + HeaderField::kFatSectorCount, static_cast<std::uint32_t>(fields.fatSectors.size()));
    Store32(h + HeaderField::kFirstDirectorySector, fields.directoryStart);
    Store32(h + HeaderField::kMiniStreamCutoff, static_cast<std::uint32_t>(kMiniStreamCutoff));
    Store32(h + HeaderField::kFirstMiniFatSector, fields.miniFatStart);
    Store32(h + HeaderField::kMiniFatSectorCount, fields.miniFatSectors);
    Store32(h + HeaderField::kFirstDifatSector, fields.difatSectors.empty() ? kEndOfChain : fields.difatSectors[0]);
    Store32(h + HeaderField::kDifatSectorCount, static_cast<std::uint32_t>(fields.difatSectors.size()));
    for (std::size_t i = 0; i < kHeaderDifatEntries; ++i) {
        Store32(h + HeaderField::kDifat + 4 * i, i < fields.fatSectors.size() ? fields.fatSectors[i] : kFreeSector);
    }
    return header;
}

std::vector<std::uint8_t> BuildDifat(const std::vector<std::uint32_t>& fatSectors,
                                     const std::vector<std::uint32_t>& difatSectors)
{
    std::vector<std::uint32_t> difat(difatSectors.size() * kEntriesPerSector, kFreeSector);
    for (std::size_t d = 0; d < difatSectors.size(); ++d) {
        for (std::size_t i = 0; i + 1 < kEntriesPerSector; ++i) {
            const std::size_t fatIndex = kHeaderDifatEntries + d * (kEntriesPerSector - 1) + i;
            if (fatIndex < fatSectors.size()) difat[d * kEntriesPerSector + i] = fatSectors[fatIndex];
        }
        difat[d * kEntriesPerSector + kEntriesPerSector - 1] =
            d + 1 < difatSectors.size() ? difatSectors[d + 1] : kEndOfChain;
    }
    return TableBytes(difat);
}

std::vector<std::uint8_t> BuildDirectory(const std::vector<ADirectoryItem>& items, std::uint32_t miniStreamStart,
                                         std::uint64_t miniStreamSize, std::size_t sectorCount)
{
    std::vector<std::uint8_t> directory(sectorCount * kSectorSize, 0);
    for (std::size_t offset = 0; offset < directory.size(); offset += kDirectoryEntrySize) {
        Store32(directory.data() + offset + EntryField::kLeft, kNoStream);
        Store32(directory.data() + offset + EntryField::kRight, kNoStream);
        Store32(directory.data() + offset + EntryField::kChild, kNoStream);
    }
    std::uint8_t* root = directory.data();
    StoreEntry(root, u"Root Entry", AEntryType::kRoot, miniStreamStart, miniStreamSize);
    root[EntryField::kColor] = static_cast<std::uint8_t>(AEntryColor::kBlack);
    for (std::size_t i = 0; i < items.size(); ++i) {
        StoreEntry(root + (i + 1) * kDirectoryEntrySize, items[i].name, AEntryType::kStream, items[i].start,
                   items[i].size);
    }
    if (!items.empty()) {
        const auto count = static_cast<std::uint32_t>(items.size());
        unsigned levels = 0;
        while ((std::uint64_t{1} << levels) - 1 < count) ++levels;
        const bool lastLevelFull = (std::uint64_t{1} << levels) - 1 == count;
        const unsigned redDepth = lastLevelFull ? ~0u : levels - 1;
        Store32(root + EntryField::kChild, LinkTree(root, 1, count, 0, redDepth));
    }
    return directory;
}

}  // namespace Database::Engine::Implementation
