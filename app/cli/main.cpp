// fendral-cli: the command-line program over the same layers the GUI uses.
#include "CliArguments.h"
#include "CliContext.h"
#include "CommandTable.h"
#include "Help.h"

#include "core/AStrings.h"
#include "core/Assert.h"
#include "core/LanguageFile.h"
#include "core/LocaleInfo.h"
#include "core/Version.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace Cli;
using UtilityClasses::Strings::AStrings;

// Language files lie where the GUI finds them too. False when NAME names none.
bool SelectLanguageByName(std::unique_ptr<AStrings>& strings, const std::string& name)
{
    using namespace UtilityClasses::Strings;
    const std::vector<ALanguage> languages = ListLanguages(ProgramLayout().languageFolder);
    const int index = FindLanguage(languages, name);
    if (index < 0)
        return false;
    SelectLanguage(strings, languages, index, [](std::string_view) {});
    return true;
}

// Exit code 3 means "done with messages" here, so a broken invariant ends with 1.
void InstallAssertionHandler()
{
    Fendral::SetAssertionHandler([](const std::string& report) {
        std::cerr << "fendral-cli: internal error\n" << report << std::endl;
        std::_Exit(kFailed);
        return false;
    });
}

int Run(const std::vector<std::string>& words)
{
    const std::vector<ACommandSyntax> syntaxes = CommandSyntaxes();
    const AParseOutcome parsed = ParseArguments(words, syntaxes);
    const AParsedArguments& arguments = parsed.arguments;
    if (!parsed.Ok()) {
        std::cerr << "fendral-cli: " << parsed.error << '\n';
        PrintUsageHint(std::cerr, arguments.command);
        return kUsageError;
    }
    if (arguments.version) {
        std::cout << Version::kMajor << '.' << Version::kMinor << '.' << Version::kBuild << '\n';
        return kDone;
    }
    const ACommand* command = FindCommandEntry(arguments.command);
    if (arguments.help) {
        if (command)
            PrintCommandHelp(std::cout, *command);
        else
            PrintProgramHelp(std::cout);
        return kDone;
    }

    auto strings = std::make_unique<AStrings>(UtilityClasses::Strings::UserLocale());
    if (auto language = arguments.Option(kLanguageOption); language && !SelectLanguageByName(strings, *language)) {
        std::cerr << "fendral-cli: there is no language file \"" << *language << ".lng\"\n";
        return kUsageError;
    }
    std::error_code error;
    ACliContext context{*strings, std::cout, std::cerr, std::cin};
    context.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    context.inIsTerminal = ::isatty(STDIN_FILENO) == 1;
    if (const char* password = std::getenv("FENDRAL_PASSWORD"))
        context.password = password;
    if (const char* newPassword = std::getenv("FENDRAL_NEW_PASSWORD"))
        context.newPassword = newPassword;
    context.currentFolder = std::filesystem::current_path(error).string();
    const int exitCode = command->run(context, arguments);
    std::cout.flush();
    return exitCode;
}

}  // namespace

int main(int argc, char** argv)
{
    InstallAssertionHandler();
    std::vector<std::string> words(argv + 1, argv + argc);
    return Run(words);
}
