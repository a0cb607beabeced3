// The rate dialog's rules: the checks on confirming, in order, with the message and
// the field to focus; storing a hand-entered rate against its pair's header; and the
// question asked before a rate is deleted.
#pragma once

#include "rates/Currencies.h"

namespace Rates {

using Database::ARateValue;

enum class ARateField { Value1, Value2, Date, Currency2 };

// The dialog as confirmed: amount `value1` (an amount expression) of `currency1` is
// worth `value2` of `currency2` on `date`.
struct ARateInput {
    AReference<ACurrency> currency1;
    AReference<ACurrency> currency2;
    ADate date = 0;
    std::u16string value1;
    std::u16string value2;
};

// Adds the rate as one step: both expressions must compute, both values must be above
// zero, the two currencies must differ, and the pair may have no rate on the date yet
// (that step is rolled back). The header is made when the pair has none, the dialog's
// first currency first; the amounts are stored in the header's orientation.
std::optional<ARefusal> AddRate(Database::ADatabase& db, const ARateInput& input, std::u16string_view label);

// Rewrites the rate's date and amounts with the same checks; the date only clashes
// when it was changed. The rate keeps its pair; the input's currencies say which way
// round the values are meant.
std::optional<ARefusal> ChangeRate(Database::ADatabase& db, AReference<ARateValue> rate, const ARateInput& input,
                                   std::u16string_view label);

// "Удалить курс "#s"\r\nпо отношению к "#s"\r\nна #s ?" with the pair's names and the
// date in the locale's short form.
AQuestion RateDeletionQuestion(Database::ADatabase& db, AReference<ARateValue> rate,
                               const UtilityClasses::Strings::AStrings& strings);
void DeleteRate(Database::ADatabase& db, AReference<ARateValue> rate, std::u16string_view label);

}  // namespace Rates
