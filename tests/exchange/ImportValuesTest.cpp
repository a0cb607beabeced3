#include "exchange/import/ImportValues.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace ExportImport;

struct AAmountCase {
    const char* text;
    std::optional<AMoney> expected;
};

TEST(ImportValues, AmountTexts)
{
    constexpr AMoney kMax = std::numeric_limits<AMoney>::max();
    constexpr AMoney kMin = std::numeric_limits<AMoney>::min();
    const AAmountCase cases[] = {
        {"1.5000", 15000},
        {"-0.2500", -2500},
        {"12.34567", 123456},  // longer fractions are cut, not rounded
        {" -5", -50000},
        {"\t+ 7.1 ", 71000},
        {"- \n3.25\r\n", -32500},
        {"0", 0},
        {"-0.0000", 0},
        {"5.", 50000},
        {"007.0100", 70100},
        {"922337203685477.5807", kMax},
        {"-922337203685477.5808", kMin},
        {"922337203685477.5808", std::nullopt},   // one past the top
        {"-922337203685477.5809", std::nullopt},  // one past the bottom
        {"1844674407370955.1616", std::nullopt},  // 2^64 / 10000: would wrap to 0
        {"99999999999999999999999999", std::nullopt},
        {"5a", std::nullopt},
        {"5 a", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {".5", std::nullopt},
        {"+-5", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1,5", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const AAmountCase& c : cases)
        EXPECT_EQ(ParseAmount(c.text), c.expected) << "'" << c.text << "'";
}

TEST(ImportValues, AnEmbeddedNulIsMalformed)
{
    EXPECT_EQ(ParseAmount(std::string_view("5\0", 2)), std::nullopt);
}

TEST(ImportValues, Integers)
{
    struct ACase {
        const char* text;
        AIntegerForm form;
        std::uint64_t value;
    };
    const ACase cases[] = {
        {"0", AIntegerForm::Valid, 0},
        {" 42 ", AIntegerForm::Valid, 42},
        {"0042", AIntegerForm::Valid, 42},
        {"18446744073709551615", AIntegerForm::Valid, 18446744073709551615ull},
        {"18446744073709551616", AIntegerForm::Malformed, 0},
        {"-3", AIntegerForm::Negative, 0},
        {"-0", AIntegerForm::Valid, 0},
        {"-", AIntegerForm::Malformed, 0},
        {"+3", AIntegerForm::Malformed, 0},
        {"3.0", AIntegerForm::Malformed, 0},
        {"", AIntegerForm::Malformed, 0},
        {"x", AIntegerForm::Malformed, 0},
        {"- 3", AIntegerForm::Malformed, 0},
    };
    for (const ACase& c : cases) {
        const AInteger parsed = ParseInteger(c.text);
        EXPECT_EQ(parsed.form, c.form) << c.text;
        EXPECT_EQ(parsed.value, c.value) << c.text;
    }
}

TEST(ImportValues, Dates)
{
    EXPECT_EQ(ParseDate("2009-01-02"), Dates::FromYmd(2009, 1, 2));
    EXPECT_EQ(ParseDate(" 2024-02-29 "), Dates::FromYmd(2024, 2, 29));
    EXPECT_EQ(ParseDate("0100-01-01"), Dates::kMinDate);
    EXPECT_EQ(ParseDate("9999-12-31"), Dates::kMaxDate);
    for (const char* bad : {"2023-02-29", "2009-13-01", "2009-00-10", "2009-01-00", "2009-04-31", "0099-12-31",
                            "2009-1-02", "2009/01/02", "20090102", "", "2009-01-02T00:00:00:000", "2009-01-02x"})
        EXPECT_EQ(ParseDate(bad), std::nullopt) << bad;
}

TEST(ImportValues, DatesAndTimestamps)
{
    const auto stamp = ParseDateOrTimestamp("2009-01-02T09:05:03:007");
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->date, Dates::FromYmd(2009, 1, 2));
    EXPECT_EQ(stamp->milliseconds, ((9 * 60 + 5) * 60 + 3) * 1000 + 7);
    EXPECT_TRUE(stamp->hasTime);

    const auto point = ParseDateOrTimestamp("2009-01-02T23:59:59.999");
    ASSERT_TRUE(point);
    EXPECT_EQ(point->milliseconds, 86399999);
    const auto seconds = ParseDateOrTimestamp("2009-01-02T00:00:01");
    ASSERT_TRUE(seconds);
    EXPECT_EQ(seconds->milliseconds, 1000);

    const auto date = ParseDateOrTimestamp("2009-01-02");
    ASSERT_TRUE(date);
    EXPECT_FALSE(date->hasTime);
    EXPECT_EQ(date->milliseconds, 0);

    for (const char* bad : {"2009-01-02T24:00:00:000", "2009-01-02T10:60:00:000", "2009-01-02T10:00:60:000",
                            "2009-01-02T10:00:00:0000", "2009-01-02T10:00:00-000", "2009-01-02 10:00:00:000",
                            "2009-01-02T10:00", "2009-01-02T", "2009-02-30T10:00:00:000"})
        EXPECT_EQ(ParseDateOrTimestamp(bad), std::nullopt) << bad;
}

}  // namespace
