#include "CommandTable.h"

#include "FileCommands.h"
#include "RateCommands.h"

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
    {{"rates sources", {}, {}, {}},
     "",
     "the rate-source plug-ins found beside the program, with their info",
     "Lists every \"*.so\" beside the program that is a usable rate source: its file name,\n"
     "name, host, base currency, author, e-mail and site.",
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
