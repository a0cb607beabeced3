#include "rates/RateStore.h"

#include "database/StepView.h"

#include <algorithm>

namespace Rates {

using Database::ARateValue;
using Database::Engine::ATableImpl;

ARateStore::ARateStore(Database::ADatabase& db) : db_(db)
{
    // In identifier order, so the first header of a pair wins as in RateHeaderFor.
    Database::ForEachLive(db.RateHeaders(), [this](Database::Engine::ASlot<ARateHeader>* slot) {
        const ARateHeader& header = slot->Record();
        headers_.try_emplace(Key(header.currency1, header.currency2), ATableImpl<ARateHeader>::RefTo(slot));
    });
}

ARateStore::APair ARateStore::Key(AReference<ACurrency> a, AReference<ACurrency> b)
{
    return std::minmax(a.Word(), b.Word());
}

AReference<ARateHeader> ARateStore::HeaderFor(AReference<ACurrency> a, AReference<ACurrency> b) const
{
    const auto at = headers_.find(Key(a, b));
    return at == headers_.end() ? AReference<ARateHeader>() : at->second;
}

AReference<ARateHeader> ARateStore::EnsureHeader(AReference<ACurrency> first, AReference<ACurrency> second)
{
    if (const AReference<ARateHeader> found = HeaderFor(first, second))
        return found;
    const auto made = ATableImpl<ARateHeader>::RefTo(db_.RateHeaders().Create(ARateHeader{first, second}));
    headers_.emplace(Key(first, second), made);
    return made;
}

bool ARateStore::HasRateOn(AReference<ARateHeader> header, ADate date, AReference<ARateValue> except) const
{
    if (added_.contains({header.Word(), date}))
        return true;
    ARateValue probe;
    probe.header = header;
    probe.date = date;
    for (const auto* slot : db_.RateValues().EqualRange(2, probe))
        if (slot->Exists() && ATableImpl<ARateValue>::RefTo(slot) != except && slot->Record().header == header &&
            slot->Record().date == date)
            return true;
    return false;
}

ARateStore::AAddResult ARateStore::Add(AReference<ACurrency> first, AReference<ACurrency> second, ADate date,
                                       AMoney amount1, AMoney amount2)
{
    if (first == second)
        return AAddResult::SameCurrency;
    const AReference<ARateHeader> header = EnsureHeader(first, second);
    if (HasRateOn(header, date))
        return AAddResult::DateTaken;
    if (db_.RateHeaders().Get(header)->Record().currency1 == second)
        std::swap(amount1, amount2);
    db_.RateValues().Create(ARateValue{header, date, amount1, amount2});
    added_.insert({header.Word(), date});
    return AAddResult::Added;
}

}  // namespace Rates
