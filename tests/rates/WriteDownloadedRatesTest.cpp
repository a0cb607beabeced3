// Writing the downloaded selection: currencies found or made, rates against the
// base, cross rates, headers in either order, dates that already have a rate.
#include "database/RulesTestSupport.h"
#include "rates/WriteDownloadedRates.h"

namespace RatesTest {
namespace {

using namespace RulesTest;
using Rates::ADownloadedRate;
using Rates::ADownloadSelection;
using Rates::AWriteOutcome;
using Rates::WriteDownloadedRates;

ADate Day(int y, int m, int d) { return Dates::FromYmd(y, m, d); }

class WriteDownloadedRatesTest : public ::testing::Test {
protected:
    // A downloaded currency; its rates live as long as the test.
    void Downloaded(std::u16string code, std::map<ADate, ADownloadedRate> rates, bool checked = true)
    {
        rateSets.push_back(std::make_unique<std::map<ADate, ADownloadedRate>>(std::move(rates)));
        selection.items.push_back({code, code + u" name", rateSets.back().get(), checked});
    }
    AWriteOutcome Write() { return WriteDownloadedRates(books.db, selection, u"Загрузка валют"); }

    AReference<ACurrency> Currency(std::u16string_view code)
    {
        return ATableImpl<ACurrency>::RefTo(CurrencyByCode(books.db, code));
    }
    // The stored rates of a pair as (date, amount of a, amount of b), whichever way
    // round its header is.
    std::vector<std::tuple<ADate, AMoney, AMoney>> RatesOf(std::u16string_view a, std::u16string_view b)
    {
        std::vector<std::tuple<ADate, AMoney, AMoney>> found;
        const auto* header = RateHeaderFor(books.db, Currency(a), Currency(b));
        if (!header)
            return found;
        const bool reversed = header->Record().currency1 != Currency(a);
        for (const auto* slot : books.db.RateValues().Live()) {
            const ARateValue& value = slot->Record();
            if (value.header == ATableImpl<ARateHeader>::RefTo(header))
                found.emplace_back(value.date, reversed ? value.amount2 : value.amount1,
                                   reversed ? value.amount1 : value.amount2);
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    TBooks books;
    ADownloadSelection selection{u"RUR", u"Российские рубли"};
    std::vector<std::unique_ptr<std::map<ADate, ADownloadedRate>>> rateSets;
    const ADate d1 = Day(2024, 3, 1);
    const ADate d2 = Day(2024, 4, 1);
};

TEST_F(WriteDownloadedRatesTest, RatesAgainstTheBaseInOneUndoableStep)
{
    Downloaded(u"USD", {{d2, {M(92), M(1)}}, {d1, {M(90), M(1)}}});
    Downloaded(u"EUR", {{d1, {M(100), M(1)}}}, false);
    const std::size_t currenciesBefore = books.db.Currencies().LiveCount();
    const AWriteOutcome outcome = Write();
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.currenciesCreated, 1u);
    EXPECT_EQ(outcome.ratesAdded, 2u);
    EXPECT_EQ(books.db.Currencies().LiveCount(), currenciesBefore + 1);
    EXPECT_EQ(CurrencyByCode(books.db, u"EUR"), nullptr) << "unticked currencies are not added";
    EXPECT_EQ(books.db.Text(books.db.Currencies().Record(Currency(u"USD"))->name), u"USD name");
    EXPECT_EQ(RatesOf(u"RUR", u"USD"),
              (std::vector<std::tuple<ADate, AMoney, AMoney>>{{d1, M(90), M(1)}, {d2, M(92), M(1)}}));
    const auto* header = RateHeaderFor(books.db, Currency(u"RUR"), Currency(u"USD"));
    EXPECT_EQ(header->Record().currency1, Currency(u"RUR")) << "the base currency comes first";

    EXPECT_EQ(books.db.UndoLabel(), u"Загрузка валют");
    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(books.db.Currencies().LiveCount(), currenciesBefore);
    EXPECT_EQ(books.db.RateValues().LiveCount(), 0u);
    EXPECT_EQ(books.db.RateHeaders().LiveCount(), 0u);
}

TEST_F(WriteDownloadedRatesTest, NamesOnlyMakesCurrenciesAndNoRates)
{
    selection.withRates = false;
    selection.crossRates = true;  // ignored without rates
    Downloaded(u"USD", {{d1, {M(90), M(1)}}});
    Downloaded(u"EUR", {{d1, {M(100), M(1)}}});
    const AWriteOutcome outcome = Write();
    EXPECT_EQ(outcome.currenciesCreated, 2u);
    EXPECT_EQ(outcome.ratesAdded + outcome.crossRatesAdded, 0u);
    EXPECT_EQ(books.db.RateValues().LiveCount(), 0u);
    EXPECT_EQ(books.db.RateHeaders().LiveCount(), 0u);
}

TEST_F(WriteDownloadedRatesTest, ExistingCodeIsNotMadeAgainAndGetsTheRates)
{
    AReference<ACurrency> usd;
    books.Step([&] { usd = books.AddCurrency(u"USD"); });
    Downloaded(u"USD", {{d1, {M(90), M(1)}}});
    const std::size_t before = books.db.Currencies().LiveCount();
    const AWriteOutcome outcome = Write();
    EXPECT_EQ(outcome.currenciesCreated, 0u);
    EXPECT_EQ(books.db.Currencies().LiveCount(), before);
    EXPECT_EQ(Currency(u"USD"), usd);
    EXPECT_EQ(RatesOf(u"RUR", u"USD"), (std::vector<std::tuple<ADate, AMoney, AMoney>>{{d1, M(90), M(1)}}));
}

TEST_F(WriteDownloadedRatesTest, MissingBaseIsMadeFromTheSourcesTexts)
{
    selection.baseCode = u"EUR";
    selection.baseName = u"Евро";
    Downloaded(u"USD", {{d1, {M(1), 10800}}});
    EXPECT_EQ(Write().currenciesCreated, 2u);
    ASSERT_NE(CurrencyByCode(books.db, u"EUR"), nullptr);
    EXPECT_EQ(books.db.Text(CurrencyByCode(books.db, u"EUR")->Record().name), u"Евро");
    EXPECT_EQ(CurrencyByCode(books.db, u"EUR")->Record().precision, 2u);
    EXPECT_EQ(RatesOf(u"EUR", u"USD").size(), 1u);
}

TEST_F(WriteDownloadedRatesTest, ReversedHeaderGetsTheAmountsSwapped)
{
    AReference<ACurrency> usd;
    books.Step([&] {
        usd = books.AddCurrency(u"USD");
        books.db.RateHeaders().Create(ARateHeader{usd, books.rur});
    });
    Downloaded(u"USD", {{d1, {M(90), M(1)}}});
    Write();
    ASSERT_EQ(books.db.RateHeaders().LiveCount(), 1u);
    const ARateValue& stored = books.db.RateValues().Live().front()->Record();
    EXPECT_EQ(stored.amount1, M(1)) << "amount of USD, the header's first";
    EXPECT_EQ(stored.amount2, M(90));
}

TEST_F(WriteDownloadedRatesTest, RateAlreadyStoredOnADateIsKept)
{
    AReference<ACurrency> usd;
    books.Step([&] {
        usd = books.AddCurrency(u"USD");
        const auto header = ATableImpl<ARateHeader>::RefTo(books.db.RateHeaders().Create(ARateHeader{books.rur, usd}));
        books.db.RateValues().Create(ARateValue{header, d1, M(80), M(1)});
    });
    Downloaded(u"USD", {{d1, {M(90), M(1)}}, {d2, {M(92), M(1)}}});
    const AWriteOutcome outcome = Write();
    EXPECT_EQ(outcome.ratesAdded, 1u);
    EXPECT_EQ(outcome.ratesKept, 1u);
    EXPECT_EQ(RatesOf(u"RUR", u"USD"),
              (std::vector<std::tuple<ADate, AMoney, AMoney>>{{d1, M(80), M(1)}, {d2, M(92), M(1)}}));
}

TEST_F(WriteDownloadedRatesTest, CrossRatesForThreeCurrenciesOnOneDate)
{
    selection.crossRates = true;
    Downloaded(u"USD", {{d1, {M(90), M(1)}}, {d2, {M(91), M(1)}}});
    Downloaded(u"EUR", {{d1, {M(100), M(1)}}});
    Downloaded(u"GBP", {{d1, {M(115), M(1)}}});
    const AWriteOutcome outcome = Write();
    EXPECT_EQ(outcome.ratesAdded, 4u);
    // Three pairs on d1; USD is alone on d2.
    EXPECT_EQ(outcome.crossRatesAdded, 3u);
    // 90 RUR = 1 USD and 100 RUR = 1 EUR, so 90 EUR are worth 100 USD.
    EXPECT_EQ(RatesOf(u"EUR", u"USD"), (std::vector<std::tuple<ADate, AMoney, AMoney>>{{d1, M(90), M(100)}}));
    EXPECT_EQ(RatesOf(u"GBP", u"USD"), (std::vector<std::tuple<ADate, AMoney, AMoney>>{{d1, M(90), M(115)}}));
    EXPECT_EQ(RatesOf(u"GBP", u"EUR"), (std::vector<std::tuple<ADate, AMoney, AMoney>>{{d1, M(100), M(115)}}));
    // The later currency of a pair is the header's first.
    const auto* header = RateHeaderFor(books.db, Currency(u"GBP"), Currency(u"EUR"));
    EXPECT_EQ(header->Record().currency1, Currency(u"GBP"));
}

TEST_F(WriteDownloadedRatesTest, CrossRateProductsDoNotWrap)
{
    selection.crossRates = true;
    // A(USD) × B(EUR) = 10^12 × 10^10 overflows 64 bits; divided by 10000 it fits.
    Downloaded(u"USD", {{d1, {1'000'000'000'000, M(1)}}});
    Downloaded(u"EUR", {{d1, {M(1), 10'000'000'000}}});
    EXPECT_EQ(Write().crossRatesAdded, 1u);
    EXPECT_EQ(RatesOf(u"EUR", u"USD"),
              (std::vector<std::tuple<ADate, AMoney, AMoney>>{{d1, 1'000'000'000'000'000'000, M(1)}}));
}

TEST_F(WriteDownloadedRatesTest, CrossRateThatComesToNothingIsLeftOut)
{
    selection.crossRates = true;
    // 1/10000 × 1/10000 rounds to 0: no rate rather than one nobody can divide by.
    Downloaded(u"JPY", {{d1, {1, 1}}});
    Downloaded(u"CHF", {{d1, {1, 1}}});
    const AWriteOutcome outcome = Write();
    EXPECT_EQ(outcome.ratesAdded, 2u);
    EXPECT_EQ(outcome.crossRatesAdded, 0u);
    EXPECT_TRUE(RatesOf(u"JPY", u"CHF").empty());
}

TEST_F(WriteDownloadedRatesTest, BaseCurrencyAmongTheDownloadedGetsNoRateToItself)
{
    selection.crossRates = true;
    Downloaded(u"RUR", {{d1, {M(1), M(1)}}});
    Downloaded(u"USD", {{d1, {M(90), M(1)}}});
    const AWriteOutcome outcome = Write();
    EXPECT_EQ(outcome.ratesAdded, 1u);
    EXPECT_EQ(outcome.crossRatesAdded, 0u);
    EXPECT_EQ(books.db.RateHeaders().LiveCount(), 1u);
}

TEST_F(WriteDownloadedRatesTest, NothingToWriteRecordsNoStep)
{
    Downloaded(u"USD", {{d1, {M(90), M(1)}}}, false);
    const auto labelBefore = books.db.UndoLabel();
    const AWriteOutcome outcome = Write();
    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(books.db.StepOpen());
    EXPECT_EQ(books.db.UndoLabel(), labelBefore);
}

TEST_F(WriteDownloadedRatesTest, NoBaseCodeWritesNoRates)
{
    selection.baseCode.clear();
    Downloaded(u"USD", {{d1, {M(90), M(1)}}});
    const AWriteOutcome outcome = Write();
    EXPECT_EQ(outcome.currenciesCreated, 1u);
    EXPECT_EQ(books.db.RateValues().LiveCount(), 0u);
    EXPECT_EQ(CurrencyByCode(books.db, u""), nullptr);
}

}  // namespace
}  // namespace RatesTest
