// The user's locale data that formatting needs: separators, negative-number style, the
// first day of the week, day and month names, AM/PM and the short date and time pictures.
// Filled from the system locale when it is complete, from built-in Russian data otherwise;
// tests build their own.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace UtilityClasses::Strings {

struct LocaleInfo {
    std::u16string decimalSeparator;
    std::u16string thousandsSeparator;
    // 0 "(1)", 1 "-1", 2 "- 1", 3 "1-", 4 "1 -".
    int negativeMode = 1;
    // 0 = Monday ... 6 = Sunday.
    int firstDayOfWeek = 0;
    // Index 0 is Monday.
    std::array<std::u16string, 7> shortDayNames;
    std::array<std::u16string, 7> dayNames;
    // Index 0 is January. Month names stand alone ("Март 2026"); languages that inflect
    // them use the genitive form after a day number ("5 марта").
    std::array<std::u16string, 12> monthNames;
    std::array<std::u16string, 12> genitiveMonthNames;
    std::array<std::u16string, 12> shortMonthNames;
    std::u16string am;
    std::u16string pm;
    std::u16string shortDatePicture;
    std::u16string timePicture;

    // An index outside its range is a programming error: it is reported and gives "".
    std::u16string_view ShortDayName(int index) const;
    std::u16string_view DayName(int index) const;
    std::u16string_view MonthName(int index) const;
    std::u16string_view GenitiveMonthName(int index) const;
    std::u16string_view ShortMonthName(int index) const;
};

// Separators longer than this are cut, as the platform's locale fields were.
constexpr std::size_t kMaxSeparatorLength = 3;

// What every table does with the locale it is given: equal separators become " " and ",",
// a negative mode outside 0..4 becomes 1, a first day outside 0..6 becomes Monday.
void NormalizeLocale(LocaleInfo& locale);

// The built-in Russian locale data, used when the user's locale can't be read.
LocaleInfo RussianLocale();

// The locale glibc has under `name`; "" means the user's: LC_ALL, else LANG. Nothing when
// it is not installed, is the plain "C"/"POSIX" locale, or lacks a name or a separator.
std::optional<LocaleInfo> LocaleFromSystem(const std::string& name = "");

// The user's locale, or the Russian one when it can't be read; normalised.
LocaleInfo UserLocale();

namespace Implementation {
// A strftime-style format ("%d.%m.%Y") as a Windows picture ("dd.MM.yyyy"); nothing when
// it holds a conversion that has no picture.
std::optional<std::u16string> PictureFromStrftime(std::u16string_view format);
}  // namespace Implementation

}  // namespace UtilityClasses::Strings
