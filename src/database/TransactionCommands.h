// The transactions page's commands on its selection: deleting, locking and unlocking, and
// executing planned transactions, each one step of its own; and the planned transactions that
// are due when a file is opened. The page asks its questions; these do the work.
#pragma once

#include "database/Database.h"
#include "database/DatabaseTexts.h"

#include <string_view>
#include <vector>

namespace Database {

using ATransactionSlots = std::vector<Engine::ASlot<ATransaction>*>;

bool AnyLocked(const ATransactionSlots& selection);
// Whether the selection holds a transaction not yet executed.
bool AnyPlanned(const ATransactionSlots& selection);

// One step named `label`: each transaction's category relations, then the transaction with
// its texts; the accounts of the executed ones (planned ones carry no balance) are each
// recalculated once. Answers those accounts.
std::vector<AReference<AAccount>> DeleteTransactions(ADatabase& db, const ATransactionSlots& selection,
                                                     std::u16string_view label);

// One step named `label` that sets or clears the locked flag; a transaction keeps its place
// among those of its day, so no balance moves. False when nothing needed changing.
bool SetTransactionsLocked(ADatabase& db, const ATransactionSlots& selection, bool locked,
                           std::u16string_view label);

// One step named `label` that executes each planned transaction of the selection as one
// occurrence of its rule (a recurring one makes its next occurrence) and recalculates the
// balances. Answers how many were executed; 0, with nothing changed, when a balance would
// leave the range.
std::size_t ExecutePlanned(ADatabase& db, const ATransactionSlots& selection, std::u16string_view label);

// The planned transactions whose day has come (date up to today), locked ones left out, in
// the order of their days.
ATransactionSlots DuePlanned(ADatabase& db, ADate today);

}  // namespace Database
