// fendral-cli import FILE IN [--format xml|xlsx|MODULE] [--dry-run]: the import wizard
// without its pages. The read phase's messages go to standard error; the save phase
// follows unless --dry-run.
#pragma once

#include "CliArguments.h"
#include "CliContext.h"

namespace Cli {

AExitCode RunImport(const ACliContext& context, const AParsedArguments& arguments);

}  // namespace Cli
