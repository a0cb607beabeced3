#include "AnalysisBooks.h"

#include "core/ChartColours.h"
#include "analysis/Series.h"
#include "analysis/SeriesEdit.h"

namespace AnalysisTest {
namespace {

using namespace UserInterface::Series;
using UserInterface::ACategoryMap;
using UserInterface::AReportConverter;
using UserInterface::Filters::ADatePeriod;
using UserInterface::Filters::TransactionsInPeriod;

class SeriesBooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        books.Step([&] {
            usd = books.AddCurrency(u"USD");
            card = books.AddAccount(u"Карта");
            dollars = books.AddAccount(u"Доллары", usd);
            other = books.AddAccount(u"Чужой");
        });
    }
    ASeriesDefinition Definition(AReference<ASeries> series)
    {
        ACategoryMap categories(books.db);
        auto definition = LoadSeries(books.db, series, categories);
        EXPECT_TRUE(definition);
        return definition ? *definition : ASeriesDefinition{};
    }
    std::vector<ASeriesItem> Items(AReference<ASeries> series)
    {
        const auto list =
            TransactionsInPeriod(books.db, ADatePeriod(D(2000, 1, 1), D(2030, 1, 1), std::nullopt), false);
        return SelectItems(books.db, Definition(series), list);
    }

    TBooks books;
    AReference<ACurrency> usd;
    AReference<AAccount> card, dollars, other;
};

TEST_F(SeriesBooks, KindRulesOfTheSelection)
{
    ASeriesDefinition series;
    series.accounts = {books.cash, card};
    std::sort(series.accounts.begin(), series.accounts.end());
    auto counts = [&](ATransaction t, bool income, bool expense, bool credits, bool debits) {
        series.record.income = income;
        series.record.expense = expense;
        series.record.transferCredits = credits;
        series.record.transferDebits = debits;
        return CountsByKind(series, t);
    };
    const ADate day = D(2024, 1, 1);
    ATransaction zero = TBooks::Single(books.cash, 0, day);
    EXPECT_TRUE(counts(zero, true, false, false, false));  // zero is an income here
    EXPECT_FALSE(counts(zero, false, true, true, true));
    EXPECT_TRUE(counts(TBooks::Single(books.cash, -1, day), false, true, false, false));
    EXPECT_FALSE(counts(TBooks::Single(other, -1, day), true, true, true, true));
    EXPECT_FALSE(counts(TBooks::Planned(books.cash, -1, day), true, true, true, true));

    ATransaction correction = TBooks::StatedBalance(books.cash, M(5), day);
    correction.amount1 = 0;
    EXPECT_FALSE(counts(correction, true, true, true, true));  // a zero correction never counts
    correction.amount1 = -M(2);
    EXPECT_TRUE(counts(correction, false, true, false, false));
    EXPECT_FALSE(counts(correction, true, false, true, true));
    correction.amount1 = M(2);
    EXPECT_TRUE(counts(correction, true, false, false, false));

    // A transfer between two of the series' accounts, or two others, never counts.
    EXPECT_FALSE(counts(TBooks::Transfer(books.cash, M(1), card, M(1), day), true, true, true, true));
    EXPECT_FALSE(counts(TBooks::Transfer(other, M(1), dollars, M(1), day), true, true, true, true));
    // Leaving the series' account is a debit; arriving on it a credit.
    const ATransaction out = TBooks::Transfer(books.cash, M(1), other, M(1), day);
    EXPECT_TRUE(counts(out, false, false, false, true));
    EXPECT_FALSE(counts(out, true, true, true, false));
    const ATransaction in = TBooks::Transfer(other, M(1), card, M(1), day);
    EXPECT_TRUE(counts(in, false, false, true, false));
    EXPECT_FALSE(counts(in, true, true, false, true));
}

TEST_F(SeriesBooks, NodeFiltersOfTwoClassifiersIntersect)
{
    AReference<ATransaction> both, onlyFood, onlyShop;
    AReference<ASeries> series;
    books.Step([&] {
        const auto food = books.AddCategory(u"Продукты", books.expenseRoot);
        const auto cafe = books.AddCategory(u"Кафе", books.expenseRoot);
        const auto shop = books.AddCategory(u"Магазин", books.AddSingleClassifier(u"Агент", u"Агенты"));
        both = books.Add(TBooks::Single(books.cash, -M(1), D(2024, 1, 1)));
        onlyFood = books.Add(TBooks::Single(books.cash, -M(2), D(2024, 1, 2)));
        onlyShop = books.Add(TBooks::Single(books.cash, -M(3), D(2024, 1, 3)));
        const auto cafeAndShop = books.Add(TBooks::Single(books.cash, -M(4), D(2024, 1, 4)));
        books.Relate(both, food);
        books.Relate(both, shop);
        books.Relate(onlyFood, food);
        books.Relate(onlyShop, shop);
        books.Relate(cafeAndShop, cafe);
        books.Relate(cafeAndShop, shop);
        series = books.AddSeries(u"Еда", {books.cash}, true, true, true, true, {food, cafe, shop});
    });
    const auto items = Items(series);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].amount, -M(1));
    EXPECT_EQ(items[1].amount, -M(4));  // either node of one classifier will do
}

TEST_F(SeriesBooks, ValuesAreConvertedAtEachTransactionsDateIntoTheirBuckets)
{
    AReference<ASeries> series;
    books.Step([&] {
        books.AddRate(usd, books.rur, D(2024, 1, 1), M(1), M(90));
        books.AddRate(usd, books.rur, D(2024, 2, 1), M(1), M(100));
        books.Add(TBooks::Single(dollars, M(10), D(2024, 1, 20)));   // 900
        books.Add(TBooks::Single(dollars, -M(1), D(2024, 2, 10)));   // -100
        books.Add(TBooks::Transfer(dollars, M(2), books.cash, M(190), D(2024, 2, 11)));  // the dollar side: -200
        books.Add(TBooks::Single(dollars, M(3), D(2024, 3, 1)));     // after the last bucket
        series = books.AddSeries(u"Доллары", {dollars});
    });
    AReportConverter converter(books.db, books.rur);
    const auto sums = SumOverBuckets(Items(series), {D(2024, 1, 1), D(2024, 2, 1), D(2024, 3, 1)}, converter, false);
    EXPECT_EQ(sums.sums, (std::vector<AMoney>{M(900), -M(300)}));
    EXPECT_EQ(sums.transactions[1].size(), 2u);
    EXPECT_EQ(sums.failures, 0u);
}

TEST_F(SeriesBooks, CanConvertNeedsAPathForEveryAccount)
{
    AReference<ASeries> series;
    books.Step([&] { series = books.AddSeries(u"Смесь", {books.cash, dollars}); });
    AReportConverter toRoubles(books.db, books.rur);
    const auto definition = Definition(series);
    EXPECT_EQ(FirstUnconvertibleAccount(definition, toRoubles), dollars);
    const auto message = UnconvertibleSeriesMessage(books.db, definition, dollars, books.rur);
    EXPECT_EQ(message.Format(books.strings),
              u"Серия \"Смесь\" не может быть включёна в\r\nотчёт: операции по счету \"Доллары - USD\" не могут быть "
              u"конвертированы\r\nв \"RUR\" так как не задан курс пересчета этих валют.");
    books.Step([&] { books.AddRate(books.rur, usd, D(2024, 6, 1), M(100), M(1)); });
    AReportConverter again(books.db, books.rur);
    EXPECT_EQ(FirstUnconvertibleAccount(Definition(series), again), std::nullopt);
}

TEST_F(SeriesBooks, DialogChecksInOrder)
{
    ASeriesInput input;
    input.name = u"   ";
    input.noBars = input.noLine = true;
    EXPECT_EQ(CheckSeriesInput(input), (ASeriesRefusal{698, ASeriesField::Name}));
    input.name = u"  Мои   траты ";
    EXPECT_EQ(CheckSeriesInput(input), (ASeriesRefusal{699, ASeriesField::Colour}));
    EXPECT_EQ(input.name, u"Мои траты");
    input.hue = 230;
    EXPECT_EQ(CheckSeriesInput(input), (ASeriesRefusal{687, ASeriesField::Bars}));
    input.noLine = false;
    EXPECT_EQ(CheckSeriesInput(input), (ASeriesRefusal{688, ASeriesField::Accounts}));
    input.accounts = {card};
    EXPECT_EQ(CheckSeriesInput(input), std::nullopt);
}

TEST_F(SeriesBooks, AddChangeAndDeleteAreOneStepEach)
{
    ASeriesInput input;
    input.name = u"Траты";
    input.hue = 10;
    input.expense = input.transferDebits = true;
    input.accounts = {books.cash, card};
    AReference<ASeries> series;
    ASSERT_EQ(AddSeries(books.db, books.strings, input, &series), std::nullopt);
    EXPECT_EQ(books.db.UndoLabel(), u"Добавить серию");
    EXPECT_EQ(books.db.SeriesAccounts().LiveCount(), 2u);

    input.name = u"Расходы";
    input.accounts = {card, dollars, dollars};
    input.income = true;
    ASSERT_EQ(ChangeSeries(books.db, books.strings, series, input), std::nullopt);
    EXPECT_EQ(books.db.UndoLabel(), u"Изменить серию");
    const ASeriesInput read = ReadSeriesInput(books.db, series);
    EXPECT_EQ(read.name, u"Расходы");
    EXPECT_TRUE(read.income);
    auto accounts = read.accounts;
    std::sort(accounts.begin(), accounts.end());
    auto expected = std::vector{card, dollars};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(accounts, expected);

    // A refused change leaves the data alone and opens no step.
    input.name.clear();
    EXPECT_TRUE(ChangeSeries(books.db, books.strings, series, input));
    EXPECT_EQ(books.db.UndoLabel(), u"Изменить серию");

    EXPECT_TRUE(DeleteSeries(books.db, books.strings, series));
    EXPECT_EQ(books.db.UndoLabel(), u"Удалить серию");
    EXPECT_EQ(books.db.Series().LiveCount(), 0u);
    EXPECT_EQ(books.db.SeriesAccounts().LiveCount(), 0u);
    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(books.db.SeriesAccounts().LiveCount(), 2u);
}

TEST_F(SeriesBooks, DeletingASeriesUsedByABudgetArticleIsRefused)
{
    AReference<ASeries> series;
    books.Step([&] {
        series = books.AddSeries(u"Еда", {books.cash});
        books.db.BudgetItems().Create(ABudgetItem{{}, series, {}});
    });
    const auto refusal = DeleteSeriesRefusal(books.db, series);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->Format(books.strings).substr(0, 28), u"Удалить серию данных \"Еда\" н");
    EXPECT_FALSE(DeleteSeries(books.db, books.strings, series));
    EXPECT_EQ(books.db.Series().LiveCount(), 1u);
    EXPECT_EQ(DeleteSeriesQuestion(books.db, series).Format(books.strings),
              u"Вы на самом деле хотите удалить\r\nсерию данных \"Еда\" ?");
}

TEST(SeriesColours, HlsRuleWithIntegerRounding)
{
    using namespace UserInterface::Charts;
    struct ACase {
        int hue, luminance, saturation;
        ARgb expected;
    } cases[] = {
        {0, 120, 240, {255, 0, 0}},   {80, 120, 240, {0, 255, 0}},    {160, 120, 240, {0, 0, 255}},
        {0, 90, 240, {191, 0, 0}},    {40, 90, 240, {191, 191, 0}},   {20, 90, 240, {191, 96, 0}},
        {0, 240, 0, {255, 255, 255}}, {100, 60, 0, {64, 64, 64}},     {120, 180, 240, {128, 255, 255}},
    };
    for (const ACase& c : cases)
        EXPECT_EQ(HlsToRgb(c.hue, c.luminance, c.saturation), c.expected) << c.hue << "/" << c.luminance;
    EXPECT_EQ(SeriesBarColour(0), (ARgb{191, 0, 0}));
    EXPECT_EQ(SeriesLineColour(0), (ARgb{255, 0, 0}));
    EXPECT_TRUE(IsSeriesHue(230));
    EXPECT_FALSE(IsSeriesHue(235));
    EXPECT_FALSE(IsSeriesHue(kNoHue));
}

}  // namespace
}  // namespace AnalysisTest
