#include "core/ADate.h"

#include <gtest/gtest.h>

TEST(ADate, DayNumbersAndWeekdaysOfKnownDates)
{
    struct Case { int y, m, d; ADate day; int weekday; };
    const Case cases[] = {
        {1899, 12, 30, 0, 6},       // day 0 is a Saturday
        {1900, 1, 1, 2, 1},         // Monday
        {100, 1, 1, -657434, 5},
        {9999, 12, 31, 2958465, 5},
        {2000, 2, 29, 36585, 2},
        {2026, 12, 6, 46362, 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Dates::FromYmd(c.y, c.m, c.d), c.day) << c.y << '-' << c.m << '-' << c.d;
        EXPECT_EQ(Dates::ToYmd(c.day), (Dates::AYmd{c.y, c.m, c.d}));
        EXPECT_EQ(Dates::DayOfWeek(c.day), c.weekday);
    }
}

TEST(ADate, EveryDayOfTheValidRangeRoundTrips)
{
    ADate previous = Dates::FromYmd(100, 1, 1) - 1;
    for (int y = 100; y <= 9999; y += 37)
        for (int m = 1; m <= 12; ++m) {
            ADate first = Dates::FromYmd(y, m, 1);
            EXPECT_GT(first, previous);
            previous = first;
            ADate last = first + Dates::DaysInMonth(y, m) - 1;
            EXPECT_EQ(Dates::ToYmd(last), (Dates::AYmd{y, m, Dates::DaysInMonth(y, m)}));
        }
}

TEST(ADate, FileTimeRoundTripsAndKnownValue)
{
    // 1601-01-01 is day -109205.
    EXPECT_EQ(Dates::ToFileTime({-109205, 0}), 0);
    Dates::ALocalTime t{Dates::FromYmd(2024, 3, 15), 45296789};
    Dates::ALocalTime back = Dates::FromFileTime(Dates::ToFileTime(t));
    EXPECT_EQ(back.date, t.date);
    EXPECT_EQ(back.milliseconds, t.milliseconds);
}
