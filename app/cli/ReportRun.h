// What every report and budget command does around its own computation: the options and
// the data file before it, the JSON object or the terminal table after it.
#pragma once

#include "CliArguments.h"
#include "CliContext.h"
#include "ReportOptions.h"
#include "ReportOutput.h"

#include "analysis/PageRprt.h"
#include "analysis/ReportMessage.h"
#include "database/Database.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Cli {

// The fields every report's JSON starts with, and the report's messages for the user.
struct AReportHead {
    const char* report;  // "turnover", "budget", ...
    const UserInterface::Filters::ADatePeriod& period;
    std::optional<std::u16string> currency;  // the "currency" field, when the report has one
    const std::vector<UserInterface::AReportMessage>* messages = nullptr;  // null: the report has none
};

class AReportRun {
public:
    using AReadOptions = std::function<bool(AReportOptionReader&)>;
    // The id of the message that refuses the parameters, if any.
    using AValidate = std::function<std::optional<int>()>;

    AReportRun(const ACliContext& context, const AParsedArguments& arguments)
        : context_(context), arguments_(arguments)
    {
    }

    // The required options, the file, the period, what `readOptions` takes, then `validate`,
    // each only when the one before went well. False when one failed, having printed why;
    // ExitCode() then says how.
    bool Prepare(std::initializer_list<std::string_view> required, UserInterface::Filters::ADatePeriod& period,
                 const AReadOptions& readOptions, const AValidate& validate);
    // The same for a report page, validated as the page validates it.
    bool PrepareReport(std::initializer_list<std::string_view> required,
                       UserInterface::Reports::AReportParameters& parameters, const AReadOptions& readOptions);

    Database::ADatabase& Db() { return db_; }
    ACurrencyFacts Facts(Database::AReference<Database::ACurrency> currency) { return FactsOf(db_, currency); }

    // Prints the messages to standard error, then the result: with --json one object of the
    // head's fields, those `addFields` adds and the messages' texts; otherwise what
    // `printTable` writes. Answers the exit code: the open's own one when it was not clean,
    // else done or done with messages.
    AExitCode Finish(const AReportHead& head, const std::function<void(AJson&)>& addFields,
                     const std::function<void()>& printTable);

    AExitCode ExitCode() const { return exitCode_; }

private:
    const ACliContext& context_;
    const AParsedArguments& arguments_;
    Database::ADatabase db_;
    AExitCode exitCode_ = kDone;  // of the open until a step fails
};

}  // namespace Cli
