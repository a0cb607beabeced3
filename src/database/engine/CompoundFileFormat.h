// Layout constants of the compound file container and the small helpers that
// read and write its little-endian fields and compare its entry names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Database::Engine::Implementation {

constexpr std::uint8_t kCfbSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kHeaderDifatEntries = 109;
constexpr std::size_t kDirectoryEntrySize = 128;
constexpr std::size_t kMiniSectorSize = 64;
constexpr std::uint64_t kMiniStreamCutoff = 4096;
constexpr std::size_t kMaxNameChars = 31;  // plus the terminating NUL: 64 bytes

// Sector numbers above kMaxRegularSector are markers.
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

// Header field offsets.
namespace HeaderField {
constexpr std::size_t kMinorVersion = 24;
constexpr std::size_t kMajorVersion = 26;
constexpr std::size_t kByteOrder = 28;
constexpr std::size_t kSectorShift = 30;
constexpr std::size_t kMiniSectorShift = 32;
constexpr std::size_t kDirectorySectorCount = 40;
constexpr std::size_t kFatSectorCount = 44;
constexpr std::size_t kFirstDirectorySector = 48;
constexpr std::size_t kMiniStreamCutoff = 56;
constexpr std::size_t kFirstMiniFatSector = 60;
constexpr std::size_t kMiniFatSectorCount = 64;
constexpr std::size_t kFirstDifatSector = 68;
constexpr std::size_t kDifatSectorCount = 72;
constexpr std::size_t kDifat = 76;
}  // namespace HeaderField

// Directory entry field offsets.
namespace EntryField {
constexpr std::size_t kName = 0;
constexpr std::size_t kNameLength = 64;
constexpr std::size_t kType = 66;
constexpr std::size_t kColor = 67;
constexpr std::size_t kLeft = 68;
constexpr std::size_t kRight = 72;
constexpr std::size_t kChild = 76;
constexpr std::size_t kStartSector = 116;
constexpr std::size_t kSize = 120;
}  // namespace EntryField

enum class AEntryType : std::uint8_t { kUnused = 0, kStorage = 1, kStream = 2, kRoot = 5 };
enum class AEntryColor : std::uint8_t { kRed = 0, kBlack = 1 };

inline std::uint16_t Load16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t Load32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t Load64(const std::uint8_t* p)
{
    return static_cast<std::uint64_t>(Load32(p)) | (static_cast<std::uint64_t>(Load32(p + 4)) << 32);
}
inline void Store16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Store32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void Store64(std::uint8_t* p, std::uint64_t v)
{
    Store32(p, static_cast<std::uint32_t>(v));
    Store32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

// Entry names are ordered shorter first, then by upper-cased UTF-16 units; two
// siblings may not be equal under this order, so it is also how names are looked up.
int CompareEntryNames(const std::u16string& a, const std::u16string& b);

struct AEntryNameLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const { return CompareEntryNames(a, b) < 0; }
};

// A stream name may hold 1..31 UTF-16 units, none of them NUL, '/', '\', ':' or '!'.
bool IsValidEntryName(const std::u16string& name);

}  // namespace Database::Engine::Implementation
