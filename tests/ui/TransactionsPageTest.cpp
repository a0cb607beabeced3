#include "UiTestSupport.h"

#include "database/Balances.h"
#include "ui/MainForm.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/PageTexts.h"
#include "ui/filters/PeriodSelector.h"
#include "ui/transactions/TransactionPageFilters.h"
#include "ui/transactions/TransactionsPage.h"
#include "win32api/DynaForm.h"
#include "win32api/ToolkitLook.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace UserInterface::Transactions;
using namespace Database;
using Dates::FromYmd;
using Engine::ATableImpl;

namespace {

class TransactionsPage : public ::testing::Test {
protected:
    TransactionsPage()
    {
        db.CreateDefaults();
        cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
        db.BeginStep();
        savings = UiTests::AddAccount(db, u"Копилка");
        salary = Add(cash, 2000'0000, FromYmd(2025, 1, 5));
        transfer = Add(cash, -300'0000, FromYmd(2025, 2, 7), savings);
        lunch = Add(cash, -500'0000, FromYmd(2025, 3, 10));
        rent = Add(cash, -100'0000, FromYmd(2025, 3, 12), {}, false);
        RecalculateTouchedAccounts(db);
        db.CommitStep();
    }
    AReference<ATransaction> Add(AReference<AAccount> account, AMoney amount, ADate date,
                                 AReference<AAccount> to = {}, bool executed = true)
    {
        ATransaction t = UiTests::Executed(account, amount, date, to);
        t.executed = executed ? 1 : 0;
        t.comment = db.NewText(u"к операции");
        return ATableImpl<ATransaction>::RefTo(db.Transactions().Create(t));
    }
    // The page built into a shown form of its own and filled.
    ATransactionsPage& Show()
    {
        view = UiTests::ShowPage(test, db, APageInfo::kTransactions);
        return dynamic_cast<ATransactionsPage&>(*view.page);
    }
    void ShowEverything(ATransactionsPage& shown)
    {
        Filters::ATransactionPageFilter filter = shown.Filter();
        filter.period.SelectKind(Filters::APeriodKind::AllTransactions, Filters::TransactionDateRange(db, false),
                                 test.context.clock().date);
        shown.SetFilter(filter);
    }
    std::vector<std::u16string> Column(ATransactionsPage& shown, int column)
    {
        std::vector<std::u16string> texts;
        for (int r = 0; r < shown.Report()->Model().RowCount(); ++r)
            texts.push_back(shown.Report()->Model().Row(r)->Text(column));
        return texts;
    }
    bool Live(AReference<ATransaction> ref) { return db.Transactions().Get(ref)->Exists(); }
    const ATransaction& Get(AReference<ATransaction> ref) { return db.Transactions().Get(ref)->Record(); }

    UiTests::ATestProgram test;
    ADatabase db;
    UiTests::AShownPage view;
    AReference<AAccount> cash, savings;
    AReference<ATransaction> salary, transfer, lunch, rent;
};

TEST_F(TransactionsPage, ListsTheCurrentMonthUntilTheFilterSaysOtherwise)
{
    ATransactionsPage& shown = Show();
    EXPECT_EQ(Column(shown, kDateColumn), (std::vector<std::u16string>{u"10.03.2025", u"12.03.2025"}));
    EXPECT_EQ(Column(shown, kStateColumn), (std::vector<std::u16string>{test.Message(420), test.Message(192)}));
    ShowEverything(shown);
    ASSERT_EQ(shown.Report()->Model().RowCount(), 4);
    EXPECT_EQ(shown.Report()->Model().Focus(), 3);
    EXPECT_EQ(Column(shown, kAccount2Column)[1], u"Копилка");
    EXPECT_EQ(Column(shown, kAmount2Column)[1], AmountText(test.context, 300'0000, 2));
    EXPECT_EQ(Column(shown, kBalanceColumn)[1], AmountText(test.context, 1700'0000, 2));
    EXPECT_EQ(Column(shown, kBalanceColumn)[3], u"");
    // Sorted by amount, and back by date.
    shown.Mode().SetSortColumn(kAmountColumn + 1);
    shown.Report()->RebuildRows();
    EXPECT_EQ(Column(shown, kDateColumn)[0], u"10.03.2025");
    shown.Mode().SetSortColumn(kDateColumn + 1);
    shown.Report()->RebuildRows();
    EXPECT_EQ(Column(shown, kDateColumn)[0], u"05.01.2025");
}

TEST_F(TransactionsPage, ThePaneSelectsThePeriodAndSearchesTheComments)
{
    ATransactionsPage& shown = Show();
    ATransactionPageFilters& pane = *shown.FilterPane();
    auto click = [&](int id) { QTest::mouseClick(pane.Control(static_cast<std::int16_t>(id)), Qt::LeftButton); };
    auto comment = [&] { return pane.Control(ATransactionPageFilters::kCommentId); };
    struct AStep {
        std::function<void()> act;
        std::vector<std::u16string> dates;
    };
    const std::vector<AStep> steps = {
        {[&] { click(Filters::APeriodSelector::kPrevious); }, {u"07.02.2025"}},
        {[&] { click(Filters::APeriodSelector::kPrevious); }, {u"05.01.2025"}},
        {[&] { click(Filters::APeriodSelector::kCurrent); }, {u"10.03.2025", u"12.03.2025"}},
        {[&] { QTest::keyClicks(comment(), QStringLiteral("xyz")); }, {}},
        {[&] { click(ATransactionPageFilters::kReset); }, {u"10.03.2025", u"12.03.2025"}},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].act();
        EXPECT_EQ(Column(shown, kDateColumn), steps[i].dates) << "step " << i;
    }
    EXPECT_TRUE(static_cast<QLineEdit*>(comment())->text().isEmpty());
}

TEST_F(TransactionsPage, ThePaneChoosesTheAccountAndTheClassifierNodesAndHides)
{
    ATransactionsPage& shown = Show();
    ShowEverything(shown);
    ATransactionPageFilters& pane = *shown.FilterPane();
    ASSERT_TRUE(UiTests::PickText(pane, "Показывать операции:", u"Копилка"));
    EXPECT_EQ(Column(shown, kDateColumn), std::vector<std::u16string>{u"07.02.2025"});
    EXPECT_TRUE(shown.Filter().Narrows(db));

    // The first classifier's row: a node chosen counts only while its tick is on.
    const auto* classifier = db.Classifiers().Live().front();
    const QString name = QString::fromStdU16String(db.Text(classifier->Record().singular));
    QWidget* node = UiTests::Named<Win32API::VelvixControls::Reports::AReportPicker>(pane, name);
    ASSERT_NE(node, nullptr);
    node->setFocus();
    QTest::keyClick(node, Qt::Key_Down);
    EXPECT_EQ(shown.Report()->Model().RowCount(), 1);
    auto* tick = UiTests::Named<QCheckBox>(pane, name);
    ASSERT_NE(tick, nullptr);
    QTest::mouseClick(tick, Qt::LeftButton, {}, QPoint(4, tick->height() / 2));
    EXPECT_EQ(shown.StatusText(), test.Message(172));
    const std::vector<std::uint8_t> saved = shown.WriteSettings();
    QTest::mouseClick(tick, Qt::LeftButton, {}, QPoint(4, tick->height() / 2));
    EXPECT_EQ(shown.Report()->Model().RowCount(), 1);

    // This file keeps no budget dates: their tick is not offered.
    EXPECT_FALSE(pane.Control(Filters::APeriodSelector::kByBudgetDateId)->isVisibleTo(&pane));

    EXPECT_FALSE(shown.IsCommandEnabled(PageCommand::kShowFilters));
    shown.RunCommand(PageCommand::kHideFilters);
    EXPECT_FALSE(pane.isVisibleTo(view.form.get()));
    EXPECT_TRUE(shown.IsCommandEnabled(PageCommand::kShowFilters));
    shown.RunCommand(PageCommand::kShowFilters);
    EXPECT_TRUE(pane.isVisibleTo(view.form.get()));

    // Another page given the saved settings shows the same choices.
    ATransactionsPage& again = Show();
    again.ReadSettings(saved);
    ATransactionPageFilters& restored = *again.FilterPane();
    auto* account = static_cast<Win32API::VelvixControls::Reports::AReportPicker*>(
        restored.Control(ATransactionPageFilters::kAccountId));
    ASSERT_NE(account->SelectedItem(), nullptr);
    EXPECT_EQ(account->SelectedItem()->SingleText(), u"Копилка");
    EXPECT_TRUE(UiTests::Named<QCheckBox>(restored, name)->isChecked());
    EXPECT_EQ(again.StatusText(), test.Message(172));
}

// With the expanded account list the pane ticks accounts in a tree and chooses the scope; the
// drop-down that comes back without it never shows less than the list hides.
TEST_F(TransactionsPage, TheExpandedAccountListTicksAccountsAndChoosesTheScope)
{
    test.context.Options().SetFlag(Settings::kExpandedAccountList, true);
    ATransactionsPage& shown = Show();
    ShowEverything(shown);
    ATransactionPageFilters& pane = *shown.FilterPane();
    QWidget* dropDown = pane.Control(ATransactionPageFilters::kAccountId);
    EXPECT_FALSE(dropDown->isVisibleTo(&pane));
    auto* tree = UiTests::Named<Win32API::VelvixControls::Reports::AReportWindow>(pane, "По счетам:");
    ASSERT_NE(tree, nullptr);
    tree->setFocus();
    const auto tick = [&](std::u16string_view name) {
        QTest::keyClick(tree, Qt::Key_Home);
        for (int row = 0; row < tree->Model().RowCount() && tree->Model().FocusedItem()->Text(0) != name; ++row)
            QTest::keyClick(tree, Qt::Key_Down);
        QTest::keyClick(tree, Qt::Key_Space);
    };
    const std::vector<std::u16string> all{u"05.01.2025", u"07.02.2025", u"10.03.2025", u"12.03.2025"};
    tick(u"Копилка");
    EXPECT_EQ(Column(shown, kDateColumn), std::vector<std::u16string>{u"07.02.2025"});
    tick(u"Наличные");
    EXPECT_EQ(Column(shown, kDateColumn), all);
    UiTests::ClickNamed(pane, "Только переводы между выбранными счетами");
    EXPECT_EQ(Column(shown, kDateColumn), std::vector<std::u16string>{u"07.02.2025"});
    const std::vector<std::uint8_t> saved = shown.WriteSettings();

    // Two loose accounts and transfers only are more than the drop-down can say: without the
    // tree the selection goes back to every account.
    test.context.Options().SetFlag(Settings::kExpandedAccountList, false);
    shown.ApplyLook(Win32API::VelvixControls::AToolkitLook::FromSettings(test.context.Options()), pane.font());
    EXPECT_TRUE(dropDown->isVisibleTo(&pane));
    EXPECT_FALSE(tree->isVisibleTo(&pane));
    EXPECT_EQ(Column(shown, kDateColumn), all);
    Show().ReadSettings(saved);
    EXPECT_EQ(Column(dynamic_cast<ATransactionsPage&>(*view.page), kDateColumn), all);
}

// Every classifier has a column of its own, titled by its name; one deleted takes its column away.
TEST_F(TransactionsPage, EachClassifierHasACategoryColumn)
{
    db.BeginStep();
    const AClassifier items = db.Classifiers().Live().front()->Record();
    auto category = [&](const char16_t* name, AReference<ACategory> parent) {
        return ATableImpl<ACategory>::RefTo(db.Categories().Create(ACategory{db.NewText(name), {}, parent}));
    };
    const auto food = category(u"Еда", items.root2);
    AClassifier agents;
    agents.singular = db.NewText(u"Агент");
    agents.plural = db.NewText(u"Агенты");
    agents.root1 = category(u"Все агенты", {});
    const auto shop = category(u"Магазин", agents.root1);
    auto* agentSlot = db.Classifiers().Create(agents);
    for (auto node : {food, shop})
        db.Relations().Create(ARelation{node, lunch});
    db.CommitStep();

    ATransactionsPage& shown = Show();
    ShowEverything(shown);
    const int agentColumn = ColumnOfClassifier(1);
    ASSERT_EQ(shown.Mode().ColumnCount(), agentColumn + 1);
    EXPECT_EQ(shown.Mode().ColumnTitle(kCategoriesColumn), u"Статья");
    EXPECT_EQ(shown.Mode().ColumnTitle(agentColumn), u"Агент");
    EXPECT_EQ(Column(shown, kCategoriesColumn), (std::vector<std::u16string>{u"", u"", u"Еда", u""}));
    EXPECT_EQ(Column(shown, agentColumn), (std::vector<std::u16string>{u"", u"", u"Магазин", u""}));
    // The pane's row of the classifier narrows the list to the shop's transaction.
    ATransactionPageFilters& pane = *shown.FilterPane();
    ASSERT_TRUE(UiTests::PickText(pane, "Агент", u"Магазин"));
    QTest::mouseClick(UiTests::Named<QCheckBox>(pane, "Агент"), Qt::LeftButton, {}, QPoint(4, 8));
    EXPECT_EQ(shown.Report()->Model().RowCount(), 1);

    // Deleted, it takes its column and its pane row away, and no longer narrows the list.
    db.BeginStep();
    db.Classifiers().Delete(agentSlot);
    db.CommitStep();
    QApplication::processEvents();
    EXPECT_FALSE(shown.Mode().Column(agentColumn).shown);
    EXPECT_EQ(Column(shown, agentColumn)[2], u"");
    EXPECT_EQ(shown.Report()->Model().RowCount(), 4);
    const auto ticks = pane.findChildren<QCheckBox*>();
    EXPECT_TRUE(std::none_of(ticks.begin(), ticks.end(), [](QCheckBox* tick) { return tick->text() == "Агент"; }));
    ASSERT_TRUE(db.Undo());
    QApplication::processEvents();
    EXPECT_TRUE(shown.Mode().Column(agentColumn).shown);
    EXPECT_FALSE(UiTests::Named<QCheckBox>(pane, "Агент")->isChecked());
}

TEST_F(TransactionsPage, TheStatusCountsTheListAndTotalsThePeriod)
{
    ATransactionsPage& shown = Show();
    ShowEverything(shown);
    const std::u16string status = shown.StatusText();
    EXPECT_NE(status.find(test.Message(157, {4})), std::u16string::npos);
    // Income 2000, expense 500: the transfer moves money between own accounts, the planned one is not done.
    EXPECT_NE(status.find(AmountText(test.context, 2000'0000, 2)), std::u16string::npos);
    EXPECT_NE(status.find(AmountText(test.context, 1500'0000, 2)), std::u16string::npos);
    Filters::ATransactionPageFilter none = shown.Filter();
    none.comment = u"нет такого";
    shown.SetFilter(none);
    EXPECT_EQ(shown.StatusText(), test.Message(172));
}

TEST_F(TransactionsPage, DeletingTwoSelectedRowsAsksOnceAndRecalculates)
{
    ATransactionsPage& shown = Show();
    ShowEverything(shown);
    QTest::keyClick(shown.Report(), Qt::Key_Up, Qt::ShiftModifier);  // the last two rows
    ASSERT_EQ(shown.Selection().size(), 2u);
    test.dialogs.answers = {Win32API::VelvixForms::kIdNo, Win32API::VelvixForms::kIdYes};
    ASSERT_TRUE(shown.IsCommandEnabled(Command::kDelete));
    shown.RunCommand(Command::kDelete);
    EXPECT_TRUE(Live(lunch));
    shown.RunCommand(Command::kDelete);
    EXPECT_EQ(test.dialogs.messages, (std::vector<std::u16string>(2, test.Message(442, {2}))));
    EXPECT_FALSE(Live(lunch));
    EXPECT_FALSE(Live(rent));
    EXPECT_EQ(CurrentBalance(db, cash), 1700'0000);
    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(Live(lunch));
    EXPECT_EQ(CurrentBalance(db, cash), 1200'0000);
}

TEST_F(TransactionsPage, ALockedSelectionIsNeitherDeletedNorExecuted)
{
    ATransactionsPage& shown = Show();
    ShowEverything(shown);
    QTest::keyClick(shown.Report(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_TRUE(shown.IsCommandEnabled(PageCommand::kLock));
    EXPECT_FALSE(shown.IsCommandEnabled(PageCommand::kUnlock));
    shown.RunCommand(PageCommand::kLock);
    EXPECT_TRUE(Get(lunch).locked && Get(rent).locked);
    EXPECT_TRUE(shown.IsCommandEnabled(PageCommand::kUnlock));
    for (int command : {static_cast<int>(Command::kDelete), PageCommand::kExecute}) {
        test.dialogs.messages.clear();
        shown.RunCommand(command);
        EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(198)}) << command;
    }
    EXPECT_TRUE(Live(lunch));
    EXPECT_FALSE(Get(rent).executed);
    shown.RunCommand(PageCommand::kUnlock);
    shown.RunCommand(PageCommand::kExecute);
    EXPECT_TRUE(Get(rent).executed);
    EXPECT_EQ(db.UndoLabel(), test.Message(171));
    EXPECT_FALSE(shown.IsCommandEnabled(PageCommand::kExecute));
}

// Add from the menu, change by a double click on the row, duplicate the focused row: each
// opens the dialog the user types into, and what was typed is what the file keeps.
TEST_F(TransactionsPage, AddChangeAndDuplicateOpenTheTransactionDialog)
{
    ATransactionsPage& shown = Show();
    ShowEverything(shown);
    auto typeAmount = [&](const char* type, const char* field, const char* amount) {
        UiTests::OnModal(test, [=](QDialog& dialog) {
            if (*type) {
                UiTests::ClickNamed(dialog, type);
                QWidget* account = UiTests::Named(dialog, "На счёт:");
                account->setFocus();
                QTest::keyClick(account, Qt::Key_Down);  // the plan
                QTest::keyClick(account, Qt::Key_Down);  // its first account
            }
            UiTests::TypeInto(dialog, field, amount);
            UiTests::ClickNamed(dialog, "OK");
        });
    };

    typeAmount("Приход", "Сумма прихода:", "75");
    shown.RunCommand(Command::kAdd);
    EXPECT_EQ(db.Transactions().LiveCount(), 5u);
    EXPECT_EQ(db.Transactions().Live().back()->Record().amount1, 75'0000);
    EXPECT_EQ(db.Transactions().Live().back()->Record().account1, cash);

    shown.Report()->RebuildRows();
    const int lunchRow = 2;  // by date; today's new one comes after it
    ASSERT_EQ(Column(shown, kDateColumn)[lunchRow], u"10.03.2025");
    typeAmount("", "Сумма расхода:", "450");
    QTest::mouseDClick(shown.Report()->viewport(), Qt::LeftButton, {},
                       QPoint(30, (lunchRow - shown.Report()->FirstVisibleRow()) * shown.Report()->RowHeight() +
                                      shown.Report()->RowHeight() / 2));
    EXPECT_EQ(Get(lunch).amount1, -450'0000);
    EXPECT_EQ(db.Transactions().LiveCount(), 5u);

    ASSERT_EQ(shown.Selection().size(), 1u);
    ASSERT_TRUE(shown.IsCommandEnabled(PageCommand::kDuplicate));
    typeAmount("", "Сумма расхода:", "12");
    shown.RunCommand(PageCommand::kDuplicate);
    EXPECT_EQ(db.Transactions().LiveCount(), 6u);
    EXPECT_EQ(db.Transactions().Live().back()->Record().amount1, -12'0000);
    EXPECT_EQ(Get(lunch).amount1, -450'0000);
    QTest::keyClick(shown.Report(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_FALSE(shown.IsCommandEnabled(PageCommand::kDuplicate));
}

TEST_F(TransactionsPage, FindAsksForTheTextAndFindNextGoesOnFromTheFocus)
{
    ATransactionsPage& shown = Show();
    ShowEverything(shown);
    EXPECT_FALSE(shown.IsCommandEnabled(PageCommand::kFindNext));
    struct {
        int command;
        const char* typed;  // for Find
        int focus;
        bool told;
    } const steps[] = {
        {PageCommand::kFind, "300", 1, false},     // the transfer, from the last row round to the top
        {PageCommand::kFindNext, "", 1, false},    // no other row: it stays
        {PageCommand::kFind, "500", 2, false},
        {PageCommand::kFind, "xyz", 2, true},
    };
    for (const auto& step : steps) {
        test.dialogs.messages.clear();
        UiTests::OnModal(test, [&](QDialog& dialog) {
            UiTests::TypeInto(dialog, "Искать текст:", step.typed);
            UiTests::ClickNamed(dialog, "OK");
        });
        ASSERT_TRUE(shown.IsCommandEnabled(step.command));
        shown.RunCommand(step.command);
        EXPECT_EQ(shown.Report()->Model().Focus(), step.focus) << step.typed;
        EXPECT_EQ(test.dialogs.messages,
                  step.told ? std::vector<std::u16string>{test.Message(183, {std::u16string(u"xyz")})}
                            : std::vector<std::u16string>{});
    }
}

TEST_F(TransactionsPage, SettingsComeBackAndAStreamOfAnotherFormIsIgnored)
{
    ATransactionsPage& shown = Show();
    ShowEverything(shown);
    Filters::ATransactionPageFilter filter = shown.Filter();
    filter.comment = u"операц";
    shown.SetFilter(filter);
    shown.Mode().SetSortColumn(-(kAmountColumn + 1));
    const std::vector<std::uint8_t> saved = shown.WriteSettings();

    ATransactionsPage& again = Show();
    const std::vector<std::uint8_t> defaults = again.WriteSettings();
    std::vector<std::uint8_t> otherVersion = saved;
    otherVersion[4] ^= 0x7F;
    for (const auto& foreign : {std::vector<std::uint8_t>{1, 2, 3}, otherVersion,
                                std::vector<std::uint8_t>(saved.begin(), saved.end() - 3)}) {
        again.ReadSettings(foreign);
        EXPECT_EQ(again.WriteSettings(), defaults);
    }
    again.ReadSettings(saved);
    EXPECT_EQ(again.Filter().comment, u"операц");
    EXPECT_EQ(again.Mode().SortColumn(), -(kAmountColumn + 1));
    EXPECT_EQ(again.Report()->Model().RowCount(), 4);
    EXPECT_EQ(again.WriteSettings(), saved);
}

// Opening a file whose planned transactions are due asks once; only Yes executes them.
TEST(DuePlannedOnOpening, AreExecutedInOneStepWhenTheAnswerIsYes)
{
    for (const int answer : {Win32API::VelvixForms::kIdNo, Win32API::VelvixForms::kIdYes}) {
        UiTests::ATestProgram test;
        UiTests::WriteDataFile(test.Path("due.fend"), [](ADatabase& db) {
            for (ADate date : {FromYmd(2025, 3, 1), FromYmd(2025, 3, 15), FromYmd(2025, 3, 16)}) {
                ATransaction t = UiTests::Executed(ATableImpl<AAccount>::RefTo(db.Accounts().Live().front()), -10'0000, date);
                t.executed = 0;
                db.Transactions().Create(t);
            }
        });
        AMainWindow window(test.context);
        test.dialogs.answers = {answer};
        ASSERT_EQ(window.OpenFile(test.Path("due.fend")), Result::kOk);
        EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(199, {2})});
        int executed = 0;
        for (const auto* slot : window.CurrentDatabase().Transactions().Live())
            executed += slot->Record().executed;
        EXPECT_EQ(executed, answer == Win32API::VelvixForms::kIdYes ? 2 : 0);
        EXPECT_EQ(window.CurrentDatabase().CanUndo(), answer == Win32API::VelvixForms::kIdYes);
    }
}

}  // namespace
