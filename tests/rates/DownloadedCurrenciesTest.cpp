// What AddRate keeps of a plug-in's reports.
#include "rates/RatesTestSupport.h"

#include "rates/PackedDate.h"

namespace RatesTest {
namespace {

const APackedDate kMarch1 = FENDRAL_PACK_DATE(2024, 3, 1);

TEST(DownloadedCurrenciesTest, OneEntryPerCodeAndTheFirstRateOfADate)
{
    ADownloadedCurrencies list;
    list.Add({M(1), M(90), "USD", "Dollar", kMarch1});
    list.Add({M(1), M(91), "USD", "Other name", kMarch1});  // same date: dropped
    list.Add({M(1), M(98), "EUR", "Euro", kMarch1});
    list.Add({M(1), M(92), "USD", "Dollar", FENDRAL_PACK_DATE(2024, 2, 1)});
    list.Add({M(1), M(1), "usd", "lower case", kMarch1});  // codes are compared exactly
    ASSERT_EQ(list.Entries().size(), 3u);
    const ADownloadedCurrency& usd = list.Entries()[0];
    EXPECT_EQ(usd.code, "USD");
    EXPECT_EQ(usd.name, "Dollar");
    EXPECT_EQ(usd.rates, (std::map<ADate, ADownloadedRate>{{Day(2024, 2, 1), {M(1), M(92)}},
                                                           {Day(2024, 3, 1), {M(1), M(90)}}}));
    EXPECT_EQ(list.Entries()[1].code, "EUR");
    EXPECT_EQ(list.Entries()[2].code, "usd");
}

TEST(DownloadedCurrenciesTest, UnusableReportsKeepTheCurrencyButNotTheRate)
{
    const struct {
        const char* what;
        ARateRecord record;
        std::size_t entries;
        std::size_t rates;
    } cases[] = {
        {"no code", {M(1), M(2), nullptr, "Name", kMarch1}, 0, 0},
        {"empty code", {M(1), M(2), "", "Name", kMarch1}, 0, 0},
        {"no name", {M(1), M(2), "ABC", nullptr, kMarch1}, 1, 1},
        {"month 13", {M(1), M(2), "ABC", "Name", FENDRAL_PACK_DATE(2024, 13, 1)}, 1, 0},
        {"30 February", {M(1), M(2), "ABC", "Name", FENDRAL_PACK_DATE(2024, 2, 30)}, 1, 0},
        {"year 0", {M(1), M(2), "ABC", "Name", FENDRAL_PACK_DATE(0, 1, 1)}, 1, 0},
        {"zero base amount", {0, M(2), "ABC", "Name", kMarch1}, 1, 0},
        {"zero amount", {M(1), 0, "ABC", "Name", kMarch1}, 1, 0},
        {"negative amount", {M(1), -5, "ABC", "Name", kMarch1}, 1, 0},
        {"names only", {0, 0, "ABC", "Name", 0}, 1, 0},
    };
    for (const auto& c : cases) {
        ADownloadedCurrencies list;
        list.Add(c.record);
        ASSERT_EQ(list.Entries().size(), c.entries) << c.what;
        if (c.entries) {
            EXPECT_EQ(list.Entries()[0].rates.size(), c.rates) << c.what;
        }
    }
}

TEST(PackedDateTest, RoundTripAndRefusals)
{
    for (const ADate date : {Day(2012, 1, 1), Day(2024, 2, 29), Dates::kMinDate, Dates::kMaxDate})
        EXPECT_EQ(Rates::UnpackDate(Rates::PackDate(date)), date);
    EXPECT_EQ(Rates::PackDate(Day(2012, 3, 4)), 2012u | (3u << 16) | (4u << 24));
    EXPECT_EQ(Rates::UnpackDate(FENDRAL_PACK_DATE(2023, 2, 29)), std::nullopt);
    EXPECT_EQ(Rates::UnpackDate(FENDRAL_PACK_DATE(2023, 0, 1)), std::nullopt);
    EXPECT_EQ(Rates::UnpackDate(FENDRAL_PACK_DATE(2023, 1, 0)), std::nullopt);
    EXPECT_EQ(Rates::UnpackDate(0xFFFFFFFFu), std::nullopt);
}

}  // namespace
}  // namespace RatesTest
