// report turnover|dynamics|balances|rates and budget: the analysis pages' results in a
// terminal (the system's texts and formatting) or as JSON for scripts (--json).
#pragma once

#include "CliArguments.h"
#include "CliContext.h"

namespace Cli {

AExitCode RunReportTurnover(const ACliContext& context, const AParsedArguments& arguments);
AExitCode RunReportDynamics(const ACliContext& context, const AParsedArguments& arguments);
AExitCode RunReportBalances(const ACliContext& context, const AParsedArguments& arguments);
AExitCode RunReportRates(const ACliContext& context, const AParsedArguments& arguments);
AExitCode RunBudget(const ACliContext& context, const AParsedArguments& arguments);

}  // namespace Cli
