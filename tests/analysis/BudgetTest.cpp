#include "AnalysisBooks.h"

#include "analysis/Budget.h"
#include "analysis/BudgetEdit.h"
#include "analysis/BudgetPlan.h"

namespace AnalysisTest {
namespace {

using namespace UserInterface::Budget;
using UserInterface::Filters::ADatePeriod;

ABudgetLimit Limit(int year, std::uint32_t kind, AMoney amount)
{
    ABudgetLimit limit;
    limit.year = static_cast<std::uint32_t>(year);
    limit.kind = kind;
    limit.amount = amount;
    return limit;
}

TEST(BudgetPlanArithmetic, PlansOfTheFiveKinds)
{
    ABudgetLimit detailed = Limit(2024, ABudgetLimit::kEachMonth, M(999));
    for (int i = 0; i < 12; ++i)
        detailed.months[i] = M(100 * (i + 1));
    struct ACase {
        ABudgetLimit limit;
        ADate start, end;
        AMoney expected;
    } cases[] = {
        // 36 500,00 a year over 10-19 January of a year of 365 days: 1 000,00.
        {Limit(2023, ABudgetLimit::kYearTotal, M(36500)), D(2023, 1, 10), D(2023, 1, 19), M(1000)},
        // 3 100,00 a month over 1-15 March: 3 100,00 × 15 / 31.
        {Limit(2024, ABudgetLimit::kPerMonth, M(3100)), D(2024, 3, 1), D(2024, 3, 15), M(1500)},
        {Limit(2024, ABudgetLimit::kPerWeek, M(70)), D(2024, 3, 1), D(2024, 3, 10), M(100)},
        // Each month's part truncated on its own: 100 × 1/29 and 100 × 1/31.
        {Limit(2024, ABudgetLimit::kPerMonth, 100), D(2024, 2, 29), D(2024, 3, 1), 3 + 3},
        // The period is clipped to the record's year.
        {Limit(2024, ABudgetLimit::kYearTotal, M(366)), D(2023, 12, 1), D(2024, 1, 31), M(31)},
        {Limit(2024, ABudgetLimit::kYearTotal, M(366)), D(2025, 1, 1), D(2025, 3, 1), 0},
        {Limit(2024, ABudgetLimit::kNoPlan, M(366)), D(2024, 1, 1), D(2024, 3, 1), 0},
        // Kind 4 uses the months, not its entered total: half of March, all of April.
        {detailed, D(2024, 3, 17), D(2024, 4, 30), M(300) * 15 / 31 + M(400)},
        {Limit(2024, ABudgetLimit::kYearTotal, -M(366)), D(2024, 1, 1), D(2024, 1, 2), -M(2)},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(PlanOverPeriod(cases[i].limit, cases[i].start, cases[i].end), cases[i].expected) << "case " << i;
}

TEST(BudgetPlanArithmetic, OverflowIsReportedNotWrapped)
{
    // amount × days needs 128 bits on the way, and the weekly plan of a year does not fit.
    EXPECT_EQ(PlanOverPeriod(Limit(2024, ABudgetLimit::kYearTotal, INT64_MAX), D(2024, 1, 1), D(2024, 12, 31)),
              INT64_MAX);
    EXPECT_EQ(PlanOverPeriod(Limit(2024, ABudgetLimit::kPerWeek, INT64_MAX / 2), D(2024, 1, 1), D(2024, 12, 31)),
              std::nullopt);
    EXPECT_EQ(PlanOverPeriod(Limit(2024, ABudgetLimit::kPerMonth, INT64_MAX), D(2024, 1, 1), D(2024, 2, 29)),
              std::nullopt);
    EXPECT_EQ(PlanOverPeriod(Limit(10000, ABudgetLimit::kYearTotal, 1), D(2024, 1, 1), D(2024, 2, 29)), 0);
}

TEST(BudgetPlanArithmetic, PlansDialogKeepsItsFieldsConsistent)
{
    const auto fromTotal = FromTotal(M(36500), 365);
    ASSERT_TRUE(fromTotal);
    EXPECT_EQ(fromTotal->monthly, M(36500) / 12);
    EXPECT_EQ(fromTotal->weekly, M(700));
    EXPECT_EQ(fromTotal->months[11], M(36500) / 12);

    const auto fromMonthly = FromMonthly(M(1000), 366);
    ASSERT_TRUE(fromMonthly);
    EXPECT_EQ(fromMonthly->total, M(12000));
    EXPECT_EQ(fromMonthly->weekly, M(12000) * 7 / 366);

    const auto fromWeekly = FromWeekly(M(7) + 1, 365);
    ASSERT_TRUE(fromWeekly);
    EXPECT_EQ(fromWeekly->weekly, M(7) + 1);  // stays as typed
    EXPECT_EQ(fromWeekly->total, (M(7) + 1) * 365 / 7);
    EXPECT_EQ(fromWeekly->monthly, fromWeekly->total / 12);
    EXPECT_EQ(FromMonthly(INT64_MAX / 2, 365), std::nullopt);

    EXPECT_EQ(EnabledFields(ABudgetLimit::kNoPlan), (AEnabledFields{}));
    EXPECT_EQ(EnabledFields(ABudgetLimit::kPerWeek), (AEnabledFields{false, false, true, false}));
    EXPECT_EQ(EnabledFields(ABudgetLimit::kEachMonth), (AEnabledFields{false, false, false, true}));
    APlanFields fields{1, 2, 3, {}};
    EXPECT_EQ(StoredAmount(ABudgetLimit::kNoPlan, fields), 1);
    EXPECT_EQ(StoredAmount(ABudgetLimit::kEachMonth, fields), 1);
    EXPECT_EQ(StoredAmount(ABudgetLimit::kPerMonth, fields), 2);
    EXPECT_EQ(StoredAmount(ABudgetLimit::kPerWeek, fields), 3);
}

class BudgetBooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        books.Step([&] {
            usd = books.AddCurrency(u"USD");
            food = books.AddSeries(u"Еда", {books.cash}, false, true, false, false);
            fun = books.AddSeries(u"Развлечения", {books.cash}, false, true, false, false);
            books.Add(TBooks::Single(books.cash, -M(40), D(2023, 12, 30)));
            books.Add(TBooks::Single(books.cash, -M(60), D(2024, 1, 5)));
        });
        folder = AddFolder(books.db, books.strings, u"Расходы", {}).item;
        foodArticle = AddArticle(books.db, books.strings, food, folder).item;
        funArticle = AddArticle(books.db, books.strings, fun, folder).item;
        p.period = ADatePeriod(D(2023, 12, 1), D(2024, 1, 31), std::nullopt);
        p.currency = books.rur;
    }
    void Plan(AReference<ABudgetItem> article, int year, std::uint32_t kind, AMoney amount,
              AReference<ACurrency> currency = {})
    {
        APlanInput input;
        input.year = year;
        input.kind = kind;
        input.currency = currency ? currency : books.rur;
        input.fields = *FromTotal(amount, Dates::DaysInYear(year));
        input.fields.monthly = amount;
        input.fields.weekly = amount;
        ASSERT_TRUE(StorePlan(books.db, books.strings, article, input));
    }
    const ABudgetRow& RowOf(const ABudgetTable& table, AReference<ABudgetItem> item)
    {
        for (const auto& row : table.rows)
            if (row.item == item)
                return row;
        ADD_FAILURE() << "no row";
        return table.rows.front();
    }

    TBooks books;
    AReference<ACurrency> usd;
    AReference<ASeries> food, fun;
    AReference<ABudgetItem> folder, foodArticle, funArticle;
    ABudgetParameters p;
};

TEST_F(BudgetBooks, APeriodAcrossNewYearSumsBothYearsClipped)
{
    Plan(foodArticle, 2023, ABudgetLimit::kPerMonth, M(310));  // December: 310
    Plan(foodArticle, 2024, ABudgetLimit::kPerMonth, M(620));  // January: 620
    Plan(foodArticle, 2025, ABudgetLimit::kPerMonth, M(10000));
    const ABudgetTable table = ComputeBudget(books.db, p);
    const ABudgetRow& row = RowOf(table, foodArticle);
    EXPECT_TRUE(row.planKnown);
    EXPECT_EQ(row.plan, M(930));
    EXPECT_EQ(row.name, u"Еда");
    EXPECT_TRUE(row.factKnown);
    EXPECT_EQ(row.fact, -M(100));
    const ABudgetRow& top = RowOf(table, folder);
    EXPECT_EQ(top.plan, M(930));  // the folder sums its children
    EXPECT_EQ(top.fact, -M(200));  // both series count the same expenses
    EXPECT_EQ(table.tops.size(), 1u);
}

TEST_F(BudgetBooks, NoPlanRecordsComeFromTheChildrenAndHideUnplanned)
{
    Plan(foodArticle, 2024, ABudgetLimit::kNoPlan, M(1000));  // ignored
    ABudgetTable table = ComputeBudget(books.db, p);
    EXPECT_TRUE(RowOf(table, foodArticle).planKnown);  // the option is off: every row has a plan
    EXPECT_EQ(RowOf(table, foodArticle).plan, 0);
    p.hideUnplanned = true;
    table = ComputeBudget(books.db, p);
    EXPECT_FALSE(RowOf(table, foodArticle).planKnown);
    EXPECT_TRUE(RowOf(table, foodArticle).hidden);
    EXPECT_TRUE(RowOf(table, folder).hidden);
    Plan(funArticle, 2024, ABudgetLimit::kYearTotal, M(366));
    table = ComputeBudget(books.db, p);
    EXPECT_FALSE(RowOf(table, folder).hidden);
    EXPECT_EQ(RowOf(table, folder).plan, M(31));
    EXPECT_TRUE(RowOf(table, foodArticle).hidden);
}

TEST_F(BudgetBooks, UnconvertiblePlansAndFactsRollUpAsQuestionMarks)
{
    AReference<ASeries> dollars;
    AReference<ABudgetItem> dollarArticle;
    books.Step([&] {
        const auto account = books.AddAccount(u"Доллары", usd);
        dollars = books.AddSeries(u"Доллары", {account});
    });
    dollarArticle = AddArticle(books.db, books.strings, dollars, folder).item;
    Plan(foodArticle, 2024, ABudgetLimit::kYearTotal, M(100), usd);
    const ABudgetTable table = ComputeBudget(books.db, p);
    EXPECT_TRUE(RowOf(table, foodArticle).planUnconvertible);
    EXPECT_TRUE(RowOf(table, dollarArticle).factUnconvertible);
    EXPECT_TRUE(RowOf(table, folder).planUnconvertible);
    EXPECT_TRUE(RowOf(table, folder).factUnconvertible);
    const auto& locale = books.strings.Locale();
    EXPECT_EQ(AmountCell(locale, 12345, true, true, 2), u"?,??");
    EXPECT_EQ(AmountCell(locale, M(1234), true, false, 2), u"1 234,00");
    EXPECT_EQ(AmountCell(locale, M(1234), false, false, 2), u"");
    EXPECT_EQ(AmountCell(locale, 5'214'2857, true, false, 2), u"5 214,28");
    EXPECT_EQ(AmountCell(locale, -5'214'2857, true, false, 2), u"-5 214,28");
    EXPECT_EQ(ExecutionCell(locale, RowOf(table, folder)), u"");
}

TEST_F(BudgetBooks, ExecutionPercentWithAZeroPlan)
{
    ABudgetRow row;
    row.planKnown = row.factKnown = true;
    row.plan = 0;
    row.fact = M(5);
    const auto& locale = books.strings.Locale();
    EXPECT_EQ(ExecutionCell(locale, row), u"0,00 %");
    row.plan = M(3);
    row.fact = M(1);
    EXPECT_EQ(ExecutionCell(locale, row), u"33,33 %");
    row.factKnown = false;
    EXPECT_EQ(ExecutionCell(locale, row), u"");

    // The same through the page: a stored plan of zero and a fact.
    Plan(foodArticle, 2024, ABudgetLimit::kYearTotal, 0);
    const ABudgetTable table = ComputeBudget(books.db, p);
    const ABudgetRow& computed = RowOf(table, foodArticle);
    EXPECT_EQ(computed.fact, -M(100));
    EXPECT_EQ(ExecutionCell(locale, computed), u"0,00 %");
}

TEST_F(BudgetBooks, FolderChecksAndSteps)
{
    std::u16string name = u"  ";
    EXPECT_EQ(CheckFolder(books.db, name, {}), 407);
    name = u"А\\Б";
    EXPECT_EQ(CheckFolder(books.db, name, {}), 408);
    name = u" Расходы ";
    EXPECT_EQ(CheckFolder(books.db, name, {}), 409);
    EXPECT_EQ(name, u"Расходы");
    name = u"Расходы";
    EXPECT_EQ(CheckFolder(books.db, name, {}, folder), std::nullopt);  // its own name
    name = u"Еда";  // an article of the same parent shows its series' name
    EXPECT_EQ(CheckFolder(books.db, name, folder), 409);
    name = u"расходы";
    EXPECT_EQ(CheckFolder(books.db, name, {}), std::nullopt);  // exact comparison
    EXPECT_EQ(CheckArticle(books.db, {}), 689);
    EXPECT_EQ(books.db.UndoLabel(), u"Добавить статью");

    const auto inner = AddFolder(books.db, books.strings, u"Мелочи", folder).item;
    EXPECT_EQ(books.db.UndoLabel(), u"Добавить папку");
    EXPECT_EQ(ChangeFolder(books.db, books.strings, inner, u"Пустяки", folder).refusal, std::nullopt);
    EXPECT_EQ(books.db.UndoLabel(), u"Изменить папку");
    EXPECT_EQ(ChangeArticle(books.db, books.strings, foodArticle, fun, inner).refusal, std::nullopt);
    EXPECT_EQ(books.db.UndoLabel(), u"Изменить статью");
    EXPECT_EQ(books.db.BudgetItems().Record(foodArticle)->series, fun);

    // Moving a folder into itself or below itself is refused.
    EXPECT_FALSE(MoveItem(books.db, books.strings, folder, inner));
    EXPECT_FALSE(MoveItem(books.db, books.strings, folder, folder));
    EXPECT_FALSE(MoveItem(books.db, books.strings, inner, foodArticle));  // not a folder
    EXPECT_TRUE(MoveItem(books.db, books.strings, inner, {}));
    EXPECT_EQ(books.db.UndoLabel(), u"Переместить статью бюджета");
    EXPECT_EQ(books.db.BudgetItems().Record(inner)->parent, AReference<ABudgetItem>());
}

TEST_F(BudgetBooks, DeletingWithQuestionsAndTheSeriesOffer)
{
    EXPECT_EQ(DeleteQuestion(books.db, folder).Format(books.strings),
              u"Вы действительно хотите удалить\r\nпапку \"Расходы\"?");
    EXPECT_EQ(DeleteQuestion(books.db, foodArticle).Format(books.strings),
              u"Вы действительно хотите удалить\r\nстатью \"Еда\"?");
    const auto offer = DeleteSeriesOffer(books.db, foodArticle);
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->id, 266);
    DeleteItem(books.db, books.strings, foodArticle, true);
    EXPECT_EQ(books.db.UndoLabel(), u"Удалить статью");
    EXPECT_EQ(books.db.Series().Record(food), nullptr);
    EXPECT_EQ(books.db.SeriesAccounts().LiveCount(), 1u);
    DeleteItem(books.db, books.strings, folder);
    EXPECT_EQ(books.db.UndoLabel(), u"Удалить папку");
    EXPECT_EQ(books.db.BudgetItems().LiveCount(), 0u);
    EXPECT_NE(books.db.Series().Record(fun), nullptr);
}

TEST_F(BudgetBooks, PlansDialogReadsAndStores)
{
    APlanInput input = ReadPlan(books.db, foodArticle, 2024, usd);
    EXPECT_EQ(input.kind, ABudgetLimit::kNoPlan);
    EXPECT_EQ(input.currency, usd);
    input.kind = ABudgetLimit::kPerWeek;
    input.fields = *FromWeekly(M(70), 366);
    ASSERT_TRUE(StorePlan(books.db, books.strings, foodArticle, input));
    EXPECT_EQ(books.db.UndoLabel(), u"Планы для статьи \"Еда\"");
    const APlanInput read = ReadPlan(books.db, foodArticle, 2024, books.rur);
    EXPECT_EQ(read.kind, ABudgetLimit::kPerWeek);
    EXPECT_EQ(read.currency, usd);
    EXPECT_EQ(read.fields.weekly, M(70));
    EXPECT_EQ(read.fields.total, M(3660));
    // Storing again rewrites the one record of the year.
    input.kind = ABudgetLimit::kYearTotal;
    input.fields = *FromTotal(M(10), 366);
    ASSERT_TRUE(StorePlan(books.db, books.strings, foodArticle, input));
    EXPECT_EQ(books.db.BudgetLimits().LiveCount(), 1u);
    EXPECT_EQ(books.db.BudgetLimits().Live().front()->Record().amount, M(10));
}

TEST_F(BudgetBooks, SettingsStreamOfVersionOne)
{
    p.hideUnplanned = true;
    const std::vector<std::uint8_t> tree = {5, 6, 7};
    const auto bytes = SaveBudgetSettings(books.db, p, tree, TBooks::Today(), true);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 1);
    ABudgetParameters read;
    std::vector<std::uint8_t> readTree;
    ASSERT_TRUE(LoadBudgetSettings(books.db, bytes, TBooks::Today(), read, readTree));
    EXPECT_TRUE(read.hideUnplanned);
    EXPECT_EQ(read.period.Start(), p.period.Start());
    EXPECT_EQ(read.period.End(), p.period.End());
    EXPECT_EQ(read.currency, books.rur);
    EXPECT_EQ(readTree, tree);

    auto other = bytes;
    other[0] = 2;
    ABudgetParameters defaults;
    defaults.hideUnplanned = true;
    EXPECT_FALSE(LoadBudgetSettings(books.db, other, TBooks::Today(), defaults, readTree));
    EXPECT_FALSE(defaults.hideUnplanned);
    for (std::size_t length = 1; length < bytes.size() - tree.size(); ++length) {
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        ABudgetParameters q;
        EXPECT_FALSE(LoadBudgetSettings(books.db, cut, TBooks::Today(), q, readTree)) << length;
        EXPECT_FALSE(q.hideUnplanned);
    }
}

}  // namespace
}  // namespace AnalysisTest
