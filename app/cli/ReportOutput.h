// What the report and budget commands print with: texts of amounts and dates for people
// and for JSON, column titles and a column table for the terminal.
#pragma once

#include "CliContext.h"

#include "core/CommonTexts.h"
#include "database/Database.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
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

// The currency's code and number of decimals (0..4).
struct ACurrencyFacts {
    std::u16string code;
    int decimals = 2;
};
ACurrencyFacts FactsOf(Database::ADatabase& db, Database::AReference<Database::ACurrency> currency);

// "Дата", the first column of the reports over time.
constexpr int kDateColumn = UtilityClasses::Strings::CommonText::kDate;
// A column's title, and one for amounts in a currency: "Title, CODE".
std::u16string ColumnTitle(const ACliContext& context, int id);
std::u16string ColumnTitle(const ACliContext& context, int id, std::u16string_view currencyCode);
// A tree row's name, two blanks a level.
std::u16string Indented(std::u16string_view name, int depth);

// Columns for the terminal: the first left-aligned, the others right-aligned, two blanks apart.
class ATextTable {
public:
    void Row(std::vector<std::u16string> cells) { rows_.push_back(std::move(cells)); }
    void Print(std::ostream& out) const;

private:
    std::vector<std::vector<std::u16string>> rows_;
};

}  // namespace Cli
