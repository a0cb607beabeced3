#include "exchange/import/ImportValues.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace ExportImport;

TEST(ImportValues, AmountTexts)
{
    constexpr AMoney kMax = std::numeric_limits<AMoney>::max();
    constexpr AMoney kMin = std::numeric_limits<AMoney>::min();
    const struct {
        std::string_view text;
        std::optional<AMoney> expected;
    } cases[] = {
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
        {std::string_view("5\0", 2), std::nullopt},  // an embedded NUL
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseAmount(c.text), c.expected) << "'" << c.text << "'";
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

// A date alone is both a date and a timestamp without its time; a timestamp is no date.
TEST(ImportValues, DatesAndTimestamps)
{
    constexpr int kStamp = ((9 * 60 + 5) * 60 + 3) * 1000 + 7;
    const struct {
        const char* text;
        std::optional<ADate> date;
        bool stamp;  // a timestamp, not a date
        std::int32_t milliseconds;
    } cases[] = {
        {"2009-01-02", Dates::FromYmd(2009, 1, 2), false, 0},
        {" 2024-02-29 ", Dates::FromYmd(2024, 2, 29), false, 0},
        {"0100-01-01", Dates::kMinDate, false, 0},
        {"9999-12-31", Dates::kMaxDate, false, 0},
        {"2009-01-02T09:05:03:007", Dates::FromYmd(2009, 1, 2), true, kStamp},
        {"2009-01-02T23:59:59.999", Dates::FromYmd(2009, 1, 2), true, 86399999},
        {"2009-01-02T00:00:01", Dates::FromYmd(2009, 1, 2), true, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseDate(c.text), c.stamp ? std::nullopt : c.date);
        const auto parsed = ParseDateOrTimestamp(c.text);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->date, c.date);
        EXPECT_EQ(parsed->milliseconds, c.milliseconds);
        EXPECT_EQ(parsed->hasTime, c.stamp);
    }
    for (const char* bad : {"2023-02-29", "2009-13-01", "2009-00-10", "2009-01-00", "2009-04-31", "0099-12-31",
                            "2009-1-02", "2009/01/02", "20090102", "", "2009-01-02x"})
        EXPECT_EQ(ParseDate(bad), std::nullopt) << bad;
    for (const char* bad : {"2009-01-02T24:00:00:000", "2009-01-02T10:60:00:000", "2009-01-02T10:00:60:000",
                            "2009-01-02T10:00:00:0000", "2009-01-02T10:00:00-000", "2009-01-02 10:00:00:000",
                            "2009-01-02T10:00", "2009-01-02T", "2009-02-30T10:00:00:000"})
        EXPECT_EQ(ParseDateOrTimestamp(bad), std::nullopt) << bad;
}

}  // namespace
