// Adding, changing and deleting data series, each as one undoable step, with the
// checks and messages of the series dialog and of the delete command.
#pragma once

#include "analysis/AnalysisTexts.h"
#include "analysis/ReportMessage.h"
#include "core/AStrings.h"
#include "database/Database.h"

#include <optional>
#include <string>
#include <vector>

namespace UserInterface::Series {

using Database::AReference;
using UtilityClasses::Strings::AStrings;

// What the series dialog edits.
struct ASeriesInput {
    std::u16string name;
    std::uint8_t hue = Database::ASeries::kNoHue;
    bool income = false;
    bool expense = false;
    bool transferCredits = false;
    bool transferDebits = false;
    bool debitsAboveZero = false;
    bool noBars = false;
    bool noLine = false;
    std::vector<AReference<Database::AAccount>> accounts;
    std::vector<AReference<Database::ACategory>> nodes;
};

// The dialog's values for an existing series (an empty input for a missing one).
ASeriesInput ReadSeriesInput(Database::ADatabase& db, AReference<Database::ASeries> series);

enum class ASeriesField : std::uint8_t { Name, Colour, Bars, Accounts };
struct ASeriesRefusal {
    int message = 0;
    ASeriesField focus = ASeriesField::Name;
    bool operator==(const ASeriesRefusal&) const = default;
};

// The checks on confirming, in order; trims the name (outer blanks off, inner runs to one).
std::optional<ASeriesRefusal> CheckSeriesInput(ASeriesInput& input);

// Both check first and change nothing when refused. Steps "Добавить серию" and "Изменить серию".
std::optional<ASeriesRefusal> AddSeries(Database::ADatabase& db, const AStrings& strings, ASeriesInput input,
                                        AReference<Database::ASeries>* created = nullptr);
std::optional<ASeriesRefusal> ChangeSeries(Database::ADatabase& db, const AStrings& strings,
                                           AReference<Database::ASeries> series, ASeriesInput input);

bool SeriesUsedByBudget(Database::ADatabase& db, AReference<Database::ASeries> series);
// "Удалить серию данных "#s" невозможно..." when a budget article uses it.
std::optional<AReportMessage> DeleteSeriesRefusal(Database::ADatabase& db, AReference<Database::ASeries> series);
// "Вы на самом деле хотите удалить серию данных "#s" ?"
AReportMessage DeleteSeriesQuestion(Database::ADatabase& db, AReference<Database::ASeries> series);
// The report page's delete, step "Удалить серию": false (nothing done) while a budget
// article uses the series or when it does not exist.
bool DeleteSeries(Database::ADatabase& db, const AStrings& strings, AReference<Database::ASeries> series);
// Inside an open step: the series with its account and node filters.
void DeleteSeriesInStep(Database::ADatabase& db, AReference<Database::ASeries> series);

}  // namespace UserInterface::Series
