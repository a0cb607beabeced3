#include "UiTestSupport.h"

#include "database/DatabaseRules.h"
#include "ui/MainForm.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/categories/CategoriesPage.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace UserInterface::Categories;
using namespace Database;
using Engine::ATableImpl;
using Win32API::VelvixControls::Reports::AReportPicker;

namespace {

class CategoryDialog : public ::testing::Test {
protected:
    CategoryDialog()
    {
        UiTests::TestApplication();
        db.CreateDefaults();
        const AClassifier& articles = db.Classifiers().Live().front()->Record();
        expense = articles.root2;
        db.BeginStep();
        food = Add(u"Продукты", expense);
        bread = Add(u"Хлеб", food);
        const auto cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
        for (AReference<ACategory> category : {food, bread, bread})
            db.Relations().Create(ARelation{
                category, ATableImpl<ATransaction>::RefTo(db.Transactions().Create(UiTests::Executed(cash, -10'0000, 45700)))});
        db.SeriesNodes().Create(ASeriesNodeFilter{ATableImpl<ASeries>::RefTo(db.Series().Create(ASeries{db.NewText(u"Еда")})), bread});
        CommitWithRules(db);
        shown = UiTests::ShowPage(test, db, APageInfo::kCategoriesBase + db.Classifiers().Live().front()->id);
    }
    AReference<ACategory> Add(std::u16string_view name, AReference<ACategory> parent)
    {
        return ATableImpl<ACategory>::RefTo(db.Categories().Create(ACategory{db.NewText(name), db.NewText(u""), parent}));
    }
    ACategoriesPage& Page() { return dynamic_cast<ACategoriesPage&>(*shown.page); }
    // Puts the page's focus on the row of `name` with the arrow keys.
    void Focus(std::u16string_view name)
    {
        auto* list = Page().Report();
        list->setFocus();
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(list, Qt::Key_Up);
        for (int i = 0; i < 20 && db.Text(db.Categories().Record(Page().Focused())->name) != name; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        ASSERT_EQ(db.Text(db.Categories().Record(Page().Focused())->name), name);
    }
    // The page's command with `hands` on the dialog it opens; the dialog's title.
    QString Run(int command, const std::function<void(QDialog&)>& hands)
    {
        return UiTests::RunCommandOnModal(test, Page(), command, hands);
    }
    UiTests::ATestProgram test;
    ADatabase db;
    AReference<ACategory> expense, food, bread;
    UiTests::AShownPage shown;
};

TEST_F(CategoryDialog, AddingChecksTheNameUnderTheChosenParent)
{
    const struct {
        const char* typed;
        std::u16string parent;
        std::optional<int> message;
        std::u16string stored;
    } cases[] = {
        {"   ", u"Все статьи расхода", 407, {}},
        {"Дом\\Сад", u"Все статьи расхода", 408, {}},
        {"  Продукты ", u"Все статьи расхода", 409, {}},
        {"  Продукты ", u"Все статьи прихода", std::nullopt, u"Продукты"},
        {"Молоко   и  сыр", u"Продукты", std::nullopt, u"Молоко и сыр"},
    };
    for (const auto& c : cases) {
        test.dialogs.messages.clear();
        Focus(u"Продукты");
        const std::size_t before = db.Categories().LiveCount();
        Run(Command::kAdd, [&](QDialog& dialog) {
            UiTests::TypeInto(dialog, "Название:", QString::fromUtf8(c.typed));
            UiTests::PickText(dialog, "Родитель:", c.parent);
            UiTests::ClickNamed(dialog, "OK");
            if (c.message) {
                EXPECT_EQ(QApplication::focusWidget(), UiTests::Named(dialog, "Название:")) << c.typed;
            }
        });
        if (c.message) {
            EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(*c.message)}) << c.typed;
            EXPECT_EQ(db.Categories().LiveCount(), before) << c.typed;
            continue;
        }
        EXPECT_TRUE(test.dialogs.messages.empty()) << c.typed;
        const auto* added = db.Categories().Live().back();
        EXPECT_EQ(db.Text(added->Record().name), c.stored);
        EXPECT_EQ(db.Text(db.Categories().Record(added->Record().parent)->name), c.parent);
        EXPECT_EQ(db.UndoLabel(), u"Статья - добавить");
        EXPECT_EQ(Page().Focused(), ATableImpl<ACategory>::RefTo(added));
    }
}

TEST_F(CategoryDialog, ChangingToItsOwnNameIsAcceptedAndNoChangeMakesNoStep)
{
    Focus(u"Хлеб");
    const auto before = db.UndoLabel();
    Run(Command::kChange, [&](QDialog& dialog) { UiTests::ClickNamed(dialog, "OK"); });
    EXPECT_EQ(db.UndoLabel(), before);
    Run(Command::kChange, [&](QDialog& dialog) {
        EXPECT_EQ(UiTests::Named<QLineEdit>(dialog, "Название:")->text(), "Хлеб");
        UiTests::TypeInto(dialog, "Примечание:", "свежий");
        UiTests::ClickNamed(dialog, "OK");
    });
    EXPECT_TRUE(test.dialogs.messages.empty());
    EXPECT_EQ(db.Text(db.Categories().Record(bread)->comment), u"свежий");
    EXPECT_EQ(db.UndoLabel(), u"Статья - изменить");
}

TEST_F(CategoryDialog, MovingOffersNeitherTheCategoryNorWhatIsBelowItNorAnotherTree)
{
    Focus(u"Продукты");
    std::vector<std::u16string> offered;
    Run(PageCommand::kMove, [&](QDialog& dialog) {
        auto* picker = UiTests::Named<AReportPicker>(dialog, "Родитель:");
        picker->Model().RebuildIfStale();
        for (int row = 0; row < picker->Model().RowCount(); ++row)
            offered.push_back(picker->Model().Row(row)->Text(0));
    });
    EXPECT_EQ(offered, std::vector<std::u16string>{u"Все статьи расхода"});

    db.BeginStep();
    Add(u"Хлеб", expense);
    CommitWithRules(db);
    Focus(u"Хлеб");
    Run(PageCommand::kMove, [&](QDialog& dialog) {
        UiTests::PickText(dialog, "Родитель:", u"Все статьи расхода");
        UiTests::ClickNamed(dialog, "OK");
    });
    EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(409)});
    EXPECT_EQ(db.Categories().Record(bread)->parent, food);
}

TEST_F(CategoryDialog, DeletingAsksWithTheCountAndTakesWhatIsBelowAndWhatNamesItUntilUndone)
{
    Focus(u"Продукты");
    EXPECT_TRUE(Page().IsCommandEnabled(Command::kDelete));
    test.dialogs.answers = {Win32API::VelvixForms::kIdNo};
    Page().RunCommand(Command::kDelete);
    EXPECT_EQ(test.dialogs.messages,
              std::vector<std::u16string>{test.Message(410, {u"Продукты", 3, u"Продукты", u"Статья", u"Продукты"})});
    EXPECT_EQ(db.Relations().LiveCount(), 3u);
    test.dialogs.answers = {Win32API::VelvixForms::kIdYes};
    Page().RunCommand(Command::kDelete);
    EXPECT_EQ(db.Relations().LiveCount() + db.SeriesNodes().LiveCount(), 0u);
    EXPECT_FALSE(db.Categories().Record(food) || db.Categories().Record(bread));
    EXPECT_EQ(db.UndoLabel(), u"Статья - удалить");
    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(db.Categories().Record(bread) && db.SeriesNodes().LiveCount() == 1 && db.Relations().LiveCount() == 3);
    Page().Refill();
    Focus(u"Все статьи расхода");
    EXPECT_FALSE(Page().IsCommandEnabled(Command::kDelete));
    EXPECT_FALSE(Page().IsCommandEnabled(PageCommand::kMove));
}

TEST(CategoriesInTheMainWindow, TheMoveItemNamesTheClassifierAndTheFileSettingsOpenFromTheFileMenu)
{
    UiTests::ATestProgram test;
    AMainWindow window{test.context};
    window.NewDatabase();
    window.ShowPage(window.PageCount() - 1);  // "Статьи"
    window.UpdateMenus();
    ASSERT_NE(window.FindAction(PageCommand::kMove), nullptr);
    EXPECT_EQ(window.FindAction(PageCommand::kMove)->text(), "Статья - переместить");
    EXPECT_TRUE(window.FindAction(Command::kFileSettings)->isEnabled());
    UiTests::OnModal(test, [](QDialog& dialog) {
        UiTests::ClickNamed(dialog, "Время в операциях");
        UiTests::ClickNamed(dialog, "OK");
    });
    window.RunCommand(Command::kFileSettings);
    EXPECT_TRUE(window.CurrentDatabase().Settings().Live().front()->Record().times);
    EXPECT_EQ(window.CurrentDatabase().UndoLabel(), u"Настройки файла данных");
}

}  // namespace
