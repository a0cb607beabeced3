#include "ExportCommand.h"

#include "CliMessages.h"
#include "DataFileAccess.h"
#include "ExchangeSupport.h"
#include "ReportOptions.h"

#include "database/StepView.h"
#include "exchange/workbook/AExcel.h"
#include "exchange/export/ExportRun.h"
#include "exchange/export/ExportSources.h"
#include "exchange/modules/XmlExportModule.h"

namespace Cli {

namespace {

using namespace ExportImport;
using Database::Engine::ATableImpl;

AExitCode UsageError(const ACliContext& context, const AParsedArguments& arguments, const std::string& text)
{
    context.err << "fendral-cli: " << text << "\nTry 'fendral-cli " << arguments.command << " --help'.\n";
    return kUsageError;
}

AExitCode NotInFile(const ACliContext& context, const std::string& text)
{
    context.err << "fendral-cli: " << text << '\n';
    return kFailed;
}

// --only KINDS: the kinds named are exported, the others not.
bool ApplyKinds(const std::string& list, AExportSelection& selection, std::string& unknown)
{
    selection.currencies = selection.rates = selection.accounts = selection.classifiers = selection.transactions =
        false;
    for (const std::string& kind : SplitList(list)) {
        bool* flag = kind == "currencies"     ? &selection.currencies
                     : kind == "rates"        ? &selection.rates
                     : kind == "accounts"     ? &selection.accounts
                     : kind == "classifiers"  ? &selection.classifiers
                     : kind == "transactions" ? &selection.transactions
                                              : nullptr;
        if (!flag) {
            unknown = kind;
            return false;
        }
        *flag = true;
    }
    return true;
}

// --classifiers NAMES: by singular or plural name, in the order given.
bool ApplyClassifiers(Database::ADatabase& db, const std::string& list, AExportSelection& selection,
                      std::string& unknown)
{
    selection.classifierList.clear();
    for (const std::string& name : SplitList(list)) {
        const std::u16string wanted = FromUtf8(name);
        const auto* slot = Database::FirstLive(db.Classifiers(), [&](const Database::AClassifier& classifier) {
            return db.Text(classifier.singular) == wanted || db.Text(classifier.plural) == wanted;
        });
        if (!slot) {
            unknown = name;
            return false;
        }
        selection.classifierList.push_back(ATableImpl<Database::AClassifier>::RefTo(slot));
    }
    return true;
}

}  // namespace

AExitCode RunExportCommand(const ACliContext& context, const AParsedArguments& arguments)
{
    const std::string& file = arguments.positionals[0];
    const std::string output = context.WholePath(arguments.positionals[1]);
    const std::string format = arguments.Option("--format").value_or("xml");

    AExportSelection selection;
    if (const auto kinds = arguments.Option("--only")) {
        std::string unknown;
        if (!ApplyKinds(*kinds, selection, unknown))
            return UsageError(context, arguments,
                              "--only takes currencies, rates, accounts, classifiers, transactions, not '" + unknown +
                                  "'");
    }
    const auto from = arguments.Option("--from"), to = arguments.Option("--to");
    if (from.has_value() != to.has_value())
        return UsageError(context, arguments, "--from and --to go together");
    if (from) {
        const auto first = ParseCliDate(*from), last = ParseCliDate(*to);
        if (!first || !last)
            return UsageError(context, arguments, "a date is written YYYY-MM-DD: '" + (first ? *to : *from) + "'");
        if (*first > *last)
            return UsageError(context, arguments, "--from is after --to");
        selection.period = AExportPeriod{*first, *last};
    }
    ACommandSession command(context);
    AModuleSession& session = command.Session();
    const auto source = CreateExportSource(session, ProgramLayout().pluginFolder);
    const AModuleGuid* builtIn = BuiltInModule(format, FileTypeXML::kExportToXmlId, FileTypeExcel::kExportToXlsId);
    AExportInterface* module = FindModule(*source, format, builtIn);
    if (!module)
        return UsageError(context, arguments, "there is no export module \"" + format + "\"");

    Database::ADatabase db;
    const AOpenOutcome opened = OpenDataFile(context, db, file);
    if (!opened.open)
        return opened.exitCode;

    const AExportSelection everything = SelectEverything(db, {});
    selection.classifierList = everything.classifierList;
    std::string unknown;
    if (const auto names = arguments.Option("--classifiers"); names && !ApplyClassifiers(db, *names, selection, unknown))
        return NotInFile(context, "the file has no classifier \"" + unknown + "\"");
    if (arguments.Option("--accounts")) {
        UserInterface::Filters::AAccountSelection accounts;
        AReportOptionReader reader(context, db, arguments);
        if (!reader.Accounts(accounts))
            return reader.Failure();
        selection.transactionAccounts = accounts.Accounts();
    }

    AExportRun run;
    run.selection = std::move(selection);
    run.fileName = FromUtf8(output);
    const HRESULT hr = RunExport(*module, db, run, session);
    PrintModuleMessages(context, session);
    if (Result::Failed(hr))
        return kFailed;
    return RunOutcome(session, opened.exitCode);
}

}  // namespace Cli
