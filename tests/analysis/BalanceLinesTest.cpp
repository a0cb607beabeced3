#include "AnalysisBooks.h"

#include "analysis/BalanceLines.h"
#include "analysis/RateChart.h"
#include "database/Recurrence.h"

namespace AnalysisTest {
namespace {

using namespace UserInterface::Reports;
using UserInterface::Filters::AAccountSelection;
using UserInterface::Filters::ADatePeriod;
using Step = ABalanceStepKind;

class BalanceBooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        books.Step([&] {
            usd = books.AddCurrency(u"USD");
            card = books.AddAccount(u"Карта", {}, M(100));
            dollars = books.AddAccount(u"Доллары", usd, M(10));
        });
        p.kind = AReportKind::Balances;
        p.period = ADatePeriod(D(2024, 3, 1), D(2024, 3, 31), std::nullopt);
        p.currency = books.rur;
        p.accounts = AAccountSelection({card});
    }
    static std::vector<std::pair<Step, AMoney>> Steps(const ABalanceLine& line)
    {
        std::vector<std::pair<Step, AMoney>> steps;
        for (const auto& point : line.points)
            steps.emplace_back(point.kind, point.value);
        return steps;
    }

    TBooks books;
    AReference<ACurrency> usd;
    AReference<AAccount> card, dollars;
    AReportParameters p;
};

TEST_F(BalanceBooks, OpeningBalanceStepsAndEndPoint)
{
    books.Step([&] {
        books.Add(TBooks::Single(card, -M(30), D(2024, 2, 10)));            // before: opening 70
        books.Add(TBooks::Single(card, M(5), D(2024, 3, 4)));
        books.Add(TBooks::StatedBalance(card, M(50), D(2024, 3, 10)));      // sets 50
        books.Add(TBooks::Planned(card, -M(7), D(2024, 3, 20)));
        books.Add(TBooks::Transfer(card, M(3), books.cash, M(3), D(2024, 3, 25)));
        books.Add(TBooks::Single(card, M(1000), D(2024, 4, 1)));            // after the period
        books.Add(TBooks::Single(books.cash, M(1000), D(2024, 3, 5)));      // unselected account
    });
    const ABalanceReport r = ComputeBalances(books.db, p);
    using V = std::vector<std::pair<Step, AMoney>>;
    EXPECT_EQ(Steps(r.executed), (V{{Step::Start, M(70)}, {Step::Transaction, M(75)}, {Step::Transaction, M(50)},
                                     {Step::Transaction, M(47)}, {Step::End, M(47)}}));
    EXPECT_EQ(Steps(r.full), (V{{Step::Start, M(70)}, {Step::Transaction, M(75)}, {Step::Transaction, M(50)},
                                 {Step::Transaction, M(43)}, {Step::Transaction, M(40)}, {Step::End, M(40)}}));
    EXPECT_EQ(r.executed.points.front().date, D(2024, 3, 1));
    EXPECT_EQ(r.executed.points.back().date, D(2024, 3, 31));
    EXPECT_EQ(r.executed.points.back().time, 86399999);
}

TEST_F(BalanceBooks, RecurringTransactionsAddTheirComingOccurrencesToTheFullLine)
{
    books.Step([&] {
        ATransaction rent = TBooks::Planned(card, -M(10), D(2024, 2, 15));
        Recurrence::ARule rule;
        rule.active = true;
        rule.kind = static_cast<std::uint8_t>(Recurrence::AKind::Monthly);
        rule.interval = 1;
        rule.dayOfMonth = 15;
        rent.recurrence = rule.Word();
        books.Add(rent);
    });
    p.period = ADatePeriod(D(2024, 3, 1), D(2024, 5, 20), std::nullopt);
    const ABalanceReport r = ComputeBalances(books.db, p);
    // 15 February (before the start), then 15 March, April and May.
    using V = std::vector<std::pair<Step, AMoney>>;
    EXPECT_EQ(Steps(r.full), (V{{Step::Start, M(90)}, {Step::Transaction, M(80)}, {Step::Transaction, M(70)},
                                 {Step::Transaction, M(60)}, {Step::End, M(60)}}));
    EXPECT_TRUE(r.full.points[1].occurrence);
    EXPECT_EQ(r.full.points[2].date, D(2024, 4, 15));
    EXPECT_EQ(Steps(r.executed), (V{{Step::Start, M(100)}, {Step::End, M(100)}}));
}

TEST_F(BalanceBooks, ExchangeDifferencesAreStepsOfTheirOwn)
{
    books.Step([&] {
        books.AddRate(usd, books.rur, D(2024, 1, 1), M(1), M(90));
        books.AddRate(usd, books.rur, D(2024, 3, 10), M(1), M(100));
        books.AddRate(usd, books.rur, D(2024, 3, 12), M(1), M(100));  // no change: no step
        books.Add(TBooks::Single(dollars, M(1), D(2024, 3, 10)));
    });
    p.accounts = AAccountSelection({dollars, card});
    const ABalanceReport r = ComputeBalances(books.db, p);
    using V = std::vector<std::pair<Step, AMoney>>;
    EXPECT_EQ(Steps(r.executed), (V{{Step::Start, M(1000)}, {Step::ExchangeDifference, M(1100)},
                                     {Step::Transaction, M(1200)}, {Step::End, M(1200)}}));

    const ABalanceFigures figures = FiguresOf(r.executed, 1, 2);
    EXPECT_EQ(figures.opening, M(1000));
    EXPECT_EQ(figures.exchange, M(100));
    EXPECT_EQ(figures.transactions, 1);
    EXPECT_EQ(figures.increases, M(100));
    EXPECT_EQ(figures.decreases, 0);
    EXPECT_EQ(figures.closing, M(1200));
    EXPECT_EQ(BalanceTooltip(books.strings, figures, u"RUR", 2),
              u"Входящий остаток: 1 000,00 RUR\r\nКурсовая разница: 100,00 RUR\r\nОпераций: 1\r\nПриход: 100,00 "
              u"RUR\r\nИсходящий остаток: 1 200,00 RUR");
    EXPECT_EQ(BalanceTooltip(books.strings, FiguresOf(r.executed, 0, 0), u"RUR", 2), u"1 000,00 RUR");
}

TEST_F(BalanceBooks, AccountsWithoutConversionPathAreLeftOut)
{
    books.Step([&] { books.Add(TBooks::Single(dollars, M(1), D(2024, 3, 10))); });
    p.accounts = AAccountSelection({dollars, card});
    const ABalanceReport r = ComputeBalances(books.db, p);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].id, 471);
    EXPECT_EQ(r.executed.points.front().value, M(100));
    EXPECT_EQ(r.executed.points.size(), 2u);
}

TEST_F(BalanceBooks, RateChartStretches)
{
    books.Step([&] {
        books.AddRate(books.rur, usd, D(2024, 2, 1), M(90), M(1));  // stored the other way round
        books.AddRate(usd, books.rur, D(2024, 3, 10), M(1), M(95));
        books.AddRate(usd, books.rur, D(2024, 3, 20), M(3), M(290));
    });
    p.kind = AReportKind::Rates;
    p.rateCurrency = usd;
    p.rateInCurrency = books.rur;
    p.zeroLine = true;
    ARateChart chart = ComputeRates(books.db, p);
    EXPECT_EQ(chart.stored, (std::vector<ARatePoint>{{D(2024, 3, 10), M(95)}, {D(2024, 3, 20), 966666}}));
    EXPECT_EQ(chart.before, (std::vector<ARatePoint>{{D(2024, 3, 1), M(90)}, {D(2024, 3, 10), M(90)}}));
    EXPECT_EQ(chart.after, (std::vector<ARatePoint>{{D(2024, 3, 20), 966666}, {D(2024, 3, 31), 966666}}));
    EXPECT_TRUE(chart.zeroLine);

    // The other way round, and a period without stored rates.
    p.rateCurrency = books.rur;
    p.rateInCurrency = usd;
    p.period = ADatePeriod(D(2023, 1, 1), D(2023, 1, 31), std::nullopt);
    chart = ComputeRates(books.db, p);
    EXPECT_TRUE(chart.stored.empty());
    EXPECT_EQ(chart.before, (std::vector<ARatePoint>{{D(2023, 1, 1), 111}, {D(2023, 1, 31), 111}}));
    EXPECT_TRUE(chart.after.empty());
}

}  // namespace
}  // namespace AnalysisTest
