#include "win32api/ChartScales.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

using namespace Win32API::VelvixControls::Charts;

namespace {

bool IsRoundStep(AMoney step, AMoney unit)
{
    if (step < unit || step % unit != 0)
        return false;
    step /= unit;
    while (step % 10 == 0)
        step /= 10;
    return step == 1 || step == 2 || step == 5;
}

TEST(RoundAxis, StepsAreOneTwoOrFiveOfTheDisplayedUnit)
{
    struct ACase {
        AMoney lowest, highest;
        int intervals, decimals;
        AValueAxis expected;
    };
    const ACase cases[] = {
        {0, 1'000'000, 5, 2, {0, 1'000'000, 200'000}},  // 0..100,00 in five steps of 20
        {0, 1'000'000, 4, 2, {0, 1'000'000, 500'000}},  // four: 25 is not round, 50 is
        {-30'000, 70'000, 10, 2, {-30'000, 70'000, 10'000}},
        {-35'000, 71'000, 10, 2, {-40'000, 80'000, 20'000}},  // 10,60 a step rounds up to 20
        {12'345, 12'346, 5, 4, {12'345, 12'346, 1}},
        {12'345, 12'346, 5, 2, {12'300, 12'400, 100}},    // never finer than 0,01
        {50'000, 50'000, 4, 2, {45'000, 55'000, 5'000}},  // equal values: a tenth each way
        {0, 0, 4, 0, {-10'000, 10'000, 10'000}},          // zero: one displayed unit each way
        {-70'000, -30'000, 4, 2, {-70'000, -30'000, 10'000}},
        {5, 1, 0, 4, {0, 5, 5}},  // swapped ends, no room: one interval
        {-10'000, 10'000, 1, 2, {-20'000, 20'000, 20'000}},  // across zero: two, the fewest there can be
    };
    for (const ACase& c : cases)
        EXPECT_EQ(RoundAxis(c.lowest, c.highest, c.intervals, c.decimals), c.expected)
            << c.lowest << ".." << c.highest << " /" << c.intervals;
}

TEST(RoundAxis, RandomRangesAreCoveredWithinTheIntervalLimit)
{
    std::mt19937_64 random(20240601);
    const AMoney extremes[] = {std::numeric_limits<AMoney>::min(), std::numeric_limits<AMoney>::max(), 0, 1, -1};
    for (int i = 0; i < 20'000; ++i) {
        AMoney a, b;
        if (i < 25) {
            a = extremes[i % 5];
            b = extremes[i / 5];
        } else {
            const int digits = static_cast<int>(random() % 18);
            AMoney scale = 1;
            for (int d = 0; d < digits; ++d)
                scale *= 10;
            a = static_cast<AMoney>(random() % static_cast<std::uint64_t>(scale)) - scale / 2;
            b = a + static_cast<AMoney>(random() % static_cast<std::uint64_t>(scale));
        }
        const int intervals = 1 + static_cast<int>(random() % 20), decimals = static_cast<int>(random() % 5);
        const AValueAxis axis = RoundAxis(a, b, intervals, decimals);
        AMoney unit = 1;
        for (int d = decimals; d < 4; ++d)
            unit *= 10;
        ASSERT_LT(axis.low, axis.high) << a << " " << b;
        ASSERT_LE(axis.low, std::min(a, b));
        ASSERT_GE(axis.high, std::max(a, b));
        ASSERT_TRUE(IsRoundStep(axis.step, unit) || axis.step == std::numeric_limits<AMoney>::max()) << axis.step;
        // Near the ends of the range the axis is cut to what an amount can hold.
        if (axis.low > std::numeric_limits<AMoney>::min() && axis.high < std::numeric_limits<AMoney>::max()) {
            ASSERT_EQ(axis.low % axis.step, 0);
            ASSERT_LE((static_cast<__int128>(axis.high) - axis.low) / axis.step, std::max(intervals, 2))
                << a << " " << b;
        }
    }
}

TEST(DateTicks, TickDatesOfEachKind)
{
    const ADate wednesday = Dates::FromYmd(2024, 1, 3);
    struct ACase {
        ADateTickKind kind;
        ADate first, last;
        std::vector<ADate> expected;
    };
    const ACase cases[] = {
        {ADateTickKind::Day, wednesday, wednesday + 2, {wednesday, wednesday + 1, wednesday + 2}},
        {ADateTickKind::Week, wednesday, wednesday + 14, {wednesday + 5, wednesday + 12}},
        {ADateTickKind::Week, wednesday + 5, wednesday + 5, {wednesday + 5}},  // a Monday itself
        {ADateTickKind::Month,
         Dates::FromYmd(2024, 1, 1),
         Dates::FromYmd(2024, 3, 1),
         {Dates::FromYmd(2024, 1, 1), Dates::FromYmd(2024, 2, 1), Dates::FromYmd(2024, 3, 1)}},
        {ADateTickKind::Month, Dates::FromYmd(2024, 1, 2), Dates::FromYmd(2024, 2, 29), {Dates::FromYmd(2024, 2, 1)}},
        {ADateTickKind::Quarter,
         Dates::FromYmd(2023, 11, 15),
         Dates::FromYmd(2024, 7, 1),
         {Dates::FromYmd(2024, 1, 1), Dates::FromYmd(2024, 4, 1), Dates::FromYmd(2024, 7, 1)}},
        {ADateTickKind::HalfYear,
         Dates::FromYmd(2024, 1, 2),
         Dates::FromYmd(2025, 6, 30),
         {Dates::FromYmd(2024, 7, 1), Dates::FromYmd(2025, 1, 1)}},
        {ADateTickKind::Years10,
         Dates::FromYmd(1995, 6, 1),
         Dates::FromYmd(2021, 1, 1),
         {Dates::FromYmd(2000, 1, 1), Dates::FromYmd(2010, 1, 1), Dates::FromYmd(2020, 1, 1)}},
        {ADateTickKind::Years100, Dates::FromYmd(9950, 1, 1), Dates::kMaxDate, {}},
        {ADateTickKind::Day, 10, 5, {}},
        {ADateTickKind::Year,
         Dates::kMinDate - 1000,
         Dates::FromYmd(102, 1, 1),
         {Dates::FromYmd(100, 1, 1), Dates::FromYmd(101, 1, 1), Dates::FromYmd(102, 1, 1)}},
    };
    for (const ACase& c : cases)
        EXPECT_EQ(TickDates(c.kind, c.first, c.last, 100), c.expected) << static_cast<int>(c.kind) << " " << c.first;
    // The limit keeps a day tick over the whole calendar small.
    EXPECT_EQ(TickDates(ADateTickKind::Day, Dates::kMinDate, Dates::kMaxDate, 40).size(), 40u);
}

TEST(DateTicks, TheFinestKindWhoseLabelsFit)
{
    auto width = [](ADateTickKind kind) { return kind <= ADateTickKind::Week ? 40 : 60; };
    const ADate start = Dates::FromYmd(2024, 1, 1);
    struct ACase {
        ADate last;
        int plotWidth;
        ADateTickKind expected;
    };
    const ACase cases[] = {
        {start + 9, 600, ADateTickKind::Day},    // 10 labels of 40 + 13
        {start + 30, 600, ADateTickKind::Week},  // 31 days do not fit, 5 Mondays do
        {Dates::FromYmd(2024, 6, 30), 600, ADateTickKind::Month},
        {Dates::FromYmd(2024, 12, 31), 600, ADateTickKind::Quarter},
        {Dates::FromYmd(2034, 12, 31), 900, ADateTickKind::Year},  // 11 New Years of 80
        {Dates::FromYmd(2034, 12, 31), 600, ADateTickKind::Years2},
        {Dates::FromYmd(2034, 12, 31), 200, ADateTickKind::Years5},
    };
    for (const ACase& c : cases) {
        const ADateTicks ticks = DateTicks(start, c.last, c.plotWidth, width);
        EXPECT_EQ(ticks.kind, c.expected) << c.last;
        EXPECT_FALSE(ticks.dates.empty());
        EXPECT_LE(static_cast<int>(ticks.dates.size()) * (width(ticks.kind) + 8), c.plotWidth);
    }
    // Not even centuries fit: no labels rather than labels on top of each other.
    EXPECT_TRUE(DateTicks(Dates::kMinDate, Dates::kMaxDate, 50, width).dates.empty());
    EXPECT_TRUE(DateTicks(start, start + 10, 0, width).dates.empty());
}

TEST(MonotoneCurve, PassesThroughThePointsWithoutOvershooting)
{
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        std::vector<ACurvePoint> points;
        double x = 0;
        const int count = 2 + static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i) {
            x += 1 + random() % 50;
            // Flat runs, steps and spikes alike.
            const double y =
                random() % 4 == 0 && !points.empty() ? points.back().y : static_cast<double>(random() % 400);
            points.push_back({x, y});
        }
        const auto segments = MonotoneCurve(points);
        ASSERT_EQ(segments.size(), points.size() - 1);
        for (std::size_t k = 0; k < segments.size(); ++k) {
            const ACurveSegment& s = segments[k];
            EXPECT_EQ(s.from.x, points[k].x);
            EXPECT_EQ(s.from.y, points[k].y);
            EXPECT_EQ(s.to.x, points[k + 1].x);
            EXPECT_EQ(s.to.y, points[k + 1].y);
            // Control points between the ends keep the whole piece between them.
            const double low = std::min(s.from.y, s.to.y) - 1e-9, high = std::max(s.from.y, s.to.y) + 1e-9;
            for (const ACurvePoint& c : {s.control1, s.control2}) {
                EXPECT_GE(c.y, low) << round << " " << k;
                EXPECT_LE(c.y, high) << round << " " << k;
                EXPECT_GT(c.x, s.from.x);
                EXPECT_LT(c.x, s.to.x);
            }
        }
    }
}

TEST(MonotoneCurve, PointsSharingAnXKeepTheLastAndFewPointsGiveNoCurve)
{
    EXPECT_TRUE(MonotoneCurve({}).empty());
    EXPECT_TRUE(MonotoneCurve({{1, 5}}).empty());
    EXPECT_TRUE(MonotoneCurve({{1, 5}, {1, 7}}).empty());
    const auto segments = MonotoneCurve({{0, 0}, {10, 3}, {10, 8}, {20, 8}});
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].to.y, 8);
    // A flat stretch stays flat.
    EXPECT_EQ(segments[1].control1.y, 8);
    EXPECT_EQ(segments[1].control2.y, 8);
    // Two points: the straight line between them.
    const auto line = MonotoneCurve({{0, 0}, {30, 30}});
    ASSERT_EQ(line.size(), 1u);
    EXPECT_DOUBLE_EQ(line[0].control1.y, 10);
    EXPECT_DOUBLE_EQ(line[0].control2.y, 20);
}

}  // namespace
