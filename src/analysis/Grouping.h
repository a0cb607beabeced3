// The grouping choices of the transaction list ("Группировать по:") and the group rows
// a transaction falls into.
#pragma once

#include "analysis/AnalysisTexts.h"
#include "analysis/CategoryMap.h"
#include "core/AStrings.h"
#include "database/Database.h"

#include <string>
#include <vector>

namespace UserInterface::Filters {

using UtilityClasses::Strings::AStrings;

enum class AGroupByKind : std::uint8_t { Executed, Blocked, Recurring, Date, BudgetDate, Classifier };

struct AGroupByChoice {
    AGroupByKind kind = AGroupByKind::Executed;
    AReference<Database::AClassifier> classifier;  // for AGroupByKind::Classifier
    std::u16string name;     // shown inside the drop-down list
    std::u16string caption;  // shown in the combo: the pattern filled with the name
};

// The choices for the data file as it is now, in combo order: the three flags, the date,
// the budget date (when the file keeps budget dates), then one per classifier in the order
// of the classifier table. The report page offers the classifiers only.
std::vector<AGroupByChoice> GroupByChoices(Database::ADatabase& db, const AStrings& strings,
                                           bool classifiersOnly = false);

struct AGroupRow {
    int level = 0;          // 0 outermost; the date groups nest year, month, day
    std::int64_t key = 0;   // equal keys on one level are one row; keys sort the rows
    std::u16string caption;
};

class AGrouper {
public:
    AGrouper(Database::ADatabase& db, const AStrings& strings, AGroupByChoice choice);

    // The group rows of one transaction, outermost first.
    std::vector<AGroupRow> RowsOf(const Database::Engine::ASlot<Database::ATransaction>& transaction) const;

private:
    std::vector<AGroupRow> DateRows(ADate date) const;

    Database::ADatabase& db_;
    const AStrings& strings_;
    AGroupByChoice choice_;
    ACategoryMap categories_;
};

}  // namespace UserInterface::Filters
