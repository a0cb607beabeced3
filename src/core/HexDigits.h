// Hex digits in the text forms of settings, GUIDs and percent-encoded paths.
#pragma once

namespace HexDigits {

inline constexpr char kUpper[] = "0123456789ABCDEF";

// The value of one hex digit of either case; -1 for any other character.
constexpr int Value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace HexDigits
