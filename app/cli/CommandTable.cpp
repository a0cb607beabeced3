#include "CommandTable.h"

#include "FileCommands.h"

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
