#include "core/ProfileStruct.h"

#include "core/HexDigits.h"

#include <algorithm>
#include <vector>

namespace UserInterface::Settings::OptionStorage {

namespace {

void AppendHex(std::string& text, std::uint8_t byte)
{
        text += HexDigits::kUpper[byte >> 4];
    text += HexDigits::kUpper[byte & 0x0F];
}

}  // namespace

std::string EncodeProfileStruct(std::span<const std::uint8_t> data)
{
    std::string text;
    text.reserve(data.size() * 2 + 2);
    std::uint8_t sum = 0;
    for (std::uint8_t byte : data) {
        AppendHex(text, byte);
        sum = static_cast<std::uint8_t>(sum + byte);
    }
    AppendHex(text, sum);
    return text;
}

bool DecodeProfileStruct(std::string_view text, std::span<std::uint8_t> out)
{
    if (text.size() != out.size() * 2 + 2)
        return false;
    std::vector<std::uint8_t> bytes(out.size() + 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigits::Value(text[2 * i]);
        const int low = HexDigits::Value(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < out.size(); ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    if (sum != bytes.back())
        return false;
    std::copy(bytes.begin(), bytes.end() - 1, out.begin());
    return true;
}

}  // namespace UserInterface::Settings::OptionStorage
