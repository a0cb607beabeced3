#include "RulesTestSupport.h"

#include <limits>

using namespace RulesTest;

namespace {

constexpr AMoney kMax = std::numeric_limits<AMoney>::max();

class CurrencyConversion : public ::testing::Test {
protected:
    CurrencyConversion()
    {
        books.Step([&] { usd = books.AddCurrency(u"USD"); });
    }
    // Rates of the pair as stored: amount1 of currency 1 is worth amount2 of currency 2.
    void AddRates(AReference<ACurrency> c1, AReference<ACurrency> c2,
                  std::initializer_list<std::tuple<ADate, AMoney, AMoney>> rates)
    {
        books.Step([&] {
            const auto header =
                ATableImpl<ARateHeader>::RefTo(books.db.RateHeaders().Create(ARateHeader{c1, c2}));
            for (const auto& [date, amount1, amount2] : rates)
                books.db.RateValues().Create(ARateValue{header, date, amount1, amount2});
        });
    }
    std::optional<AMoney> Convert(const ARateConverter& converter, AReference<ACurrency> target, ADate date,
                                  AMoney amount)
    {
        return converter.Convert(target, date, amount) ? std::optional(amount) : std::nullopt;
    }

    TBooks books;
    AReference<ACurrency> usd;
    const ADate march1 = Dates::FromYmd(2024, 3, 1);
    const ADate april1 = Dates::FromYmd(2024, 4, 1);
};

}  // namespace

// The converter may name the pair the other way round from the header.
TEST_F(CurrencyConversion, OneRateDatedAfterTheDateIsUsedInBothDirectionsWhicheverWayThePairIsNamed)
{
    AddRates(books.rur, usd, {{april1, M(30), M(1)}});
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed);
        const ARateConverter converter = reversed ? ARateConverter(books.db, usd, books.rur)
                                                  : ARateConverter(books.db, books.rur, usd);
        EXPECT_EQ(Convert(converter, usd, march1, M(100)), 33'333);  // 3.3333
        EXPECT_EQ(Convert(converter, books.rur, march1, 33'333), 999'990);
        EXPECT_EQ(Convert(converter, usd, march1, -M(100)), -33'333);
        EXPECT_EQ(Convert(converter, books.rur, march1, M(2)), M(60));
    }
}

TEST_F(CurrencyConversion, TheRateOfTheDayElseTheLatestBeforeElseTheEarliest)
{
    // 1 March: 1 USD = 90 RUR; 1 April: 1 USD = 100 RUR.
    AddRates(usd, books.rur, {{april1, M(1), M(100)}, {march1, M(1), M(90)}});
    const ARateConverter converter(books.db, usd, books.rur);
    const struct {
        ADate date;
        AMoney roubles;
    } cases[] = {
        {march1 - 1, M(90)},  {march1, M(90)},     {Dates::FromYmd(2024, 3, 15), M(90)},
        {april1 - 1, M(90)},  {april1, M(100)},    {april1 + 30, M(100)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Convert(converter, books.rur, c.date, M(1)), c.roubles) << c.date;
        EXPECT_EQ(Convert(converter, usd, c.date, c.roubles), M(1)) << c.date;
    }
}

TEST_F(CurrencyConversion, EqualCurrenciesZeroAmountsAndMissingRates)
{
    const ARateConverter same(books.db, usd, usd);
    EXPECT_EQ(Convert(same, usd, march1, M(7)), M(7));
    const ARateConverter none(books.db, {}, {});
    EXPECT_EQ(Convert(none, {}, march1, M(7)), std::nullopt);

    const ARateConverter noRates(books.db, usd, books.rur);
    EXPECT_FALSE(noRates.HasRates());
    EXPECT_EQ(Convert(noRates, usd, march1, 0), 0);
    EXPECT_EQ(Convert(noRates, usd, march1, M(1)), std::nullopt);
}

TEST_F(CurrencyConversion, AmountsNearThe64BitLimit)
{
    AddRates(usd, books.rur, {{march1, M(3), M(3)}, {april1, M(1), M(2)}});
    const ARateConverter converter(books.db, usd, books.rur);
    // X × 3 leaves 64 bits on the way, the result does not.
    EXPECT_EQ(Convert(converter, books.rur, march1, kMax), kMax);
    EXPECT_EQ(Convert(converter, usd, march1, -kMax), -kMax);
    // Doubling does not fit: a failure, the amount untouched, never a wrapped number.
    AMoney amount = kMax / 2 + 1;
    EXPECT_FALSE(converter.Convert(books.rur, april1, amount));
    EXPECT_EQ(amount, kMax / 2 + 1);
    EXPECT_EQ(Convert(converter, books.rur, april1, kMax / 2), kMax - 1);
    EXPECT_EQ(Convert(converter, usd, april1, kMax), kMax / 2);
}

TEST_F(CurrencyConversion, RatesOfTheOpenStepCountAndDamagedRatesFail)
{
    books.db.BeginStep();
    const auto header = ATableImpl<ARateHeader>::RefTo(books.db.RateHeaders().Create(ARateHeader{usd, books.rur}));
    books.db.RateValues().Create(ARateValue{header, march1, M(1), M(90)});
    books.db.RateValues().Create(ARateValue{header, april1, 0, M(90)});
    books.db.RateValues().Create(ARateValue{header, april1 + 10, M(1), 0});
    const ARateConverter converter(books.db, usd, books.rur);
    EXPECT_EQ(Convert(converter, books.rur, march1, M(2)), M(180));
    for (ADate damaged : {april1, april1 + 10})
        EXPECT_EQ(Convert(converter, books.rur, damaged, M(2)), std::nullopt);
    books.db.CommitStep();
}

TEST_F(CurrencyConversion, ATargetOutsideThePairIsAnInternalFault)
{
    AReference<ACurrency> eur;
    books.Step([&] { eur = books.AddCurrency(u"EUR"); });
    AddRates(usd, books.rur, {{march1, M(1), M(90)}});
    const ARateConverter converter(books.db, usd, books.rur);
    TAssertionCounter assertions;
    EXPECT_EQ(Convert(converter, eur, march1, M(1)), std::nullopt);
    EXPECT_EQ(assertions.failures, 1);
}
