// Dates and times written by Windows-style pictures:
//   d dd ddd dddd   day, day with zero, short and full day name
//   M MM MMM MMMM   month, month with zero, short and full month name (the genitive form
//                   when the picture also has a day number: "d MMMM" gives "5 марта")
//   y yy yyyy       year without century, with zero, full year
//   h hh H HH       12- and 24-hour clock;  m mm  minutes;  s ss  seconds
//   t tt            first letter and whole AM/PM designator
//   'text'          literal text; '' inside it is one apostrophe ('' alone is no text)
//   any other character stands for itself
#pragma once
#include "core/ADate.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace UtilityClasses::Strings {

struct LocaleInfo;

// 511 characters and the closing NUL.
constexpr std::size_t kDateCapacity = 512;

// Expands the date fields; time letters stay as they are. Returns the length written, 0
// (an empty text) for a date outside 0100-01-01..9999-12-31.
std::size_t FormatDate(ADate date, std::u16string_view picture, const LocaleInfo& locale,
                       std::span<char16_t, kDateCapacity> out);
std::u16string FormatDate(ADate date, std::u16string_view picture, const LocaleInfo& locale);

// Expands date and time fields in one pass, so quoted text stays literal ("dd.MM.yyyy, HH:mm").
// `milliseconds` is the time of day, 0..86399999; anything else gives an empty text.
std::size_t FormatDateTime(ADate date, std::int32_t milliseconds, std::u16string_view picture,
                           const LocaleInfo& locale, std::span<char16_t, kDateCapacity> out);
std::u16string FormatDateTime(ADate date, std::int32_t milliseconds, std::u16string_view picture,
                              const LocaleInfo& locale);

}  // namespace UtilityClasses::Strings
