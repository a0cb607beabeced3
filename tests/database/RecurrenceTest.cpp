#include "database/Recurrence.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace Database::Recurrence;
using Dates::FromYmd;

namespace {

ARule Rule(AKind kind, int interval = 1)
{
    ARule rule;
    rule.active = true;
    rule.kind = static_cast<std::uint8_t>(kind);
    rule.interval = static_cast<std::uint8_t>(interval);
    return rule;
}

ARule Nth(AKind kind, int instance, int selector, int month = 0)
{
    ARule rule = Rule(kind);
    rule.instance = static_cast<std::uint8_t>(instance);
    rule.maskOrSelector = static_cast<std::uint8_t>(selector);
    rule.month = static_cast<std::uint8_t>(month);
    return rule;
}

std::vector<ADate> Occurrences(const ARule& rule, ADate first)
{
    std::vector<ADate> dates;
    AOccurrences occurrences(rule, first);
    dates.push_back(occurrences.Date());
    while (occurrences.Next())
        dates.push_back(occurrences.Date());
    return dates;
}

// ---- an independent reference: the candidates of each kind, by plain search ----

int DaysIn(int year, int month)
{
    const int nextYear = month == 12 ? year + 1 : year;
    const int nextMonth = month == 12 ? 1 : month + 1;
    return FromYmd(nextYear, nextMonth, 1) - FromYmd(year, month, 1);
}

bool SelectorAccepts(int selector, ADate day)
{
    const int dow = Dates::DayOfWeek(day);
    if (selector >= 1 && selector <= 7)
        return dow == selector;
    if (selector == 8)
        return true;
    if (selector == 9)
        return dow <= 5;
    return dow >= 6;  // 10
}

// The n-th matching day of the month, or the last one for instance 5.
ADate ReferenceNth(int year, int month, int instance, int selector)
{
    const ADate first = FromYmd(year, month, 1);
    if (selector < 1 || selector > 10)
        return first;
    std::vector<ADate> matching;
    for (int i = 0; i < DaysIn(year, month); ++i)
        if (SelectorAccepts(selector, first + i))
            matching.push_back(first + i);
    return instance == 5 ? matching.back() : matching.at(static_cast<std::size_t>(instance - 1));
}

std::optional<ADate> ReferenceNext(const ARule& rule, ADate date)
{
    if (!rule.active)
        return std::nullopt;
    const auto ymd = Dates::ToYmd(date);
    auto inMask = [&](ADate day) { return (rule.maskOrSelector & (1 << (7 - Dates::DayOfWeek(day)))) != 0; };
    auto monthsLater = [&](int n, int& year, int& month) {
        year = ymd.year;
        month = ymd.month;
        for (int i = 0; i < n; ++i)
            if (++month == 13) {
                month = 1;
                ++year;
            }
    };
    std::optional<ADate> result;
    int year = 0, month = 0;
    switch (rule.Kind()) {
    case AKind::Daily:
        if (rule.interval == 0)
            return std::nullopt;
        if (rule.interval > 1)
            return date + rule.interval;
        for (ADate day = date + 1; day <= date + 7; ++day)
            if (inMask(day))
                return day;
        return std::nullopt;
    case AKind::Weekly: {
        if (rule.interval == 0)
            return std::nullopt;
        // The rest of this week, then the week `interval` weeks on.
        const ADate monday = date - (Dates::DayOfWeek(date) - 1);
        for (ADate day = date + 1; day < monday + 7; ++day)
            if (inMask(day))
                return day;
        const ADate later = monday + 7 * rule.interval;
        for (ADate day = later; day < later + 7; ++day)
            if (inMask(day))
                return day;
        return std::nullopt;
    }
    case AKind::Monthly:
        if (rule.interval == 0 || rule.dayOfMonth == 0)
            return std::nullopt;
        monthsLater(rule.interval, year, month);
        result = FromYmd(year, month, std::min<int>(rule.dayOfMonth, DaysIn(year, month)));
        break;
    case AKind::MonthNth:
        if (rule.interval == 0 || rule.instance < 1 || rule.instance > 5)
            return std::nullopt;
        monthsLater(rule.interval, year, month);
        result = ReferenceNth(year, month, rule.instance, rule.maskOrSelector);
        break;
    case AKind::Yearly:
        if (rule.dayOfMonth == 0 || rule.month < 1 || rule.month > 12)
            return std::nullopt;
        result = FromYmd(ymd.year + 1, rule.month, std::min<int>(rule.dayOfMonth, DaysIn(ymd.year + 1, rule.month)));
        break;
    case AKind::YearNth:
        if (rule.month < 1 || rule.month > 12 || rule.instance < 1 || rule.instance > 5)
            return std::nullopt;
        result = ReferenceNth(ymd.year + 1, rule.month, rule.instance, rule.maskOrSelector);
        break;
    default: return std::nullopt;
    }
    return result;
}

std::vector<ADate> ReferenceOccurrences(const ARule& rule, ADate first)
{
    std::vector<ADate> dates{first};
    for (std::optional<ADate> next = ReferenceNext(rule, first); next; next = ReferenceNext(rule, *next)) {
        if (rule.endsAfterCount && dates.size() >= std::max<std::size_t>(rule.count, 1))
            break;
        if (rule.endsAtDate && *next >= rule.end)
            break;
        dates.push_back(*next);
    }
    return dates;
}

}  // namespace

TEST(Recurrence, WordsSplitIntoFieldsAndBack)
{
    // active, month-nth, selector 9, day 17, month 11, instance 5, interval 127, both ends.
    const std::uint32_t word = 1u | 3u << 1 | 9u << 4 | 17u << 11 | 11u << 16 | 5u << 20 | 127u << 23 | 1u << 30 | 1u << 31;
    const ARule rule = ARule::FromWords(word, 0x1FE, 45000);
    EXPECT_TRUE(rule.active);
    EXPECT_EQ(rule.Kind(), AKind::MonthNth);
    EXPECT_EQ(rule.maskOrSelector, 9);
    EXPECT_EQ(rule.dayOfMonth, 17);
    EXPECT_EQ(rule.month, 11);
    EXPECT_EQ(rule.instance, 5);
    EXPECT_EQ(rule.interval, 127);
    EXPECT_TRUE(rule.endsAfterCount);
    EXPECT_TRUE(rule.endsAtDate);
    EXPECT_EQ(rule.count, 0xFE);
    EXPECT_TRUE(rule.regenerate);
    EXPECT_EQ(rule.end, 45000);
    EXPECT_EQ(rule.Word(), word);
    EXPECT_EQ(rule.CountWord(), 0x1FEu);
    // Monday is bit 6 of the mask field, Sunday bit 0.
    EXPECT_EQ(MaskBit(1), 0x40);
    EXPECT_EQ(MaskBit(7), 0x01);
}

TEST(Recurrence, EdgeCasesOfTheCalendar)
{
    struct Case {
        const char* what;
        ARule rule;
        ADate from;
        std::vector<ADate> expected;
    };
    ARule monthly31 = Rule(AKind::Monthly);
    monthly31.dayOfMonth = 31;
    ARule yearly29 = Rule(AKind::Yearly);
    yearly29.dayOfMonth = 29;
    yearly29.month = 2;
    ARule weekly = Rule(AKind::Weekly, 2);
    weekly.maskOrSelector = MaskBit(1) | MaskBit(5);
    ARule workdays = Rule(AKind::Daily);
    workdays.maskOrSelector = kWorkingDaysMask;
    const Case cases[] = {
        {"day 31 monthly", monthly31, FromYmd(2023, 1, 31),
         {FromYmd(2023, 2, 28), FromYmd(2023, 3, 31), FromYmd(2023, 4, 30)}},
        {"day 31 monthly, leap year", monthly31, FromYmd(2024, 1, 31), {FromYmd(2024, 2, 29), FromYmd(2024, 3, 31)}},
        {"29 February yearly", yearly29, FromYmd(2024, 2, 29),
         {FromYmd(2025, 2, 28), FromYmd(2026, 2, 28), FromYmd(2027, 2, 28), FromYmd(2028, 2, 29)}},
        // January 2023 begins on a Sunday and has 31 days.
        {"last Wednesday", Nth(AKind::MonthNth, 5, 3), FromYmd(2022, 12, 28), {FromYmd(2023, 1, 25)}},
        // April 2023 ends on a Sunday.
        {"last working day", Nth(AKind::MonthNth, 5, kWorkingDay), FromYmd(2023, 3, 31), {FromYmd(2023, 4, 28)}},
        {"every 2 weeks on Monday and Friday", weekly, FromYmd(2023, 1, 6),
         {FromYmd(2023, 1, 16), FromYmd(2023, 1, 20), FromYmd(2023, 1, 30)}},
        {"working days skip the weekend", workdays, FromYmd(2023, 1, 6), {FromYmd(2023, 1, 9), FromYmd(2023, 1, 10)}},
        {"every 10 days ignores the mask", Rule(AKind::Daily, 10), FromYmd(2023, 1, 6),
         {FromYmd(2023, 1, 16), FromYmd(2023, 1, 26)}},
    };
    for (const Case& c : cases) {
        ADate date = c.from;
        for (ADate expected : c.expected) {
            const std::optional<ADate> next = NextDate(c.rule, date);
            ASSERT_TRUE(next) << c.what;
            EXPECT_EQ(*next, expected) << c.what;
            date = expected;
        }
    }
}

// March 2023 begins on a Wednesday and ends on a Friday (31 days).
TEST(Recurrence, EverySelectorAndInstanceForMonthNthAndYearNth)
{
    const int expectedDays[10][5] = {
        {6, 13, 20, 27, 27},  // Monday
        {7, 14, 21, 28, 28},  // Tuesday
        {1, 8, 15, 22, 29},   // Wednesday: the fifth one is the last
        {2, 9, 16, 23, 30},   // Thursday
        {3, 10, 17, 24, 31},  // Friday
        {4, 11, 18, 25, 25},  // Saturday
        {5, 12, 19, 26, 26},  // Sunday
        {1, 2, 3, 4, 31},     // any day
        {1, 2, 3, 6, 31},     // working day
        {4, 5, 11, 12, 26},   // weekend day: the Sunday before a Friday month end
    };
    for (int selector = 1; selector <= 10; ++selector)
        for (int instance = 1; instance <= 5; ++instance) {
            const ADate expected = FromYmd(2023, 3, expectedDays[selector - 1][instance - 1]);
            EXPECT_EQ(NextDate(Nth(AKind::MonthNth, instance, selector), FromYmd(2023, 2, 14)), expected)
                << "month-nth " << selector << "/" << instance;
            EXPECT_EQ(NextDate(Nth(AKind::YearNth, instance, selector, 3), FromYmd(2022, 7, 1)), expected)
                << "year-nth " << selector << "/" << instance;
        }
    // Months that end on a Saturday (September 2023) and on a Sunday (April 2023).
    EXPECT_EQ(NthOffset(2023, 9, 5, kWorkingDay), 28);
    EXPECT_EQ(NthOffset(2023, 9, 5, kWeekendDay), 29);
    EXPECT_EQ(NthOffset(2023, 4, 5, kWorkingDay), 27);
    EXPECT_EQ(NthOffset(2023, 4, 5, kWeekendDay), 29);
    // Any other selector names the 1st.
    EXPECT_EQ(NthOffset(2023, 3, 2, 0), 0);
    EXPECT_EQ(NthOffset(2023, 3, 2, 11), 0);
}

TEST(Recurrence, RulesWithoutANextDate)
{
    struct Case {
        const char* what;
        ARule rule;
    };
    ARule inactive = Rule(AKind::Daily);
    inactive.active = false;
    inactive.maskOrSelector = kAllDaysMask;
    ARule emptyDaily = Rule(AKind::Daily);  // interval 1, no day in the mask
    ARule emptyWeekly = Rule(AKind::Weekly, 3);
    ARule zeroInterval = Rule(AKind::Weekly, 0);
    zeroInterval.maskOrSelector = kAllDaysMask;
    ARule monthlyZero = Rule(AKind::Monthly, 0);
    monthlyZero.dayOfMonth = 5;
    ARule dayZero = Rule(AKind::Monthly);
    ARule month13 = Rule(AKind::Yearly);
    month13.dayOfMonth = 1;
    month13.month = 13;
    ARule kind6 = Rule(static_cast<AKind>(6));
    kind6.maskOrSelector = kAllDaysMask;
    const Case cases[] = {
        {"inactive", inactive},
        {"daily, interval 1, empty mask", emptyDaily},
        {"weekly, empty mask", emptyWeekly},
        {"weekly, interval 0", zeroInterval},
        {"monthly, interval 0", monthlyZero},
        {"monthly, day 0", dayZero},
        {"yearly, month 13", month13},
        {"instance 0", Nth(AKind::MonthNth, 0, 1)},
        {"instance 6", Nth(AKind::YearNth, 6, 1, 3)},
        {"unknown kind", kind6},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(NextDate(c.rule, FromYmd(2023, 5, 5))) << c.what;

    // Nothing after 9999-12-31, and nothing from a date outside the calendar.
    ARule daily = Rule(AKind::Daily);
    daily.maskOrSelector = kAllDaysMask;
    EXPECT_FALSE(NextDate(daily, Dates::kMaxDate));
    EXPECT_EQ(NextDate(daily, Dates::kMaxDate - 1), Dates::kMaxDate);
    EXPECT_FALSE(NextDate(daily, Dates::kMaxDate + 5));
}

TEST(Recurrence, CountAndEndDateLimitTheOccurrences)
{
    ARule daily = Rule(AKind::Daily);
    daily.maskOrSelector = kAllDaysMask;
    ARule three = daily;
    three.endsAfterCount = true;
    three.count = 3;
    EXPECT_EQ(Occurrences(three, FromYmd(2023, 3, 1)),
              (std::vector<ADate>{FromYmd(2023, 3, 1), FromYmd(2023, 3, 2), FromYmd(2023, 3, 3)}));

    // "Repeat until 31 March" keeps the day after it as the end word.
    ARule untilMarch31 = daily;
    untilMarch31.endsAtDate = true;
    untilMarch31.end = FromYmd(2023, 3, 31) + 1;
    EXPECT_EQ(Occurrences(untilMarch31, FromYmd(2023, 3, 29)),
              (std::vector<ADate>{FromYmd(2023, 3, 29), FromYmd(2023, 3, 30), FromYmd(2023, 3, 31)}));

    // Count 0 or 1: the transaction itself only.
    for (std::uint8_t count : {0, 1}) {
        ARule once = daily;
        once.endsAfterCount = true;
        once.count = count;
        EXPECT_EQ(Occurrences(once, 100).size(), 1u) << int(count);
    }
    // Without a next date the iteration ends at once, and stays ended.
    AOccurrences none(Rule(AKind::Weekly), 100);
    EXPECT_FALSE(none.Next());
    EXPECT_FALSE(none.Next());
    EXPECT_EQ(none.Date(), 100);
}

TEST(Recurrence, AnEndlessRuleStopsAfterAHundredThousandDates)
{
    ARule daily = Rule(AKind::Daily);
    daily.maskOrSelector = kAllDaysMask;
    const std::vector<ADate> dates = Occurrences(daily, FromYmd(1900, 1, 1));
    ASSERT_EQ(dates.size(), AOccurrences::kMaxOccurrences);
    EXPECT_EQ(dates.back(), FromYmd(1900, 1, 1) + static_cast<ADate>(AOccurrences::kMaxOccurrences) - 1);
}

TEST(Recurrence, GeneratorAgreesWithAPlainSearchOverRandomRules)
{
    std::mt19937 random(20240229);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int round = 0; round < 20000; ++round) {
        ARule rule;
        rule.active = pick(0, 20) != 0;
        rule.kind = static_cast<std::uint8_t>(pick(0, 5));
        rule.maskOrSelector = static_cast<std::uint8_t>(pick(0, 3) == 0 ? pick(0, 12) : pick(0, 127));
        rule.dayOfMonth = static_cast<std::uint8_t>(pick(0, 31));
        rule.month = static_cast<std::uint8_t>(pick(0, 13));
        rule.instance = static_cast<std::uint8_t>(pick(0, 6));
        rule.interval = static_cast<std::uint8_t>(pick(0, 4) == 0 ? pick(0, 127) : pick(0, 3));
        const ADate date = FromYmd(pick(1900, 2100), pick(1, 12), pick(1, 28)) + pick(0, 3);
        const std::optional<ADate> expected = ReferenceNext(rule, date);
        ASSERT_EQ(NextDate(rule, date), expected)
            << "word " << std::hex << rule.Word() << std::dec << " from " << date << " round " << round;
        if (expected) {
            ASSERT_GT(*expected, date);
        }

        if (round % 10 == 0) {
            rule.endsAfterCount = pick(0, 1) != 0;
            rule.count = static_cast<std::uint8_t>(pick(0, 40));
            rule.endsAtDate = !rule.endsAfterCount || pick(0, 1) != 0;
            rule.end = date + pick(0, 3000);
            ASSERT_EQ(Occurrences(rule, date), ReferenceOccurrences(rule, date)) << "round " << round;
        }
    }
}

TEST(Recurrence, DialogChecksGiveTheirMessages)
{
    struct Case {
        int (*check)(std::u16string_view);
        std::u16string text;
        int expected;
    };
    const Case cases[] = {
        {CheckInterval, u"1", 0},        {CheckInterval, u" 127 ", 0}, {CheckInterval, u"", 319},
        {CheckInterval, u"0", 319},      {CheckInterval, u"128", 319}, {CheckInterval, u"1a", 319},
        {CheckInterval, u"-3", 319},     {CheckInterval, u"99999999999", 319},
        {CheckDayOfMonth, u"31", 0},     {CheckDayOfMonth, u"32", 320}, {CheckDayOfMonth, u"0", 320},
        {CheckDayOfMonth, u" ", 320},    {CheckOccurrences, u"255", 0}, {CheckOccurrences, u"256", 321},
        {CheckOccurrences, u"007", 0},   {CheckOccurrences, u"", 321},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.check(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(CheckWeekdays(0), kNoWeekdayMessage);
    EXPECT_EQ(CheckWeekdays(MaskBit(7)), 0);
}
