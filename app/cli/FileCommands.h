// The commands over whole data files: new, info, check, convert.
#pragma once

#include "CliArguments.h"
#include "CliContext.h"

namespace Cli {

AExitCode RunNew(const ACliContext& context, const AParsedArguments& arguments);
AExitCode RunInfo(const ACliContext& context, const AParsedArguments& arguments);
AExitCode RunCheck(const ACliContext& context, const AParsedArguments& arguments);
AExitCode RunConvert(const ACliContext& context, const AParsedArguments& arguments);

}  // namespace Cli
