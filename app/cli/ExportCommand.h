// fendral-cli export FILE OUT [--format xml|xlsx|MODULE] [--only KINDS] [--classifiers NAMES]
// [--from DATE --to DATE] [--accounts LIST]: the export wizard without its pages.
#pragma once

#include "CliArguments.h"
#include "CliContext.h"

namespace Cli {

AExitCode RunExportCommand(const ACliContext& context, const AParsedArguments& arguments);

}  // namespace Cli
