#include "UiTestSupport.h"

#include "ui/MainForm.h"
#include "ui/MenuText.h"
#include "ui/PageList.h"
#include "ui/PageOrdr.h"
#include "win32api/DynaForm.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace UserInterface::PageOrder;

namespace {

class PageOrder : public ::testing::Test {
protected:
    PageOrder() { db.CreateDefaults(); }

    std::vector<std::u16string> Names(bool visibleOnly)
    {
        std::vector<std::u16string> names;
        for (const APageEntry& page : visibleOnly ? VisiblePages(db) : UserPages(db))
            names.push_back(page.name);
        return names;
    }

    UiTests::ATestProgram test;
    Database::ADatabase db;
};

TEST_F(PageOrder, RowsAreWrittenAsOneUndoableStep)
{
    std::vector<APageRow> rows;
    for (const APageEntry& page : UserPages(db))
        rows.push_back({page.recordId, page.type, page.name, page.visible});
    const std::size_t textsBefore = db.Strings().LiveCount();
    const std::vector<std::u16string> before = Names(false);
    std::swap(rows[0], rows[1]);
    rows[2].name = u"Мои отчёты";
    rows[3].visible = false;
    const std::uint32_t deleted = rows.back().recordId;
    rows.pop_back();
    rows.push_back({0, Database::APageInfo::kBudget, u"Новый бюджет", true});
    WritePageRows(db, rows, u"Порядок страниц");

    EXPECT_EQ(db.UndoLabel(), std::u16string(u"Порядок страниц"));
    std::vector<std::u16string> expected;
    for (const APageRow& row : rows)
        expected.push_back(row.name);
    EXPECT_EQ(Names(false), expected);
    const std::vector<APageEntry> pages = UserPages(db);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(db.Pages().Find(pages[i].recordId)->Record().position, static_cast<std::int16_t>(i));
        EXPECT_EQ(pages[i].visible, rows[i].visible);
    }
    EXPECT_FALSE(db.Pages().Find(deleted)->Exists());
    // The deleted page's name went with it; the new page brought one.
    EXPECT_EQ(db.Strings().LiveCount(), textsBefore);
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(Names(false), before);
}

TEST_F(PageOrder, NothingChangedMakesNoStep)
{
    std::vector<APageRow> rows;
    for (const APageEntry& page : UserPages(db))
        rows.push_back({page.recordId, page.type, page.name, page.visible});
    WritePageRows(db, rows, u"Порядок страниц");
    EXPECT_FALSE(db.CanUndo());
    EXPECT_FALSE(db.Modified());
}

TEST_F(PageOrder, AtLeastOnePageStaysVisible)
{
    EXPECT_EQ(CheckPageRows({}), 338);
    EXPECT_EQ(CheckPageRows({{1, 200, u"a", false}, {3, 201, u"b", false}}), 338);
    EXPECT_EQ(CheckPageRows({{1, 200, u"a", false}, {3, 201, u"b", true}}), std::nullopt);
}

TEST_F(PageOrder, TheTypesAreTheFixedOnesThenOnePerClassifier)
{
    const std::vector<APageType> types = PageTypes(db, test.context.Strings());
    ASSERT_EQ(types.size(), 6u + db.Classifiers().LiveCount());
    const auto* classifier = db.Classifiers().Live().front();
    EXPECT_EQ(types[6].type, Database::APageInfo::kCategoriesBase + classifier->id);
    EXPECT_EQ(types[6].caption, db.Text(classifier->Record().plural));
}

TEST_F(PageOrder, TheEditDialogWantsANameAndWhenAddingAType)
{
    APageEditDialog adding(test.context, u"", PageTypes(db, test.context.Strings()), true, nullptr);
    adding.Press(APageEditDialog::kOk);
    adding.SetName(u"   ");
    adding.Press(APageEditDialog::kOk);
    adding.SetName(u" Поездки ");
    adding.Press(APageEditDialog::kOk);
    EXPECT_EQ(test.dialogs.messages, (std::vector{test.Message(339), test.Message(339), test.Message(340)}));
    adding.ChooseType(4);
    adding.Press(APageEditDialog::kOk);
    EXPECT_EQ(adding.result(), QDialog::Accepted);
    EXPECT_EQ(adding.Name(), u"Поездки");
    EXPECT_EQ(adding.Type(), Database::APageInfo::kCurrencies);

    APageEditDialog renaming(test.context, u"Счета", {{Database::APageInfo::kAccounts, u"Счета"}}, false, nullptr);
    EXPECT_FALSE(renaming.TypeCombo()->isEnabled());
    renaming.Press(APageEditDialog::kOk);
    EXPECT_EQ(renaming.result(), QDialog::Accepted);
}

TEST_F(PageOrder, TheDialogEditsTheListAndTheWindowFollows)
{
    AMainWindow window(test.context);
    window.NewDatabase();
    auto& current = window.CurrentDatabase();
    const std::vector<APageEntry> before = VisiblePages(current);
    test.dialogs.onModal = [&](QDialog& shown) {
        if (auto* edit = dynamic_cast<APageEditDialog*>(&shown)) {
            edit->SetName(edit->Name().empty() ? u"Поездки" : u"Все счета");
            edit->ChooseType(1);
            edit->Press(APageEditDialog::kOk);
            return edit->result();
        }
        auto& dialog = dynamic_cast<APageOrderDialog&>(shown);
        const std::size_t rows = dialog.Rows().size();
        dialog.SelectRow(0);
        dialog.RenamePage();  // the first page becomes "Все счета"
        dialog.MoveSelected(+1);
        EXPECT_EQ(dialog.SelectedRow(), 1);
        dialog.AddPage();
        EXPECT_EQ(dialog.Rows().size(), rows + 1);
        EXPECT_EQ(dialog.SelectedRow(), static_cast<int>(rows));
        dialog.DeletePage();
        dialog.AddPage();
        // Hiding every page is refused.
        for (std::size_t i = 0; i < dialog.Rows().size(); ++i)
            dialog.SetVisible(static_cast<int>(i), false);
        dialog.Press(APageOrderDialog::kOk);
        EXPECT_EQ(test.dialogs.messages.back(), test.Message(338));
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        for (std::size_t i = 0; i < dialog.Rows().size(); ++i)
            dialog.SetVisible(static_cast<int>(i), i < 2 || dialog.Rows()[i].recordId == 0);
        dialog.Press(APageOrderDialog::kOk);
        return dialog.result();
    };
    window.RunCommand(Command::kPageOrder);
    QTest::qWait(0);
    const std::vector<APageEntry> after = VisiblePages(current);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].recordId, before[1].recordId);
    EXPECT_EQ(after[1].name, u"Все счета");
    EXPECT_EQ(after[2].name, u"Поездки");
    EXPECT_EQ(after[2].type, Database::APageInfo::kTransactions);
    EXPECT_EQ(window.PageCount(), 3);
    EXPECT_EQ(window.PageRecordAt(1), before[0].recordId);
    EXPECT_EQ(current.UndoLabel(), std::u16string(u"Порядок страниц"));
}

}  // namespace
