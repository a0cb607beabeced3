// The text forms of values in interchange documents.
#include "exchange/export/ExportValues.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace ExportImport::Private;

TEST(ExportValues, AmountsHaveFourDecimalsAndASignOnlyWhenNegative)
{
    const struct {
        std::int64_t amount;
        const char* text;
    } cases[] = {
        {0, "0.0000"},
        {15'000, "1.5000"},
        {-2'500, "-0.2500"},
        {-1, "-0.0001"},
        {10'000, "1.0000"},
        {125'000, "12.5000"},
        {-125'000, "-12.5000"},
        {INT64_MAX, "922337203685477.5807"},
        // The smallest value has no positive counterpart in 64 bits.
        {INT64_MIN, "-922337203685477.5808"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AmountText(c.amount), c.text) << c.amount;
}

TEST(ExportValues, DatesAndTimestamps)
{
    EXPECT_EQ(DateText(Dates::FromYmd(2009, 1, 2)), "2009-01-02");
    EXPECT_EQ(DateText(Dates::kMinDate), "0100-01-01");
    EXPECT_EQ(DateText(Dates::kMaxDate), "9999-12-31");
    EXPECT_EQ(DateText(0), "1899-12-30");

    const ADate day = Dates::FromYmd(2009, 1, 2);
    EXPECT_EQ(TimestampText(day, ((9 * 60 + 5) * 60 + 3) * 1000 + 7), "2009-01-02T09:05:03:007");
    EXPECT_EQ(TimestampText(day, 0), "2009-01-02T00:00:00:000");
    EXPECT_EQ(TimestampText(day, 86'399'999), "2009-01-02T23:59:59:999");
    // A damaged time stays within the day instead of writing hour 25 or a negative hour.
    EXPECT_EQ(TimestampText(day, 90'000'000), "2009-01-02T23:59:59:999");
    EXPECT_EQ(TimestampText(day, -5), "2009-01-02T00:00:00:000");
}

TEST(ExportValues, IntegersHaveNoSignOrLeadingZeros)
{
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(7), "7");
    EXPECT_EQ(IntegerText(235), "235");
    EXPECT_EQ(IntegerText(UINT64_MAX), "18446744073709551615");
}

}  // namespace
