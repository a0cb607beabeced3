#include "ui/MainForm.h"

#include "core/FileSystem.h"

#include "core/RecentFiles.h"
#include "core/SettingsBlobs.h"
#include "database/engine/Notify.h"
#include "ui/FontSetting.h"
#include "ui/InstanceChannel.h"
#include "ui/ProgramContext.h"
#include "ui/ProgramIcon.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/WindowTitle.h"
#include "core/CodePage.h"
#include "win32api/DynaForm.h"
#include "win32api/LayoutElement.h"
#include "win32api/TabControl.h"
#include "win32api/ToolkitLook.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTextBrowser>
#include <QTimer>

#include <array>
#include <utility>

namespace UserInterface {

using namespace Win32API::VelvixForms;
using UserInterface::Settings::AFlag;

namespace {
// The box inside the help pane gets an id so that the help browser can be placed in it.
constexpr std::int16_t kHelpBoxId = -8;
constexpr std::int16_t kHelpBrowserId = -9;
}  // namespace

// Hears every change of the open database; the window reacts once the change is complete
// (a page list rebuilt in the middle of a notification would change the subscriber list).
// The reaction waits on this object, so a database replaced in the meantime drops it.
class ADatabaseWatcher final : public QObject, public Database::Engine::ANotify {
public:
    ADatabaseWatcher(AMainWindow& window, Database::ADatabase& db) : ANotify(db), window_(window) {}
    void OnChange(const Database::Engine::ASlotList& changed, const Database::Engine::ASlotList& removed,
                  const Database::Engine::ASlotList& added) override
    {
        bool pages = false;
        for (const auto* list : {&changed, &removed, &added})
            for (const auto* record : *list)
                if (record && record->table && record->table->Id() == Database::APageInfo::kTableId)
                    pages = true;
        pagesChanged_ = pagesChanged_ || pages;
        if (queued_)
            return;
        queued_ = true;
        QTimer::singleShot(0, this, [this] {
            queued_ = false;
            const bool rebuild = pagesChanged_;
            pagesChanged_ = false;
            window_.OnDatabaseChanged(rebuild);
        });
    }

private:
    AMainWindow& window_;
    bool queued_ = false;
    bool pagesChanged_ = false;
};

AMainWindow::AMainWindow(AProgramContext& context, AInstanceChannel* channel)
    : context_(context), channel_(channel)
{
    setObjectName(QStringLiteral("FD-MW"));
    setWindowIcon(ProgramIcon());
    trash_ = std::make_unique<Files::ATrash>(*context.fs, Files::ATrash::HomeTrashFolder(context.folders.dataFolder),
                                             context.clock);
    backups_ = std::make_unique<Database::Engine::ABackupCopies>(*context.fs, *trash_, context.folders.programFolder,
                                                                 context.clock);
    afterChangeSave_ = std::make_unique<Database::ASettingsAfterChangeSave>(
        context.Options(), *backups_, [this](const AMessageRef& message) { ShowMessageRef(message); },
        [this](HRESULT result) {
            autoSaveFailed_ = true;
            ShowMessage(Database::FileMessage::kSaveFailed, {static_cast<std::uint32_t>(result)}, AMessageButtons::Ok,
                        AMessageIcon::Error);
            RefreshTitle();
        });
    CreateRootForm();
    BuildMenus();
    BuildLanguageMenu();
    TranslateMenus();
    BuildRecentMenu();
    CreateAccelerators();
    setAcceptDrops(true);
    ApplySettings();
}

AMainWindow::~AMainWindow()
{
    SavePlacement();
    if (tray_)
        tray_->hide();
    // Pages listen to the database: they go first.
    DropPages();
    watcher_.reset();
}

void AMainWindow::CreateRootForm()
{
    root_ = new ADialogForm(kRootLayout, context_.strings.get(), this);
    setCentralWidget(root_);
    root_->Create();
    if (ALayoutElement* pane = root_->FindElement(kHelpPaneId); pane && !pane->children.empty()) {
        pane->children.front()->id = kHelpBoxId;
        auto* helpForm = new ADialogForm("{bWeHem1p[w#-9]}", context_.strings.get());
        root_->InsertForm(kHelpBoxId, helpForm);
        helpBrowser_ = helpForm->ControlAs<QTextBrowser>(kHelpBrowserId);
        helpBrowser_->setFrameShape(QFrame::NoFrame);
        helpBrowser_->setOpenLinks(false);
        connect(helpBrowser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
            if (url.scheme() == QStringLiteral("help"))
                ShowHelpLink(url.path().toInt());
        });
    }
    auto* tabs = root_->ControlAs<Win32API::VelvixControls::ATabControl>(kTabsId);
    tabs->TabBar()->setExpanding(false);
    connect(tabs, &Win32API::VelvixControls::ATabControl::currentChanged, this, [this](int index) { ShowPage(index); });
}

// Only a database that has loaded replaces the current one, which is destroyed after its pages.
void AMainWindow::ReplaceDatabase(std::unique_ptr<Database::ADatabase> db)
{
    DropPages();
    watcher_.reset();
    db_ = std::move(db);
    autoSaveFailed_ = false;
    watcher_ = std::make_unique<ADatabaseWatcher>(*this, *db_);
    RebuildPages();
    RefreshTitle();
}

void AMainWindow::OnDatabaseChanged(bool pagesChanged)
{
    if (!db_)
        return;
    if (!db_->Modified())
        autoSaveFailed_ = false;
    if (pagesChanged)
        RebuildPages();
    RefreshTitle();
}

QString AMainWindow::TitleText() const
{
    if (!db_)
        return QStringLiteral("Fendral");
    const bool unsaved = db_->Modified() && (!db_->SavesAfterEveryChange() || autoSaveFailed_);
    return ToQString(WindowTitle(context_.Strings(), UtilityClasses::Strings::Utf8ToUtf16(db_->FileName().NameWithExtension()),
                                 unsaved, db_->ReadOnly()));
}

void AMainWindow::RefreshTitle()
{
    setWindowTitle(TitleText());
    if (tray_)
        tray_->setToolTip(windowTitle());
}

int AMainWindow::ShowMessage(int id, std::initializer_list<UtilityClasses::Strings::FormatArg> args,
                             AMessageButtons buttons, AMessageIcon icon)
{
    AMessageBoxOptions options;
    options.text = context_.Strings().Format(id, args);
    options.title = u"Fendral";
    options.buttons = buttons;
    options.icon = icon;
    return context_.Dialogs().ShowMessage(this, options);
}

void AMainWindow::ShowMessageRef(const AMessageRef& message)
{
    std::vector<UtilityClasses::Strings::FormatArg> args(message.numbers.begin(), message.numbers.end());
    AMessageBoxOptions options;
    std::array<char16_t, UtilityClasses::Strings::kFormatCapacity> buffer{};
    const std::size_t length = UtilityClasses::Strings::FormatText(buffer, context_.Strings().Locale(),
                                                                   context_.Strings().Text(message.id), args);
    options.text.assign(buffer.data(), length);
    options.title = u"Fendral";
    options.icon = AMessageIcon::Warning;
    context_.Dialogs().ShowMessage(this, options);
}

QFont AMainWindow::ListFont() const
{
    const auto setting = UserInterface::Settings::LoadFont(context_.Options().Store());
    return setting ? FontFromSetting(*setting, QApplication::font()) : QApplication::font();
}

void AMainWindow::ApplySettings()
{
    const auto look = Win32API::VelvixControls::AToolkitLook::FromSettings(context_.Options());
    const QFont font = ListFont();
    root_->SetLook(look);
    root_->SetBaseFont(font);
    for (APageSlot& slot : pages_)
        slot.page->ApplyLook(look, font);
    UpdateTrayIcon();
    RefreshTitle();
}

void AMainWindow::ReloadSettings()
{
    if (context_.LoadSettings())
        SelectLanguage(context_.languageIndex);
    ApplySettings();
}

bool AMainWindow::HasFileOpen(const std::string& path) const
{
    // A database that was never saved has no file and never matches.
    return db_ && !db_->FileName().Empty() &&
           Files::SamePath(db_->FileName().FullPath(), path);
}

void AMainWindow::ComeToFront()
{
    emit BroughtToFront();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
        return;
    }
    if (isHidden()) {
        showMinimized();
        showNormal();
    } else if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
}

bool AMainWindow::QueryEndSession()
{
    if (QApplication::activeModalWidget())
        return false;
    sessionEnding_ = QueryClose();
    return sessionEnding_;
}

void AMainWindow::EndSession()
{
    DropPages();
    watcher_.reset();
    db_.reset();
    SavePlacement();
    if (tray_)
        tray_->hide();
    hide();
}

void AMainWindow::closeEvent(QCloseEvent* event)
{
    const bool exiting = std::exchange(exiting_, false) || sessionEnding_;
    if (context_.Options().Flag(AFlag::kMinimizeOnClose) && !exiting) {
        event->ignore();
        showMinimized();
        return;
    }
    if (db_ && !sessionEnding_ && !QueryClose()) {
        event->ignore();
        return;
    }
    SavePlacement();
    if (tray_)
        tray_->hide();
    event->accept();
}

void AMainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Minimised with the notification-area icon shown, the window leaves the task bar.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && tray_ && tray_->isVisible())
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
}

void AMainWindow::ShowWithPlacement()
{
    using UserInterface::Settings::LoadWindowPlacement;
    const auto placement = LoadWindowPlacement(context_.Options().Store());
    QRect normal(0, 0, 1024, 720);
    bool placed = false;
    if (placement) {
        const auto* p = placement->normalPosition;
        const QRect stored(p[0], p[1], p[2] - p[0], p[3] - p[1]);
        // A placement on a screen that is no longer there is not used.
        for (const QScreen* screen : QGuiApplication::screens())
            if (stored.width() >= 200 && stored.height() >= 150 && screen->availableGeometry().intersects(stored)) {
                normal = stored;
                placed = true;
                break;
            }
    }
    if (!placed) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            normal.moveCenter(screen->availableGeometry().center());
    }
    setGeometry(normal);
    constexpr std::uint32_t kShowMaximized = 3;
    if (placed && placement->showCmd == kShowMaximized)
        showMaximized();
    else
        show();
}

void AMainWindow::SavePlacement()
{
    UserInterface::Settings::AWindowPlacement placement;
    constexpr std::uint32_t kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3;
    placement.showCmd = isMaximized() ? kShowMaximized : isMinimized() ? kShowMinimized : kShowNormal;
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    placement.normalPosition[0] = normal.left();
    placement.normalPosition[1] = normal.top();
    placement.normalPosition[2] = normal.left() + normal.width();
    placement.normalPosition[3] = normal.top() + normal.height();
    UserInterface::Settings::SaveWindowPlacement(context_.Options().Store(), placement);
}

}  // namespace UserInterface
