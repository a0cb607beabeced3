// The text form in which binary settings are kept in a settings file: every byte as two
// upper-case hex digits, then one more byte, the sum of all bytes modulo 256.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace UserInterface::Settings::OptionStorage {

std::string EncodeProfileStruct(std::span<const std::uint8_t> data);

// Fills `out` only when the text is exactly 2 * out.size() + 2 hex digits (either case)
// whose last byte is the checksum of the others; otherwise leaves `out` untouched.
bool DecodeProfileStruct(std::string_view text, std::span<std::uint8_t> out);

}  // namespace UserInterface::Settings::OptionStorage
