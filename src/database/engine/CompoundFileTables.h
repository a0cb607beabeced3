// The container's own structures as bytes: header, directory, sector tables.
// Shared by the writer of a whole new file and by the update in place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Database::Engine::Implementation {

// Links the sectors of chain, in order, in a FAT or mini FAT.
void LinkChain(std::vector<std::uint32_t>& table, const std::vector<std::uint32_t>& chain);
// The sector numbers start, start + 1, ... start + count - 1.
std::vector<std::uint32_t> Consecutive(std::uint32_t start, std::uint64_t count);
std::vector<std::uint8_t> TableBytes(const std::vector<std::uint32_t>& table);

struct AHeaderFields {
    std::vector<std::uint32_t> fatSectors;
    std::vector<std::uint32_t> difatSectors;
    std::uint32_t directoryStart = 0;
    std::uint32_t miniFatStart = 0;  // kEndOfChain when there is none
    std::uint32_t miniFatSectors = 0;
};
std::vector<std::uint8_t> BuildHeader(const AHeaderFields& fields);

// DIFAT sectors: the numbers of the FAT sectors past the header's 109, with the
// next DIFAT sector's number in each sector's last entry.
std::vector<std::uint8_t> BuildDifat(const std::vector<std::uint32_t>& fatSectors,
                                     const std::vector<std::uint32_t>& difatSectors);

struct ADirectoryItem {
    std::u16string name;
    std::uint32_t start;  // first sector, first mini sector, or kEndOfChain
    std::uint64_t size;
};
// The directory of a root storage whose streams are items, in name order; the root
// entry holds the mini stream.
std::vector<std::uint8_t> BuildDirectory(const std::vector<ADirectoryItem>& items, std::uint32_t miniStreamStart,
                                         std::uint64_t miniStreamSize, std::size_t sectorCount);

}  // namespace Database::Engine::Implementation
