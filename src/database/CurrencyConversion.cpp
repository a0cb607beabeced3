#include "database/CurrencyConversion.h"

#include "database/Lookups.h"
#include "database/Money.h"
#include "database/StepView.h"

#include <algorithm>

namespace Database {

ARateConverter::ARateConverter(ADatabase& db, AReference<ACurrency> currency1, AReference<ACurrency> currency2)
    : currency1_(currency1), currency2_(currency2)
{
    if (currency1 == currency2)
        return;
    const Engine::ASlot<ARateHeader>* header = RateHeaderFor(db, currency1, currency2);
    if (!header)
        return;
    const bool reversed = header->Record().currency1 != currency1;
    const auto ref = Engine::ATableImpl<ARateHeader>::RefTo(header);
    // Index 2 orders by header, then date: the pair's rates come out in date order.
    for (const auto* slot : CurrentPrefixRange(db, db.RateValues(), 2,
                                               [&](const ARateValue& v) { return Compare3(v.header, ref); })) {
        const ARateValue& value = slot->Record();
        rates_.push_back(reversed ? ARate{value.date, value.amount2, value.amount1}
                                  : ARate{value.date, value.amount1, value.amount2});
    }
}

const ARateConverter::ARate& ARateConverter::RateOn(ADate date) const
{
    // The last rate dated on or before the date; the earliest when all are later.
    auto after = std::upper_bound(rates_.begin(), rates_.end(), date,
                                  [](ADate d, const ARate& rate) { return d < rate.date; });
    return after == rates_.begin() ? rates_.front() : after[-1];
}

bool ARateConverter::Convert(AReference<ACurrency> target, ADate date, AMoney& amount) const
{
    if (currency1_ == currency2_)
        return !currency1_.IsNull();
    if (amount == 0)
        return true;
    if (rates_.empty())
        return false;
    if (!FD_VERIFY(target == currency1_ || target == currency2_))
        return false;
    const ARate& rate = RateOn(date);
    // A rate with a zero amount (a damaged file) says nothing.
    if (rate.of1 == 0 || rate.of2 == 0)
        return false;
    const std::optional<AMoney> converted =
        target == currency2_ ? Money::MulDiv(amount, rate.of2, rate.of1) : Money::MulDiv(amount, rate.of1, rate.of2);
    if (!converted)
        return false;
    amount = *converted;
    return true;
}

}  // namespace Database
