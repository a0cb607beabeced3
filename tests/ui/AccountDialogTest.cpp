// The account and folder dialogs driven through their widgets over a new file with folders.
#include "UiTestSupport.h"

#include "database/DatabaseRules.h"
#include "ui/accounts/AccountDialog.h"
#include "ui/accounts/FolderDialog.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace UiTests;
using namespace UserInterface::Accounts;
using namespace Database;
using Engine::ATableImpl;

namespace {

constexpr AMoney M(std::int64_t units) { return units * 10000; }

class AccountDialog : public ::testing::Test {
protected:
    AccountDialog()
    {
        TestApplication();
        db.CreateDefaults();
        cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
        plan = ATableImpl<AAccountFolder>::RefTo(db.Folders().Live().front());
        db.BeginStep();
        db.Settings().Change(db.Settings().Live().front())->accountFolders = 1;
        db.Currencies().Create(ACurrency{db.NewText(u"Доллары США"), db.NewText(u"USD"), 2});
        banks = ATableImpl<AAccountFolder>::RefTo(db.Folders().Create(AAccountFolder{db.NewText(u"Банки"), {}, plan, 0}));
        CommitWithRules(db);
    }

    // Runs a dialog with `script` as the user's hands; the texts of the messages it showed.
    std::vector<std::u16string> Run(const std::function<bool()>& open, const std::function<void(QDialog&)>& script)
    {
        test.dialogs.messages.clear();
        OnModal(test, script);
        open();
        return test.dialogs.messages;
    }
    std::vector<std::u16string> ChangeAccount(AReference<AAccount> account, const std::function<void(QDialog&)>& type)
    {
        return Run([&] { return RunAccountDialog(nullptr, test.context, db, plan, account); },
                   [&](QDialog& dialog) {
                       type(dialog);
                       ClickNamed(dialog, "OK");
                   });
    }
    static void Choose(QDialog& dialog, const QString& name, int row)
    {
        if (row < 0)
            return;
        auto* picker = Named(dialog, name);
        picker->setFocus();
        // Down from nothing chosen picks the first row; Up goes back to it from any other.
        QTest::keyClick(picker, Qt::Key_Down);
        for (int i = 0; i < 8; ++i)
            QTest::keyClick(picker, Qt::Key_Up);
        for (int i = 0; i < row; ++i)
            QTest::keyClick(picker, Qt::Key_Down);
    }
    const AAccount& Last() { return db.Accounts().Live().back()->Record(); }

    ATestProgram test;
    ADatabase db;
    AReference<AAccount> cash;
    AReference<AAccountFolder> plan, banks;
};

TEST_F(AccountDialog, AddingRefusesWhatTheChecksRefuseWithTheFocusOnTheField)
{
    const struct {
        QString name;
        int currency;  // row: 0 roubles, 1 dollars, -1 none chosen
        QString initial;
        std::vector<std::u16string> messages;
        const char* focus;
    } cases[] = {
        {"   ", 0, "0", {test.Message(350)}, "Название счёта:"},
        {"Карта", -1, "0", {test.Message(351)}, "Валюта счёта:"},
        {"Наличные", 0, "0", {test.Message(353)}, "Название счёта:"},
        {"Карта", 0, "сто", {test.Message(352)}, "Начальный остаток:"},
        {"Наличные", 1, "10", {}, nullptr},
        {" Карта  в  банке ", 0, "12,5", {}, nullptr},
    };
    for (const auto& c : cases) {
        const std::size_t before = db.Accounts().LiveCount();
        EXPECT_EQ(Run([&] { return RunAccountDialog(nullptr, test.context, db, plan, {}, banks); },
                      [&](QDialog& dialog) {
                          TypeInto(dialog, "Название счёта:", c.name);
                          Choose(dialog, "Валюта счёта:", c.currency);
                          TypeInto(dialog, "Начальный остаток:", c.initial);
                          ClickNamed(dialog, "OK");
                          if (c.focus) {
                              EXPECT_EQ(QApplication::focusWidget(), Named(dialog, c.focus)) << c.name.toStdString();
                          }
                      }),
                  c.messages)
            << c.name.toStdString();
        EXPECT_EQ(db.Accounts().LiveCount(), before + (c.messages.empty() ? 1 : 0)) << c.name.toStdString();
    }
    EXPECT_EQ(db.Text(Last().name), u"Карта в банке");
    EXPECT_EQ(Last().initialBalance, 12'5000);
    EXPECT_EQ(db.UndoLabel(), u"Добавить счёт");
    // Placed in the folder chosen on the page.
    EXPECT_EQ(db.Placements().Live().back()->Record().folder, banks);
}

TEST_F(AccountDialog, ChangingMakesOneStepForWhatChangedAndNoneForNothing)
{
    db.BeginStep();
    const auto loose = AddAccount(db, u"Без папки");
    CommitWithRules(db);
    const auto before = db.UndoLabel();
    for (auto account : {cash, loose})
        EXPECT_TRUE(ChangeAccount(account, [](QDialog&) {}).empty());
    EXPECT_EQ(db.UndoLabel(), before);

    EXPECT_TRUE(ChangeAccount(cash, [](QDialog& d) { TypeInto(d, "Примечание:", "в кошельке"); }).empty());
    EXPECT_EQ(db.UndoLabel(), u"Изменить счёт");
    EXPECT_EQ(db.Text(db.Accounts().Get(cash)->Record().comment), u"в кошельке");
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(db.UndoLabel(), before);  // the change was one step

    EXPECT_EQ(ChangeAccount(cash, [](QDialog& d) { TypeInto(d, "Название счёта:", " "); }),
              std::vector{test.Message(350)});
}

TEST_F(AccountDialog, AChangedInitialBalanceRaisesEveryStoredBalance)
{
    db.BeginStep();
    db.Accounts().Change(db.Accounts().Get(cash))->initialBalance = M(100);
    for (int day : {1, 2, 3})
        db.Transactions().Create(Executed(cash, -M(day), 46000 + day));
    CommitWithRules(db);
    std::vector<AMoney> balances;
    for (auto* t : db.Transactions().Live())
        balances.push_back(t->Record().balance1 + M(50));
    EXPECT_TRUE(ChangeAccount(cash, [](QDialog& d) { TypeInto(d, "Начальный остаток:", "150"); }).empty());
    std::vector<AMoney> after;
    for (auto* t : db.Transactions().Live())
        after.push_back(t->Record().balance1);
    EXPECT_EQ(after, balances);
}

TEST_F(AccountDialog, FolderAndPlanNamesAreChecked)
{
    const auto addFolder = [&](AFolderDialogMode mode, const QString& name) {
        return Run([&] { return RunFolderDialog(nullptr, test.context, db, mode, plan, plan); },
                   [&](QDialog& dialog) {
                       TypeInto(dialog, mode == AFolderDialogMode::AddPlan ? "Название плана счетов:" : "Название папки:",
                                name);
                       ClickNamed(dialog, "OK");
                   });
    };
    EXPECT_EQ(addFolder(AFolderDialogMode::AddFolder, "  "), std::vector{test.Message(738)});
    EXPECT_EQ(addFolder(AFolderDialogMode::AddFolder, "Банки"), std::vector{test.Message(739)});
    EXPECT_EQ(addFolder(AFolderDialogMode::AddPlan, "Все счета"), std::vector{test.Message(740)});
    EXPECT_TRUE(addFolder(AFolderDialogMode::AddFolder, "Вклады").empty());
    EXPECT_EQ(db.UndoLabel(), u"Добавить папку");
    EXPECT_EQ(db.Folders().Live().back()->Record().parent, plan);
    EXPECT_TRUE(addFolder(AFolderDialogMode::AddPlan, "Личный").empty());
    EXPECT_EQ(db.UndoLabel(), u"Добавить план счетов");

    // Renaming a folder to its own name changes nothing.
    const auto before = db.UndoLabel();
    Run([&] { return RunFolderDialog(nullptr, test.context, db, AFolderDialogMode::Change, plan, banks); },
        [&](QDialog& dialog) {
            EXPECT_EQ(Named<QLineEdit>(dialog, "Название папки:")->text(), "Банки");
            ClickNamed(dialog, "OK");
        });
    EXPECT_EQ(db.UndoLabel(), before);
}

}  // namespace
