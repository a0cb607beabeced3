// The main window's files: opening, new databases, saving, the save prompt, dropped files.
#include "core/CodePage.h"
#include "ui/InterfaceTexts.h"
#include "ui/MainForm.h"

#include "core/FileSystem.h"
#include "core/RecentFiles.h"
#include "core/Settings.h"
#include "ui/CommandLine.h"
#include "ui/DataFileNames.h"
#include "ui/InstanceChannel.h"
#include "ui/Passwords.h"
#include "ui/ProgramContext.h"
#include "ui/ProgressWindow.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/WindowTitle.h"
#include "ui/transactions/DuePlanned.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace UserInterface {

using namespace Win32API::VelvixForms;
using UtilityClasses::Strings::Utf8ToUtf16;

namespace {

using namespace MainText;
using Database::AFileOutcome;
namespace FileMessage = Database::FileMessage;

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The one local file a drop carries; none for several files or anything else.
std::optional<std::string> DroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return std::nullopt;
    return data->urls().front().toLocalFile().toStdString();
}

}  // namespace

QString FileFilter(const QString& name, std::string_view extensions)
{
    QStringList patterns;
    for (const QString& extension : QString::fromUtf8(extensions.data(), static_cast<qsizetype>(extensions.size()))
                                        .split(u';', Qt::SkipEmptyParts))
        patterns << QStringLiteral("*.") + extension;
    return name + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

bool HasExtension(std::string_view path, std::string_view extensions)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return false;
    std::string extension;
    for (char c : path.substr(dot + 1))
        extension += LowerAscii(c);
    std::size_t at = 0;
    while (at <= extensions.size()) {
        std::size_t end = extensions.find(';', at);
        if (end == std::string_view::npos)
            end = extensions.size();
        if (extensions.substr(at, end - at) == extension)
            return true;
        at = end + 1;
    }
    return false;
}

std::string WritableDataFileName(std::string_view path)
{
    if (HasExtension(path, kSaveExtensions))
        return std::string(path);
    return std::string(path) + "." + std::string(kDefaultExtension);
}

std::unique_ptr<Database::ADatabase> AMainWindow::MakeDatabase()
{
    auto db = std::make_unique<Database::ADatabase>(context_.clock);
    db->SetProgramFolder(context_.folders.programFolder);
    db->SetPasswordPrompt(MakePasswordPrompt(context_, this));
    db->SetTextCodePage(context_.Strings().CodePage());
    db->SetAfterChangeSave(afterChangeSave_.get());
    return db;
}

Database::ADataFileSession AMainWindow::FileSession()
{
    Database::ADataFileHooks hooks;
    hooks.withProgress = [this](Database::ADatabase& db, int titleId, const std::u16string& name,
                                const std::function<HRESULT()>& work) {
        AProgressWindow progress(this, ToQString(context_.Strings().Format(titleId, {name})), db.Progress());
        return work();
    };
    hooks.backupBeforeSave = [this](const std::string& path) {
        return backups_->BeforeSave(Database::Engine::BackupOptionsFrom(context_.Options()), path,
                                    Database::Engine::ASaveKind::InPlace);
    };
    return Database::ADataFileSession(std::move(hooks));
}

void AMainWindow::ShowFileReport(const Database::AFileReport& report)
{
    if (report.backupMessage)
        ShowMessageRef(*report.backupMessage);
    if (report.messageId == 0)
        return;
    const std::vector<UtilityClasses::Strings::FormatArg> args = report.Args();
    AMessageBoxOptions options;
    options.text = UtilityClasses::Strings::FormatText(context_.Strings().Locale(), context_.Strings().Text(report.messageId),
                                                       args);
    options.title = u"Fendral";
    options.buttons = AMessageButtons::Ok;
    options.icon = report.outcome == AFileOutcome::OpenedWithErrors ? AMessageIcon::Warning
                   : report.outcome == AFileOutcome::ReadOnly        ? AMessageIcon::Information
                                                                     : AMessageIcon::Error;
    context_.Dialogs().ShowMessage(this, options);
}

HRESULT AMainWindow::OpenFile(const std::string& typed)
{
    if (typed.empty())
        return Result::kFalse;
    const std::string path = WholePath(typed, QDir::currentPath().toStdString());
    if (!QueryClose())
        return Result::kFalse;
    if (channel_)
        if (const auto copy = channel_->FindCopyWithFile(path)) {
            channel_->BringToFront(*copy);
            return Result::kFalse;
        }
    auto db = MakeDatabase();
    // Opening the file that is open here again hands its lock over, so it stays writable.
    const Database::AFileReport report =
        FileSession().Open(*db, path, Utf8ToUtf16(path), Database::AOpenPurpose::Read, db_.get());
    ShowFileReport(report);
    const HRESULT result = report.result;
    if (Result::Failed(result)) {
        RefreshTitle();  // a database that gave up its file for this open saves as from now on
        return result;   // otherwise the current database stays as it was
    }
    ReplaceDatabase(std::move(db));
    Transactions::OfferDuePlanned(this, context_, *db_);
    UserInterface::Settings::AddRecentFile(context_.Options().Store(), path);
    QDir::setCurrent(PathToQString(Files::ParentFolder(path)));
    BuildRecentMenu();
    return result;
}

HRESULT AMainWindow::OpenRecentFile(int index)
{
    auto& store = context_.Options().Store();
    const auto path = UserInterface::Settings::ReadRecentFile(store, index);
    if (!path)
        return Result::kFalse;
    const HRESULT result = OpenFile(*path);
    if (Database::ADataFileSession::JudgeOpen(result).outcome == AFileOutcome::NotFound) {
        UserInterface::Settings::RemoveRecentFile(store, index);
        BuildRecentMenu();
    }
    return result;
}

bool AMainWindow::NewDatabase()
{
    if (!QueryClose())
        return false;
    auto db = MakeDatabase();
    db->CreateDefaults();
    ReplaceDatabase(std::move(db));
    return true;
}

bool AMainWindow::QueryClose()
{
    if (!db_ || !db_->Modified())
        return true;
    const std::u16string name = db_->FileName().Empty()
                                    ? std::u16string(context_.Strings().Text(FileMessage::kUntitled))
                                    : Utf8ToUtf16(db_->FileName().NameWithExtension());
    switch (ShowMessage(FileMessage::kSavePrompt, {name}, AMessageButtons::YesNoCancel, AMessageIcon::Question)) {
    case kIdYes: return Save();
    case kIdNo: return true;
    default: return false;
    }
}

bool AMainWindow::Save()
{
    if (!db_)
        return false;
    const std::string& path = db_->FileName().FullPath();
    // A file that is read-only, of the previous generation or of a form never written gets a
    // new name.
    if (path.empty() || !db_->HasStorage() || !HasExtension(path, kSaveExtensions))
        return SaveAs();
    const Database::AFileReport report = FileSession().Save(*db_);
    ShowFileReport(report);
    // A read-only file is told about, then saved under another name.
    if (report.outcome == AFileOutcome::ReadOnly)
        return SaveAs();
    return AfterSave(report);
}

bool AMainWindow::SaveAs()
{
    const auto path = AskSavePath();
    return path && SaveTo(*path);
}

bool AMainWindow::SaveTo(const std::string& newPath)
{
    const Database::AFileReport report = FileSession().SaveAs(*db_, newPath, Utf8ToUtf16(newPath));
    ShowFileReport(report);
    return AfterSave(report);
}

bool AMainWindow::AfterSave(const Database::AFileReport& report)
{
    if (!report.Succeeded())
        return false;
    autoSaveFailed_ = false;
    UserInterface::Settings::AddRecentFile(context_.Options().Store(), db_->FileName().FullPath());
    BuildRecentMenu();
    RefreshTitle();
    return true;
}

std::optional<std::string> AMainWindow::AskSavePath()
{
    AFileDialogSpec spec;
    spec.title = TableText(context_.Strings(), kSaveTitle);
    spec.filters = FileFilter(TableText(context_.Strings(), kDataFiles), kSaveExtensions);
    spec.defaultSuffix = QString::fromUtf8(kDefaultExtension.data(), static_cast<qsizetype>(kDefaultExtension.size()));
    spec.initialPath = db_ && !db_->FileName().Empty() ? db_->FileName().Folder() : QDir::currentPath().toStdString();
    const auto chosen = context_.Dialogs().AskSaveFile(this, spec);
    if (!chosen || chosen->empty())
        return std::nullopt;
    return WritableDataFileName(WholePath(*chosen, QDir::currentPath().toStdString()));
}

void AMainWindow::AskAndOpen()
{
    AFileDialogSpec spec;
    spec.title = TableText(context_.Strings(), kOpenTitle);
    spec.filters = FileFilter(TableText(context_.Strings(), kDataFiles), kOpenExtensions) + QStringLiteral(";;") +
                   TableText(context_.Strings(), kAllFiles) + QStringLiteral(" (*)");
    spec.defaultSuffix = QString::fromUtf8(kDefaultExtension.data(), static_cast<qsizetype>(kDefaultExtension.size()));
    spec.initialPath = QDir::currentPath().toStdString();
    if (const auto chosen = context_.Dialogs().AskOpenFile(this, spec))
        OpenFile(*chosen);
}

void AMainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (DroppedFile(event->mimeData()))
        event->acceptProposedAction();
}

void AMainWindow::dropEvent(QDropEvent* event)
{
    const auto file = DroppedFile(event->mimeData());
    if (!file)
        return;
    event->acceptProposedAction();
    OpenFile(ResolveDroppedFile(*file));
}

}  // namespace UserInterface
