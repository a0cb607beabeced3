#include "UiTestSupport.h"

#include "core/RecentFiles.h"
#include "ui/MainForm.h"
#include "ui/MenuText.h"
#include "ui/RecordListPage.h"
#include "ui/transactions/TransactionPageFilters.h"
#include "ui/transactions/TransactionsPage.h"
#include "win32api/ReportPicker.h"
#include "win32api/DynaForm.h"
#include "win32api/FormMetrics.h"
#include "win32api/TabControl.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QTextBrowser>
#include <QMenuBar>
#include <QPrinter>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace UserInterface;
using namespace Win32API::VelvixForms;

namespace {

class MainWindow : public ::testing::Test {
protected:
    MainWindow() { window.NewDatabase(); }

    Database::ADatabase& Db() { return window.CurrentDatabase(); }
    std::u16string Utf16(const std::string& text) { return UtilityClasses::Strings::Utf8ToUtf16(text); }
    QString ItemText(int id)
    {
        window.UpdateMenus();
        QAction* action = window.FindAction(id);
        return action ? action->text() : QStringLiteral("<none>");
    }
    // One labelled change of the database.
    void ChangeSomething(std::u16string_view label)
    {
        Db().BeginStep();
        Db().LabelStep(label);
        auto* account = Db().Accounts().Live().front();
        Db().Accounts().Change(account)->initialBalance += 10000;
        Db().CommitStep();
        QTest::qWait(0);
    }
    // Lets the window react to the database's notifications.
    static void Settle() { QCoreApplication::processEvents(); }

    UiTests::ATestProgram test;
    AMainWindow window{test.context};
};

TEST_F(MainWindow, TheMenuBarHasItsFiveMenusAndEveryCommand)
{
    ASSERT_EQ(window.menuBar()->actions().size(), 5);
    for (int id : {207, 208, 209, 210, 211, 212, 213, 214, 215, 216, 217, 218, 220, 222, 224, 225, 226, 227, 645, 652,
                   229, 230, 231, 233, 235, 236, 237, 238, 239, 240})
        EXPECT_NE(window.FindAction(id), nullptr) << id;
}

TEST_F(MainWindow, UndoAndRedoItemsNameTheSteps)
{
    EXPECT_EQ(ItemText(220), QStringLiteral("&Отменить\tCtrl+Z"));
    EXPECT_FALSE(window.FindAction(220)->isEnabled());
    ChangeSomething(u"Изменить счёт");
    EXPECT_EQ(ItemText(220), QStringLiteral("&Отменить \"Изменить счёт\"\tCtrl+Z"));
    EXPECT_TRUE(window.FindAction(220)->isEnabled());
    EXPECT_EQ(ItemText(222), QStringLiteral("&Вернуть\tCtrl+Y"));
    window.RunCommand(220);
    EXPECT_EQ(ItemText(222), QStringLiteral("&Вернуть \"Изменить счёт\"\tCtrl+Y"));
    EXPECT_FALSE(window.FindAction(220)->isEnabled());
    window.RunCommand(222);
    EXPECT_FALSE(Db().CanRedo());
}

TEST_F(MainWindow, TheTitleShowsUnsavedChangesAndReadOnlyFilesAreSavedUnderANewName)
{
    EXPECT_EQ(window.TitleText(), QStringLiteral("Без имени - Fendral"));
    ChangeSomething(u"Изменить счёт");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("* Без имени - Fendral"));
    test.dialogs.saveFile = test.Path("saved.fend");
    ASSERT_TRUE(window.Save());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("saved.fend - Fendral"));

    // The open file opened again, and saved as under its own name, stays writable.
    ASSERT_EQ(window.OpenFile(test.Path("saved.fend")), Result::kOk);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("saved.fend - Fendral"));
    ChangeSomething(u"Изменить счёт");
    ASSERT_TRUE(window.SaveAs());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("saved.fend - Fendral"));
    EXPECT_TRUE(test.dialogs.messages.empty());

    // A file another holder has locked opens read-only.
    UiTests::WriteDataFile(test.Path("locked.fend"));
    Database::ADatabase holder;
    ASSERT_EQ(holder.Open(test.Path("locked.fend")), Result::kOk);
    ASSERT_EQ(window.OpenFile(test.Path("locked.fend")), Result::kOk);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("locked.fend [Только чтение] - Fendral"));
    ChangeSomething(u"Изменить счёт");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("* locked.fend [Только чтение] - Fendral"));
    // Saved, it asks for a new name, and the extension is added.
    test.dialogs.saveFile = test.Path("copy");
    ASSERT_TRUE(window.Save());
    EXPECT_EQ(test.dialogs.messages, std::vector{test.Message(504, {u"locked.fend"})});
    EXPECT_EQ(Db().FileName().FullPath(), test.Path("copy.fend"));
    EXPECT_FALSE(Db().ReadOnly());
}

TEST_F(MainWindow, SavingAfterEveryChangeShowsNoUnsavedMark)
{
    test.context.Options().SetFlag(UserInterface::Settings::kSaveAfterEveryChange, true);
    test.dialogs.saveFile = test.Path("auto.fend");
    ASSERT_TRUE(window.SaveAs());
    ChangeSomething(u"Изменить счёт");
    EXPECT_FALSE(Db().Modified());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("auto.fend - Fendral"));
    Database::ADatabase reread;
    ASSERT_EQ(reread.Open(test.Path("auto.fend")), Result::kOk);
    EXPECT_EQ(reread.Accounts().Live().front()->Record().initialBalance,
              Db().Accounts().Live().front()->Record().initialBalance);
}

// Close, the close box and the end of the session ask to save the changes: Cancel keeps the
// window and the changes, No goes on without saving, Yes saves first. The session then ends
// without asking again.
TEST_F(MainWindow, EveryWayOfClosingAsksToSaveTheChanges)
{
    test.dialogs.saveFile = test.Path("prompt.fend");
    ASSERT_TRUE(window.SaveAs());
    window.show();
    ChangeSomething(u"Изменить счёт");
    // Once the session may end, the close box asks no more: it comes before.
    const std::function<bool()> ways[] = {[&] { return window.QueryClose(); }, [&] { return window.close(); },
                                          [&] { return window.QueryEndSession(); }};
    for (int answer : {kIdCancel, kIdNo})
        for (std::size_t way = 0; way < std::size(ways); ++way) {
            test.dialogs.messages.clear();
            test.dialogs.answers = {answer};
            EXPECT_EQ(ways[way](), answer == kIdNo) << way;
            EXPECT_EQ(test.dialogs.messages, std::vector{test.Message(490, {u"prompt.fend"})}) << way;
            EXPECT_TRUE(Db().Modified()) << way;
            EXPECT_EQ(window.isVisible(), answer == kIdCancel || way == 0) << way;
        }
    test.dialogs.answers = {kIdYes};
    EXPECT_TRUE(window.QueryClose());
    EXPECT_FALSE(Db().Modified());
    Database::ADatabase reread;
    ASSERT_EQ(reread.Open(test.Path("prompt.fend")), Result::kOk);
    EXPECT_EQ(reread.Accounts().Live().front()->Record().initialBalance, 10000);
    window.show();
    test.dialogs.messages.clear();
    EXPECT_TRUE(window.QueryEndSession());  // nothing to save, nothing asked
    window.EndSession();
    EXPECT_FALSE(window.HasDatabase());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(MainWindow, ANeverSavedDatabaseIsNamedUntitledAndYesAsksForAName)
{
    ChangeSomething(u"Изменить счёт");
    test.dialogs.answers = {kIdYes};
    test.dialogs.saveFile = std::nullopt;  // the user cancels the file dialog
    EXPECT_FALSE(window.QueryClose());
    EXPECT_EQ(test.dialogs.messages.back(), test.Message(490, {u"Без имени"}));
    EXPECT_EQ(test.dialogs.fileDialogs.size(), 1u);
}

TEST_F(MainWindow, OpeningAnotherFileReplacesTheDatabaseOnlyOnSuccess)
{
    ChangeSomething(u"Изменить счёт");
    test.dialogs.answers = {kIdNo};
    EXPECT_EQ(window.OpenFile(test.Path("missing.fend")), Result::kFileNotFound);
    EXPECT_TRUE(Db().Modified());  // the current database stays as it was
    EXPECT_EQ(test.dialogs.messages.back(), test.Message(489, {Utf16(test.Path("missing.fend"))}));

    UiTests::WriteDataFile(test.Path("other.fend"));
    test.dialogs.answers = {kIdCancel};
    EXPECT_EQ(window.OpenFile(test.Path("other.fend")), Result::kFalse);
    EXPECT_TRUE(Db().FileName().Empty());
    // The open command offers every data file and all files.
    test.dialogs.answers = {kIdNo};
    test.dialogs.openFile = test.Path("other.fend");
    window.RunCommand(Command::kOpen);
    ASSERT_EQ(test.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(test.dialogs.fileDialogs[0].filters,
              QStringLiteral("Файлы Fendral (*.fend *.fdbf *.fdb *.fbk);;Все файлы (*)"));
    EXPECT_EQ(test.dialogs.fileDialogs[0].defaultSuffix, QStringLiteral("fend"));
    EXPECT_EQ(Db().FileName().FullPath(), test.Path("other.fend"));
    EXPECT_TRUE(window.HasFileOpen(test.Path("./other.fend")));
    // On this system another letter case is another file.
    EXPECT_FALSE(window.HasFileOpen(test.Path("OTHER.fend")));
    EXPECT_FALSE(window.HasFileOpen(test.Path("other.fend2")));
}

TEST_F(MainWindow, RecentFilesOpenAndAMissingOneLeavesTheList)
{
    for (const char* name : {"a.fend", "b.fend"}) {
        UiTests::WriteDataFile(test.Path(name));
        ASSERT_EQ(window.OpenFile(test.Path(name)), Result::kOk);
    }
    EXPECT_EQ(window.FindAction(791)->text(), QStringLiteral("&1. b.fend"));
    EXPECT_EQ(window.FindAction(792)->text(), QStringLiteral("&2. a.fend"));
    window.RunCommand(792);
    EXPECT_EQ(Db().FileName().FullPath(), test.Path("a.fend"));
    EXPECT_EQ(window.FindAction(791)->text(), QStringLiteral("&1. a.fend"));

    std::filesystem::remove(test.Path("b.fend"));
    EXPECT_EQ(window.OpenRecentFile(1), Result::kFileNotFound);
    EXPECT_EQ(UserInterface::Settings::RecentFiles(test.context.Options().Store()),
              std::vector<std::string>{test.Path("a.fend")});
    EXPECT_EQ(window.FindAction(792), nullptr);
}

// Twelve page records, the first of them hidden.
void MakeTwelvePages(Database::ADatabase& db)
{
    std::vector<Database::Engine::ASlot<Database::APageInfo>*> pages(db.Pages().Live().begin(), db.Pages().Live().end());
    for (auto* page : pages)
        Database::Delete(db, page);
    for (int i = 0; i < 12; ++i) {
        Database::APageInfo page;
        page.type = i % 2 ? Database::APageInfo::kCurrencies : Database::APageInfo::kAccounts;
        const std::string name = "Страница " + std::to_string(i + 1);
        page.name = db.NewText(UtilityClasses::Strings::Utf8ToUtf16(name));
        page.position = static_cast<std::int16_t>(i);
        page.visible = i == 0 ? 0 : 1;
        db.Pages().Create(page);
    }
}

TEST_F(MainWindow, ThePageMenuNumbersVisiblePagesAndGivesAltOnlyToTheFirstNinePositions)
{
    UiTests::WriteDataFile(test.Path("twelve.fend"), MakeTwelvePages);
    ASSERT_EQ(window.OpenFile(test.Path("twelve.fend")), Result::kOk);
    ASSERT_EQ(window.PageCount(), 11);
    QList<QAction*> items = window.TopMenu(3)->actions();
    ASSERT_EQ(items.size(), 13);  // eleven pages, a separator, the page order
    EXPECT_EQ(items[0]->text(), QStringLiteral("&1 Страница 2\tAlt+1"));
    EXPECT_EQ(items[7]->text(), QStringLiteral("&8 Страница 9\tAlt+8"));
    EXPECT_EQ(items[8]->text(), QStringLiteral("Страница 10"));
    EXPECT_EQ(items[10]->text(), QStringLiteral("Страница 12"));
    EXPECT_EQ(items[8]->data().toInt(), 796 + 8);
    EXPECT_TRUE(items[11]->isSeparator());
    EXPECT_EQ(items[12]->text(), QStringLiteral("Страницы..."));
    // The items show their pages; Alt+n does the same from the keyboard.
    window.RunCommand(796 + 9);
    EXPECT_EQ(window.CurrentPageIndex(), 9);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(window.CurrentPageIndex(), 2);
    auto* tabs = window.RootForm().ControlAs<Win32API::VelvixControls::ATabControl>(-14)->TabBar();
    EXPECT_EQ(tabs->count(), 11);
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Страница 2"));
}

TEST_F(MainWindow, PagesFollowTheirRecordsAndKeepTheSelectedOne)
{
    ASSERT_GE(window.PageCount(), 3);
    window.ShowPage(2);
    const std::uint32_t selected = window.PageRecordAt(2);
    AAbstractPage* kept = window.PageAt(2);
    // Hiding the first page moves the others up; the selected page object stays.
    Db().BeginStep();
    Db().Pages().Change(Db().Pages().Find(window.PageRecordAt(0)))->visible = 0;
    Db().CommitStep();
    Settle();
    EXPECT_EQ(window.CurrentPageIndex(), 1);
    EXPECT_EQ(window.PageRecordAt(1), selected);
    EXPECT_EQ(window.PageAt(1), kept);
    // Undo brings the page back in its place.
    window.RunCommand(Command::kUndo);
    Settle();
    EXPECT_EQ(window.PageRecordAt(2), selected);
    EXPECT_EQ(window.CurrentPageIndex(), 2);
    // A screen reader knows the page's list by the page's name, renamed or not.
    auto* list = dynamic_cast<ARecordListPage&>(*kept).Report();
    Db().BeginStep();
    Database::APageInfo* renamed = Db().Pages().Change(Db().Pages().Find(selected));  // as the page order dialog does
    Db().Strings().Change(Db().Strings().Get(renamed->name))->text = u"Мои деньги";
    Db().CommitStep();
    Settle();
    EXPECT_EQ(list->accessibleName(), "Мои деньги");
}

TEST_F(MainWindow, PageSettingsAreStoredAsAStepAndReadAgain)
{
    auto* page = dynamic_cast<ARecordListPage*>(window.CurrentPage());
    ASSERT_NE(page, nullptr);
    page->Mode().SetColumnWidth(0, 321);
    window.RunCommand(Command::kStorePageSettings);
    EXPECT_EQ(Db().UndoLabel(), std::u16string(u"Настройки страницы"));
    EXPECT_EQ(Db().Pages().Find(window.PageRecordAt(0))->Record().settings, page->WriteSettings());
    page->Mode().SetColumnWidth(0, 99);
    window.RunCommand(Command::kRereadPageSettings);
    EXPECT_EQ(page->Mode().Column(0).width, 321);
    // A new window over the same file starts with the stored widths.
    test.dialogs.saveFile = test.Path("widths.fend");
    ASSERT_TRUE(window.SaveAs());
    AMainWindow other(test.context);
    ASSERT_EQ(other.OpenFile(test.Path("widths.fend")), Result::kOk);
    EXPECT_EQ(dynamic_cast<ARecordListPage*>(other.PageAt(0))->Mode().Column(0).width, 321);
}

TEST_F(MainWindow, HidingClosedAccountsIsASettingThePagesFollow)
{
    Db().BeginStep();
    Db().Accounts().Change(Db().Accounts().Live().front())->locked = 1;
    Db().CommitStep();
    Settle();
    auto* accounts = dynamic_cast<ARecordListPage*>(window.PageAt(0));
    ASSERT_NE(accounts, nullptr);
    accounts->Refill();
    const int shown = accounts->Report()->Model().RowCount();
    window.RunCommand(Command::kHideClosedAccounts);
    Settle();
    EXPECT_TRUE(test.context.Options().Flag(UserInterface::Settings::kHideClosedAccounts));
    accounts->Refill();
    EXPECT_EQ(accounts->Report()->Model().RowCount(), shown - 1);
    EXPECT_TRUE(ItemText(652).startsWith(QStringLiteral("Спрятать &закрытые счета")));
    EXPECT_TRUE(window.FindAction(652)->isChecked());
    window.RunCommand(Command::kHideClosedAccounts);
    accounts->Refill();
    EXPECT_EQ(accounts->Report()->Model().RowCount(), shown);
}

// Every item of every menu, submenus included.
void CollectItems(const QList<QAction*>& actions, QList<QAction*>& items)
{
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        items.append(action);
        if (action->menu())
            CollectItems(action->menu()->actions(), items);
    }
}

bool HasCyrillic(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
}

TEST_F(MainWindow, SwitchingToTheShippedEnglishRelabelsEveryMenuItemAndBack)
{
    UiTests::ATestProgram english;
    std::filesystem::copy_file(std::string(FENDRAL_TEST_DATA) + "/../../lang/English.lng",
                               english.Path("bin/English.lng"));
    english.context.LoadSettings();
    AMainWindow localized(english.context);
    localized.NewDatabase();
    QAction* languages = nullptr;
    for (QAction* action : localized.TopMenu(2)->actions())
        if (action->menu() && action->text() == QStringLiteral("Language"))
            languages = action;
    ASSERT_NE(languages, nullptr);
    const QList<QAction*> choices = languages->menu()->actions();
    ASSERT_EQ(choices.size(), 3);
    EXPECT_EQ(choices[0]->text(), QStringLiteral("Russian (built in)"));
    EXPECT_TRUE(choices[0]->isChecked());
    EXPECT_EQ(choices[2]->text(), QStringLiteral("English"));

    localized.RunCommand(0xFFFF);
    localized.UpdateMenus();
    EXPECT_TRUE(choices[2]->isChecked());
    QList<QAction*> items;
    CollectItems(localized.menuBar()->actions(), items);
    ASSERT_GT(items.size(), 40);
    // The pages' entries carry the names the data file gives its pages: the user's words.
    QStringList pageNames;
    for (QTabBar* tabs : localized.findChildren<QTabBar*>())
        for (int i = 0; i < tabs->count(); ++i)
            pageNames.append(tabs->tabText(i).remove(QLatin1Char('&')));
    ASSERT_FALSE(pageNames.isEmpty());
    for (QAction* item : items) {
        const QString text = item->text().remove(QLatin1Char('&'));
        const bool namesAPage = std::any_of(pageNames.begin(), pageNames.end(),
                                            [&](const QString& name) { return text.contains(name); });
        EXPECT_TRUE(namesAPage || !HasCyrillic(text)) << text.toStdString();
    }
    EXPECT_EQ(localized.menuBar()->actions()[0]->text(), QStringLiteral("File"));
    // The pages are made again in the new language: the period picker of the transactions
    // page, filled when the page is made, shows its kinds in English.
    ASSERT_TRUE(localized.ShowPage(1));
    auto* transactions = dynamic_cast<Transactions::ATransactionsPage*>(localized.CurrentPage());
    ASSERT_NE(transactions, nullptr);
    auto* period = transactions->FilterPane()->KindPicker()->SelectedItem();
    ASSERT_NE(period, nullptr);
    EXPECT_FALSE(HasCyrillic(QString::fromStdU16String(period->SingleText())));
    EXPECT_EQ(localized.FindAction(208)->text(), QStringLiteral("&Open...\tCtrl+O"));
    EXPECT_EQ(localized.FindAction(220)->text(), QStringLiteral("&Undo\tCtrl+Z"));
    // The fixed texts of the language menu stay in English; the choice is kept.
    EXPECT_EQ(choices[0]->text(), QStringLiteral("Russian (built in)"));
    EXPECT_EQ(english.context.Options().language.value, "English");

    localized.RunCommand(0xFE00);
    EXPECT_EQ(localized.FindAction(208)->text(), QStringLiteral("&Открыть...\tCtrl+O"));
    EXPECT_EQ(localized.menuBar()->actions()[0]->text(), QStringLiteral("Файл"));
    EXPECT_EQ(english.context.Options().language.value, "");
}

TEST_F(MainWindow, WithoutLanguageFilesThereIsNoLanguageMenu)
{
    for (QAction* action : window.TopMenu(2)->actions())
        EXPECT_NE(action->text(), QStringLiteral("Language"));
}

TEST_F(MainWindow, TheCloseBoxMinimisesWhenTheSettingsSaySoAndAHiddenWindowComesBack)
{
    window.show();
    test.context.Options().SetFlag(UserInterface::Settings::kMinimizeOnClose, true);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isMinimized());
    window.hide();
    window.ComeToFront();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    // Exit still ends.
    window.RunCommand(Command::kExit);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindow, ThePlacementIsKeptAndRestored)
{
    window.setGeometry(40, 50, 800, 600);
    window.SavePlacement();
    AMainWindow again(test.context);
    again.ShowWithPlacement();
    EXPECT_EQ(again.geometry().size(), QSize(800, 600));
}

TEST_F(MainWindow, PrintingWritesEverySheetOfTheCurrentPage)
{
    UiTests::WriteDataFile(test.Path("print.fend"), [](Database::ADatabase& db) {
        auto* account = db.Accounts().Live().front();
        for (int i = 0; i < 300; ++i)  // the page starts on the current month
            db.Transactions().Create(UiTests::Executed(Database::Engine::ATableImpl<Database::AAccount>::RefTo(account),
                                                       -10000 * (i + 1), Dates::FromYmd(2025, 3, 1) + i % 28));
    });
    ASSERT_EQ(window.OpenFile(test.Path("print.fend")), Result::kOk);
    ASSERT_TRUE(window.ShowPage(1));  // the transactions page of a new database
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(test.Path("page.pdf")));
    ASSERT_TRUE(window.PrintCurrentPage(printer));
    std::ifstream pdf(test.Path("page.pdf"), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(pdf)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content.rfind("%PDF", 0), 0u);
    // 300 rows of 10-point text need several A4 sheets.
    std::size_t sheets = 0;
    for (std::size_t at = 0; (at = content.find("/Type /Page", at)) != std::string::npos; ++at)
        if (content.compare(at, 12, "/Type /Pages") != 0)
            ++sheets;
    EXPECT_GE(sheets, 4u);
}

TEST_F(MainWindow, OneDroppedFileOpensAndSeveralAreIgnored)
{
    UiTests::WriteDataFile(test.Path("dropped.fend"));
    std::filesystem::create_symlink(test.Path("dropped.fend"), test.Path("shortcut.fend"));
    window.show();
    const auto drop = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
        return enter.isAccepted();
    };
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(test.Path("shortcut.fend")));
    EXPECT_FALSE(drop({file, file}));
    EXPECT_TRUE(Db().FileName().Empty());
    EXPECT_TRUE(drop({file}));
    // The link stands for its target.
    EXPECT_EQ(Db().FileName().FullPath(), test.Path("dropped.fend"));
}

TEST_F(MainWindow, SavingInPlaceMakesTheDueBackupCopyFirst)
{
    auto& settings = test.context.Options();
    settings.backupMode.value = UserInterface::Settings::kBackupBesideFile;
    settings.backupPeriod.value = 0;
    test.dialogs.saveFile = test.Path("books.fend");
    ASSERT_TRUE(window.SaveAs());
    EXPECT_FALSE(std::filesystem::exists(test.Path("2025-03-15 - Backup of books.fend")));  // not for Save as
    ChangeSomething(u"Изменить счёт");
    ASSERT_TRUE(window.Save());
    EXPECT_TRUE(std::filesystem::exists(test.Path("2025-03-15 - Backup of books.fend")));
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(MainWindow, PageSetupAndFontAreKeptInTheSettings)
{
    test.dialogs.onModal = [](QDialog& dialog) {
        auto& setup = dynamic_cast<QPageSetupDialog&>(dialog);
        setup.printer()->setPageMargins(QMarginsF(25, 15, 10, 12.5), QPageLayout::Millimeter);
        setup.printer()->setPageOrientation(QPageLayout::Landscape);
        return int(QDialog::Accepted);
    };
    window.RunCommand(Command::kPageSetup);
    const auto setup = UserInterface::Settings::LoadPageSetup(test.context.Options().Store());
    EXPECT_EQ(setup.left, 2500);
    EXPECT_EQ(setup.top, 1500);
    EXPECT_EQ(setup.right, 1000);
    EXPECT_EQ(setup.bottom, 1250);
    ASSERT_TRUE(setup.mode);
    EXPECT_EQ(setup.mode->orientation, 2);
    EXPECT_EQ(setup.mode->paperSize, 9);

    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(19);
    test.dialogs.font = font;
    window.RunCommand(Command::kFont);
    const auto stored = UserInterface::Settings::LoadFont(test.context.Options().Store());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->faceName, "DejaVu Serif");
    EXPECT_EQ(stored->height, -19);
    EXPECT_EQ(window.RootForm().Metrics().Font().pixelSize(), 19);  // lengths in units follow it
}

TEST_F(MainWindow, HelpAboutAndTheHelpPane)
{
    EXPECT_FALSE(window.RootForm().IsElementShown(AMainWindow::kHelpPaneId));
    window.RunCommand(Command::kHelpContents);
    EXPECT_TRUE(window.RootForm().IsElementShown(AMainWindow::kHelpPaneId));
    EXPECT_TRUE(window.HelpBrowser()->toPlainText().contains(QStringLiteral("Содержание")));
    window.RunCommand(Command::kHelpIndex);
    EXPECT_TRUE(window.HelpBrowser()->toPlainText().contains(QStringLiteral("Указатель")));
    window.RunCommand(Command::kHelpPane);
    EXPECT_FALSE(window.RootForm().IsElementShown(AMainWindow::kHelpPaneId));

    window.RunCommand(Command::kAbout);
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    EXPECT_NE(test.dialogs.messages[0].find(u"Версия 2.1.235"), std::u16string::npos);
    EXPECT_NE(test.dialogs.messages[0].find(test.Message(202)), std::u16string::npos);
}

}  // namespace
