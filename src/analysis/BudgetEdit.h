// Editing the budget tree and its plans: the folder and article dialogs' checks, and
// every accepted change as one undoable step named after the dialog's title.
#pragma once

#include "analysis/AnalysisTexts.h"
#include "analysis/BudgetPlan.h"
#include "analysis/ReportMessage.h"
#include "core/AStrings.h"
#include "database/Database.h"
#include "database/FolderCommands.h"

#include <optional>
#include <string>

namespace UserInterface::Budget {

using Database::AReference;
using UtilityClasses::Strings::AStrings;

// The folder dialog's checks on confirming, in order; trims the name in place (outer
// blanks off, inner runs to one). Sibling names compare exactly; self is the folder
// being changed.
std::optional<int> CheckFolder(Database::ADatabase& db, std::u16string& name, AReference<Database::ABudgetItem> parent,
                               AReference<Database::ABudgetItem> self = {});
// The article dialog: a series is required.
std::optional<int> CheckArticle(Database::ADatabase& db, AReference<Database::ASeries> series);

// Each checks first and changes nothing when refused (the refusal's message id comes back).
// A parent that is not a folder, or (for a change) the row itself or a row below it, is
// no choice the dialogs offer: nothing is done and no refusal comes back.
struct AEditOutcome {
    std::optional<int> refusal;
    AReference<Database::ABudgetItem> item;  // the row added or changed
};
AEditOutcome AddFolder(Database::ADatabase& db, const AStrings& strings, std::u16string name,
                       AReference<Database::ABudgetItem> parent);
AEditOutcome ChangeFolder(Database::ADatabase& db, const AStrings& strings, AReference<Database::ABudgetItem> folder,
                          std::u16string name, AReference<Database::ABudgetItem> parent);
AEditOutcome AddArticle(Database::ADatabase& db, const AStrings& strings, AReference<Database::ASeries> series,
                        AReference<Database::ABudgetItem> parent);
// Rewrites only the fields that differ; no step at all when nothing does.
AEditOutcome ChangeArticle(Database::ADatabase& db, const AStrings& strings, AReference<Database::ABudgetItem> article,
                           AReference<Database::ASeries> series, AReference<Database::ABudgetItem> parent);

// "Переместить статью бюджета". Refused (false, nothing done) when the target is the row
// itself or lies below it: the tree would lose the row in a loop. The target must be a folder.
bool MoveItem(Database::ADatabase& db, const AStrings& strings, AReference<Database::ABudgetItem> item,
              AReference<Database::ABudgetItem> newParent);

// The confirmations of deleting.
AReportMessage DeleteQuestion(Database::ADatabase& db, AReference<Database::ABudgetItem> item);
// "В удаляемой статье используется серия данных "#s"..." for an article with a series.
std::optional<AReportMessage> DeleteSeriesOffer(Database::ADatabase& db, AReference<Database::ABudgetItem> article);
// "Удалить папку" (with every row below it) or "Удалить статью", with the article's series
// in the same step when the user accepted the offer.
void DeleteItem(Database::ADatabase& db, const AStrings& strings, AReference<Database::ABudgetItem> item,
                bool withSeries = false);

// The plans dialog of one article for one year.
struct APlanInput {
    int year = 0;
    AReference<Database::ACurrency> currency;
    std::uint32_t kind = Database::ABudgetLimit::kNoPlan;
    APlanFields fields;
};
// What the dialog starts with: the stored record, or for a year without one, kind "План не
// установлен" with the currency preselected in the combo.
APlanInput ReadPlan(Database::ADatabase& db, AReference<Database::ABudgetItem> article, int year,
                    AReference<Database::ACurrency> preselected);
// One step titled "Планы для статьи "#s"": the record of the year is created or rewritten
// with the amount that belongs to the kind and the twelve months as shown.
bool StorePlan(Database::ADatabase& db, const AStrings& strings, AReference<Database::ABudgetItem> article,
               const APlanInput& input);

}  // namespace UserInterface::Budget
