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

    UiTests::ATestProgram test;
    Database::ADatabase db;
};

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
    const std::size_t texts = current.Strings().LiveCount();
    std::uint32_t deleted = 0;
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
        dialog.SelectRow(static_cast<int>(rows) - 1);
        deleted = dialog.Rows().back().recordId;
        dialog.DeletePage();  // a page of the file
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
    // Every page keeps its place as its position; the deleted page's name went with it, the new
    // page brought one. Undo brings the pages back as they were.
    const std::vector<APageEntry> pages = UserPages(current);
    for (std::size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(current.Pages().Find(pages[i].recordId)->Record().position, static_cast<std::int16_t>(i));
    EXPECT_FALSE(current.Pages().Find(deleted)->Exists());
    EXPECT_EQ(current.Strings().LiveCount(), texts);
    window.RunCommand(Command::kUndo);
    QTest::qWait(0);
    const auto recordIds = [](const std::vector<APageEntry>& entries) {
        std::vector<std::uint32_t> ids;
        for (const APageEntry& entry : entries)
            ids.push_back(entry.recordId);
        return ids;
    };
    EXPECT_EQ(recordIds(VisiblePages(current)), recordIds(before));
    EXPECT_EQ(VisiblePages(current)[0].name, before[0].name);
}

}  // namespace
