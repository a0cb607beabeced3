// The transaction dialog run over a new file, with the test's hands as its user.
#pragma once
#include "UiTestSupport.h"

#include "database/DatabaseRules.h"
#include "ui/transactions/TransactionDialog.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace UiTests {

using namespace UserInterface::Transactions;
using namespace Database;
using Engine::ATableImpl;

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
        auto ref = UiTests::AddAccount(db, name, ATableImpl<AAccountFolder>::RefTo(db.Folders().Live().front()));
        if (!currencyCode.empty())
            db.Accounts().Change(db.Accounts().Get(ref))->currency = ATableImpl<ACurrency>::RefTo(
                db.Currencies().Create(ACurrency{db.NewText(currencyCode), db.NewText(currencyCode), 2}));
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
        UiTests::OnModal(test, [&](QDialog& dialog) {
            (dialog.windowTitle() == "Повторение операции" && recurrence ? recurrence : script)(dialog);
        });
        return RunTransactionDialog(nullptr, test.context, db, mode, std::move(selection), filter);
    }
    const ATransaction& Last() { return db.Transactions().Live().back()->Record(); }

    // The hands on the recurrence dialog when the transaction dialog opens it.
    std::function<void(QDialog&)> recurrence;
    const UserInterface::Filters::ATransactionPageFilter* filter = nullptr;  // the page's, when it narrows
    UiTests::ATestProgram test;
    ADatabase db;
    AReference<AAccount> cash;
};

}  // namespace UiTests
