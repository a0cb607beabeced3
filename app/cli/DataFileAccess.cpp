#include "DataFileAccess.h"

#include "CliMessages.h"
#include "DataFileSave.h"
#include "PasswordPrompt.h"
#include "TerminalProgress.h"

namespace Cli {

using Database::AFileOutcome;

namespace {

Database::ADataFileSession Session(const ACliContext& context)
{
    Database::ADataFileHooks hooks;
    hooks.withProgress = [&context](Database::ADatabase& db, int titleId, const std::u16string& name,
                                    const std::function<HRESULT()>& work) {
        ATerminalProgress progress(context, db.Progress(), context.strings.Format(titleId, {name}));
        return work();
    };
    hooks.backupBeforeSave = BackupBeforeSave;
    return Database::ADataFileSession(std::move(hooks));
}

void PrintReport(const ACliContext& context, const Database::AFileReport& report)
{
    if (report.backupMessage) {
        const std::vector<UtilityClasses::Strings::FormatArg> args(report.backupMessage->numbers.begin(),
                                                                   report.backupMessage->numbers.end());
        PrintMessage(context, context.err, report.backupMessage->id, args);
    }
    if (report.messageId != 0)
        PrintMessage(context, context.err, report.messageId, report.Args());
}

AOpenOutcome Open(const ACliContext& context, Database::ADatabase& db, const std::string& path,
                  Database::AOpenPurpose purpose)
{
    db.SetPasswordPrompt(MakePasswordPrompt(context));
    // Texts of previous-generation files are 8-bit in the language's code page.
    db.SetTextCodePage(context.strings.CodePage());
    const Database::AFileReport report = Session(context).Open(db, context.WholePath(path), FromUtf8(path), purpose);
    PrintReport(context, report);
    return {ExitCodeOf(report.outcome), report.Succeeded()};
}

}  // namespace

AExitCode ExitCodeOf(AFileOutcome outcome)
{
    switch (outcome) {
    case AFileOutcome::Done: return kDone;
    case AFileOutcome::OpenedWithErrors: return kDoneWithMessages;
    case AFileOutcome::PasswordCancelled: return kPasswordMissing;
    case AFileOutcome::NewerVersion: return kNewerVersion;
    case AFileOutcome::NotFound: return kFileNotFound;
    case AFileOutcome::Unreadable:
    case AFileOutcome::ReadOnly:
    case AFileOutcome::SaveFailed: break;
    }
    return kFailed;
}

AOpenOutcome OpenDataFile(const ACliContext& context, Database::ADatabase& db, const std::string& path)
{
    return Open(context, db, path, Database::AOpenPurpose::Read);
}

AOpenOutcome OpenDataFileToChange(const ACliContext& context, Database::ADatabase& db, const std::string& path)
{
    return Open(context, db, path, Database::AOpenPurpose::Change);
}

bool SaveDataFileAs(const ACliContext& context, Database::ADatabase& db, const std::string& path)
{
    const Database::AFileReport report = Session(context).SaveAs(db, context.WholePath(path), FromUtf8(path));
    PrintReport(context, report);
    return report.Succeeded();
}

bool SaveDataFileInPlace(const ACliContext& context, Database::ADatabase& db)
{
    const Database::AFileReport report = Session(context).Save(db);
    PrintReport(context, report);
    return report.Succeeded();
}

}  // namespace Cli
