// Locales and helpers shared by the string-table tests.
#pragma once
#include "core/CodePage.h"
#include "core/LocaleInfo.h"

#include <string>
#include <string_view>

namespace StringTests {

using UtilityClasses::Strings::LocaleInfo;

// UTF-8 for readable expectations and failure messages.
inline std::string U8(std::u16string_view text) { return UtilityClasses::Strings::Utf16ToUtf8(text); }
inline std::u16string U16(std::string_view text) { return UtilityClasses::Strings::Utf8ToUtf16(text); }

inline LocaleInfo Russian() { return UtilityClasses::Strings::RussianLocale(); }

// A United States English locale, written out so no test depends on installed locales.
inline LocaleInfo English()
{
    LocaleInfo en;
    en.decimalSeparator = u".";
    en.thousandsSeparator = u",";
    en.negativeMode = 1;
    en.firstDayOfWeek = 6;
    en.shortDayNames = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
    en.dayNames = {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"};
    en.monthNames = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                     u"July",    u"August",   u"September", u"October", u"November", u"December"};
    en.genitiveMonthNames = en.monthNames;
    en.shortMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                          u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    en.am = u"AM";
    en.pm = u"PM";
    en.shortDatePicture = u"M/d/yyyy";
    en.timePicture = u"h:mm:ss tt";
    return en;
}

}  // namespace StringTests
