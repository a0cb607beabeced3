// The password of a protected data file: FENDRAL_PASSWORD when it is set, else
// typed without echo when standard input is a terminal; otherwise the open is
// cancelled, so that a script never hangs waiting for input.
#pragma once

#include "CliContext.h"

#include "database/Database.h"

#include <optional>
#include <string>

namespace Cli {

Database::APasswordPrompt MakePasswordPrompt(const ACliContext& context);

struct ANewPassword {
    std::u16string password;
    std::u16string repeated;
};
// The new password for passwd: FENDRAL_NEW_PASSWORD when it is set (taken as typed twice),
// else typed twice without echo on a terminal; none otherwise or at the end of input.
std::optional<ANewPassword> ReadNewPassword(const ACliContext& context);

}  // namespace Cli
