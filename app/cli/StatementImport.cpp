#include "StatementImport.h"

#include "AccountArgument.h"
#include "CliMessages.h"
#include "DataFileAccess.h"
#include "DataFileSave.h"
#include "ExchangeSupport.h"

#include "core/FileSystem.h"
#include "exchange/import/ImportTexts.h"
#include "exchange/statements/CategoryRules.h"
#include "exchange/statements/StatementFormats.h"
#include "exchange/statements/StatementImport.h"

#include <cerrno>
#include <cstring>

namespace Cli {

using namespace ExportImport::Statements;

namespace {

constexpr std::size_t kMaxStatementSize = std::size_t{256} << 20;

const char* ProblemText(AProblemKind kind)
{
    switch (kind) {
    case AProblemKind::NotAStatement: return "not a statement of this format";
    case AProblemKind::BadDate: return "a date that cannot be read";
    case AProblemKind::BadAmount: return "an amount that cannot be read";
    case AProblemKind::MissingDate: return "a line without a date";
    case AProblemKind::MissingAmount: return "a line without an amount";
    case AProblemKind::BadText: return "text that is not in the declared encoding";
    case AProblemKind::Truncated: return "cut off before its end";
    case AProblemKind::NoCsvProfile: return "no mapping of its columns";
    }
    return "damaged";
}

AExitCode Usage(const ACliContext& context, const std::string& text)
{
    context.err << "fendral-cli: " << text << '\n';
    return kUsageError;
}

}  // namespace

bool IsStatementFormat(std::string_view format)
{
    return StatementFormatNamed(format).has_value();
}

AExitCode RunStatementImport(const ACliContext& context, const AParsedArguments& arguments, std::string_view format)
{
    const std::string& input = arguments.positionals[1];
    const auto accountName = arguments.Option("--account");
    if (!accountName)
        return Usage(context, "a statement is imported into one account: --account NAME@CODE");
    AStatementImportOptions options;
    if (const auto comment = arguments.Option("--reference-comment")) {
        if (comment->size() != 1 || (*comment)[0] < '1' || (*comment)[0] > '4')
            return Usage(context, "--reference-comment takes 1, 2, 3 or 4");
        options.referenceComment = (*comment)[0] - '1';
    }
    AStatementReadOptions readOptions;
    readOptions.dayFirst = arguments.Flag("--day-first");
    if (format == "csv") {
        const auto text = arguments.Option("--csv-mapping");
        const auto parsed = text ? ParseCsvMapping(*text) : std::nullopt;
        if (!parsed)
            return Usage(context, "a CSV statement needs --csv-mapping \"date=N;amount=N|debit=N;credit=N;...\"");
        readOptions.mapping = *parsed;
    }
    Files::ALocalFileSystem fs;
    std::string bytes;
    if (const int error = fs.ReadFile(context.WholePath(input), bytes, kMaxStatementSize); error != 0) {
        if (error == ENOENT) {
            PrintMessage(context, context.err, Database::FileMessage::kFileNotFound, {FromUtf8(input)});
            return kFileNotFound;
        }
        context.err << "fendral-cli: cannot read " << input << ": " << std::strerror(error) << '\n';
        return kFailed;
    }

    const bool dryRun = arguments.Flag("--dry-run");
    Database::ADatabase db;
    const AOpenOutcome opened =
        dryRun ? OpenDataFile(context, db, arguments.positionals[0]) : OpenDataFileToChange(context, db, arguments.positionals[0]);
    if (!opened.open)
        return opened.exitCode;
    std::vector<Database::AReference<Database::AAccount>> accounts;
    switch (FindAccounts(db, *accountName, accounts)) {
    case AAccountLookup::Found: break;
    case AAccountLookup::Malformed: return Usage(context, "an account is written NAME@CODE");
    case AAccountLookup::NotInFile:
        context.err << "fendral-cli: the file has no account \"" << *accountName << "\"\n";
        return kFailed;
    }

    const AStatementRead read = ReadStatement(*StatementFormatNamed(format), bytes, readOptions);
    for (const AProblem& problem : read.problems)
        context.err << input << (problem.line ? ":" + std::to_string(problem.line) : std::string()) << ": "
                    << ProblemText(problem.kind) << (problem.where.empty() ? "" : " (" + problem.where + ")") << '\n';
    if (read.statement.lines.empty())
        return read.problems.empty() ? kDone : kFailed;
    const std::string accountCode = accountName->substr(accountName->rfind('@') + 1);
    if (const std::string foreign = ForeignCurrency(read.statement, accountCode); !foreign.empty()) {
        context.err << "fendral-cli: the statement is in " << foreign << ", the account "
                    << *accountName << " in " << accountCode << "; nothing was imported\n";
        return kFailed;
    }

    // Without --reference-comment, the comment the data file captions for references, as the wizard does.
    if (!options.referenceComment)
        options.referenceComment = ReferenceCommentOf(db);
    // The rules the user keeps in the program's settings apply here as in the wizard.
    ACommandSession command(context);
    options.rules = ACategoryRules(command.Session().Store()).Resolve(db);
    const AStatementPlan plan = PlanStatement(db, accounts.front(), read.statement, options);
    context.out << plan.NewCount() << " new lines, " << plan.duplicates << " already in the file\n";
    const AExitCode clean = read.problems.empty() ? opened.exitCode : kDoneWithMessages;
    if (dryRun || plan.NewCount() == 0)
        return clean;
    SaveStatement(db, accounts.front(), plan, options, context.strings.Text(ExportImport::ImportText::kImportCaption));
    if (!SaveDataFileInPlace(context, db))
        return kFailed;
    PrintMessage(context, context.out, ExportImport::ImportText::kImportCompleted);
    return clean;
}

}  // namespace Cli
