// The recurrence dialog of a planned transaction: how often it repeats and when it stops.
#pragma once
#include "core/ADate.h"
#include "database/Recurrence.h"

#include <optional>
#include <string>

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Transactions {

// Shows `rule` (or, when it is not active, choices taken from `start`, the transaction's
// date) modally over `parent`; the rule chosen, none when cancelled.
std::optional<Database::Recurrence::ARule> RunRecurrenceDialog(QWidget* parent, const AProgramContext& context,
                                                               const Database::Recurrence::ARule& rule, ADate start);

// What the rule does in a line: "Повторяется ежемесячно" and the remaining count or the last
// day; empty for a rule that is not active.
std::u16string RuleDescription(const AProgramContext& context, const Database::Recurrence::ARule& rule);

}  // namespace UserInterface::Transactions
