// 16-byte identifiers made from the system's random source.
#pragma once
#include <array>
#include <cstdint>

using AGuid = std::array<std::uint8_t, 16>;

// A random (version 4) GUID in its stored byte order.
AGuid NewGuid();
