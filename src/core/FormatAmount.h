// Money amounts as text in the user's style: decimals, thousands groups, negative style.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace UtilityClasses::Strings {

struct LocaleInfo;

// Room for the longest amount with the longest separators and decorations, and the NUL.
constexpr std::size_t kAmountCapacity = 64;

// Writes `amount` (1/10000 units) with `decimals` (clamped to 0..4) fraction digits, half-up
// rounded; the sign is taken before rounding, so -0.0005 with two decimals is "-0,00".
// `grouping` puts the thousands separator between groups of three integer digits.
// The text is cut to `capacity` - 1 characters and always ends with a NUL; returns its length.
std::size_t FormatAmount(std::int64_t amount, int decimals, bool grouping, const LocaleInfo& locale,
                         char16_t* out, std::size_t capacity);
std::u16string FormatAmount(std::int64_t amount, int decimals, bool grouping, const LocaleInfo& locale);

}  // namespace UtilityClasses::Strings
