// What the report and budget commands share: texts of amounts and dates for people and
// for JSON, a column table for the terminal, the validation and the report's messages.
#pragma once

#include "CliContext.h"

#include "analysis/PageRprt.h"
#include "analysis/ReportMessage.h"
#include "database/Database.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace Cli {

using AJson = nlohmann::ordered_json;

// For people: the amount in the user's style with the currency's decimals, and the date
// by the short picture "dd.MM.yyyy".
std::u16string PeopleAmount(const ACliContext& context, Database::AMoney amount, int decimals);
std::u16string PeopleDate(const ACliContext& context, ADate date);
// For scripts: "-12.5000" and "YYYY-MM-DD".
std::string JsonAmount(Database::AMoney amount);
std::string JsonDate(ADate date);
std::string Utf8(std::u16string_view text);

// The JSON object every report starts with: "report", "from", "to".
AJson ReportJson(const char* report, const UserInterface::Filters::ADatePeriod& period);

// The currency's code and number of decimals (0..4).
struct ACurrencyFacts {
    std::u16string code;
    int decimals = 2;
};
ACurrencyFacts FactsOf(Database::ADatabase& db, Database::AReference<Database::ACurrency> currency);

// Columns for the terminal: the first left-aligned, the others right-aligned, two blanks apart.
class ATextTable {
public:
    void Row(std::vector<std::u16string> cells) { rows_.push_back(std::move(cells)); }
    void Print(std::ostream& out) const;

private:
    std::vector<std::vector<std::u16string>> rows_;
};

// Prints the first failed check's message and answers false.
bool ValidateForCli(const ACliContext& context, Database::ADatabase& db,
                    const UserInterface::Reports::AReportParameters& parameters);
// Prints the messages to standard error; answers the JSON list of their texts.
AJson ReportMessages(const ACliContext& context, const std::vector<UserInterface::AReportMessage>& messages);
// Done, or done with messages; a file opened with consistency errors keeps its code.
AExitCode Outcome(AExitCode opened, bool hadMessages);

}  // namespace Cli
