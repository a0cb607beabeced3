// The password of a protected data file: FENDRAL_PASSWORD when it is set, else
// typed without echo when standard input is a terminal; otherwise the open is
// cancelled, so that a script never hangs waiting for input.
#pragma once

#include "CliContext.h"

#include "database/Database.h"

namespace Cli {

Database::APasswordPrompt MakePasswordPrompt(const ACliContext& context);

}  // namespace Cli
