#include "UiTestSupport.h"

#include "database/DatabaseRules.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/currencies/CurrencyPage.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QDialog>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace UserInterface::Currencies;
using namespace Database;
using Engine::ATableImpl;
using Win32API::VelvixForms::kIdNo;
using Win32API::VelvixForms::kIdYes;

namespace {

class CurrencyPage : public ::testing::Test {
protected:
    CurrencyPage()
    {
        db.CreateDefaults();
        rur = ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front());
        shown = UiTests::ShowPage(test, db, APageInfo::kCurrencies);
        QApplication::processEvents();
    }
    ACurrencyPage& Page() { return dynamic_cast<ACurrencyPage&>(*shown.page); }
    // Runs a command whose dialog `script` fills in as the user would; one left open is cancelled.
    void Run(int command, const std::function<void(QDialog&)>& script)
    {
        UiTests::RunCommandOnModal(test, Page(), command, script);
        QApplication::processEvents();
    }
    void AddCurrency(const char* name, const char* code)
    {
        Run(Command::kAdd, [&](QDialog& dialog) {
            UiTests::TypeInto(dialog, "Название валюты:", name);
            UiTests::TypeInto(dialog, "Обозначение:", code);
            UiTests::ClickNamed(dialog, "OK");
        });
    }
    void FocusRow(int row) { UiTests::FocusRow(Page().Report(), row); }
    std::u16string Cell(int row, int column) { return Page().Report()->Model().Row(row)->Text(column); }

    UiTests::ATestProgram test;
    ADatabase db;
    UiTests::AShownPage shown;
    AReference<ACurrency> rur;
};

TEST_F(CurrencyPage, TheCurrencyDialogChecksAndStoresWhatIsTyped)
{
    const struct {
        const char *name, *code, *decimals;
        int message;          // 0: accepted
        const char* focused;  // the field the message points at
    } cases[] = {
        {"", "USD", "2", 363, "Название валюты:"},
        {"Dollar", "USD", "5", 365, "Знаков после запятой:"},
        {"Dollar", "RUR", "2", 361, "Обозначение:"},
        {"  Dollar   US ", "USD", "0", 0, nullptr},
        {"Lowercase", "rur", "2", 0, nullptr},  // differs from "RUR" in case only
    };
    for (const auto& c : cases) {
        test.dialogs.messages.clear();
        const std::size_t before = db.Currencies().LiveCount();
        Run(Command::kAdd, [&](QDialog& dialog) {
            UiTests::TypeInto(dialog, "Название валюты:", c.name);
            UiTests::TypeInto(dialog, "Обозначение:", c.code);
            UiTests::TypeInto(dialog, "Знаков после запятой:", c.decimals);
            UiTests::ClickNamed(dialog, "OK");
            if (c.focused) {
                EXPECT_EQ(QApplication::focusWidget(), UiTests::Named(dialog, c.focused)) << c.code;
            }
        });
        EXPECT_EQ(test.dialogs.messages, c.message ? std::vector<std::u16string>{test.Message(c.message)}
                                                   : std::vector<std::u16string>{})
            << c.name;
        EXPECT_EQ(db.Currencies().LiveCount(), before + (c.message ? 0 : 1)) << c.name;
    }
    const ACurrency& dollar = db.Currencies().Live()[1]->Record();
    EXPECT_EQ(db.Text(dollar.name), u"Dollar US");
    EXPECT_EQ(dollar.precision, 0u);
    EXPECT_EQ(db.UndoLabel(), u"Добавить валюту");
    // OK without a change makes no step.
    FocusRow(1);
    Run(Command::kChange, [](QDialog& dialog) { UiTests::ClickNamed(dialog, "OK"); });
    EXPECT_EQ(db.UndoLabel(), u"Добавить валюту");
}

TEST_F(CurrencyPage, RatesAreStoredInThePairsOrderAndATakenDateIsRefused)
{
    AddCurrency("Dollar", "USD");
    ASSERT_TRUE(test.dialogs.messages.empty());
    // RUR first: 1 rouble is worth 0,0125 dollars, the pair made RUR-USD.
    const auto addRate = [&](const char* value1, const char* value2) {
        Run(Command::kAdd, [&](QDialog& dialog) {
            UiTests::TypeInto(dialog, "RUR", value1);
            UiTests::TypeInto(dialog, "USD", value2);
            UiTests::ClickNamed(dialog, "OK");
        });
    };
    Page().ShowView(ACurrencyPage::AView::Rates);
    addRate("80", "0");
    EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(371)});
    test.dialogs.messages.clear();
    addRate("80", "1");
    ASSERT_EQ(db.RateValues().LiveCount(), 1u);
    EXPECT_EQ(Cell(0, 1), u"0,0125");
    addRate("80", "1");  // the same day again
    EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(372)});
    EXPECT_EQ(db.RateValues().LiveCount(), 1u);

    // The other way round, a day later: stored under the pair's header, amounts swapped.
    test.dialogs.messages.clear();
    Run(Command::kAdd, [&](QDialog& dialog) {
        auto* first = UiTests::Named(dialog, "Валюта:");
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Down);  // USD
        auto* second = UiTests::Named(dialog, "В валюте:");
        second->setFocus();
        QTest::keyClick(second, Qt::Key_Up);  // RUR
        QTest::keyClick(UiTests::Named(dialog, "Дата курса:"), Qt::Key_Up);
        UiTests::TypeInto(dialog, "USD", "1");
        UiTests::TypeInto(dialog, "RUR", "90");
        UiTests::ClickNamed(dialog, "OK");
    });
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(db.RateHeaders().LiveCount(), 1u);
    const ARateValue& swapped = db.RateValues().Live().back()->Record();
    EXPECT_EQ(swapped.amount1, 900000);
    EXPECT_EQ(swapped.amount2, 10000);
    EXPECT_EQ(Cell(0, 0), u"16.03.2025");  // newest first

    // Moving the older rate onto the newer one's date is refused and changes nothing.
    const auto lastStep = db.UndoLabel();
    FocusRow(1);
    Run(Command::kChange, [&](QDialog& dialog) {
        QTest::keyClick(UiTests::Named(dialog, "Дата курса:"), Qt::Key_Up);
        UiTests::ClickNamed(dialog, "OK");
        EXPECT_EQ(QApplication::focusWidget(), UiTests::Named(dialog, "Дата курса:"));
    });
    EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(372)});
    EXPECT_EQ(db.UndoLabel(), lastStep);
    EXPECT_EQ(Cell(1, 0), u"15.03.2025");
}

TEST_F(CurrencyPage, DeletingAsksWithTheCountsAndATickedQuestionIsNotAskedAgain)
{
    AddCurrency("Dollar", "USD");
    AddCurrency("Euro", "EUR");
    db.BeginStep();
    const auto dollars = UiTests::AddAccount(db, u"Доллары");
    db.Accounts().Change(db.Accounts().Get(dollars))->currency = ATableImpl<ACurrency>::RefTo(db.Currencies().Live()[1]);
    db.Transactions().Create(UiTests::Executed(dollars, -10000, Dates::FromYmd(2025, 3, 1)));
    CommitWithRules(db);

    const auto deleteRow = [&](int row, std::deque<int> answers, bool tick) {
        test.dialogs.messages.clear();
        test.dialogs.answers = std::move(answers);
        test.dialogs.tick = tick;
        FocusRow(row);
        Page().RunCommand(Command::kDelete);
        QApplication::processEvents();
    };
    deleteRow(1, {kIdNo}, true);  // a No is never remembered
    EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(373, {u"Dollar", 1, 1})});
    deleteRow(2, {kIdYes}, true);
    EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(374, {u"Euro"})});
    EXPECT_EQ(db.Currencies().LiveCount(), 2u);
    deleteRow(1, {kIdYes}, false);
    EXPECT_EQ(test.dialogs.messages.size(), 1u);  // the other question is still asked
    EXPECT_EQ(db.Currencies().LiveCount(), 1u);
    EXPECT_FALSE(db.Accounts().Get(dollars)->Exists());
    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(db.Accounts().Get(dollars)->Exists());

    // Settings bring the view back.
    Page().ShowView(ACurrencyPage::AView::Rates);
    const auto saved = Page().WriteSettings();
    Page().ShowView(ACurrencyPage::AView::Currencies);
    Page().ReadSettings(saved);
    EXPECT_EQ(Page().View(), ACurrencyPage::AView::Rates);
    EXPECT_TRUE(UiTests::Named<QRadioButton>(*shown.form, "Курсы валют")->isChecked());
}

}  // namespace
