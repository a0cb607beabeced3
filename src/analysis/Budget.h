// The budget page's model: plan and fact of every folder and article for a period in
// one currency, how the cells show them, and the page's saved settings.
#pragma once

#include "analysis/DateSpan.h"
#include "analysis/PageStream.h"
#include "core/AStrings.h"
#include "database/Database.h"

#include <optional>
#include <string>
#include <vector>

namespace UserInterface::Budget {

using Database::AMoney;
using Database::AReference;

struct ABudgetParameters {
    Filters::ADatePeriod period;
    AReference<Database::ACurrency> currency;
    bool hideUnplanned = false;  // "Спрятать статьи, для которых не задан план"
};

struct ABudgetRow {
    AReference<Database::ABudgetItem> item;
    bool article = false;  // an article has a series; a folder has a name
    std::u16string name;   // the folder's name, or the article's series name
    AMoney plan = 0;
    AMoney fact = 0;
    bool planKnown = false;
    bool factKnown = false;
    bool planUnconvertible = false;
    bool factUnconvertible = false;
    bool hidden = false;  // no known plan while unplanned rows are hidden
    int parent = -1;
    std::vector<int> children;
};

struct ABudgetTable {
    std::vector<ABudgetRow> rows;  // parents before their children
    std::vector<int> tops;
};

// Every row, children first then their parents: plans from the plan records of the years
// the period touches (converted over each clipped period), facts from the article's series
// over the period as one bucket (by budget date when the data file keeps them).
ABudgetTable ComputeBudget(Database::ADatabase& db, const ABudgetParameters& parameters);

// "План" and "Факт": empty without a known amount, otherwise cut (not rounded) to the
// decimals; an unconvertible amount shows zero with every "0" turned into "?".
std::u16string AmountCell(const UtilityClasses::Strings::LocaleInfo& locale, AMoney amount, bool known,
                          bool unconvertible, int decimals);
// Fact over plan × 100, when both are known and convertible; 0 with a zero plan.
std::optional<double> Execution(const ABudgetRow& row);
// "Исполнение, %": two decimals and " %", or empty.
std::u16string ExecutionCell(const UtilityClasses::Strings::LocaleInfo& locale, const ABudgetRow& row);

// The page settings, format version 1: version byte, the hide option, the period, the
// currency, then the tree control's own state (kept as it is).
constexpr std::uint8_t kBudgetSettingsVersion = 1;
std::vector<std::uint8_t> SaveBudgetSettings(Database::ADatabase& db, const ABudgetParameters& parameters,
                                             const std::vector<std::uint8_t>& treeState, ADate today,
                                             bool improvedDateRange);
// Another version leaves the defaults and unticks the hide option; a damaged block leaves
// the parameters alone. Both answer false.
[[nodiscard]] bool LoadBudgetSettings(Database::ADatabase& db, const std::vector<std::uint8_t>& bytes, ADate today,
                                      ABudgetParameters& parameters, std::vector<std::uint8_t>& treeState);

}  // namespace UserInterface::Budget
