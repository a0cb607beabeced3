// The main window's menus: building, translating, enabling, and the dispatch of commands.
#include "ui/MainForm.h"

#include "core/Assert.h"
#include "core/RecentFiles.h"
#include "ui/MenuText.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/categories/DataFileSettingsDialog.h"
#include "ui/exchange/ExportWizard.h"
#include "ui/exchange/ImportWizard.h"
#include "win32api/DynaForm.h"

#include <QActionGroup>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace UserInterface {

using UserInterface::Settings::AFlag;

namespace {

int IdOf(const QAction* action)
{
    return action->data().toInt();
}

const char* const kConnected = "fdCommandConnected";

}  // namespace

QAction* AMainWindow::AddItem(QMenu* menu, int id)
{
    QAction* action = menu->addAction(QString());
    action->setData(id);
    return action;
}

void AMainWindow::BuildMenus()
{
    using namespace Command;
    for (int id : kTopMenus) {
        QMenu* menu = menuBar()->addMenu(QString());
        menu->menuAction()->setData(id);
        topMenus_.push_back(menu);
        connect(menu, &QMenu::aboutToShow, this, &AMainWindow::UpdateMenus);
    }
    QMenu* file = topMenus_[0];
    for (int id : {kNew, kOpen, kSave, kSaveAs})
        AddItem(file, id);
    file->addSeparator();
    for (int id : {kPassword, kFileSettings})
        AddItem(file, id);
    file->addSeparator();
    for (int id : {kImport, kExport})
        AddItem(file, id);
    file->addSeparator();
    for (int id : {kPageSetup, kPrint})
        AddItem(file, id);
    file->addSeparator();
    recentMenu_ = file->addMenu(QString());
    recentMenu_->menuAction()->setData(kRecentFiles);
    file->addSeparator();
    AddItem(file, kExit);

    BuildActionsMenu();

    QMenu* service = topMenus_[2];
    for (int id : {kCalculator, kSettings, kFont})
        AddItem(service, id);

    BuildPageMenu();

    QMenu* help = topMenus_[4];
    for (int id : {kHelpContents, kHelpSearch, kHelpIndex})
        AddItem(help, id);
    help->addSeparator();
    AddItem(help, kHelpPane)->setCheckable(true);
    help->addSeparator();
    for (int id : {kWebSite, kAbout})
        AddItem(help, id);

    // The menu bar is the five menus; anything else is a programming error.
    FD_VERIFY(menuBar()->actions().size() == 5);
    for (QMenu* menu : topMenus_)
        ConnectCommands(menu);
}

void AMainWindow::ConnectCommands(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            ConnectCommands(action->menu());
            continue;
        }
        if (action->isSeparator() || IdOf(action) == 0 || action->property(kConnected).toBool())
            continue;
        action->setProperty(kConnected, true);
        connect(action, &QAction::triggered, this, [this, action] { RunCommand(IdOf(action)); });
    }
}

// Undo and redo, then the current page's items, then the page settings and closed accounts.
void AMainWindow::BuildActionsMenu()
{
    using namespace Command;
    QMenu* menu = topMenus_[1];
    menu->clear();
    AddItem(menu, kUndo);
    AddItem(menu, kRedo);
    menu->addSeparator();
    if (AAbstractPage* page = CurrentPage())
        page->FillActionsMenu(*menu);
    else
        for (int id : {kAdd, kChange, kDelete})
            AddItem(menu, id);
    menu->addSeparator();
    AddItem(menu, kStorePageSettings);
    AddItem(menu, kRereadPageSettings);
    menu->addSeparator();
    AddItem(menu, kHideClosedAccounts)->setCheckable(true);
    TranslateMenu(menu);
    ConnectCommands(menu);
}

void AMainWindow::BuildPageMenu()
{
    QMenu* menu = topMenus_[3];
    menu->clear();
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const APageSlot& slot = pages_[i];
        QAction* action = AddItem(menu, Command::kFirstPage + static_cast<int>(i));
        action->setText(ToQString(PageMenuItemText(context_.Strings(), static_cast<int>(i) + 1, slot.recordPosition,
                                                   slot.name)));
        action->setCheckable(true);
        action->setChecked(static_cast<int>(i) == currentPage_);
    }
    menu->addSeparator();
    QAction* order = AddItem(menu, Command::kPageOrder);
    order->setText(ToQString(MenuItemText(context_.Strings(), Command::kPageOrder, MainAccelerators())));
    ConnectCommands(menu);
}

void AMainWindow::BuildRecentMenu()
{
    recentMenu_->clear();
    const std::vector<std::string> entries = UserInterface::Settings::RecentFiles(context_.Options().Store());
    const std::string here = QDir::currentPath().toStdString();
    for (std::size_t i = 0; i < entries.size(); ++i)
        AddItem(recentMenu_, Command::kFirstRecentFile + static_cast<int>(i))
            ->setText(ToQString(RecentFileItemText(context_.Strings(), static_cast<int>(i), entries[i], here)));
    recentMenu_->menuAction()->setEnabled(!entries.empty());
    ConnectCommands(recentMenu_);
}

// Built once, when there is at least one language file: the built-in language and the files,
// their names as they are, the fixed texts in English whatever the language.
void AMainWindow::BuildLanguageMenu()
{
    if (context_.languages.empty())
        return;
    QMenu* service = topMenus_[2];
    service->addSeparator();
    languageMenu_ = service->addMenu(QStringLiteral("Language"));
    languageGroup_ = new QActionGroup(this);
    QAction* builtIn = AddItem(languageMenu_, Command::kBuiltInLanguage);
    builtIn->setText(QStringLiteral("Russian (built in)"));
    languageGroup_->addAction(builtIn)->setCheckable(true);
    languageMenu_->addSeparator();
    for (std::size_t i = 0; i < context_.languages.size(); ++i) {
        QAction* item = AddItem(languageMenu_, Command::kLanguageCommand(static_cast<int>(i)));
        item->setText(PathToQString(context_.languages[i].name));
        languageGroup_->addAction(item)->setCheckable(true);
    }
    const int checked = context_.languageIndex < 0 ? 0 : context_.languageIndex + 2;
    languageMenu_->actions().at(checked)->setChecked(true);
}

void AMainWindow::TranslateMenus()
{
    const QList<QAction*> top = menuBar()->actions();
    if (!FD_VERIFY(top.size() == 5))
        return;
    for (int i = 0; i < 5; ++i)
        top[i]->setText(TableText(context_.Strings(), Command::kTopMenus[i]));
    for (QMenu* menu : topMenus_)
        TranslateMenu(menu);
}

void AMainWindow::TranslateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        const int id = IdOf(action);
        const bool translated = id > 0 && id < Command::kFirstUntranslated;
        if (action->menu()) {
            if (translated)
                action->setText(TableText(context_.Strings(), id));
            TranslateMenu(action->menu());
        } else if (const QVariant argument = action->property(Command::kMenuTextArgument); translated && argument.isValid()) {
            action->setText(ToQString(context_.Strings().Format(id, {ToU16(argument.toString())})));
        } else if (translated) {
            action->setText(ToQString(MenuItemText(context_.Strings(), id, MainAccelerators())));
        }
    }
}

void AMainWindow::CreateAccelerators()
{
    for (const AAccelerator& accelerator : MainAccelerators()) {
        auto* shortcut = new QShortcut(KeySequenceOf(accelerator), this);
        const int command = accelerator.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] {
            if (IsCommandEnabled(command))
                RunCommand(command);
        });
    }
}

QMenu* AMainWindow::TopMenu(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < topMenus_.size() ? topMenus_[static_cast<std::size_t>(index)]
                                                                            : nullptr;
}

QAction* AMainWindow::FindAction(int id) const
{
    std::function<QAction*(QMenu*)> find = [&](QMenu* menu) -> QAction* {
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && IdOf(action) == id)
                return action;
            if (action->menu())
                if (QAction* found = find(action->menu()))
                    return found;
        }
        return nullptr;
    };
    for (QMenu* menu : topMenus_)
        if (QAction* found = find(menu))
            return found;
    return nullptr;
}

void AMainWindow::UpdateMenus()
{
    using namespace Command;
    std::function<void(QMenu*)> update = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu()) {
                update(action->menu());
                continue;
            }
            if (!action->isSeparator() && IdOf(action) != 0)
                action->setEnabled(IsCommandEnabled(IdOf(action)));
        }
    };
    for (QMenu* menu : topMenus_)
        update(menu);
    if (db_) {
        FindAction(kUndo)->setText(
            ToQString(UndoRedoItemText(context_.Strings(), kUndo, db_->CanUndo() ? db_->UndoLabel() : std::nullopt,
                                       MainAccelerators())));
        FindAction(kRedo)->setText(
            ToQString(UndoRedoItemText(context_.Strings(), kRedo, db_->CanRedo() ? db_->RedoLabel() : std::nullopt,
                                       MainAccelerators())));
    }
    FindAction(kHideClosedAccounts)->setChecked(context_.Options().Flag(AFlag::kHideClosedAccounts));
    FindAction(kHelpPane)->setChecked(root_->IsElementShown(kHelpPaneId));
    recentMenu_->menuAction()->setEnabled(!recentMenu_->actions().isEmpty());
}

bool AMainWindow::IsCommandEnabled(int id) const
{
    using namespace Command;
    switch (id) {
    case kUndo: return db_ && db_->CanUndo();
    case kRedo: return db_ && db_->CanRedo();
    case kPassword:
    case kPageOrder: return db_ != nullptr;
    case kFileSettings: return db_ && !db_->StepOpen();
    case kImport:
    case kExport: return db_ && !db_->StepOpen();
    case kPrint:
    case kStorePageSettings:
    case kRereadPageSettings: return CurrentPage() != nullptr;
    case kNew:
    case kOpen:
    case kSave:
    case kSaveAs:
    case kPageSetup:
    case kExit:
    case kCalculator:
    case kSettings:
    case kFont:
    case kHelpContents:
    case kHelpSearch:
    case kHelpIndex:
    case kHelpPane:
    case kWebSite:
    case kAbout:
    case kHideClosedAccounts:
    case kBuiltInLanguage: return true;
    default: break;
    }
    if (id >= kFirstRecentFile && id < kFirstRecentFile + UserInterface::Settings::kRecentFileSlots)
        return true;
    if (id >= kFirstPage && id < kFirstPage + 100)
        return id - kFirstPage < PageCount();
    if (IsLanguageFileCommand(id))
        return true;
    return CurrentPage() && CurrentPage()->IsCommandEnabled(id);
}

void AMainWindow::RunCommand(int id)
{
    using namespace Command;
    switch (id) {
    case kNew: NewDatabase(); return;
    case kOpen: AskAndOpen(); return;
    case kSave: Save(); return;
    case kSaveAs: SaveAs(); return;
    case kPassword: ChangePassword(); return;
    case kFileSettings:
        if (IsCommandEnabled(id))
            Categories::RunDataFileSettingsDialog(this, context_, *db_);
        return;
    case kExport:
        if (IsCommandEnabled(id))
            Exchange::RunExportWizard(context_, *db_, this);
        return;
    case kImport:
        if (IsCommandEnabled(id))
            Exchange::RunImportWizard(context_, *db_, this);
        return;
    case kPageSetup: RunPageSetup(); return;
    case kPrint: RunPrint(); return;
    case kExit:
        exiting_ = true;
        close();
        exiting_ = false;
        return;
    case kUndo:
        if (db_ && db_->CanUndo())
            db_->Undo();
        return;
    case kRedo:
        if (db_ && db_->CanRedo())
            db_->Redo();
        return;
    case kStorePageSettings: StorePageSettings(); return;
    case kRereadPageSettings: RereadPageSettings(); return;
    case kCalculator: StartCalculator(); return;
    case kSettings: RunSettingsDialog(); return;
    case kFont: ChooseListFont(); return;
    case kPageOrder: RunPageOrderDialog(); return;
    case kHelpContents:
    case kHelpSearch:
    case kHelpIndex: ShowHelp(id); return;
    case kHelpPane: ShowHelpPane(!root_->IsElementShown(kHelpPaneId)); return;
    case kWebSite: OpenWebSite(); return;
    case kAbout: ShowAbout(); return;
    case kHideClosedAccounts: {
        auto& settings = context_.Options();
        settings.SetFlag(AFlag::kHideClosedAccounts, !settings.Flag(AFlag::kHideClosedAccounts));
        settings.SaveAll();
        ApplySettings();
        return;
    }
    case kBuiltInLanguage: SelectLanguage(-1); return;
    default: break;
    }
    if (id >= kFirstRecentFile && id < kFirstRecentFile + UserInterface::Settings::kRecentFileSlots) {
        OpenRecentFile(id - kFirstRecentFile);
        return;
    }
    if (id >= kFirstPage && id < kFirstPage + PageCount()) {
        ShowPage(id - kFirstPage);
        return;
    }
    if (IsLanguageFileCommand(id)) {
        SelectLanguage(kFirstLanguageFile - id);
        return;
    }
    // Anything else belongs to the page; a command it does not know is ignored.
    if (AAbstractPage* page = CurrentPage(); page && page->IsCommandEnabled(id))
        page->RunCommand(id);
}

void AMainWindow::SelectLanguage(int index)
{
    if (index != context_.languageIndex)
        context_.SelectLanguage(index);
    if (languageMenu_) {
        const int checked = context_.languageIndex < 0 ? 0 : context_.languageIndex + 2;
        if (checked < languageMenu_->actions().size())
            languageMenu_->actions().at(checked)->setChecked(true);
    }
    if (db_)
        db_->SetTextCodePage(context_.Strings().CodePage());
    TranslateMenus();
    BuildPageMenu();
    BuildRecentMenu();
    root_->ApplyTexts(context_.strings.get());
    RecreatePages();
    root_->Relayout(true, false);
    RefreshTitle();
}

}  // namespace UserInterface
