// Small text helpers used on labels and on names the user types.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace UtilityClasses::Strings {

// The text without "&" and ":", so a label ("&Примечание:") can serve as a column title.
std::u16string StripMnemonics(std::u16string_view text);

// Drops leading and trailing blanks (code 32 only) and turns each run of blanks inside into
// one blank, in place; returns the new length. Names are compared and stored this way.
std::size_t CollapseSpaces(std::u16string& text);

}  // namespace UtilityClasses::Strings
