// fendral-cli import --format ofx|qif|camt: a bank statement into one account of the file.
#pragma once

#include "CliArguments.h"
#include "CliContext.h"

#include <string_view>

namespace Cli {

bool IsStatementFormat(std::string_view format);

AExitCode RunStatementImport(const ACliContext& context, const AParsedArguments& arguments, std::string_view format);

}  // namespace Cli
