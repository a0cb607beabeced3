#include "database/Recurrence.h"

#include <algorithm>

namespace Database::Recurrence {

namespace {

constexpr std::uint32_t Bits(std::uint32_t word, int first, int count)
{
    return (word >> first) & ((1u << count) - 1);
}

bool InMask(std::uint8_t mask, ADate date) { return (mask & MaskBit(Dates::DayOfWeek(date))) != 0; }

std::optional<ADate> Daily(const ARule& rule, ADate date)
{
    if (rule.interval > 1)
        return date + rule.interval;
    // A mask with no day would never stop the walk: a week is enough to meet any set bit.
    for (int step = 1; step <= 7; ++step)
        if (InMask(rule.maskOrSelector, date + step))
            return date + step;
    return std::nullopt;
}

std::optional<ADate> Weekly(const ARule& rule, ADate date)
{
    // Any set bit is met within a week of walking, skipped weeks aside.
    ADate day = date;
    for (int step = 0; step < 7; ++step) {
        const bool fromSunday = Dates::DayOfWeek(day) == 7;
        day += 1;
        if (fromSunday)
            day += (rule.interval - 1) * 7;
        if (InMask(rule.maskOrSelector, day))
            return day;
    }
    return std::nullopt;
}

// The year and month `interval` months after the date's month.
void AddMonths(ADate date, int interval, int& year, int& month)
{
    const Dates::AYmd ymd = Dates::ToYmd(date);
    const int months = ymd.month - 1 + interval;
    year = ymd.year + months / 12;
    month = months % 12 + 1;
}

ADate DayInMonth(int year, int month, int dayOfMonth)
{
    return Dates::FromYmd(year, month, std::min(dayOfMonth, Dates::DaysInMonth(year, month)));
}

ADate NthInMonth(const ARule& rule, int year, int month)
{
    return Dates::FromYmd(year, month, 1) + NthOffset(year, month, rule.instance, rule.maskOrSelector);
}

// Fields outside their ranges, from damaged or foreign files, would walk backwards,
// stand still or index past the month tables.
bool FieldsInRange(const ARule& rule)
{
    switch (rule.Kind()) {
    case AKind::Daily:
    case AKind::Weekly: return rule.interval >= 1;
    case AKind::Monthly: return rule.interval >= 1 && rule.dayOfMonth >= 1;
    case AKind::MonthNth: return rule.interval >= 1 && rule.instance >= 1 && rule.instance <= kLastInstance;
    case AKind::Yearly: return rule.dayOfMonth >= 1 && rule.month >= 1 && rule.month <= 12;
    case AKind::YearNth:
        return rule.month >= 1 && rule.month <= 12 && rule.instance >= 1 && rule.instance <= kLastInstance;
    }
    return false;
}

}  // namespace

ARule ARule::FromWords(std::uint32_t word, std::uint32_t countWord, ADate endWord)
{
    ARule rule;
    rule.active = Bits(word, 0, 1) != 0;
    rule.kind = static_cast<std::uint8_t>(Bits(word, 1, 3));
    rule.maskOrSelector = static_cast<std::uint8_t>(Bits(word, 4, 7));
    rule.dayOfMonth = static_cast<std::uint8_t>(Bits(word, 11, 5));
    rule.month = static_cast<std::uint8_t>(Bits(word, 16, 4));
    rule.instance = static_cast<std::uint8_t>(Bits(word, 20, 3));
    rule.interval = static_cast<std::uint8_t>(Bits(word, 23, 7));
    rule.endsAfterCount = Bits(word, 30, 1) != 0;
    rule.endsAtDate = Bits(word, 31, 1) != 0;
    rule.count = static_cast<std::uint8_t>(Bits(countWord, 0, 8));
    rule.regenerate = Bits(countWord, 8, 1) != 0;
    rule.end = endWord;
    return rule;
}

std::uint32_t ARule::Word() const
{
    return (active ? 1u : 0u) | (kind & 7u) << 1 | (maskOrSelector & 0x7Fu) << 4 | (dayOfMonth & 0x1Fu) << 11 |
           (month & 0xFu) << 16 | (instance & 7u) << 20 | (interval & 0x7Fu) << 23 | (endsAfterCount ? 1u : 0u) << 30 |
           (endsAtDate ? 1u : 0u) << 31;
}

std::uint32_t ARule::CountWord() const { return count | (regenerate ? 1u : 0u) << 8; }

int NthOffset(int year, int month, int instance, int selector)
{
    const ADate first = Dates::FromYmd(year, month, 1);
    const int days = Dates::DaysInMonth(year, month);
    const int firstDay = Dates::DayOfWeek(first);
    const int lastDay = Dates::DayOfWeek(first + days - 1);
    // The n-th day (1..4) from the 1st whose day of week the test accepts.
    auto nthMatching = [&](auto accepts) {
        int seen = 0;
        for (int offset = 0; offset < days; ++offset)
            if (accepts(Dates::DayOfWeek(first + offset)) && ++seen == instance)
                return offset;
        return 0;
    };
    if (selector >= 1 && selector <= 7) {
        const int toFirst = (selector - firstDay + 7) % 7;
        const int offset = toFirst + (instance - 1) * 7;
        return offset < days ? offset : offset - 7;
    }
    switch (selector) {
    case kAnyDay: return instance == kLastInstance ? days - 1 : instance - 1;
    case kWorkingDay:
        if (instance == kLastInstance)
            return days - 1 - (lastDay == 6 ? 1 : lastDay == 7 ? 2 : 0);
        return nthMatching([](int day) { return day <= 5; });
    case kWeekendDay:
        if (instance == kLastInstance)
            return lastDay >= 6 ? days - 1 : days - 1 - lastDay;
        return nthMatching([](int day) { return day >= 6; });
    default: return 0;
    }
}

std::optional<ADate> NextDate(const ARule& rule, ADate date)
{
    if (!rule.active || !Dates::IsValid(date) || !FieldsInRange(rule))
        return std::nullopt;
    std::optional<ADate> next;
    int year = 0, month = 0;
    switch (rule.Kind()) {
    case AKind::Daily: next = Daily(rule, date); break;
    case AKind::Weekly: next = Weekly(rule, date); break;
    case AKind::Monthly:
        AddMonths(date, rule.interval, year, month);
        next = DayInMonth(year, month, rule.dayOfMonth);
        break;
    case AKind::MonthNth:
        AddMonths(date, rule.interval, year, month);
        next = NthInMonth(rule, year, month);
        break;
    case AKind::Yearly: next = DayInMonth(Dates::ToYmd(date).year + 1, rule.month, rule.dayOfMonth); break;
    case AKind::YearNth: next = NthInMonth(rule, Dates::ToYmd(date).year + 1, rule.month); break;
    }
    // Past 9999-12-31 there are no dates.
    if (next && !Dates::IsValid(*next))
        return std::nullopt;
    return next;
}

AOccurrences::AOccurrences(const ARule& rule, ADate first)
    : rule_(rule), date_(first), remaining_(rule.endsAfterCount ? rule.count : 0)
{
}

bool AOccurrences::Next()
{
    if (ended_)
        return false;
    ended_ = true;
    // A count of 0 would never reach 0 by counting down: it ends like a count of 1.
    if (rule_.endsAfterCount && --remaining_ <= 0)
        return false;
    const std::optional<ADate> next = NextDate(rule_, date_);
    if (!next || *next <= date_ || produced_ >= kMaxOccurrences)
        return false;
    if (rule_.endsAtDate && *next >= rule_.end)
        return false;
    date_ = *next;
    ++produced_;
    ended_ = false;
    return true;
}

int CheckInterval(std::u16string_view text) { return ParseBoundedNumber(text, 127) ? 0 : kBadIntervalMessage; }

int CheckDayOfMonth(std::u16string_view text) { return ParseBoundedNumber(text, 31) ? 0 : kBadDayOfMonthMessage; }

int CheckOccurrences(std::u16string_view text) { return ParseBoundedNumber(text, 255) ? 0 : kBadOccurrencesMessage; }

int CheckWeekdays(std::uint8_t mask) { return (mask & kAllDaysMask) != 0 ? 0 : kNoWeekdayMessage; }

std::optional<int> ParseBoundedNumber(std::u16string_view text, int maximum)
{
    auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > maximum)
            return std::nullopt;
    }
    if (value < 1)
        return std::nullopt;
    return value;
}

}  // namespace Database::Recurrence
