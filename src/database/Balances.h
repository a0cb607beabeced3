// The stored balances of accounts: each executed transaction keeps, for each side, the
// balance of that side's account right after it; a balance transaction states the
// balance and keeps the correction as its amount.
#pragma once

#include "database/Database.h"

#include <optional>
#include <vector>

namespace Database {

struct ARecalculation {
    std::size_t changedTransactions = 0;  // opened for change because a stored value differed
    // A running balance left the 64-bit range; the balances from there on are clamped to
    // the range's ends, and the caller should refuse the change that caused it.
    bool overflowed = false;
};

// Recalculates the stored balances of one account inside the open step, over its own
// transactions (either side) in the order of transaction index 3, as they stand in
// the step: records inserted or changed in it count, records deleted in it do not.
// Planned transactions are skipped. A transaction is opened for change only when one
// of its stored values differs, and then keeps its place within its day.
ARecalculation Recalculate(ADatabase& db, AReference<AAccount> account);

// The live accounts whose balances the open step may have changed: every account of a
// transaction the step inserted, changed or deleted (before and after the change), and
// every account the step inserted or changed (its initial balance).
std::vector<AReference<AAccount>> AccountsTouchedByStep(ADatabase& db);
// Recalculates each of those accounts once, over what one walk of the step gathered.
ARecalculation RecalculateTouchedAccounts(ADatabase& db);

// What the account holds of what it counts in units (shares, litres): the quantities of its
// executed income less those of its executed expenses; transfers and balance corrections
// move no units. None when the sum leaves the range of an amount.
std::optional<AMoney> HeldQuantity(ADatabase& db, AReference<AAccount> account);

// Opens a transaction for change without giving it a new change stamp, so that it keeps
// its place among the transactions of its day (index 3). The rules use it when they
// rewrite derived values: a new stamp would move the transaction behind the others of
// its day and make the balances just computed for that order wrong.
ATransaction* ChangeKeepingPlace(ADatabase& db, Engine::ASlot<ATransaction>* slot);

}  // namespace Database
