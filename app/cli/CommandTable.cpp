#include "CommandTable.h"

#include "ExportCommand.h"
#include "FileCommands.h"
#include "ImportCommand.h"
#include "PasswordCommand.h"
#include "RateCommands.h"
#include "ReportCommands.h"

namespace Cli {

namespace {

const ACommand kCommands[] = {
    {{"new", {"FILE"}, {}, {}},
     "FILE",
     "create a data file with the new-database contents",
     "FILE must not exist yet.",
     RunNew},
    {{"info", {"FILE"}, {}, {"--json"}},
     "FILE [--json]",
     "header, features, record counts, consistency errors and read-only flag",
     "--json prints the same as one JSON object with stable English keys.",
     RunInfo},
    {{"check", {"FILE"}, {}, {}},
     "FILE",
     "consistency check: prints the error count",
     "Exits with 3 when the file has consistency errors.",
     RunCheck},
    {{"convert", {"SOURCE", "TARGET"}, {}, {}},
     "SOURCE TARGET",
     "open any data file and save it as TARGET",
     "TARGET is written as a new compound data file, replacing a file of that name.",
     RunConvert},
    {{"export", {"FILE", "OUT"}, {"--format", "--only", "--classifiers", "--from", "--to", "--accounts"}, {}},
     "FILE OUT [--format xml|xlsx|MODULE] [--only KINDS] [--classifiers NAMES] [--from DATE --to DATE] [--accounts LIST]",
     "export the data file (or part of it) as an interchange document or through a plug-in",
     "KINDS is a comma list of currencies, rates, accounts, classifiers, transactions (all by default).\n"
     "NAMES is a comma list of classifiers by singular or plural name, written in that order (all by\n"
     "default). Transactions are those dated from --from to --to (both included; all without them)\n"
     "that touch an account of LIST (NAME@CODE,...; every account by default). MODULE is a plug-in's\n"
     "file name (with or without .so) or its module's name. Exits with 3 when the module left messages.",
     RunExportCommand},
    {{"import", {"FILE", "IN"}, {"--format", "--account", "--reference-comment", "--csv-mapping"}, {"--dry-run", "--day-first"}},
     "FILE IN [--format xml|xlsx|ofx|qif|camt|csv|MODULE] [--account NAME@CODE] [--reference-comment N] [--csv-mapping MAP] [--day-first] [--dry-run]",
     "import an interchange document, a bank statement or a plug-in's file into the data file",
     "Every message of the read is printed to standard error; then what was accepted is saved\n"
     "into FILE as one step, unless --dry-run. MODULE is a plug-in's file name (with or without .so)\n"
     "or its module's name. Exits with 3 when there were messages.\n"
     "A bank statement (OFX or QFX, QIF, CAMT.053) goes into the account --account NAME@CODE; its\n"
     "lines that the account has already (the same bank reference, kept in extra comment N of\n"
     "--reference-comment or else in the one captioned \"Ссылка банка\", or else the same amount\n"
     "within three days under a similar text) are skipped, and new lines take the categories of\n"
     "the user's rules, then those earlier transactions of the same payee had most often.\n"
     "--day-first reads QIF dates such as 05/01/2024 as 5 January. A CSV statement needs\n"
     "MAP, e.g. \"date=0;payee=1;amount=2;separator=,;decimal=.;dates=ymd;skip=1;codepage=1251\"\n"
     "(columns from 0: date, amount or debit and credit, currency, payee, memo, reference).",
     RunImport},
    {{"report turnover", {"FILE"}, {"--from", "--to", "--currency", "--group-by", "--accounts", "--kinds"}, {"--json"}},
     "FILE --from DATE --to DATE --currency CODE --group-by CLASSIFIER [--accounts LIST] [--kinds LIST] [--json]",
     "turnover tree of a period by the nodes of one classifier",
     "DATE is YYYY-MM-DD; CLASSIFIER its singular or plural name; LIST of accounts is NAME@CODE,...\n"
     "(every account by default); --kinds takes income,expense,credits,debits (all by default).\n"
     "Exits with 3 when accounts without a rate to CODE were left out.",
     RunReportTurnover},
    {{"report dynamics", {"FILE"}, {"--from", "--to", "--currency", "--bucket", "--series"}, {"--json"}},
     "FILE --from DATE --to DATE --currency CODE --bucket KIND --series NAMES [--json]",
     "one value per time bucket for every data series",
     "KIND is a period kind's index 0..13 or its label; NAMES is a comma list of series names.\n"
     "Exits with 3 when series without a rate to CODE were left out.",
     RunReportDynamics},
    {{"report balances", {"FILE"}, {"--from", "--to", "--currency", "--accounts"}, {"--json"}},
     "FILE --from DATE --to DATE --currency CODE [--accounts LIST] [--json]",
     "balance of the accounts over the period, executed and with planned transactions",
     "LIST is NAME@CODE,... (every account by default). Exits with 3 when accounts without a rate\n"
     "to CODE were left out.",
     RunReportBalances},
    {{"report rates", {"FILE"}, {"--from", "--to", "--rate", "--in"}, {"--json"}},
     "FILE --from DATE --to DATE --rate CODE --in CODE [--json]",
     "stored exchange rates of one currency pair over the period",
     "Values are units of the --in currency for one unit of the --rate currency, four decimals.",
     RunReportRates},
    {{"budget", {"FILE"}, {"--from", "--to", "--currency"}, {"--hide-unplanned", "--json"}},
     "FILE --from DATE --to DATE --currency CODE [--hide-unplanned] [--json]",
     "plan against fact of every budget folder and article",
     "--hide-unplanned leaves out the rows without a plan. Unconvertible amounts show as ?.",
     RunBudget},
    {{"rates sources", {}, {}, {}},
     "",
     "the rate-source plug-ins of the program, with their info",
     "Lists every \"*.so\" of the plug-in folder (beside the program, or lib/fendral once installed)\n"
     "that is a usable rate source: its file name, name, host, base currency, author, e-mail and site.",
     RunRatesSources},
    {{"rates download", {"FILE"}, {"--source", "--from", "--to", "--sample", "--currencies"}, {"--names-only", "--cross"}},
     "FILE --source NAME [--names-only] [--from DATE --to DATE] [--sample N] [--currencies CODES] [--cross]",
     "download currencies and rates into the file as the download wizard does",
     "NAME is a source's file name (with or without .so) or its name. DATE is YYYY-MM-DD; the period\n"
     "runs from the 1st of this month to today unless given. N samples the days: 0 every day,\n"
     "1 Mondays, 2 month starts (default), 3 quarter starts, 4 half-year starts. CODES is a comma list\n"
     "of the currencies to add (default: those the file has already); --cross adds cross rates.\n"
     "Exits with 3 when resources failed or a listed currency was not downloaded.",
     RunRatesDownload},
    {{"passwd", {"FILE"}, {}, {}},
     "FILE",
     "change the password of the file",
     "The current password is read as for every command (FENDRAL_PASSWORD or a prompt); the new one\n"
     "from FENDRAL_NEW_PASSWORD, else typed twice without echo on a terminal. An empty new password\n"
     "removes the protection. The change is one step, saved in place after a due backup copy.",
     RunPasswd},
};

}  // namespace

std::span<const ACommand> Commands() { return kCommands; }

std::vector<ACommandSyntax> CommandSyntaxes()
{
    std::vector<ACommandSyntax> syntaxes;
    for (const ACommand& command : kCommands)
        syntaxes.push_back(command.syntax);
    return syntaxes;
}

const ACommand* FindCommandEntry(std::string_view name)
{
    for (const ACommand& command : kCommands)
        if (command.syntax.name == name)
            return &command;
    return nullptr;
}

}  // namespace Cli
