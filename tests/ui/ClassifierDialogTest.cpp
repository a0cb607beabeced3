#include "UiTestSupport.h"

#include "database/DatabaseRules.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/RecordListPage.h"
#include "ui/categories/DataFileSettingsDialog.h"
#include "ui/transactions/TransactionDialog.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace Database;
using Engine::ATableImpl;

namespace {

class ClassifierDialog : public ::testing::Test {
protected:
    ClassifierDialog()
    {
        UiTests::TestApplication();
        db.CreateDefaults();
    }
    ARecordListPage& ShowClassifiers()
    {
        shown = UiTests::ShowPage(test, db, APageInfo::kClassifiers);
        return dynamic_cast<ARecordListPage&>(*shown.page);
    }
    void OnModal(std::function<void(QDialog&)> hands) { UiTests::OnModal(test, std::move(hands)); }
    // Added with separate trees (as the dialog starts) or one tree, used in transfers.
    void AddClassifier(const QString& singular, const QString& plural, bool oneTree = false)
    {
        OnModal([=](QDialog& dialog) {
            UiTests::TypeInto(dialog, "Название в единственном числе:", singular);
            UiTests::TypeInto(dialog, "Название во множественном числе:", plural);
            if (oneTree)
                UiTests::ClickNamed(dialog, "Отдельные деревья категорий для прихода и расхода");
            UiTests::ClickNamed(dialog, "Использовать в операциях перевода");
            UiTests::ClickNamed(dialog, "OK");
        });
        shown.page->RunCommand(Command::kAdd);
    }

    UiTests::ATestProgram test;
    ADatabase db;
    UiTests::AShownPage shown;
};

TEST_F(ClassifierDialog, AddingChecksBothNamesAndGivesTheNewOneItsRoots)
{
    ShowClassifiers();
    const struct {
        const char *singular, *plural;
        int message;
    } refused[] = {{" ", "Агенты", 396}, {"Агент", "", 396}, {"Статья", "Агенты", 393}, {"Агент", "Статьи", 394},
                   {"Аг\\ент", "Агенты", 408}};
    for (const auto& c : refused) {
        test.dialogs.messages.clear();
        AddClassifier(QString::fromUtf8(c.singular), QString::fromUtf8(c.plural));
        EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(c.message)}) << c.singular;
    }
    EXPECT_EQ(db.Classifiers().LiveCount(), 1u);
    AddClassifier("Агент", " Агенты ");
    ASSERT_EQ(db.Classifiers().LiveCount(), 2u);
    const AClassifier& agents = db.Classifiers().Live().back()->Record();
    EXPECT_EQ(db.Text(agents.plural), u"Агенты");
    EXPECT_TRUE(agents.separateTrees && agents.useInTransfers);
    std::vector<std::u16string> roots;
    for (auto root : {agents.root1, agents.root2, agents.root3})
        roots.push_back(db.Text(db.Categories().Record(root)->name));
    EXPECT_EQ(roots, (std::vector<std::u16string>{u"Агенты: Приход", u"Агенты: Расход", u"Агенты: Перевод"}));
    EXPECT_EQ(db.UndoLabel(), u"Добавить классификатор");
    AddClassifier("Место", "Места", true);
    const AClassifier& places = db.Classifiers().Live().back()->Record();
    EXPECT_EQ(db.Text(db.Categories().Record(places.root1)->name), u"Места");
    EXPECT_TRUE(places.root2.IsNull() && places.root3.IsNull() && places.useInTransfers && !places.separateTrees);
    // "Статьи", focused from the start, taken into transfers gets its transfer tree.
    OnModal([](QDialog& dialog) {
        UiTests::TypeInto(dialog, "Название во множественном числе:", "Статьи бюджета");
        UiTests::ClickNamed(dialog, "Использовать в операциях перевода");
        UiTests::ClickNamed(dialog, "OK");
    });
    shown.page->RunCommand(Command::kChange);
    const AClassifier& articles = db.Classifiers().Live().front()->Record();
    ASSERT_TRUE(articles.useInTransfers && db.Categories().Record(articles.root3));
    EXPECT_EQ(db.Text(db.Categories().Record(articles.root3)->name), u"Статьи бюджета: Перевод");
    EXPECT_EQ(db.Text(db.Pages().Live().back()->Record().name), u"Статьи бюджета");  // its categories page
    EXPECT_EQ(db.UndoLabel(), u"Изменить классификатор");
}

TEST_F(ClassifierDialog, DeletingAClassifierTakesWhatHangsOnItAndOneUndoBringsItBack)
{
    ARecordListPage& shown = ShowClassifiers();
    AddClassifier("Агент", "Агенты");
    const auto agents = ATableImpl<AClassifier>::RefTo(db.Classifiers().Live().back());
    db.BeginStep();
    const auto bank = ATableImpl<ACategory>::RefTo(
        db.Categories().Create(ACategory{db.NewText(u"Банк"), {}, db.Classifiers().Record(agents)->root2}));
    const ATransaction t = UiTests::Executed(ATableImpl<AAccount>::RefTo(db.Accounts().Live().front()), -1'0000, 0);
    db.Relations().Create(ARelation{bank, ATableImpl<ATransaction>::RefTo(db.Transactions().Create(t))});
    const auto series = ATableImpl<ASeries>::RefTo(db.Series().Create(ASeries{db.NewText(u"Банк")}));
    db.SeriesNodes().Create(ASeriesNodeFilter{series, bank});
    APageInfo categoriesPage;
    categoriesPage.type = APageInfo::kCategoriesBase + db.Classifiers().Get(agents)->id;
    categoriesPage.name = db.NewText(u"Агенты");
    categoriesPage.position = 20;
    db.Pages().Create(categoriesPage);
    CommitWithRules(db);
    const auto counts = [&] {
        return std::vector<std::size_t>{db.Classifiers().LiveCount(), db.Categories().LiveCount(), db.Relations().LiveCount(),
                                        db.SeriesNodes().LiveCount(), db.Pages().LiveCount()};
    };
    const auto before = counts();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.Report()->Model().RowCount() == 2; }, 2000));
    shown.Report()->setFocus();
    QTest::keyClick(shown.Report(), Qt::Key_Down);
    test.dialogs.answers = {Win32API::VelvixForms::kIdYes};
    shown.RunCommand(Command::kDelete);
    EXPECT_EQ(test.dialogs.messages,
              std::vector<std::u16string>{test.Message(410, {u"Агенты", 1, u"Агенты", u"Агент", u"Агенты"})});
    EXPECT_EQ(counts(), (std::vector<std::size_t>{before[0] - 1, before[1] - 4, before[2] - 1, before[3] - 1, before[4] - 1}));
    EXPECT_EQ(db.UndoLabel(), u"Удалить классификатор");
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(counts(), before);
}

TEST_F(ClassifierDialog, TheFileSwitchesReshapeTheTransactionDialog)
{
    const auto shownFields = [&] {
        std::vector<bool> shown;
        OnModal([&](QDialog& dialog) {
            for (const char* name : {"Время операции:", "Бюджетная дата:", "Количество:", "Чек:"}) {
                bool found = false;
                for (QWidget* w : dialog.findChildren<QWidget*>())
                    found = found || (w->isVisible() && QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name) == name);
                shown.push_back(found);
            }
        });
        Transactions::RunTransactionDialog(nullptr, test.context, db, Transactions::ATransactionDialogMode::Add, {}, nullptr);
        return shown;
    };
    EXPECT_EQ(shownFields(), std::vector<bool>(4, false));
    OnModal([](QDialog& dialog) {
        for (const char* name : {"Время в операциях", "Бюджетная дата в операциях", "Количество в операциях",
                                 "Использовать примечание 2:"})
            UiTests::ClickNamed(dialog, name);
        UiTests::TypeInto(dialog, "Примечание 2", "Чек");
        UiTests::ClickNamed(dialog, "OK");
    });
    EXPECT_TRUE(Categories::RunDataFileSettingsDialog(nullptr, test.context, db));
    EXPECT_EQ(db.UndoLabel(), u"Настройки файла данных");
    EXPECT_EQ(shownFields(), std::vector<bool>(4, true));
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(shownFields(), std::vector<bool>(4, false));
    // OK without a change is no step.
    OnModal([](QDialog& dialog) { UiTests::ClickNamed(dialog, "OK"); });
    EXPECT_FALSE(Categories::RunDataFileSettingsDialog(nullptr, test.context, db));
}

}  // namespace
