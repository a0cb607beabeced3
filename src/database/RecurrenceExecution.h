// Executing one occurrence of a planned transaction.
#pragma once

#include "database/Database.h"

#include <functional>

namespace Database::Recurrence {

// Inside an open step: marks the planned transaction executed and, when its rule
// asks for another occurrence, inserts the next planned transaction: a copy with
// new texts and the same category relations, dated by the rule, with the count
// lowered and a time of day that no other transaction of that date has. Answers
// the new transaction's slot, or null when the rule made none. The caller
// recalculates the balances and commits.
Engine::ASlot<ATransaction>* ExecuteOccurrence(ADatabase& db, Engine::ASlot<ATransaction>& planned);

// The first time of day from `time` on, one millisecond at a time (after the last
// millisecond of the day comes the first), that `taken` does not refuse; `time`
// itself when every millisecond is taken, which no real day can reach.
std::int32_t FreeTimeOfDay(std::int32_t time, const std::function<bool(std::int32_t)>& taken);

}  // namespace Database::Recurrence
