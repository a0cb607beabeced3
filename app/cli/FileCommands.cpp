#include "FileCommands.h"

#include "CliMessages.h"
#include "DataFileAccess.h"
#include "InfoReport.h"

#include <filesystem>
#include <system_error>

namespace Cli {

namespace {

bool Exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

}  // namespace

AExitCode RunNew(const ACliContext& context, const AParsedArguments& arguments)
{
    const std::string& path = arguments.positionals[0];
    // Saving replaces whatever is there; a typo must not wipe a household's books.
    if (Exists(context.WholePath(path))) {
        context.err << "fendral-cli: \"" << path << "\" already exists; a new data file needs a new name.\n";
        return kFailed;
    }
    Database::ADatabase db;
    db.CreateDefaults();
    return SaveDataFileAs(context, db, path) ? kDone : kFailed;
}

AExitCode RunInfo(const ACliContext& context, const AParsedArguments& arguments)
{
    Database::ADatabase db;
    const AOpenOutcome opened = OpenDataFile(context, db, arguments.positionals[0]);
    if (!opened.open)
        return opened.exitCode;
    const AFileInfo info = CollectFileInfo(db);
    if (arguments.Flag("--json"))
        PrintInfoJson(context.out, info);
    else
        PrintInfoText(context.out, info);
    return opened.exitCode;
}

AExitCode RunCheck(const ACliContext& context, const AParsedArguments& arguments)
{
    Database::ADatabase db;
    const AOpenOutcome opened = OpenDataFile(context, db, arguments.positionals[0]);
    if (!opened.open)
        return opened.exitCode;
    context.out << "Consistency errors: " << db.LoadErrors() << '\n';
    return db.LoadErrors() == 0 ? kDone : kDoneWithMessages;
}

AExitCode RunConvert(const ACliContext& context, const AParsedArguments& arguments)
{
    const std::string& source = arguments.positionals[0];
    const std::string& target = arguments.positionals[1];
    // The source stays open (and locked) while the target is written.
    if (SameFile(context.WholePath(source), context.WholePath(target))) {
        context.err << "fendral-cli: convert needs a TARGET other than SOURCE\n";
        return kUsageError;
    }
    Database::ADatabase db;
    const AOpenOutcome opened = OpenDataFile(context, db, source);
    if (!opened.open)
        return opened.exitCode;
    if (!SaveDataFileAs(context, db, target))
        return kFailed;
    return opened.exitCode;
}

}  // namespace Cli
