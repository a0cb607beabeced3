// The accounts page in the main window: its commands through the window's dispatch, on the rows
// the keyboard focuses.
#include "UiTestSupport.h"

#include "database/DatabaseRules.h"
#include "ui/MainForm.h"
#include "ui/MenuText.h"
#include "ui/accounts/AccountsPage.h"
#include "ui/transactions/TransactionsPage.h"
#include "win32api/DynaForm.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

using namespace UserInterface;
using namespace UserInterface::Accounts;
using namespace Database;
using Engine::ATableImpl;
using Win32API::VelvixForms::kIdNo;
using Win32API::VelvixForms::kIdYes;

namespace {

class AccountsPage : public ::testing::Test {
protected:
    AccountsPage()
    {
        window.NewDatabase();
        window.show();
        cash = ATableImpl<AAccount>::RefTo(Db().Accounts().Live().front());
        plan = ATableImpl<AAccountFolder>::RefTo(Db().Folders().Live().front());
    }
    ADatabase& Db() { return window.CurrentDatabase(); }
    AAccountsPage& Page() { return dynamic_cast<AAccountsPage&>(*window.CurrentPage()); }
    // Inside one step, with the rules.
    void Step(const std::function<void()>& change)
    {
        Db().BeginStep();
        change();
        CommitWithRules(Db());
        Page().Refill();
    }
    AReference<AAccountFolder> AddFolder(std::u16string_view name, AReference<AAccountFolder> parent)
    {
        return ATableImpl<AAccountFolder>::RefTo(Db().Folders().Create(AAccountFolder{Db().NewText(name), {}, parent, 0}));
    }
    AReference<AAccount> AddAccount(std::u16string_view name, AReference<AAccountFolder> folder, int transactions = 0)
    {
        const auto account = UiTests::AddAccount(Db(), name, folder);
        for (int i = 0; i < transactions; ++i)
            Db().Transactions().Create(UiTests::Executed(account, 10000 * (i + 1), 45700 + i));
        return account;
    }
    std::vector<std::u16string> Names()
    {
        QCoreApplication::processEvents();  // the page refills after the change notification
        auto& model = Page().Report()->Model();
        model.RebuildIfStale();
        std::vector<std::u16string> names;
        for (int r = 0; r < model.RowCount(); ++r)
            names.push_back(model.Row(r)->Text(0));
        return names;
    }
    // Moves the list's focus onto the row of that name with the arrow keys.
    void Focus(std::u16string_view name)
    {
        const auto names = Names();
        const auto row = std::find(names.begin(), names.end(), name) - names.begin();
        ASSERT_LT(row, static_cast<long>(names.size())) << std::string(name.begin(), name.end());
        UiTests::FocusRow(Page().Report(), static_cast<int>(row));
    }
    bool Live(AReference<AAccount> a) { return Db().Accounts().Record(a) != nullptr; }

    UiTests::ATestProgram test;
    AMainWindow window{test.context};
    AReference<AAccount> cash;
    AReference<AAccountFolder> plan;
};

TEST_F(AccountsPage, DeletingAnAccountAsksWithItsTransactionsAndTakesThem)
{
    Step([&] {
        AddAccount(u"Карта", plan, 3);
        AddAccount(u"Вклад", plan, 0);
    });
    for (const auto& [name, transactions] : {std::pair{u"Карта", 3}, {u"Вклад", 0}}) {
        test.dialogs.messages.clear();
        test.dialogs.answers = {kIdYes};
        Focus(name);
        window.RunCommand(Command::kDelete);
        EXPECT_EQ(test.dialogs.messages, std::vector{test.Message(354, {transactions, 1})});
        EXPECT_EQ(Db().UndoLabel(), u"Удалить счёт");
    }
    EXPECT_EQ(Db().Transactions().LiveCount(), 0u);
    EXPECT_EQ(Db().Accounts().LiveCount(), 1u);
    ASSERT_TRUE(Db().Undo());
    ASSERT_TRUE(Db().Undo());
    EXPECT_EQ(Db().Transactions().LiveCount(), 3u);
}

TEST_F(AccountsPage, DeletingAFolderSaysWhatGoesWithItAndNoKeepsIt)
{
    AReference<AAccount> card;
    Step([&] {
        Db().Settings().Change(Db().Settings().Live().front())->accountFolders = 1;
        const auto banks = AddFolder(u"Банки", plan);
        AddFolder(u"Вклады", banks);
        AddFolder(u"Кредиты", banks);
        card = AddAccount(u"Карта", banks);
    });
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Все счета", u"Банки", u"Вклады", u"Кредиты", u"Карта", u"Наличные"}));
    for (int answer : {kIdNo, kIdYes}) {
        test.dialogs.messages.clear();
        test.dialogs.answers = {answer};
        Focus(u"Банки");
        window.RunCommand(Command::kDelete);
        EXPECT_EQ(test.dialogs.messages,
                  std::vector<std::u16string>{
                      u"Папка \"Банки\" содержит:\r\n   • 2 вложенных подпапок;\r\n   • 1 вложенных счетов.\r\n\r\n"
                      u"Все эти вложенные объекты будут удалены\r\nвместе с папкой \"Банки\".\r\n\r\n"
                      u"Удалить папку \"Банки\"?"});
        EXPECT_EQ(Live(card), answer == kIdNo);
    }
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Все счета", u"Наличные"}));
    ASSERT_TRUE(Db().Undo());
    EXPECT_TRUE(Live(card));
}

TEST_F(AccountsPage, AddingLockingAndOpeningWorkOnTheFocusedRow)
{
    AReference<AAccountFolder> banks;
    Step([&] {
        Db().Settings().Change(Db().Settings().Live().front())->accountFolders = 1;
        banks = AddFolder(u"Банки", plan);
    });
    // Insert adds into the focused folder.
    Focus(u"Банки");
    UiTests::OnModal(test, [](QDialog& dialog) {
        QTest::keyClicks(UiTests::Named<QLineEdit>(dialog, "Название счёта:"), "Visa");
        UiTests::ClickNamed(dialog, "OK");
    });
    window.RunCommand(Command::kAdd);
    const auto visa = ATableImpl<AAccount>::RefTo(Db().Accounts().Live().back());
    EXPECT_EQ(Db().Text(Db().Accounts().Get(visa)->Record().name), u"Visa");
    EXPECT_EQ(Db().Placements().Live().back()->Record().folder, banks);

    Focus(u"Банки");
    window.RunCommand(PageCommand::kLockFolder);
    EXPECT_TRUE(Db().Accounts().Get(visa)->Record().locked);
    EXPECT_EQ(Db().UndoLabel(), u"Заблокировать папку");
    EXPECT_FALSE(Page().IsCommandEnabled(PageCommand::kLockFolder));

    Focus(u"Наличные");
    EXPECT_EQ(Page().CommandText(PageCommand::kOpenTransactions), "Операции по счёту \"Наличные\"");
    window.RunCommand(PageCommand::kOpenTransactions);
    auto* transactions = dynamic_cast<Transactions::ATransactionsPage*>(window.CurrentPage());
    ASSERT_NE(transactions, nullptr);
    EXPECT_EQ(transactions->Filter().accounts.Accounts(), std::vector{cash});
}

TEST_F(AccountsPage, SeveralPlansAreChosenAboveTheList)
{
    Step([&] { AddFolder(u"Личный", {}); });
    EXPECT_FALSE(Page().Form()->IsElementShown(AAccountsPage::kPlanRowId));
    Step([&] {
        ADBSettings* settings = Db().Settings().Change(Db().Settings().Live().front());
        settings->accountPlans = settings->accountFolders = 1;
    });
    ASSERT_TRUE(Page().Form()->IsElementShown(AAccountsPage::kPlanRowId));
    QWidget* picker = UiTests::Named(*Page().Form(), "План счетов:");
    ASSERT_NE(picker, nullptr);
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(Names().front(), u"Личный");
    // The chosen plan comes back with the page's settings.
    const auto settings = Page().WriteSettings();
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_EQ(Names().front(), u"Все счета");
    Page().ReadSettings(settings);
    EXPECT_EQ(Names().front(), u"Личный");
}

// With quantities in the file, an account shows the units it holds: its income's quantities
// less its expenses'; a transfer moves none. Without them the column goes.
TEST_F(AccountsPage, TheQuantityColumnShowsTheUnitsHeldWhileTheFileKeepsQuantities)
{
    constexpr int kQuantity = 5;
    AReference<AAccount> shares;
    Step([&] {
        shares = AddAccount(u"Акции", plan);
        for (const auto& [amount, quantity, to] : {std::tuple{AMoney{1000'0000}, AMoney{10'0000}, AReference<AAccount>()},
                                                   std::tuple{AMoney{-400'0000}, AMoney{4'0000}, AReference<AAccount>()},
                                                   std::tuple{AMoney{-50'0000}, AMoney{1'0000}, cash}}) {
            ATransaction t = UiTests::Executed(shares, amount, 45700, to);
            t.quantity = quantity;
            Db().Transactions().Create(t);
        }
    });
    EXPECT_FALSE(Page().Mode().Column(kQuantity).shown);
    Step([&] { Db().Settings().Change(Db().Settings().Live().front())->quantities = 1; });
    const auto names = Names();
    const auto row = std::find(names.begin(), names.end(), u"Акции") - names.begin();
    ASSERT_LT(row, static_cast<long>(names.size()));
    EXPECT_TRUE(Page().Mode().Column(kQuantity).shown);
    EXPECT_EQ(Page().Report()->Model().Row(static_cast<int>(row))->Text(kQuantity), u"6,0000");
}

}  // namespace
