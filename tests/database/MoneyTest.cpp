#include "database/Money.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Database;

namespace {

constexpr AMoney kMax = std::numeric_limits<AMoney>::max();
constexpr AMoney kMin = std::numeric_limits<AMoney>::min();

struct AMulDivCase {
    AMoney value, numerator, denominator;
    std::optional<AMoney> expected;
};

const AMulDivCase kMulDivCases[] = {
    {1'000'000, 10'000, 300'000, 33'333},  // 100 ÷ 30, truncated
    {7, 1, 2, 3},
    {-7, 1, 2, -3},  // toward zero, not down
    {7, -1, 2, -3},
    {-7, -1, 2, 3},
    {7, 1, -2, -3},
    {0, kMax, 1, 0},
    // The product leaves 64 bits while the quotient fits: a 64-bit multiply would wrap.
    {kMax, 3, 3, kMax},
    {kMax, kMax, kMax, kMax},
    {kMin, kMin, kMin, kMin},
    {kMax / 2 + 1, 4, 2, std::nullopt},
    {kMin, -1, 2, (kMax / 2) + 1},
    // Quotients beyond 64 bits fail instead of wrapping.
    {kMax, 2, 1, std::nullopt},
    {kMin, -1, 1, std::nullopt},
    {kMin, 1, -1, std::nullopt},
    {kMax, kMax, 1, std::nullopt},
    {1, 1, 0, std::nullopt},
};

}  // namespace

TEST(Money, MulDivKeeps128BitsAndTruncatesTowardZero)
{
    for (const AMulDivCase& c : kMulDivCases)
        EXPECT_EQ(Money::MulDiv(c.value, c.numerator, c.denominator), c.expected)
            << c.value << " * " << c.numerator << " / " << c.denominator;
}

TEST(Money, AddAndSubtractReportOverflowAndLeaveTheResultAlone)
{
    AMoney result = 42;
    EXPECT_TRUE(Money::Add(kMax - 1, 1, result));
    EXPECT_EQ(result, kMax);
    result = 42;
    EXPECT_FALSE(Money::Add(kMax, 1, result));
    EXPECT_FALSE(Money::Add(kMin, -1, result));
    EXPECT_FALSE(Money::Subtract(kMin, 1, result));
    EXPECT_FALSE(Money::Subtract(0, kMin, result));
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(Money::Subtract(-5, -7, result));
    EXPECT_EQ(result, 2);
}
