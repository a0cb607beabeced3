#include "UiTestSupport.h"

#include "ui/filters/AccountClassifierFilters.h"
#include "win32api/ReportWindow.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace UserInterface::Filters;
using namespace Database;
using Engine::ATableImpl;

namespace {

class FilterChoosers : public ::testing::Test {
protected:
    FilterChoosers()
    {
        UiTests::TestApplication();
        db.CreateDefaults();
        plan = ATableImpl<AAccountFolder>::RefTo(db.Folders().Live().front());
        cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
        db.BeginStep();
        card = UiTests::AddAccount(db, u"Карта", plan);
        const AClassifier& articles = db.Classifiers().Live().front()->Record();
        food = ATableImpl<ACategory>::RefTo(db.Categories().Create(ACategory{db.NewText(u"Еда"), {}, articles.root2}));
        db.CommitStep();
        filters = std::make_unique<AAccountClassifierFilters>(test.context, db);
        filters->show();
    }
    static std::u16string Name(QWidget* widget)
    {
        return UiTests::ToU16(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name));
    }
    static void Press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        widget->setFocus();
        QTest::keyClick(widget, key, modifiers);
    }

    UiTests::ATestProgram test;
    ADatabase db;
    AReference<AAccountFolder> plan;
    AReference<AAccount> cash, card;
    AReference<ACategory> food;
    std::unique_ptr<AAccountClassifierFilters> filters;
};

TEST_F(FilterChoosers, EveryPickerIsNamedByItsCaption)
{
    ASSERT_EQ(filters->Categories().size(), 1u);
    EXPECT_EQ(Name(&filters->Account(AAccountClassifierFilters::kReceiving).Picker()), u"На счёт:");
    EXPECT_EQ(Name(&filters->Account(AAccountClassifierFilters::kGiving).Picker()), u"Со счёта:");
    EXPECT_EQ(Name(&filters->Categories()[0]->Picker()), u"Статья:");
}

TEST_F(FilterChoosers, ArrowsWalkTheTreeAndAFolderIsNoAccount)
{
    AAccountChooser& chooser = filters->Account(AAccountClassifierFilters::kGiving);
    EXPECT_TRUE(chooser.NoneChosen());
    // The plan, then its accounts in the order of placement.
    const struct {
        int downs;
        AReference<AAccount> account;
        bool folder;
        std::u16string text;
    } steps[] = {{1, {}, true, u"Все счета"}, {1, cash, false, u"Наличные"}, {1, card, false, u"Карта"}};
    for (const auto& step : steps) {
        for (int i = 0; i < step.downs; ++i)
            Press(&chooser.Picker(), Qt::Key_Down);
        EXPECT_EQ(chooser.Account(), step.account) << std::string(step.text.begin(), step.text.end());
        EXPECT_EQ(!chooser.Folder().IsNull(), step.folder);
        EXPECT_EQ(chooser.ChosenText(), step.text);
    }
    chooser.ChooseFolder(plan);
    EXPECT_EQ(chooser.Accounts(), (std::vector<AReference<AAccount>>{cash, card}));
}

TEST_F(FilterChoosers, TheListPicksWithEnterAndTheMarkGoesOnceSomethingIsPicked)
{
    ACategoryChooser& chooser = *filters->Categories()[0];
    EXPECT_EQ(chooser.ChosenText(), u"Не указано");
    chooser.ShowDifferentValues(true);
    EXPECT_TRUE(chooser.ShowsDifferentValues());
    EXPECT_EQ(chooser.ChosenText(), u"« Разные значения »");
    int changes = 0;
    QObject::connect(&chooser, &AChooser::Changed, [&] { ++changes; });
    // Mark, none, income root, expense root, "Еда".
    Press(&chooser.Picker(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(chooser.Picker().IsOpen());
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(chooser.Picker().List(), Qt::Key_Down);
    QTest::keyClick(chooser.Picker().List(), Qt::Key_Return);
    EXPECT_FALSE(chooser.Picker().IsOpen());
    EXPECT_EQ(chooser.Category(), food);
    EXPECT_FALSE(chooser.ShowsDifferentValues());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(filters->ChosenCategories(), std::vector<AReference<ACategory>>{food});
    chooser.Choose({});
    EXPECT_TRUE(chooser.NoneChosen());
    EXPECT_TRUE(filters->ChosenCategories().empty());
}

TEST_F(FilterChoosers, AHiddenSideTakesNoRow)
{
    filters->ShowAccount(AAccountClassifierFilters::kGiving, false);
    EXPECT_FALSE(filters->Account(AAccountClassifierFilters::kGiving).Picker().isVisible());
    EXPECT_TRUE(filters->Account(AAccountClassifierFilters::kReceiving).Picker().isVisible());
}

}  // namespace
