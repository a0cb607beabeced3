#include "rates/RateList.h"

#include "database/Money.h"

#include <algorithm>

namespace Rates {

using Database::Engine::ATableImpl;

namespace {
constexpr AMoney kOne = 10'000;  // one unit in the 1/10000 steps amounts are kept in
}

std::vector<AReference<ARateHeader>> RatePairs(Database::ADatabase& db)
{
    std::vector<AReference<ARateHeader>> pairs;
    for (auto* slot : db.RateHeaders().Live())
        if (db.Currencies().Record(slot->Record().currency1) && db.Currencies().Record(slot->Record().currency2))
            pairs.push_back(ATableImpl<ARateHeader>::RefTo(slot));
    return pairs;
}

std::vector<APairRate> RatesOfPair(Database::ADatabase& db, AReference<ARateHeader> header)
{
    std::vector<APairRate> rates;
    if (!db.RateHeaders().Record(header))
        return rates;
    // Index 2 runs by header, then date: the pair's rates are one run of it.
    const auto& index = db.RateValues().IndexAt(2);
    const auto byHeader = [](const auto* slot, AReference<ARateHeader> h) { return slot->Record().header < h; };
    auto first = std::lower_bound(index.begin(), index.end(), header, byHeader);
    for (auto it = first; it != index.end() && (*it)->Record().header == header; ++it) {
        const ARateValue& value = (*it)->Record();
        const AMoney perOne = Database::Money::MulDiv(value.amount2, kOne, value.amount1).value_or(0);
        rates.push_back({ATableImpl<ARateValue>::RefTo(*it), value.date, value.amount1 > 0 ? perOne : 0});
    }
    std::reverse(rates.begin(), rates.end());
    return rates;
}

}  // namespace Rates
