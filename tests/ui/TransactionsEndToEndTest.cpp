// A new file in the program's main window: an income, an expense and a transfer entered
// through the transaction dialog from the transactions page's Add, saved, and read back by
// the built fendral-cli.
#include "UiTestSupport.h"

#include "cli/CliRunner.h"
#include "database/DatabaseRules.h"
#include "ui/MainForm.h"
#include "ui/MenuText.h"
#include "ui/transactions/TransactionsPage.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace UserInterface;
using namespace Database;
using Engine::ATableImpl;

namespace {

struct ATyped {
    const char* type;
    std::vector<std::pair<const char*, int>> accounts;  // chooser and row
    const char* amountField;
    const char* amount;
    const char* note;
};

TEST(TransactionsEndToEnd, WhatTheDialogSavedIsWhatTheCommandLineProgramReads)
{
    UiTests::TestApplication();
    UiTests::ATestProgram test;
    AMainWindow window{test.context};
    ASSERT_TRUE(window.NewDatabase());
    ADatabase& db = window.CurrentDatabase();
    db.BeginStep();
    UiTests::AddAccount(db, u"Карта", ATableImpl<AAccountFolder>::RefTo(db.Folders().Live().front()));
    CommitWithRules(db);
    QApplication::processEvents();

    int page = 0;
    while (page < window.PageCount() && !dynamic_cast<Transactions::ATransactionsPage*>(window.PageAt(page)))
        ++page;
    ASSERT_TRUE(window.ShowPage(page));
    const ATyped typed[] = {
        {"Приход", {{"На счёт:", 1}}, "Сумма прихода:", "1000", "Salary"},
        {"Расход", {{"Со счёта:", 1}}, "Сумма расхода:", "250.5", "Lunch"},
        {"Перевод", {{"Со счёта:", 1}, {"На счёт:", 2}}, "Сумма перевода:", "300", "To card"},
    };
    for (const ATyped& t : typed) {
        UiTests::OnModal(test, [&](QDialog& dialog) {
            UiTests::ClickNamed(dialog, t.type);
            for (const auto& [chooser, row] : t.accounts) {
                QWidget* picker = UiTests::Named(dialog, chooser);
                picker->setFocus();
                for (int i = 0; i <= row; ++i)
                    QTest::keyClick(picker, Qt::Key_Down);
            }
            UiTests::TypeInto(dialog, t.amountField, t.amount);
            UiTests::TypeInto(dialog, "Примечание:", t.note);
            UiTests::ClickNamed(dialog, "OK");
        });
        window.UpdateMenus();
        ASSERT_TRUE(window.FindAction(Command::kAdd)->isEnabled());
        window.FindAction(Command::kAdd)->trigger();
        QApplication::processEvents();
    }
    EXPECT_TRUE(test.dialogs.messages.empty());
    ASSERT_EQ(db.Transactions().LiveCount(), 3u);
    EXPECT_EQ(db.UndoLabel(), u"Добавить операцию");
    test.dialogs.saveFile = test.Path("books.fend");
    window.FindAction(Command::kSave)->trigger();

    // The records as the command-line program exports them, and each account's balance.
    const ACliRun exported =
        RunProgram(FENDRAL_CLI, {"export", "books.fend", "out.xml", "--only", "transactions"}, test.folder.Path());
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const std::string xml = ReadTextFile(test.folder / "out.xml");
    const auto side = [](const char* role, const char* account, const char* amount, const char* balance) {
        return std::string("<") + role + "-account><name>" + account + "</name><currency>RUR</currency></" + role +
               "-account><" + role + "-amount>" + amount + "</" + role + "-amount><" + role + "-balance>" + balance +
               "</" + role + "-balance>";
    };
    const auto record = [](const char* kind, const std::string& sides, const char* note) {
        return std::string("<transaction><date>2025-03-15</date><") + kind + "><executed/>" + sides + "</" + kind +
               "><comment>" + note + "</comment></transaction>";
    };
    EXPECT_NE(xml.find("<transactions>" + record("income", side("income", "Наличные", "1000.0000", "1000.0000"), "Salary") +
                       record("expense", side("expense", "Наличные", "-250.5000", "749.5000"), "Lunch") +
                       record("transfer",
                              side("expense", "Наличные", "-300.0000", "449.5000") +
                                  side("income", "Карта", "300.0000", "300.0000"),
                              "To card") +
                       "</transactions>"),
              std::string::npos)
        << xml;
    for (const auto& [account, expected] : {std::pair{"Наличные@RUR", "449.5000"}, {"Карта@RUR", "300.0000"}}) {
        const ACliRun run = RunProgram(FENDRAL_CLI,
                                       {"report", "balances", "books.fend", "--from", "2025-03-01", "--to", "2025-03-31",
                                        "--currency", "RUR", "--accounts", account, "--json"},
                                       test.folder.Path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto json = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_FALSE(json.is_discarded()) << run.out;
        EXPECT_EQ(json.at("executed").back().at("value"), expected) << account;
    }
}

}  // namespace
