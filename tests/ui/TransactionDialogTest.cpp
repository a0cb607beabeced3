#include "UiTestSupport.h"

#include "database/DatabaseRules.h"
#include "ui/transactions/TransactionDialog.h"
#include "win32api/ReportPicker.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace UserInterface::Transactions;
using namespace Database;
using Engine::ATableImpl;
using UiTests::Named;
using Win32API::VelvixControls::Reports::AReportPicker;

namespace {

constexpr AMoney M(std::int64_t units) { return units * 10000; }

class TransactionDialog : public ::testing::Test {
protected:
    TransactionDialog()
    {
        UiTests::TestApplication();
        db.CreateDefaults();
        cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
    }
    AReference<AAccount> AddAccount(std::u16string_view name, std::u16string_view currencyCode = u"")
    {
        db.BeginStep();
        AAccount account = db.Accounts().Live().front()->Record();
        account.name = db.NewText(name);
        account.comment = {};
        if (!currencyCode.empty())
            account.currency = ATableImpl<ACurrency>::RefTo(
                db.Currencies().Create(ACurrency{db.NewText(currencyCode), db.NewText(currencyCode), 2}));
        auto ref = ATableImpl<AAccount>::RefTo(db.Accounts().Create(account));
        db.Placements().Create(AAccountPlacement{ref, ATableImpl<AAccountFolder>::RefTo(db.Folders().Live().front())});
        CommitWithRules(db);
        return ref;
    }

    static void Click(QDialog& dialog, const QString& name) { UiTests::ClickNamed(dialog, name); }
    static void Type(QDialog& dialog, const QString& name, const QString& text)
    {
        UiTests::TypeInto(dialog, name, text);
    }
    // Chooses the n-th row of a chooser with the arrow keys.
    static void Choose(QDialog& dialog, const QString& name, int row)
    {
        auto* picker = Named(dialog, name);
        picker->setFocus();
        for (int i = 0; i <= row; ++i)
            QTest::keyClick(picker, Qt::Key_Down);
    }
    // Runs the dialog with `script` as the user's hands; whether a step was committed.
    bool Run(ATransactionDialogMode mode, std::vector<Engine::ARecordId> selection,
             const std::function<void(QDialog&)>& script)
    {
        test.dialogs.onModal = [&](QDialog& dialog) {
            dialog.show();
            QApplication::processEvents();
            script(dialog);
            return dialog.result();
        };
        return RunTransactionDialog(nullptr, test.context, db, mode, std::move(selection), nullptr);
    }
    const ATransaction& Last() { return db.Transactions().Live().back()->Record(); }

    UiTests::ATestProgram test;
    ADatabase db;
    AReference<AAccount> cash;
};

TEST_F(TransactionDialog, MissingAccountsAndFoldersAreRefusedWithTheFocusOnTheChooser)
{
    EXPECT_FALSE(Run(ATransactionDialogMode::Add, {}, [&](QDialog& dialog) {
        Click(dialog, "Приход");
        Type(dialog, "Сумма прихода:", "100");
        Click(dialog, "OK");
        Choose(dialog, "На счёт:", 0);  // the plan, a folder
        Click(dialog, "OK");
        EXPECT_EQ(QApplication::focusWidget(), Named(dialog, "На счёт:"));
        dialog.reject();
    }));
    EXPECT_EQ(test.dialogs.messages, (std::vector<std::u16string>{test.Message(444), test.Message(443, {u"Все счета"})}));
    EXPECT_EQ(db.Transactions().LiveCount(), 0u);
}

TEST_F(TransactionDialog, WhatIsTypedIsWhatIsStored)
{
    const auto card = AddAccount(u"Карта");
    const struct {
        const char* type;
        std::vector<std::pair<const char*, int>> choices;
        const char* amountLabel;
        AMoney amount1, amount2;
        AReference<AAccount> account1, account2;
    } cases[] = {
        {"Расход", {{"Со счёта:", 1}}, "Сумма расхода:", -M(250), 0, cash, {}},
        {"Приход", {{"На счёт:", 2}}, "Сумма прихода:", M(250), 0, card, {}},
        {"Перевод", {{"Со счёта:", 1}, {"На счёт:", 2}}, "Сумма перевода:", -M(250), M(250), cash, card},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Run(ATransactionDialogMode::Add, {}, [&](QDialog& dialog) {
            Click(dialog, c.type);
            for (const auto& [chooser, row] : c.choices)
                Choose(dialog, chooser, row);
            Type(dialog, c.amountLabel, "250");
            Click(dialog, "OK");
        })) << c.type;
        EXPECT_TRUE(test.dialogs.messages.empty()) << c.type;
        EXPECT_EQ(Last().amount1, c.amount1) << c.type;
        EXPECT_EQ(Last().amount2, c.amount2) << c.type;
        EXPECT_EQ(Last().account1, c.account1) << c.type;
        EXPECT_EQ(Last().account2, c.account2) << c.type;
        EXPECT_EQ(db.UndoLabel(), u"Добавить операцию");
    }
}

TEST_F(TransactionDialog, ATransferBetweenCurrenciesComputesTheRate)
{
    const auto usd = AddAccount(u"Доллары", u"USD");
    EXPECT_TRUE(Run(ATransactionDialogMode::Add, {}, [&](QDialog& dialog) {
        Click(dialog, "Перевод");
        Choose(dialog, "Со счёта:", 2);  // USD
        Choose(dialog, "На счёт:", 1);   // RUR
        Type(dialog, "Сумма списания:", "10");
        Type(dialog, "Сумма зачисления:", "300");
        EXPECT_EQ(Named<QLineEdit>(dialog, "Курс пересчета:")->text(), "30,0000");
        Click(dialog, "OK");
    }));
    EXPECT_EQ(Last().account1, usd);
    EXPECT_EQ(Last().amount1, -M(10));
    EXPECT_EQ(Last().amount2, M(300));
}

TEST_F(TransactionDialog, ChangingThreeWithDifferentDatesKeepsEachDate)
{
    db.BeginStep();
    for (int day : {3, 4, 5}) {
        ATransaction t;
        t.account1 = cash;
        t.amount1 = -M(day);
        t.date = t.budgetDate = Dates::FromYmd(2025, 3, day);
        t.executed = 1;
        db.Transactions().Create(t);
    }
    CommitWithRules(db);
    std::vector<Engine::ARecordId> ids;
    for (auto* slot : db.Transactions().Live())
        ids.push_back(slot->id);
    EXPECT_TRUE(Run(ATransactionDialogMode::Change, ids, [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Изменить 3 операций");
        EXPECT_EQ(Named<QLineEdit>(dialog, "Сумма расхода:")->text(), "« Разные значения »");
        Type(dialog, "Примечание:", "Lunch 12");
        Click(dialog, "OK");
    }));
    for (int day : {3, 4, 5}) {
        const ATransaction& t = db.Transactions().Find(ids[static_cast<std::size_t>(day - 3)])->Record();
        EXPECT_EQ(t.date, Dates::FromYmd(2025, 3, day));
        EXPECT_EQ(t.amount1, -M(day));
        EXPECT_EQ(db.Text(t.comment), u"Lunch 12");
    }
    EXPECT_EQ(db.UndoLabel(), u"Изменить операции");
}

}  // namespace
