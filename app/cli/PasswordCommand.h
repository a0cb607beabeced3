// fendral-cli passwd: changes the password of a data file.
#pragma once

#include "CliArguments.h"
#include "CliContext.h"

namespace Cli {

AExitCode RunPasswd(const ACliContext& context, const AParsedArguments& arguments);

}  // namespace Cli
