// The command line of fendral-cli: a command word, its positional arguments and
// "--name value" / "--name=value" options, checked against the command's own list.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Cli {

struct ACommandSyntax {
    std::string_view name;
    std::vector<std::string_view> positionals;   // their names, as the usage line shows them
    std::vector<std::string_view> valueOptions;  // options followed by a value, with their "--"
    std::vector<std::string_view> flags;         // options on their own, with their "--"
};

struct AParsedArguments {
    std::string command;  // empty with --help or --version alone
    std::vector<std::string> positionals;
    std::map<std::string, std::string, std::less<>> options;
    std::vector<std::string> flags;
    bool help = false;
    bool version = false;

    bool Flag(std::string_view name) const;
    std::optional<std::string> Option(std::string_view name) const;
};

struct AParseOutcome {
    AParsedArguments arguments;
    std::string error;  // empty when the command line is well formed
    bool Ok() const { return error.empty(); }
};

// Options that every command takes.
inline constexpr std::string_view kLanguageOption = "--language";

// Parses the arguments after the program's own name. --help, --version and
// --language may stand before or after the command; "--" ends the options.
AParseOutcome ParseArguments(std::span<const std::string> arguments, std::span<const ACommandSyntax> commands);

const ACommandSyntax* FindCommand(std::span<const ACommandSyntax> commands, std::string_view name);

}  // namespace Cli
