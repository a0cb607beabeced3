#include "PasswordCommand.h"

#include "CliMessages.h"
#include "DataFileAccess.h"
#include "DataFileSave.h"
#include "PasswordPrompt.h"

#include "database/Password.h"

namespace Cli {

namespace {
// What a password is worth, said where it is set.
constexpr std::string_view kPasswordNote =
    "Note: the password only makes Fendral ask for it; the file is not encrypted and keeps the password "
    "readable, so keep it on an encrypted disk if it must stay secret.";
}  // namespace

AExitCode RunPasswd(const ACliContext& context, const AParsedArguments& arguments)
{
    Database::ADatabase db;
    const AOpenOutcome opened = OpenDataFileToChange(context, db, arguments.positionals[0]);
    if (!opened.open)
        return opened.exitCode;
    // The current password was checked when the file was opened.
    const std::optional<ANewPassword> typed = ReadNewPassword(context);
    if (!typed)
        return kPasswordMissing;
    const auto result = Database::ChangePassword(db, Database::PasswordOf(db), typed->password, typed->repeated,
                                                 context.strings.Text(Database::kChangePasswordLabel));
    switch (result) {
    case Database::APasswordChange::Changed: break;
    case Database::APasswordChange::NewDiffers:
        PrintMessage(context, context.err, Database::kNewPasswordsDifferMessage);
        return kFailed;
    case Database::APasswordChange::WrongCurrent:
        PrintMessage(context, context.err, Database::kPasswordMismatchMessage);
        return kFailed;
    case Database::APasswordChange::StepOpen: return kFailed;
    }
    if (!SaveDataFileInPlace(context, db))
        return kFailed;
    context.out << kPasswordNote << '\n';
    return kDone;
}

}  // namespace Cli
