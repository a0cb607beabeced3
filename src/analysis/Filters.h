// The filter values the transaction, report and budget pages share: the transaction-kind
// flags, the account selection with its scope, the classifier selections and the comment
// text, with the tests that narrow a list of transactions and the forms pages save.
#pragma once

#include "analysis/AnalysisTexts.h"
#include "analysis/DateSpan.h"
#include "analysis/PageStream.h"
#include "database/Database.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace UserInterface::Filters {

using Database::AReference;
using ATransactionSlot = Database::Engine::ASlot<Database::ATransaction>;
using ATransactionList = std::vector<ATransactionSlot*>;
using ARemovedSet = std::unordered_set<const ATransactionSlot*>;

// The data file's one settings record (all switches off when a damaged file has none).
Database::ADBSettings FileSettings(Database::ADatabase& db);

// "Учитывать операции:": "Прихода", "Расхода", "Зачисления переводом", "Списания переводом".
struct ATransactionKindFlags {
    bool income = true;
    bool expense = true;
    bool transferCredits = true;
    bool transferDebits = true;

    bool Any() const { return income || expense || transferCredits || transferDebits; }
    bool operator==(const ATransactionKindFlags&) const = default;
    // Four bytes, one per flag in the order above.
    void Save(APageWriter& out) const;
    [[nodiscard]] bool Load(AByteCursor& in);
};

enum class AAccountScope : std::uint8_t { AllTransactions = 0, TransfersOnly = 1 };
// The string id of the scope's label.
int AccountScopeLabel(AAccountScope scope);

// The accounts ticked in the account tree and the scope that goes with them.
class AAccountSelection {
public:
    AAccountSelection() = default;
    explicit AAccountSelection(std::vector<AReference<Database::AAccount>> accounts,
                               AAccountScope scope = AAccountScope::AllTransactions);

    const std::vector<AReference<Database::AAccount>>& Accounts() const { return accounts_; }
    bool Contains(AReference<Database::AAccount> account) const;
    bool Empty() const { return accounts_.empty(); }
    AAccountScope Scope() const { return scope_; }
    void SetScope(AAccountScope scope) { scope_ = scope; }

    // The scope as the states of its two choices (2 bytes), then the number of ticked
    // accounts and their identifiers.
    void Save(APageWriter& out, Database::ADatabase& db) const;
    // Identifiers of accounts that no longer exist are dropped.
    [[nodiscard]] bool Load(AByteCursor& in, Database::ADatabase& db);

private:
    std::vector<AReference<Database::AAccount>> accounts_;  // sorted, no duplicates
    AAccountScope scope_ = AAccountScope::AllTransactions;
};

// One row of the classifier selections: the tick and the node chosen in the combo.
struct AClassifierSelection {
    AReference<Database::AClassifier> classifier;
    bool ticked = false;
    AReference<Database::ACategory> node;

    bool Active() const { return ticked && !node.IsNull(); }
};
using AClassifierSelections = std::vector<AClassifierSelection>;

void SaveClassifierSelections(APageWriter& out, Database::ADatabase& db, const AClassifierSelections& selections);
[[nodiscard]] bool LoadClassifierSelections(AByteCursor& in, Database::ADatabase& db,
                                            AClassifierSelections& selections);

// The transactions whose date (or budget date, see ADatePeriod::UsesBudgetDates) lies in
// the period, in date order; with budget dates, those without one come too.
ATransactionList TransactionsInPeriod(Database::ADatabase& db, const ADatePeriod& period, bool budgetDatesInFile);

// Puts the list in the order of the transactions' slots. Looking up each one's relations
// then walks the relation index from front to back instead of all over it: in a large
// file entered in no date order, that is most of the time of a report.
void PutInSlotOrder(Database::ADatabase& db, ATransactionList& list);

// Keeps the transactions linked to the chosen node of every active selection, visiting
// the classifiers in the order of their table and stopping once the list is empty. Only
// the chosen node itself counts, not the nodes below it. `removed`, when given, collects
// what was taken out.
void ApplyClassifierTest(Database::ADatabase& db, ATransactionList& list, const AClassifierSelections& selections,
                         ARemovedSet* removed = nullptr);

// Keeps the transactions whose comment, or one of the extra notes the data file switches
// on, holds the text regardless of case; an empty text keeps everything.
void ApplyCommentTest(Database::ADatabase& db, ATransactionList& list, std::u16string_view text,
                      ARemovedSet* removed = nullptr);

}  // namespace UserInterface::Filters
