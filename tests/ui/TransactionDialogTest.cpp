#include "TransactionDialogFixture.h"

#include "analysis/TransactionPageFilter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <tuple>

using namespace UiTests;

namespace {

TEST_F(TransactionDialog, MissingAccountsAndFoldersAreRefusedWithTheFocusOnTheChooser)
{
    AddAccount(u"Карта");  // with one account in the file it would be chosen already
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
        // With the credit computed, 20 dollars give 600 at that rate.
        auto* credit = Named<QRadioButton>(dialog, "Сумма зачисления:");
        credit->setFocus();
        QTest::keyClick(credit, Qt::Key_Space);
        Type(dialog, "Сумма списания:", "20");
        EXPECT_EQ(Named<QLineEdit>(dialog, "Сумма зачисления:")->text(), "600,00");  // in the rouble account's decimals
        Click(dialog, "OK");
    }));
    EXPECT_EQ(Last().account1, usd);
    EXPECT_EQ(Last().amount1, -M(20));
    EXPECT_EQ(Last().amount2, M(600));
}

// A balance correction sets the balance, any sign, and moves nothing; with quantities the
// expense is three rows of which the checked one is computed from the other two.
TEST_F(TransactionDialog, TheTypeAndTheFileShapeTheAmountFields)
{
    for (const auto& [typed, balance, correction] : {std::tuple{"-40", -M(40), -M(40)}, std::tuple{"0", AMoney{0}, M(40)}}) {
        EXPECT_TRUE(Run(ATransactionDialogMode::Add, {}, [&](QDialog& dialog) {
            Click(dialog, "Остаток");
            Type(dialog, "Остаток:", typed);
            Click(dialog, "OK");
        })) << typed;
        EXPECT_EQ(Last().balance, 1);
        EXPECT_EQ(Last().balance1, balance);
        EXPECT_EQ(Last().amount1, correction);  // what it moves the account by
    }

    db.BeginStep();
    db.Settings().Change(db.Settings().Live().front())->quantities = 1;
    db.CommitStep();
    EXPECT_TRUE(Run(ATransactionDialogMode::Add, {}, [&](QDialog& dialog) {
        EXPECT_TRUE(Named<QRadioButton>(dialog, "Цена за единицу:")->isChecked());
        auto* computed = Named<QRadioButton>(dialog, "Сумма расхода:");
        computed->setFocus();
        QTest::keyClick(computed, Qt::Key_Space);
        Type(dialog, "Количество:", "3");
        Type(dialog, "Цена за единицу:", "12,5");
        EXPECT_EQ(Named<QLineEdit>(dialog, "Сумма расхода:")->text(), "37,50");
        Click(dialog, "OK");
    }));
    EXPECT_EQ(Last().amount1, -375000);
    EXPECT_EQ(Last().quantity, M(3));
}

// A locked transaction is shown, not changed: only Cancel works, and has the focus.
TEST_F(TransactionDialog, ALockedTransactionOpensWithOnlyCancel)
{
    db.BeginStep();
    ATransaction t = Executed(cash, -M(7), Dates::FromYmd(2025, 3, 1));
    t.locked = 1;
    const Engine::ARecordId id = db.Transactions().Create(t)->id;
    CommitWithRules(db);
    EXPECT_FALSE(Run(ATransactionDialogMode::Change, {id}, [&](QDialog& dialog) {
        EXPECT_FALSE(Named<QPushButton>(dialog, "OK")->isEnabled());
        EXPECT_FALSE(Named<QLineEdit>(dialog, "Сумма расхода:")->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), Named<QPushButton>(dialog, "Отмена"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    }));
}

TEST_F(TransactionDialog, ChangingThreeWithDifferentDatesKeepsEachDate)
{
    db.BeginStep();
    for (int day : {3, 4, 5})
        db.Transactions().Create(Executed(cash, -M(day), Dates::FromYmd(2025, 3, day)));
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

TEST_F(TransactionDialog, TheFilterWarningsNoReturnsToTheDialogAndItsTickSilencesIt)
{
    UserInterface::Filters::ATransactionPageFilter january;
    january.period.SetDates(Dates::FromYmd(2025, 1, 1), Dates::FromYmd(2025, 1, 31), std::nullopt);
    filter = &january;
    const std::u16string warning = test.Message(457, {u"Добавленная", u"добавить операцию"});
    const auto addExpense = [&](bool tick, int answer) {
        test.dialogs.tick = tick;
        test.dialogs.answers = {answer};
        return Run(ATransactionDialogMode::Add, {}, [&](QDialog& dialog) {
            Choose(dialog, "Со счёта:", 1);
            Type(dialog, "Сумма расхода:", "5");
            Click(dialog, "OK");
            if (dialog.isVisible())
                dialog.reject();
        });
    };
    auto& options = test.context.Options();
    EXPECT_FALSE(addExpense(false, Win32API::VelvixForms::kIdNo));
    EXPECT_EQ(db.Transactions().LiveCount(), 0u);
    EXPECT_TRUE(addExpense(true, Win32API::VelvixForms::kIdYes));
    EXPECT_EQ(db.Transactions().LiveCount(), 1u);
    EXPECT_EQ(test.dialogs.messages, (std::vector<std::u16string>{warning, warning}));
    // Set and saved: the store gives it back.
    options.SetFlag(UserInterface::Settings::kSkipFilterCheck, false);
    options.LoadAll();
    EXPECT_TRUE(options.Flag(UserInterface::Settings::kSkipFilterCheck));
    test.dialogs.messages.clear();
    EXPECT_TRUE(addExpense(false, Win32API::VelvixForms::kIdNo));
    EXPECT_TRUE(test.dialogs.messages.empty());
}

}  // namespace
