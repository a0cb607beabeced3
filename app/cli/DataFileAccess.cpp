#include "DataFileAccess.h"

#include "CliMessages.h"
#include "PasswordPrompt.h"
#include "TerminalProgress.h"

namespace Cli {

namespace {
// Titles of the progress bar while a file is read or written.
constexpr int kReadingFile = 496;
constexpr int kWritingFile = 497;
}  // namespace

AOpenOutcome OpenDataFile(const ACliContext& context, Database::ADatabase& db, const std::string& path)
{
    const std::u16string name = FromUtf8(path);
    db.SetPasswordPrompt(MakePasswordPrompt(context));
    // Texts of previous-generation files are 8-bit in the language's code page.
    db.SetTextCodePage(context.strings.CodePage());
    HRESULT result;
    {
        ATerminalProgress progress(context, db.Progress(), context.strings.Format(kReadingFile, {name}));
        result = db.Open(context.WholePath(path));
    }
    const AOpenVerdict verdict = JudgeOpenResult(result);
    if (verdict.messageId == MessageId::kOpenedWithErrors)
        PrintMessage(context, context.err, verdict.messageId, {name, db.LoadErrors()});
    else if (verdict.messageId != 0)
        PrintMessage(context, context.err, verdict.messageId, {name});
    return {verdict.exitCode, Result::Succeeded(result)};
}

bool SaveDataFileAs(const ACliContext& context, Database::ADatabase& db, const std::string& path)
{
    HRESULT result;
    {
        ATerminalProgress progress(context, db.Progress(), context.strings.Format(kWritingFile, {FromUtf8(path)}));
        result = db.SaveAs(context.WholePath(path));
    }
    if (Result::Succeeded(result))
        return true;
    PrintMessage(context, context.err, MessageId::kSaveFailed, {static_cast<std::uint32_t>(result)});
    return false;
}

AOpenOutcome OpenDataFileToChange(const ACliContext& context, Database::ADatabase& db, const std::string& path)
{
    const AOpenOutcome opened = OpenDataFile(context, db, path);
    if (opened.open && db.ReadOnly()) {
        context.err << "fendral-cli: the file can't be saved in place; convert it to a new file first\n";
        return {kFailed, false};
    }
    return opened;
}

}  // namespace Cli
