// Every command fendral-cli knows: its syntax, its help and what runs it.
#pragma once

#include "CliArguments.h"
#include "CliContext.h"

#include <span>
#include <string_view>
#include <vector>

namespace Cli {

using ACommandHandler = AExitCode (*)(const ACliContext&, const AParsedArguments&);

struct ACommand {
    ACommandSyntax syntax;
    std::string_view usage;    // the arguments after the command's name
    std::string_view summary;  // one line for the command list
    std::string_view details;  // more lines for "COMMAND --help"
    ACommandHandler run;
};

std::span<const ACommand> Commands();
std::vector<ACommandSyntax> CommandSyntaxes();
const ACommand* FindCommandEntry(std::string_view name);

}  // namespace Cli
