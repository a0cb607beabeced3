// The rules every change of the data goes through. A change is one step:
//     db.BeginStep(); db.LabelStep(text);
//     ... create, change, Delete(db, slot) ...
//     CommitWithRules(db);   // clean-up, balances, commit
#pragma once

#include "database/Balances.h"
#include "database/CurrencyConversion.h"
#include "database/Deletion.h"
#include "database/Locks.h"
#include "database/Lookups.h"
#include "database/RuleChecks.h"

namespace Database {

// Inside the open step: the clean-up after its deletions, then the balances of every
// account it touched. The caller may still roll the step back, for example when a
// balance overflowed.
ARecalculation ApplyRules(ADatabase& db);

// ApplyRules, then the commit.
ARecalculation CommitWithRules(ADatabase& db);

}  // namespace Database
