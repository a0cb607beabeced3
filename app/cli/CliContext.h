// What every command of fendral-cli is handed: the texts, the output streams and
// how paths given on the command line are made whole.
#pragma once

#include "core/AStrings.h"
#include "core/ProgramLayout.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace Cli {

// The process exit codes; scripts rely on them.
enum AExitCode : int {
    kDone = 0,
    kFailed = 1,
    kUsageError = 2,
    kDoneWithMessages = 3,  // for example a file opened with consistency errors
    kNewerVersion = 4,
    kPasswordMissing = 5,
    kFileNotFound = 6,
};

struct ACliContext {
    const UtilityClasses::Strings::AStrings& strings;
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
    bool errIsTerminal = false;  // progress bars only go to a terminal
    bool inIsTerminal = false;   // passwords are asked for only on a terminal
    std::optional<std::string> password;  // FENDRAL_PASSWORD, when set
    std::optional<std::string> newPassword;  // FENDRAL_NEW_PASSWORD, when set (passwd)
    std::string currentFolder;   // relative paths are taken from here, as a shell user expects

    // The path as the engine wants it: absolute and without "." or "..".
    std::string WholePath(const std::string& path) const;
};

// The folder of the running program: a portable INI file lies there.
std::string ProgramFolder();
// Where the running program's plug-ins and language files lie.
Files::AProgramLayout ProgramLayout();

}  // namespace Cli
