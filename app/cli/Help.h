// The English help of fendral-cli.
#pragma once

#include "CommandTable.h"

#include <ostream>

namespace Cli {

void PrintProgramHelp(std::ostream& out);
void PrintCommandHelp(std::ostream& out, const ACommand& command);
// One line that points a mistaken user to the help.
void PrintUsageHint(std::ostream& out, std::string_view command);

}  // namespace Cli
