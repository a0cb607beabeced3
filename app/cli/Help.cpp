#include "Help.h"

namespace Cli {

namespace {
constexpr std::string_view kExitCodes =
    "Exit codes: 0 done; 1 failed; 2 usage error; 3 done with messages (for example\n"
    "consistency errors); 4 written by a newer version; 5 password missing; 6 file not found.\n";
}

void PrintProgramHelp(std::ostream& out)
{
    out << "Usage: fendral-cli [--language NAME] COMMAND ARGUMENTS...\n"
           "  or:  fendral-cli COMMAND --help\n"
           "  or:  fendral-cli --version\n\n"
           "Commands:\n";
    for (const ACommand& command : Commands()) {
        // Long usages are not cut: the summary goes on a line of its own after them.
        std::string head = std::string(command.syntax.name) + " " + std::string(command.usage);
        if (head.size() > 30)
            head += "\n" + std::string(33, ' ');
        else
            head.resize(31, ' ');
        out << "  " << head << command.summary << '\n';
    }
    out << "\n--language NAME uses the language file NAME.lng of the program (beside it, or in\n"
           "the share/fendral folder of its installation).\n" << kExitCodes;
}

void PrintCommandHelp(std::ostream& out, const ACommand& command)
{
    out << "Usage: fendral-cli " << command.syntax.name << ' ' << command.usage << "\n\n"
        << command.summary << ".\n"
        << command.details << "\n\n"
        << kExitCodes;
}

void PrintUsageHint(std::ostream& out, std::string_view command)
{
    out << "Try 'fendral-cli " << (command.empty() ? "" : std::string(command) + " ") << "--help'.\n";
}

}  // namespace Cli
