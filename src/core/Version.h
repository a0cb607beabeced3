// Version constants of the program and of the data files it writes.
#pragma once
#include <cstdint>

namespace Version {

constexpr int kMajor = 2;
constexpr int kMinor = 1;
constexpr std::uint16_t kBuild = 235;

// Files last written by a build below this one need their identifiers renumbered;
// it is also the lowest build that may read what we write.
constexpr std::uint16_t kLowestReaderBuild = 218;

constexpr std::uint16_t kFormatWordA = 1;
constexpr std::uint16_t kFormatWordB = 2;

}  // namespace Version
