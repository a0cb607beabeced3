#include "database/DataFileSession.h"

#include "core/CodePage.h"
#include "core/FileSystem.h"

namespace Database {

namespace {
constexpr HRESULT kPathNotFound = Result::Code(0x80070003);
}

std::vector<UtilityClasses::Strings::FormatArg> AFileReport::Args() const
{
    switch (messageId) {
    case FileMessage::kOpenedWithErrors: return {fileName, number};
    case FileMessage::kSaveFailed: return {number};
    default: return {fileName};
    }
}

ADataFileSession::ADataFileSession(ADataFileHooks hooks) : hooks_(std::move(hooks)) {}

AFileReport ADataFileSession::JudgeOpen(HRESULT result)
{
    AFileReport report;
    report.result = result;
    auto judged = [&](AFileOutcome outcome, int messageId) {
        report.outcome = outcome;
        report.messageId = messageId;
        return report;
    };
    switch (result) {
    case Result::kOpenedWithErrors: return judged(AFileOutcome::OpenedWithErrors, FileMessage::kOpenedWithErrors);
    case Result::kPasswordCancelled: return judged(AFileOutcome::PasswordCancelled, 0);
    case Result::kNewerVersion: return judged(AFileOutcome::NewerVersion, FileMessage::kNewerVersion);
    case Result::kFileNotFound:
    case kPathNotFound: return judged(AFileOutcome::NotFound, FileMessage::kFileNotFound);
    default: break;
    }
    // Any other success code still means the file is open.
    return Result::Succeeded(result) ? judged(AFileOutcome::Done, 0)
                                     : judged(AFileOutcome::Unreadable, FileMessage::kUnreadable);
}

HRESULT ADataFileSession::WithProgress(ADatabase& db, int titleId, const std::u16string& name,
                                       const std::function<HRESULT()>& work)
{
    return hooks_.withProgress ? hooks_.withProgress(db, titleId, name, work) : work();
}

AFileReport ADataFileSession::Open(ADatabase& db, const std::string& path, const std::u16string& shownName,
                                   AOpenPurpose purpose, ADatabase* current)
{
    // flock() locks belong to one open file: a second open of our own file would find it
    // taken and fall back to read-only.
    if (current && current->HasStorage() && !current->ReadOnly() &&
        Files::SamePath(path, current->FileName().FullPath()))
        current->ReleaseStorage();
    const HRESULT result = WithProgress(db, FileMessage::kReading, shownName, [&] { return db.Open(path); });
    AFileReport report = JudgeOpen(result);
    report.fileName = shownName;
    report.number = static_cast<std::uint32_t>(db.LoadErrors());
    if (report.Succeeded() && purpose == AOpenPurpose::Change && db.ReadOnly()) {
        report.outcome = AFileOutcome::ReadOnly;
        report.messageId = FileMessage::kReadOnlyFile;
    }
    return report;
}

AFileReport ADataFileSession::SaveReport(HRESULT result)
{
    AFileReport report;
    report.result = result;
    if (Result::Failed(result)) {
        report.outcome = AFileOutcome::SaveFailed;
        report.messageId = FileMessage::kSaveFailed;
        report.number = static_cast<std::uint32_t>(result);
    }
    return report;
}

AFileReport ADataFileSession::Save(ADatabase& db)
{
    const std::string& path = db.FileName().FullPath();
    if (db.ReadOnly() || !db.HasStorage()) {
        AFileReport refused;
        refused.outcome = AFileOutcome::ReadOnly;
        refused.messageId = FileMessage::kReadOnlyFile;
        refused.fileName = UtilityClasses::Strings::Utf8ToUtf16(db.FileName().NameWithExtension());
        return refused;
    }
    std::optional<AMessageRef> backup = hooks_.backupBeforeSave ? hooks_.backupBeforeSave(path) : std::nullopt;
    AFileReport report = SaveReport(WithProgress(db, FileMessage::kWriting, UtilityClasses::Strings::Utf8ToUtf16(path),
                                                 [&] { return db.Save(); }));
    report.backupMessage = std::move(backup);
    return report;
}

AFileReport ADataFileSession::SaveAs(ADatabase& db, const std::string& path, const std::u16string& shownName)
{
    AFileReport report =
        SaveReport(WithProgress(db, FileMessage::kWriting, shownName, [&] { return db.SaveAs(path); }));
    report.fileName = shownName;
    return report;
}

}  // namespace Database
