// The program's main window ("FD-MW"): the pages of the open data file as tabs beside the
// hidden help pane, the five menus with their accelerators, the open database, files,
// printing and the notification-area icon.
#pragma once
#include "ui/DatabaseModel.h"

#include "core/BackupCopies.h"
#include "core/FormatText.h"
#include "core/MessageRef.h"
#include "core/Result.h"
#include "core/Trash.h"
#include "database/AfterChangeSave.h"
#include "database/DataFileSession.h"
#include "ui/AbstractPage.h"
#include "win32api/MessageBox.h"

#include <QMainWindow>
#include <QPointer>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QActionGroup;
class QMenu;
class QPrinter;
class QSystemTrayIcon;
class QTextBrowser;

namespace Win32API::VelvixForms {
class ADialogForm;
}
namespace Win32API::VelvixControls {
struct AToolkitLook;
}

namespace UserInterface {

struct AProgramContext;
class AInstanceChannel;
class ADatabaseWatcher;

class AMainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kRootLayout = "{b{sx#-10{SWeHe#-12[tt#-14]}{b~w150He#-16{bWeHe(s:f)}}}}";
    static constexpr std::int16_t kPageStackId = -12;
    static constexpr std::int16_t kTabsId = -14;
    static constexpr std::int16_t kHelpPaneId = -16;

    // `channel` answers the other running copies and finds them; null runs alone.
    AMainWindow(AProgramContext& context, AInstanceChannel* channel = nullptr);
    ~AMainWindow() override;

    // ---- the open database
    Database::ADatabase& CurrentDatabase() { return *db_; }
    bool HasDatabase() const { return db_ != nullptr; }
    // Opens a data file into a new database after offering to close the current one; the
    // messages of every failure are shown here. Answers what the database answered, or
    // kFalse when nothing was tried (cancelled, or another copy has the file open).
    HRESULT OpenFile(const std::string& path);
    // Opens entry `index` of the recently-used list; a file that is gone leaves the list.
    HRESULT OpenRecentFile(int index);
    // A new database with the default contents, after offering to close the current one.
    bool NewDatabase();
    // Closing with a save prompt: false when the user cancels or saving fails.
    bool QueryClose();
    bool Save();
    bool SaveAs();

    // ---- what other copies ask
    bool HasFileOpen(const std::string& path) const;
    void ComeToFront();
    void ReloadSettings();
    // Applies the settings to every control, page and the notification-area icon.
    void ApplySettings();
    // The session is ending: answers whether it may (no modal dialog open, closing allowed).
    bool QueryEndSession();
    // The session ends: the database is closed without a prompt.
    void EndSession();

    // ---- commands and menus
    void RunCommand(int id);
    bool IsCommandEnabled(int id) const;
    // The item of a command in any menu; null when no menu has it.
    QAction* FindAction(int id) const;
    QMenu* TopMenu(int index) const;
    // Enables, checks and labels the menu items for the current state, as before a menu opens.
    void UpdateMenus();
    // Menu texts from the string table: after creation and after a language switch.
    void TranslateMenus();
    void SelectLanguage(int index);

    // ---- pages
    int PageCount() const { return static_cast<int>(pages_.size()); }
    AAbstractPage* PageAt(int index) const;
    std::uint32_t PageRecordAt(int index) const;
    int CurrentPageIndex() const { return currentPage_; }
    AAbstractPage* CurrentPage() const { return PageAt(currentPage_); }
    bool ShowPage(int index);

    Win32API::VelvixForms::ADialogForm& RootForm() { return *root_; }
    QTextBrowser* HelpBrowser() const { return helpBrowser_; }
    QString TitleText() const;
    // Prints the current page on an already set-up printer.
    bool PrintCurrentPage(QPrinter& printer);
    // Where the window was and how it was shown, from the settings; shows it so.
    void ShowWithPlacement();
    void SavePlacement();
    QSystemTrayIcon* TrayIcon() const { return tray_; }

signals:
    // The page list was rebuilt (tests and the screenshot program wait for it).
    void PagesRebuilt();
    // Another copy asked this one to come to the front.
    void BroughtToFront();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class ADatabaseWatcher;
    struct APageSlot {
        std::uint32_t recordId = 0;
        std::uint32_t type = 0;
        std::int16_t elementId = 0;
        std::u16string name;
        int recordPosition = 0;
        std::unique_ptr<AAbstractPage> page;
    };

    // MainForm.cpp
    void CreateRootForm();
    void OnDatabaseChanged(bool pagesChanged);
    void RefreshTitle();
    int ShowMessage(int id, std::initializer_list<UtilityClasses::Strings::FormatArg> args,
                    Win32API::VelvixForms::AMessageButtons buttons = Win32API::VelvixForms::AMessageButtons::Ok,
                    Win32API::VelvixForms::AMessageIcon icon = Win32API::VelvixForms::AMessageIcon::Warning);
    void ShowMessageRef(const AMessageRef& message);
    QFont ListFont() const;
    // MainMenus.cpp
    void BuildMenus();
    QAction* AddItem(QMenu* menu, int id);
    void BuildActionsMenu();
    void BuildRecentMenu();
    void BuildPageMenu();
    void BuildLanguageMenu();
    void CreateAccelerators();
    void ConnectCommands(QMenu* menu);
    void TranslateMenu(QMenu* menu);
    // MainFiles.cpp
    std::unique_ptr<Database::ADatabase> MakeDatabase();
    Database::ADataFileSession FileSession();
    void ShowFileReport(const Database::AFileReport& report);
    void ReplaceDatabase(std::unique_ptr<Database::ADatabase> db);
    bool SaveTo(const std::string& newPath);
    bool AfterSave(const Database::AFileReport& report);
    std::optional<std::string> AskSavePath();
    void AskAndOpen();
    // MainPages.cpp
    void RebuildPages();
    void CreateSlotPage(APageSlot& slot, const Win32API::VelvixControls::AToolkitLook& look, const QFont& font);
    // Pages fill their lists and choosers with texts when they are made: after a language
    // switch they are made again, each keeping its state through its settings stream.
    void RecreatePages();
    void DropPages();
    void StorePageSettings();
    void RereadPageSettings();
    void RunPageOrderDialog();
    // MainPrint.cpp
    void RunPageSetup();
    void RunPrint();
    void ChooseListFont();
    // MainTray.cpp
    void UpdateTrayIcon();
    void TrayActivated(int reason);
    void ShowFromTray();
    // MainHelp.cpp
    void ShowHelp(int command);
    void ShowHelpLink(int topic);
    void ShowHelpPane(bool show);
    void ShowAbout();
    void StartCalculator();
    void OpenWebSite();
    void RunSettingsDialog();
    void ChangePassword();

    AProgramContext& context_;
    AInstanceChannel* channel_;
    std::unique_ptr<Files::ATrash> trash_;
    std::unique_ptr<Database::Engine::ABackupCopies> backups_;
    std::unique_ptr<Database::ASettingsAfterChangeSave> afterChangeSave_;
    std::unique_ptr<Database::ADatabase> db_;
    std::unique_ptr<ADatabaseWatcher> watcher_;
    bool autoSaveFailed_ = false;

    Win32API::VelvixForms::ADialogForm* root_ = nullptr;
    QTextBrowser* helpBrowser_ = nullptr;
    std::vector<APageSlot> pages_;
    int currentPage_ = -1;

    std::vector<QMenu*> topMenus_;
    QMenu* recentMenu_ = nullptr;
    QMenu* languageMenu_ = nullptr;
    QActionGroup* languageGroup_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    bool helpBarPlaced_ = false;
    bool exiting_ = false;  // Exit closes even when the close box would minimise
    bool sessionEnding_ = false;  // the session's end was agreed to: closing asks nothing more
};

}  // namespace UserInterface
