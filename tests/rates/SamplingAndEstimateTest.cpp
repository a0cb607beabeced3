// Which dates are sampled, and the estimate the request list gives for them.
#include "rates/RatesTestSupport.h"

#include "core/LocaleInfo.h"
#include "rates/DownloadRequests.h"
#include "rates/SamplingDates.h"

namespace RatesTest {
namespace {

struct ASamplingCase {
    const char* what;
    ADate from;
    ADate to;
    ASamplingMode mode;
    std::size_t count;
    ADate first;
    ADate last;
};

TEST(SamplingDatesTest, EachModeSamplesItsDays)
{
    const ASamplingCase cases[] = {
        {"every day of a leap year", Day(2024, 1, 1), Day(2024, 12, 31), ASamplingMode::EveryDay, 366,
         Day(2024, 1, 1), Day(2024, 12, 31)},
        {"Mondays (2024 starts on one)", Day(2024, 1, 1), Day(2024, 12, 31), ASamplingMode::EveryMonday, 53,
         Day(2024, 1, 1), Day(2024, 12, 30)},
        {"Mondays from a Tuesday", Day(2024, 1, 2), Day(2024, 1, 31), ASamplingMode::EveryMonday, 4,
         Day(2024, 1, 8), Day(2024, 1, 29)},
        {"month starts", Day(2023, 12, 15), Day(2024, 12, 31), ASamplingMode::MonthStart, 12, Day(2024, 1, 1),
         Day(2024, 12, 1)},
        {"quarter starts", Day(2024, 1, 1), Day(2024, 12, 31), ASamplingMode::QuarterStart, 4, Day(2024, 1, 1),
         Day(2024, 10, 1)},
        {"half-year starts", Day(2024, 1, 2), Day(2025, 12, 31), ASamplingMode::HalfYearStart, 3,
         Day(2024, 7, 1), Day(2025, 7, 1)},
        {"one day that is a first", Day(2024, 4, 1), Day(2024, 4, 1), ASamplingMode::QuarterStart, 1,
         Day(2024, 4, 1), Day(2024, 4, 1)},
    };
    for (const ASamplingCase& c : cases) {
        const std::vector<ADate> dates = SampledDates(c.from, c.to, c.mode);
        ASSERT_EQ(dates.size(), c.count) << c.what;
        EXPECT_EQ(dates.front(), c.first) << c.what;
        EXPECT_EQ(dates.back(), c.last) << c.what;
        EXPECT_TRUE(std::is_sorted(dates.begin(), dates.end())) << c.what;
    }
}

TEST(SamplingDatesTest, EmptySamples)
{
    // Ten days in February have no quarter start; an end before the start has no days.
    EXPECT_TRUE(SampledDates(Day(2024, 2, 1) + 1, Day(2024, 2, 10), ASamplingMode::QuarterStart).empty());
    EXPECT_TRUE(SampledDates(Day(2024, 2, 10), Day(2024, 2, 1), ASamplingMode::EveryDay).empty());
    EXPECT_EQ(SamplingModeFromIndex(5), std::nullopt);
    EXPECT_EQ(SamplingModeFromIndex(-1), std::nullopt);
    EXPECT_EQ(SamplingModeFromIndex(3), ASamplingMode::QuarterStart);
}

TEST(SamplingDatesTest, PeriodAtTheCalendarsEndsStaysInRange)
{
    const std::vector<ADate> dates = SampledDates(Dates::kMaxDate - 2, Dates::kMaxDate + 50, ASamplingMode::EveryDay);
    EXPECT_EQ(dates, (std::vector<ADate>{Dates::kMaxDate - 2, Dates::kMaxDate - 1, Dates::kMaxDate}));
}

TEST(EstimateTest, KilobytesWithFourDecimals)
{
    const auto locale = UtilityClasses::Strings::RussianLocale();
    const struct {
        std::uint64_t bytes;
        std::u16string text;
    } cases[] = {
        {0, u"0,0000 Kb"},
        {1024, u"1,0000 Kb"},
        {1536, u"1,5000 Kb"},
        {10000, u"9,7656 Kb"},  // 97656.25 ten-thousandths, cut
        {1, u"0,0009 Kb"},
        {2'000'000, u"1 953,1250 Kb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EstimateText(c.bytes, locale), c.text) << c.bytes;
}

class RequestListTest : public ::testing::Test {
protected:
    AScopedEnv host{"FENDRAL_TEST_RATES_HOST", "rates.example:81"};
    AScopedEnv expected{"FENDRAL_TEST_RATES_EXPECTED", "300"};
    std::unique_ptr<ADataSourceItem> source = LoadTestSource();
};

TEST_F(RequestListTest, OneRequestPerResourceWithAddressAndTotal)
{
    ASSERT_NE(source, nullptr);
    ARequestList list;
    list.Build(*source, {Day(2024, 1, 1), Day(2024, 2, 1)});
    ASSERT_EQ(list.Requests().size(), 2u);
    EXPECT_EQ(list.Requests()[0].address, "http://rates.example:81/rates/2024-01-01");
    EXPECT_EQ(list.Requests()[1].address, "http://rates.example:81/rates/2024-02-01");
    EXPECT_EQ(list.Requests()[1].value, FENDRAL_PACK_DATE(2024, 2, 1));
    EXPECT_EQ(list.Requests()[0].state, ARequestState::Queued);
    EXPECT_EQ(list.TotalExpected(), 600u);
    // Building again starts afresh.
    list.Build(*source, {});
    EXPECT_TRUE(list.Requests().empty());
    EXPECT_EQ(list.TotalExpected(), 0u);
}

}  // namespace
}  // namespace RatesTest
