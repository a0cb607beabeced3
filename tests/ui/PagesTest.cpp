#include "UiTestSupport.h"

#include "database/Balances.h"
#include "ui/PageFactory.h"
#include "ui/PageTexts.h"
#include "ui/ProgressWindow.h"
#include "ui/RecordListPage.h"
#include "win32api/DynaForm.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace Database;
using Win32API::VelvixControls::Reports::AReportItemImpl;

namespace {

class Pages : public ::testing::Test {
protected:
    Pages() { db.CreateDefaults(); }

    // A page of `type` built into a form of its own and filled.
    ARecordListPage& Show(std::uint32_t type)
    {
        auto& form = *forms.emplace_back(
            std::make_unique<Win32API::VelvixForms::ADialogForm>("{b{S#-1{b#-2}}}", test.context.strings.get()));
        form.Create();
        if (root.isVisible())
            form.show();
        pages.push_back(CreatePage(test.context, db, type));
        pages.back()->CreateInto(form, -2);
        pages.back()->Shown();
        return dynamic_cast<ARecordListPage&>(*pages.back());
    }
    std::vector<std::u16string> Column(ARecordListPage& list, int column)
    {
        std::vector<std::u16string> texts;
        for (int r = 0; r < list.Report()->Model().RowCount(); ++r)
            texts.push_back(list.Report()->Model().Row(r)->Text(column));
        return texts;
    }
    AReference<AAccount> FirstAccount() { return Engine::ATableImpl<AAccount>::RefTo(db.Accounts().Live().front()); }

    UiTests::ATestProgram test;
    Database::ADatabase db;
    QWidget root;  // shown when a test wants its pages visible
    std::vector<std::unique_ptr<Win32API::VelvixForms::ADialogForm>> forms;
    std::vector<std::unique_ptr<AAbstractPage>> pages;
};

TEST_F(Pages, AccountsShowTheirBalancesAndClosedOnesCanBeHidden)
{
    db.BeginStep();
    db.Accounts().Change(db.Accounts().Get(UiTests::AddAccount(db, u"Старый вклад")))->locked = 1;
    db.Transactions().Create(UiTests::Executed(FirstAccount(), 1'234'5000, Dates::FromYmd(2025, 3, 1)));
    db.Transactions().Create(UiTests::Executed(FirstAccount(), -234'5000, Dates::FromYmd(2025, 3, 2)));
    RecalculateTouchedAccounts(db);
    db.CommitStep();
    ARecordListPage& accounts = Show(APageInfo::kAccounts);
    const std::vector<std::u16string> names = Column(accounts, 0);
    ASSERT_FALSE(names.empty());
    EXPECT_TRUE(std::find(names.begin(), names.end(), u"Старый вклад") != names.end());
    const std::u16string cash = db.Text(db.Accounts().Live().front()->Record().name);
    const auto row = std::find(names.begin(), names.end(), cash) - names.begin();
    ASSERT_LT(row, static_cast<long>(names.size()));
    EXPECT_EQ(Column(accounts, 3)[static_cast<std::size_t>(row)], AmountText(test.context, 1000'0000, 2));
    EXPECT_EQ(Column(accounts, 1)[static_cast<std::size_t>(row)], CurrencyCode(db, db.Accounts().Live().front()->Record().currency));

    test.context.Options().SetFlag(UserInterface::Settings::kHideClosedAccounts, true);
    accounts.Refill();
    const std::vector<std::u16string> shown = Column(accounts, 0);
    EXPECT_TRUE(std::find(shown.begin(), shown.end(), u"Старый вклад") == shown.end());
}

TEST_F(Pages, AChangeRefillsAShownPageAndKeepsItsFocus)
{
    root.show();
    ARecordListPage& currencies = Show(APageInfo::kCurrencies);
    const int before = currencies.Report()->Model().RowCount();
    currencies.Report()->Model().FocusRow(0);
    const std::uint32_t focused = currencies.Report()->Model().FocusedItem()->RecordId();
    db.BeginStep();
    db.Currencies().Create(ACurrency{db.NewText(u"Юань"), db.NewText(u"CNY"), 2});
    db.CommitStep();
    EXPECT_TRUE(QTest::qWaitFor([&] { return currencies.Report()->Model().RowCount() == before + 1; }, 2000));
    EXPECT_EQ(currencies.Report()->Model().FocusedItem()->RecordId(), focused);
    EXPECT_EQ(Column(currencies, 1).back(), u"CNY");
}

TEST_F(Pages, CategoriesShowTheirTreesAndALoopInADamagedFileEnds)
{
    const AClassifier& classifier = db.Classifiers().Live().front()->Record();
    const auto root1 = classifier.root1;
    db.BeginStep();
    const auto child = Engine::ATableImpl<ACategory>::RefTo(db.Categories().Create(ACategory{db.NewText(u"Подарки"), {}, root1}));
    db.Categories().Change(db.Categories().Get(root1))->parent = child;  // the root now hangs below its child
    db.CommitStep();
    ARecordListPage& categories = Show(APageInfo::kCategoriesBase + db.Classifiers().Live().front()->id);
    EXPECT_TRUE(categories.Mode().IsTree());
    const std::vector<std::u16string> names = Column(categories, 0);
    EXPECT_TRUE(std::find(names.begin(), names.end(), u"Подарки") != names.end());
    // A page of a classifier that is gone is empty.
    ARecordListPage& gone = Show(APageInfo::kCategoriesBase + 99999);
    EXPECT_EQ(gone.Report()->Model().RowCount(), 0);
}

TEST_F(Pages, ClassifiersAreListed)
{
    ARecordListPage& classifiers = Show(APageInfo::kClassifiers);
    EXPECT_EQ(classifiers.Report()->Model().RowCount(), static_cast<int>(db.Classifiers().LiveCount()));
}

TEST(ProgressWindow, ShowsTheEnginesProgressOnceItTakesLong)
{
    UiTests::TestApplication();
    Database::Engine::AProgress progress;
    {
        AProgressWindow window(nullptr, QStringLiteral("Читается файл\r\nподождите"), progress, 0);
        EXPECT_EQ(window.Text(), QStringLiteral("Читается файл\nподождите"));
        progress.SetTotal(200);
        progress.Add(100);
        EXPECT_EQ(window.Percent(), 50);
        EXPECT_TRUE(window.isVisible());
    }
    // Gone, the window hears nothing more (a call into it would be a use after free).
    progress.SetTotal(10);
    progress.Add(5);
    EXPECT_EQ(progress.Percent(), 50);
}

}  // namespace
