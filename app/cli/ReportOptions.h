// The options of the report and budget commands, read from the command line and looked
// up in the open data file. A reader that fails has printed why and set the exit code:
// 2 for a malformed or missing option, 1 for a name the file does not have.
#pragma once

#include "CliArguments.h"
#include "CliContext.h"

#include "analysis/DateSpan.h"
#include "analysis/Filters.h"
#include "database/Database.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Cli {

// "YYYY-MM-DD" of a calendar date, nothing else.
std::optional<ADate> ParseCliDate(std::string_view text);
// The pieces of a comma list; empty pieces are dropped.
std::vector<std::string> SplitList(std::string_view text);

// Before the file is opened: every required option is there and the dates are well
// formed; otherwise prints the usage error and answers false.
bool RequireOptions(const ACliContext& context, const AParsedArguments& arguments,
                    std::initializer_list<std::string_view> options);

class AReportOptionReader {
public:
    AReportOptionReader(const ACliContext& context, Database::ADatabase& db, const AParsedArguments& arguments)
        : context_(context), db_(db), arguments_(arguments)
    {
    }

    // --from and --to; the kind is recognised from the dates as the period selector does.
    bool Period(UserInterface::Filters::ADatePeriod& period);
    // A required currency option ("--currency", "--rate", "--in") by its code.
    bool Currency(std::string_view option, Database::AReference<Database::ACurrency>& currency);
    // --accounts NAME@CODE,...; every account without the option.
    bool Accounts(UserInterface::Filters::AAccountSelection& accounts);
    // --kinds income,expense,credits,debits; all four without the option.
    bool Kinds(UserInterface::Filters::ATransactionKindFlags& kinds);
    // --group-by: a classifier by its singular or plural name.
    bool Grouping(Database::AReference<Database::AClassifier>& classifier);
    // --bucket: a period kind's index 0..13 or its label.
    bool Bucket(UserInterface::Filters::APeriodKind& bucket);
    // --series NAME,...: every named series, in the order given.
    bool SeriesList(std::vector<Database::AReference<Database::ASeries>>& series);

    AExitCode Failure() const { return failure_; }

private:
    std::optional<std::string> Required(std::string_view option);
    bool UsageError(const std::string& text);
    bool NotInFile(const std::string& text);

    const ACliContext& context_;
    Database::ADatabase& db_;
    const AParsedArguments& arguments_;
    AExitCode failure_ = kDone;
};

}  // namespace Cli
