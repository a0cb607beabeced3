// The amounts of the transaction dialog: which fields a type shows and how they are
// labelled, the field that is computed from the other two, and the rate between the two
// currencies of a transfer. Values are money amounts (1/10000 units); a product or quotient
// keeps 128 bits before it is cut back to an amount, so a large amount never wraps.
#pragma once

#include "database/Database.h"

#include <optional>

namespace UserInterface::Transactions {

using Database::AMoney;

// The four type radio buttons, in the order the amounts form takes them as its mode.
enum class AAmountMode : int { Income = 0, Expense = 1, Transfer = 2, Balance = 3 };

constexpr AMoney kOne = 10000;

// The label (string id) of field 0..3 in a mode; 0 for a field the mode does not use.
int FieldLabel(AAmountMode mode, int field);
// The message (string id) shown when field 0..3 holds no acceptable number.
int FieldMessage(AAmountMode mode, int field);
// Whether the three rows (fields 1..3) are shown instead of field 0.
bool UsesThreeRows(AAmountMode mode, bool quantities, bool sameCurrency);

// The direction combo of a transfer's rate: item 1 is credit-currency units per debit-currency
// unit, item 0 debit-currency units per credit-currency unit.
enum class ARateItem : int { DebitPerCredit = 0, CreditPerDebit = 1 };

struct AThreeRows {
    std::optional<AMoney> a, b, r;  // fields 1, 2, 3; none when the text is not a number
    ARateItem item = ARateItem::CreditPerDebit;
};
struct AComputed {
    AMoney value = 0;
    std::optional<ARateItem> item;  // set when the rate's direction changes with it
};
// The value of the computed field (1..3) after the user changed another one.
AComputed Recompute(AAmountMode mode, int computedField, const AThreeRows& rows);

// The rate that links the two side amounts of a transfer: max × 10000 ÷ min, with item 1
// exactly when |a1| <= |a2|; none when either is 0.
std::optional<AComputed> RateOfAmounts(AMoney a1, AMoney a2);
// The price per unit: amount × 10000 ÷ quantity; none when the quantity is 0.
std::optional<AMoney> PriceOf(AMoney amount, AMoney quantity);

// The rate of the stored rates of the pair on `date`, as the field starts with it: credit
// per debit (item 1) when that is at least 1, otherwise debit per credit (item 0); 1.0000
// with item 1 when the pair has no rate.
AComputed StoredRate(Database::ADatabase& db, Database::AReference<Database::ACurrency> debit,
                     Database::AReference<Database::ACurrency> credit, ADate date);

}  // namespace UserInterface::Transactions
