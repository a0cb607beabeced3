#include "UiTestSupport.h"

#include "database/DatabaseRules.h"
#include "ui/MenuText.h"
#include "ui/PageTexts.h"
#include "ui/budget/BudgetPage.h"
#include "win32api/DateCtrl.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QCheckBox>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace UserInterface::Budget;
using namespace Database;
using Engine::ATableImpl;
using Win32API::VelvixControls::ADatePicker;
using Win32API::VelvixControls::Reports::AReportPicker;

namespace {

constexpr AMoney kUnit = 10000;

class BudgetPage : public ::testing::Test {
protected:
    BudgetPage()
    {
        UiTests::TestApplication();
        db.CreateDefaults();
        cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
        currency = db.Accounts().Live().front()->Record().currency;
        db.BeginStep();
        ASeries record{db.NewText(u"Зарплата")};
        record.hue = 10;
        record.income = 1;
        salary = ATableImpl<ASeries>::RefTo(db.Series().Create(record));
        db.SeriesAccounts().Create(ASeriesAccountFilter{salary, cash});
        folder = ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{db.NewText(u"Доходы"), {}, {}}));
        article = ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{{}, salary, folder}));
        CommitWithRules(db);
        shown = UiTests::ShowPage(test, db, APageInfo::kBudget);
    }
    ABudgetPage& Page() { return dynamic_cast<ABudgetPage&>(*shown.page); }
    QWidget& Pane() { return *shown.form; }

    void Plan(int year, std::uint32_t kind, AMoney amount)
    {
        db.BeginStep();
        ABudgetLimit limit;
        limit.item = article;
        limit.currency = currency;
        limit.year = static_cast<std::uint32_t>(year);
        limit.kind = kind;
        limit.amount = amount;
        db.BudgetLimits().Create(limit);
        CommitWithRules(db);
    }
    void Income(ADate date, AMoney amount)
    {
        db.BeginStep();
        db.Transactions().Create(UiTests::Executed(cash, amount, date));
        CommitWithRules(db);
    }
    void Period(ADate start, ADate end) { UiTests::PickPeriod(Pane(), start, end); }
    std::vector<std::u16string> Row(int row)
    {
        std::vector<std::u16string> texts;
        for (int c : {kItemColumn, kPlanColumn, kFactColumn, kExecutionColumn})
            texts.push_back(Page().Report()->Model().Row(row)->Text(c));
        return texts;
    }
    std::u16string Amount(AMoney amount) { return AmountText(test.context, amount, 2); }
    QString Run(int command, const std::function<void(QDialog&)>& hands)
    {
        return UiTests::RunCommandOnModal(test, Page(), command, hands);
    }
    void Focus(int row)
    {
        Page().Report()->Model().FocusRow(row);
    }

    UiTests::ATestProgram test;
    ADatabase db;
    AReference<AAccount> cash;
    AReference<ACurrency> currency;
    AReference<ASeries> salary;
    AReference<ABudgetItem> folder, article;
    UiTests::AShownPage shown;
};

TEST_F(BudgetPage, ShowsPlanFactAndExecutionOfEachRowForThePeriod)
{
    using D = Dates::AYmd;
    const struct {
        const char* what;
        std::vector<std::tuple<int, std::uint32_t, AMoney>> plans;
        D start, end;
        AMoney income;  // on the period's first day
        AMoney plan;
        const char16_t* execution;
    } cases[] = {
        {"a year's total over ten days", {{2025, ABudgetLimit::kYearTotal, 36'500 * kUnit}}, {2025, 1, 10}, {2025, 1, 19},
         500 * kUnit, 1'000 * kUnit, u"50,00 %"},
        {"a weekly plan over a 365-day year", {{2025, ABudgetLimit::kPerWeek, 100 * kUnit}}, {2025, 1, 1}, {2025, 12, 31},
         0, 5'214'2857 / 100 * 100, u"0,00 %"},
        {"a monthly average over half of March", {{2025, ABudgetLimit::kPerMonth, 3'100 * kUnit}}, {2025, 3, 1},
         {2025, 3, 15}, 3'000 * kUnit, 1'500 * kUnit, u"200,00 %"},
        {"a period across New Year sums both years",
         {{2024, ABudgetLimit::kYearTotal, 36'600 * kUnit}, {2025, ABudgetLimit::kYearTotal, 36'500 * kUnit}},
         {2024, 12, 17}, {2025, 1, 10}, 0, 2'500 * kUnit, u"0,00 %"},
        {"a zero plan", {{2025, ABudgetLimit::kYearTotal, 0}}, {2025, 6, 1}, {2025, 6, 30}, 100 * kUnit, 0, u"0,00 %"},
        {"a year record without a plan counts as none", {{2025, ABudgetLimit::kNoPlan, 99 * kUnit}}, {2025, 6, 1},
         {2025, 6, 30}, 0, 0, u"0,00 %"},
    };
    for (const auto& c : cases) {
        db.BeginStep();
        for (auto* slot : db.BudgetLimits().Live())
            Database::Delete(db, slot);
        for (auto* slot : db.Transactions().Live())
            Database::Delete(db, slot);
        CommitWithRules(db);
        for (const auto& [year, kind, amount] : c.plans)
            Plan(year, kind, amount);
        const ADate start = Dates::FromYmd(c.start.year, c.start.month, c.start.day);
        if (c.income)
            Income(start, c.income);
        Period(start, Dates::FromYmd(c.end.year, c.end.month, c.end.day));
        ASSERT_EQ(Page().Report()->Model().RowCount(), 2) << c.what;
        const std::u16string plan = Amount(c.plan);
        // The article is named after its series; the folder sums its children.
        EXPECT_EQ(Row(1), (std::vector<std::u16string>{u"Зарплата", plan, Amount(c.income), c.execution})) << c.what;
        EXPECT_EQ(Row(0)[1], plan) << c.what;
        EXPECT_EQ(Row(0)[2], Amount(c.income)) << c.what;
    }
}

TEST_F(BudgetPage, HidesUnplannedRowsWhenTicked)
{
    Period(Dates::FromYmd(2025, 1, 1), Dates::FromYmd(2025, 1, 31));
    EXPECT_EQ(Page().Report()->Model().RowCount(), 2);
    UiTests::ClickNamed(Pane(), "Спрятать статьи, для которых не задан план");
    EXPECT_EQ(Page().Report()->Model().RowCount(), 0);
    Plan(2025, ABudgetLimit::kYearTotal, 365 * kUnit);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Page().Report()->Model().RowCount() == 2; }, 2000));
    EXPECT_EQ(Row(1)[1], Amount(31 * kUnit));
}

TEST_F(BudgetPage, TheFolderDialogChecksTheNameAmongItsSiblings)
{
    const struct {
        const char* typed;
        std::optional<int> message;
    } cases[] = {{"   ", 407}, {"Дом\\Сад", 408}, {" Доходы ", 409}, {"  Расходы   на  дом ", std::nullopt}};
    for (const auto& c : cases) {
        test.dialogs.messages.clear();
        const std::size_t before = db.BudgetItems().LiveCount();
        Run(PageCommand::kAddFolder, [&](QDialog& dialog) {
            UiTests::TypeInto(dialog, "Название:", QString::fromUtf8(c.typed));
            auto* parent = UiTests::Named<AReportPicker>(dialog, "Родительская папка:");
            parent->setFocus();
            QTest::keyClick(parent, Qt::Key_Up);  // from the focused folder up to the top
            UiTests::ClickNamed(dialog, "OK");
        });
        if (c.message) {
            EXPECT_EQ(test.dialogs.messages, std::vector{test.Message(*c.message)}) << c.typed;
            EXPECT_EQ(db.BudgetItems().LiveCount(), before) << c.typed;
        } else {
            EXPECT_TRUE(test.dialogs.messages.empty());
            const ABudgetItem& added = db.BudgetItems().Live().back()->Record();
            EXPECT_EQ(db.Text(added.name), u"Расходы на дом");
            EXPECT_TRUE(added.parent.IsNull());
        }
    }
}

TEST_F(BudgetPage, AnArticleNeedsASeriesAndGoesUnderTheFocusedFolder)
{
    db.BeginStep();
    db.Series().Create(ASeries{db.NewText(u"Премии")});
    CommitWithRules(db);
    Focus(0);
    Run(PageCommand::kAddArticle, [&](QDialog& dialog) { UiTests::ClickNamed(dialog, "OK"); });
    EXPECT_EQ(test.dialogs.messages, std::vector{test.Message(689)});
    Run(PageCommand::kAddArticle, [&](QDialog& dialog) {
        auto* series = UiTests::Named<AReportPicker>(dialog, "Серия данных:");
        series->setFocus();
        QTest::keyClick(series, Qt::Key_Down);
        QTest::keyClick(series, Qt::Key_Down);
        UiTests::ClickNamed(dialog, "OK");
    });
    const ABudgetItem& added = db.BudgetItems().Live().back()->Record();
    EXPECT_EQ(db.Text(db.Series().Record(added.series)->name), u"Премии");
    EXPECT_EQ(added.parent, folder);
    EXPECT_EQ(db.UndoLabel(), u"Добавить статью");
}

TEST_F(BudgetPage, ThePlansDialogKeepsItsFieldsConsistentAndStoresTheKindsAmount)
{
    Period(Dates::FromYmd(2025, 1, 1), Dates::FromYmd(2025, 12, 31));
    Focus(1);
    const QString title = Run(PageCommand::kPlans, [&](QDialog& dialog) {
        UiTests::ClickNamed(dialog, "Еженедельный план на год:");
        UiTests::TypeInto(dialog, "Еженедельный план на год", "100");
        EXPECT_EQ(UiTests::Named<QLineEdit>(dialog, "Суммарный план на год")->text().toStdU16String(),
                  Amount(5'214'2857 / 100 * 100));
        EXPECT_EQ(UiTests::Named<QLineEdit>(dialog, "3. Март")->text().toStdU16String(), Amount(434'5200));
        EXPECT_FALSE(UiTests::Named<QLineEdit>(dialog, "3. Март")->isEnabled());
        UiTests::ClickNamed(dialog, "OK");
    });
    EXPECT_EQ(title, "Планы для статьи \"Зарплата\"");
    ASSERT_EQ(db.BudgetLimits().LiveCount(), 1u);
    const ABudgetLimit& stored = db.BudgetLimits().Live().front()->Record();
    EXPECT_EQ(stored.kind, ABudgetLimit::kPerWeek);
    EXPECT_EQ(stored.amount, 100 * kUnit);
    EXPECT_EQ(stored.year, 2025u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Row(1)[1] == Amount(5'214'2857 / 100 * 100); }, 2000));
}

TEST_F(BudgetPage, EveryControlOfThePaneAndOfTheDialogsIsNamedByItsCaption)
{
    Page().SetName(u"Бюджет");  // as the main window names a page's list by its tab
    EXPECT_EQ(UiTests::UnnamedControls(Pane()), std::vector<std::string>());
    Focus(1);
    for (int command : {PageCommand::kPlans, int(Command::kChange), PageCommand::kAddFolder}) {
        std::vector<std::string> unnamed{"not shown"};
        Run(command, [&](QDialog& dialog) { unnamed = UiTests::UnnamedControls(dialog); });
        EXPECT_EQ(unnamed, std::vector<std::string>()) << command;
    }
}

TEST_F(BudgetPage, DeletingAnArticleOffersItsSeriesInTheSameStep)
{
    Focus(1);
    test.dialogs.answers = {Win32API::VelvixForms::kIdYes, Win32API::VelvixForms::kIdYes};
    Page().RunCommand(Command::kDelete);
    EXPECT_EQ(test.dialogs.messages, (std::vector{test.Message(697, {u"Зарплата"}), test.Message(266, {u"Зарплата"})}));
    EXPECT_EQ(db.BudgetItems().LiveCount(), 1u);
    EXPECT_EQ(db.Series().LiveCount(), 0u);
    EXPECT_EQ(db.UndoLabel(), u"Удалить статью");
}

TEST_F(BudgetPage, SettingsAreReadBackAndAnotherVersionLeavesTheDefaults)
{
    Period(Dates::FromYmd(2024, 2, 1), Dates::FromYmd(2024, 2, 29));
    UiTests::ClickNamed(Pane(), "Спрятать статьи, для которых не задан план");
    const std::vector<std::uint8_t> saved = Page().WriteSettings();
    UiTests::AShownPage other = UiTests::ShowPage(test, db, APageInfo::kBudget);
    auto& page = dynamic_cast<ABudgetPage&>(*other.page);
    std::vector<std::uint8_t> version2 = saved;
    version2[0] = 2;
    page.ReadSettings(version2);
    EXPECT_FALSE(page.Parameters().hideUnplanned);
    EXPECT_EQ(page.Parameters().period.Start(), Dates::FromYmd(2025, 3, 1));  // the current month
    EXPECT_EQ(page.Parameters().period.End(), Dates::FromYmd(2025, 3, 31));
    page.ReadSettings(saved);
    EXPECT_EQ(page.Parameters().period.Start(), Dates::FromYmd(2024, 2, 1));
    EXPECT_EQ(page.Parameters().period.End(), Dates::FromYmd(2024, 2, 29));
    EXPECT_TRUE(page.Parameters().hideUnplanned);
    EXPECT_EQ(page.Parameters().currency, currency);
    EXPECT_TRUE(UiTests::Named<QCheckBox>(*other.form, "Спрятать статьи, для которых не задан план")->isChecked());
}

}  // namespace
