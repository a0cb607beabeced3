#include "core/FormatDate.h"

#include "core/BoundedText.h"
#include "core/LocaleInfo.h"


namespace UtilityClasses::Strings {

namespace {

using Implementation::ABoundedText;

constexpr std::int32_t kMillisecondsPerDay = 86'400'000;
constexpr std::size_t kMaxDateLength = kDateCapacity - 1;

struct ADateTimeParts {
    Dates::AYmd ymd;
    int dayOfWeek;  // 0 = Monday
    int hour;
    int minute;
    int second;
};

// `minimumDigits` 2 writes a leading zero below 10; 4 fills a year to four digits.
void PutNumber(ABoundedText& text, int value, int minimumDigits)
{
    char16_t digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    text.Repeat(u'0', minimumDigits - count);
    while (count > 0)
        text.Put(digits[--count]);
}

bool IsDateLetter(char16_t c) { return c == u'd' || c == u'M' || c == u'y'; }
bool IsTimeLetter(char16_t c) { return c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u't'; }

std::size_t RunLength(std::u16string_view picture, std::size_t at)
{
    std::size_t end = at;
    while (end < picture.size() && picture[end] == picture[at])
        ++end;
    return end - at;
}

// A day number (d or dd, not a day name) anywhere outside quotes asks for genitive months.
bool HasDayNumber(std::u16string_view picture)
{
    bool quoted = false;
    for (std::size_t i = 0; i < picture.size();) {
        if (picture[i] == u'\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        std::size_t run = RunLength(picture, i);
        if (!quoted && picture[i] == u'd' && run <= 2)
            return true;
        i += run;
    }
    return false;
}

void PutDateField(ABoundedText& text, char16_t letter, std::size_t run, const ADateTimeParts& parts,
                  const LocaleInfo& locale, bool genitive)
{
    int month = parts.ymd.month - 1;
    switch (letter) {
    case u'd':
        if (run <= 2)
            PutNumber(text, parts.ymd.day, static_cast<int>(run));
        else
            text.Put(run == 3 ? locale.ShortDayName(parts.dayOfWeek) : locale.DayName(parts.dayOfWeek));
        break;
    case u'M':
        if (run <= 2)
            PutNumber(text, parts.ymd.month, static_cast<int>(run));
        else if (run == 3)
            text.Put(locale.ShortMonthName(month));
        else
            text.Put(genitive ? locale.GenitiveMonthName(month) : locale.MonthName(month));
        break;
    default:  // y
        if (run <= 2)
            PutNumber(text, parts.ymd.year % 100, static_cast<int>(run));
        else
            PutNumber(text, parts.ymd.year, 4);
        break;
    }
}

void PutTimeField(ABoundedText& text, char16_t letter, std::size_t run, const ADateTimeParts& parts,
                  const LocaleInfo& locale)
{
    int digits = run >= 2 ? 2 : 1;
    switch (letter) {
    case u'h': PutNumber(text, parts.hour % 12 == 0 ? 12 : parts.hour % 12, digits); break;
    case u'H': PutNumber(text, parts.hour, digits); break;
    case u'm': PutNumber(text, parts.minute, digits); break;
    case u's': PutNumber(text, parts.second, digits); break;
    default: {  // t
        std::u16string_view designator = parts.hour < 12 ? locale.am : locale.pm;
        text.Put(run == 1 ? designator.substr(0, 1) : designator);
        break;
    }
    }
}

std::size_t FormatPicture(const ADateTimeParts& parts, bool withTime, std::u16string_view picture,
                          const LocaleInfo& locale, char16_t* out)
{
    ABoundedText text(out, kMaxDateLength);
    const bool genitive = HasDayNumber(picture);
    std::size_t i = 0;
    while (i < picture.size() && picture[i] != u'\0') {
        char16_t c = picture[i];
        if (c == u'\'') {
            // Quoted text runs to the next lone quote or the end; '' inside is one quote.
            for (++i; i < picture.size() && picture[i] != u'\0'; ++i) {
                if (picture[i] == u'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
                        text.Put(u'\'');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                text.Put(picture[i]);
            }
            continue;
        }
        std::size_t run = RunLength(picture, i);
        if (IsDateLetter(c))
            PutDateField(text, c, run, parts, locale, genitive);
        else if (withTime && IsTimeLetter(c))
            PutTimeField(text, c, run, parts, locale);
        else
            for (std::size_t k = 0; k < run; ++k)
                text.Put(c);
        i += run;
    }
    return text.Finish();
}

ADateTimeParts PartsOf(ADate date, std::int32_t milliseconds)
{
    int seconds = milliseconds / 1000;
    return {Dates::ToYmd(date), Dates::DayOfWeek(date) - 1, seconds / 3600, seconds / 60 % 60, seconds % 60};
}

}  // namespace

std::size_t FormatDate(ADate date, std::u16string_view picture, const LocaleInfo& locale,
                       std::span<char16_t, kDateCapacity> out)
{
    if (!Dates::IsValid(date)) {
        out[0] = u'\0';
        return 0;
    }
    return FormatPicture(PartsOf(date, 0), false, picture, locale, out.data());
}

std::size_t FormatDateTime(ADate date, std::int32_t milliseconds, std::u16string_view picture,
                           const LocaleInfo& locale, std::span<char16_t, kDateCapacity> out)
{
    if (!Dates::IsValid(date) || milliseconds < 0 || milliseconds >= kMillisecondsPerDay) {
        out[0] = u'\0';
        return 0;
    }
    return FormatPicture(PartsOf(date, milliseconds), true, picture, locale, out.data());
}

std::u16string FormatDate(ADate date, std::u16string_view picture, const LocaleInfo& locale)
{
    char16_t buffer[kDateCapacity];
    return std::u16string(buffer, FormatDate(date, picture, locale, buffer));
}

std::u16string FormatDateTime(ADate date, std::int32_t milliseconds, std::u16string_view picture,
                              const LocaleInfo& locale)
{
    char16_t buffer[kDateCapacity];
    return std::u16string(buffer, FormatDateTime(date, milliseconds, picture, locale, buffer));
}

}  // namespace UtilityClasses::Strings
