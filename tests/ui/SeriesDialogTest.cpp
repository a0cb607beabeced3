#include "UiTestSupport.h"

#include "database/DatabaseRules.h"
#include "ui/MenuText.h"
#include "ui/reports/ReportPane.h"
#include "ui/reports/ReportsPage.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QCheckBox>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace UserInterface::Reports;
using namespace Database;
using Engine::ATableImpl;
using Win32API::VelvixControls::Reports::AReportPicker;
using Win32API::VelvixControls::Reports::AReportWindow;

namespace {

class SeriesDialog : public ::testing::Test {
protected:
    SeriesDialog()
    {
        UiTests::TestApplication();
        db.CreateDefaults();
        db.BeginStep();
        ASeries record{db.NewText(u"Питание")};
        record.hue = 20;
        food = ATableImpl<ASeries>::RefTo(db.Series().Create(record));
        CommitWithRules(db);
        shown = UiTests::ShowPage(test, db, APageInfo::kReports);
    }
    AReportsPage& Page() { return dynamic_cast<AReportsPage&>(*shown.page); }

    UiTests::ATestProgram test;
    ADatabase db;
    AReference<ASeries> food;
    UiTests::AShownPage shown;
};

TEST_F(SeriesDialog, ChecksInOrderWithTheFocusOnTheFieldConcernedThenStoresWhatWasTyped)
{
    enum AField { kName, kColour, kBars, kAccounts, kNone };
    const struct {
        const char* name;
        bool colour, noBars, noLine, account;
        std::optional<int> message;
        AField focus;
    } cases[] = {
        {"   ", true, true, true, false, 698, kName},
        {"Еда", false, true, true, false, 699, kColour},
        {"Еда", true, true, true, false, 687, kBars},
        {"Еда", true, true, false, false, 688, kAccounts},
        {"  Еда  и  дом ", true, true, false, true, std::nullopt, kNone},
    };
    for (const auto& c : cases) {
        test.dialogs.messages.clear();
        const std::size_t before = db.Series().LiveCount();
        QWidget* focused = nullptr;
        std::vector<QWidget*> fields;
        UiTests::RunCommandOnModal(test, Page(), Command::kAdd, [&](QDialog& dialog) {
            UiTests::TypeInto(dialog, "Название:", QString::fromUtf8(c.name));
            auto* colour = UiTests::Named<AReportPicker>(dialog, "Цвет:");
            if (c.colour) {
                colour->setFocus();
                QTest::keyClick(colour, Qt::Key_Down);
                QTest::keyClick(colour, Qt::Key_Down);
            }
            if (c.noBars)
                UiTests::ClickNamed(dialog, "Не показывать столбики для этой серии");
            if (c.noLine)
                UiTests::ClickNamed(dialog, "Не показывать линию для этой серии");
            UiTests::ClickNamed(dialog, "Расхода");
            auto* accounts = UiTests::Named<AReportWindow>(dialog, "По счетам:");
            if (c.account) {
                accounts->setFocus();
                accounts->Model().FocusRow(1);
                QTest::keyClick(accounts, Qt::Key_Space);
            }
            fields = {UiTests::Named(dialog, "Название:"), colour,
                      UiTests::Named(dialog, "Не показывать столбики для этой серии"), accounts};
            UiTests::ClickNamed(dialog, "OK");
            focused = QApplication::focusWidget();
        });
        if (c.message) {
            EXPECT_EQ(test.dialogs.messages, std::vector{test.Message(*c.message)}) << c.name;
            EXPECT_EQ(focused, fields[c.focus]) << *c.message;
            EXPECT_EQ(db.Series().LiveCount(), before);
            continue;
        }
        EXPECT_TRUE(test.dialogs.messages.empty());
        const ASeries& added = db.Series().Live().back()->Record();
        EXPECT_EQ(db.Text(added.name), u"Еда и дом");
        EXPECT_EQ(added.hue, 10);  // the second colour of the combo
        EXPECT_EQ(added.expense, 1);
        EXPECT_EQ(added.income, 0);
        EXPECT_EQ(added.noBars, 1);
        EXPECT_EQ(added.noLine, 0);
        EXPECT_EQ(db.SeriesAccounts().LiveCount(), 1u);
        EXPECT_EQ(db.UndoLabel(), u"Добавить серию");
        // The new series is ticked into the report.
        EXPECT_EQ(Page().Parameters().series.back(), ATableImpl<ASeries>::RefTo(db.Series().Live().back()));
    }
}

TEST_F(SeriesDialog, DeletingIsRefusedWhileABudgetArticleUsesTheSeriesAndAskedOtherwise)
{
    db.BeginStep();
    auto* article = db.BudgetItems().Create(ABudgetItem{{}, food, {}});
    CommitWithRules(db);
    Page().RunCommand(Command::kDelete);
    EXPECT_EQ(test.dialogs.messages, std::vector{test.Message(267, {u"Питание"})});
    EXPECT_EQ(db.Series().LiveCount(), 1u);

    db.BeginStep();
    Database::Delete(db, article);
    CommitWithRules(db);
    test.dialogs.messages.clear();
    test.dialogs.answers = {Win32API::VelvixForms::kIdYes};
    Page().RunCommand(Command::kDelete);
    EXPECT_EQ(test.dialogs.messages, std::vector{test.Message(265, {u"Питание"})});
    EXPECT_EQ(db.Series().LiveCount(), 0u);
    EXPECT_EQ(db.UndoLabel(), u"Удалить серию");
}

}  // namespace
