#include "TransactionDialogFixture.h"

#include "database/Recurrence.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace UiTests;
using Database::Recurrence::ARule;
using Database::Recurrence::MaskBit;

namespace {

using Steps = std::function<void(QDialog&)>;

void Radio(QDialog& dialog, const QString& name)
{
    QTest::mouseClick(Named<QRadioButton>(dialog, name), Qt::LeftButton);
}

class RecurrenceDialog : public TransactionDialog {
protected:
    // Adds an expense of 10 whose state is "repeats", with `steps` on the recurrence dialog
    // that choosing it opens; whether it was saved.
    bool AddRecurring(const Steps& steps)
    {
        recurrence = [&](QDialog& dialog) {
            steps(dialog);
            Click(dialog, "OK");
        };
        return Run(ATransactionDialogMode::Add, {}, [&](QDialog& dialog) {
            Radio(dialog, "Не выполнена и повторяется");
            Choose(dialog, "Со счёта:", 1);
            Type(dialog, "Сумма расхода:", "10");
            Click(dialog, "OK");
        });
    }
    ARule Stored() { return ARule::FromWords(Last().recurrence, Last().recurrenceCount, Last().recurrenceEnd); }
};

TEST_F(RecurrenceDialog, EachChoiceIsStoredAsItsRuleAndShownAgainWhenChanging)
{
    const ADate june30 = Dates::FromYmd(2025, 6, 30);
    const struct {
        const char* what;
        Steps steps;
        ARule rule;
        const char* description;
    } cases[] = {
        {"every 3 days", [](QDialog& d) { Type(d, "Каждый -й день", "3"); },
         {.active = true, .kind = 0, .maskOrSelector = 0x7F, .interval = 3}, "Повторяется ежедневно"},
        {"working days, 5 times",
         [](QDialog& d) {
             Radio(d, "Каждый рабочий день");
             Radio(d, "Выполнить всего");
             Type(d, "Выполнить всего операций", "5");
         },
         {.active = true, .kind = 0, .maskOrSelector = 0x7C, .interval = 1, .endsAfterCount = true, .count = 5},
         "Повторяется ежедневно. Осталось повторений: 5"},
        {"every 2 weeks on Monday and Friday",
         [](QDialog& d) {
             Radio(d, "Еженедельно");
             Type(d, "Каждую -ю неделю по дням:", "2");
             for (const char* day : {"Понедельник", "Пятница", "Суббота"})  // Saturday, the date's day, was ticked
                 Click(d, day);
         },
         {.active = true, .kind = 1, .maskOrSelector = std::uint8_t(MaskBit(1) | MaskBit(5)), .interval = 2},
         "Повторяется еженедельно"},
        {"monthly on the 31st until 30 June",
         [](QDialog& d) {
             Radio(d, "Ежемесячно");
             Type(d, "Каждого -го числа", "31");
             Radio(d, "Повторять до");
             auto* date = Named<QDateEdit>(d, "Повторять до (включительно)");
             date->setFocus();
             date->setSelectedSection(QDateTimeEdit::DaySection);  // as a click on the day does
             QTest::keyClicks(date, "30062025");
         },
         {.active = true, .kind = 2, .dayOfMonth = 31, .interval = 1, .endsAtDate = true, .end = june30 + 1},
         "Повторяется ежемесячно. До 30.06.2025 включительно"},
        {"the last Wednesday of every second month",
         [](QDialog& d) {
             Radio(d, "Ежемесячно");
             Radio(d, "В");
             PickRow(d, "В", 4);
             PickRow(d, "день", 5);
             Type(d, "каждого -го месяца", "2");
         },
         {.active = true, .kind = 3, .maskOrSelector = 3, .instance = 5, .interval = 2}, "Повторяется ежемесячно"},
        {"yearly on 29 February",
         [](QDialog& d) {
             Radio(d, "Ежегодно");
             Type(d, "Каждого -го", "29");
             PickRow(d, "-го", 1);
         },
         {.active = true, .kind = 4, .dayOfMonth = 29, .month = 2}, "Повторяется ежегодно"},
        {"the first working day of January",
         [](QDialog& d) {
             Radio(d, "Ежегодно");
             Radio(d, "В");
             PickRow(d, "В", 0);
             PickRow(d, "день", 1);
             PickRow(d, "-го месяца", 0);
         },
         {.active = true, .kind = 5, .maskOrSelector = 9, .month = 1, .instance = 1}, "Повторяется ежегодно"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(AddRecurring(c.steps)) << c.what;
        EXPECT_TRUE(test.dialogs.messages.empty()) << c.what;
        EXPECT_FALSE(Last().executed) << c.what;
        EXPECT_EQ(Stored(), c.rule) << c.what;
        // Reopened on the stored rule, OK leaves it as it was.
        recurrence = [](QDialog& dialog) { Click(dialog, "OK"); };
        EXPECT_TRUE(Run(ATransactionDialogMode::Change, {db.Transactions().Live().back()->id}, [&](QDialog& dialog) {
            auto* button = Named<QPushButton>(dialog, "Повторение");
            EXPECT_EQ(button->toolTip(), c.description) << c.what;
            Click(dialog, "Повторение");
            Click(dialog, "OK");
        })) << c.what;
        EXPECT_EQ(Stored(), c.rule) << c.what;
    }
}

TEST_F(RecurrenceDialog, BadFieldsAreRefusedWithTheFocusOnThemAndCancelLeavesAPlannedOne)
{
    const struct {
        Steps steps;
        int message;
        const char* focused;
    } cases[] = {
        {[](QDialog& d) { Type(d, "Каждый -й день", "0"); }, 319, "Каждый -й день"},
        {[](QDialog& d) {
             Radio(d, "Ежемесячно");
             Radio(d, "В");
             Type(d, "каждого -го месяца", "128");
         },
         319, "каждого -го месяца"},
        {[](QDialog& d) {
             Radio(d, "Ежегодно");
             Type(d, "Каждого -го", "32");
         },
         320, "Каждого -го"},
        {[](QDialog& d) {
             Radio(d, "Еженедельно");
             Click(d, "Суббота");
         },
         322, "Понедельник"},
        {[](QDialog& d) {
             Radio(d, "Выполнить всего");
             Type(d, "Выполнить всего операций", "256");
         },
         321, "Выполнить всего операций"},
    };
    for (const auto& c : cases) {
        test.dialogs.messages.clear();
        recurrence = [&](QDialog& dialog) {
            c.steps(dialog);
            Click(dialog, "OK");
            EXPECT_TRUE(dialog.isVisible()) << c.message;
            EXPECT_EQ(QApplication::focusWidget(), Named(dialog, c.focused)) << c.message;
            Click(dialog, "Отмена");
        };
        EXPECT_FALSE(Run(ATransactionDialogMode::Add, {}, [&](QDialog& dialog) {
            Radio(dialog, "Не выполнена и повторяется");
            EXPECT_TRUE(Named<QRadioButton>(dialog, "Не выполнена")->isChecked()) << c.message;
            EXPECT_FALSE(Named<QPushButton>(dialog, "Повторение")->isEnabled()) << c.message;
            dialog.reject();
        }));
        EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(c.message)}) << c.message;
    }
}

}  // namespace
