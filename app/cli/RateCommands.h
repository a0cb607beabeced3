// fendral-cli rates sources | rates download: the rate-source plug-ins beside the
// program, and a download into a data file as the download wizard does it.
#pragma once

#include "CliArguments.h"
#include "CliContext.h"

namespace Cli {

AExitCode RunRatesSources(const ACliContext& context, const AParsedArguments& arguments);
AExitCode RunRatesDownload(const ACliContext& context, const AParsedArguments& arguments);

}  // namespace Cli
