// Adding rates the way both the download and the rate dialog do: the pair's header
// is found in either order (made when missing), a date that already has a rate for
// the pair is left alone, and amounts are stored in the header's orientation.
#pragma once

#include "database/Database.h"

#include <map>
#include <set>
#include <utility>

namespace Rates {

using Database::ACurrency;
using Database::AMoney;
using Database::ARateHeader;
using Database::AReference;

class ARateStore {
public:
    // Made inside an open step before any rate of it was changed: it sees the rates
    // committed before the step and those it adds itself.
    explicit ARateStore(Database::ADatabase& db);

    // The first live header of the pair in either order; null when none.
    AReference<ARateHeader> HeaderFor(AReference<ACurrency> a, AReference<ACurrency> b) const;
    // The pair's header, made with `first` first when there is none.
    AReference<ARateHeader> EnsureHeader(AReference<ACurrency> first, AReference<ACurrency> second);
    // Whether a live rate of the header carries the date; `except` (a rate being
    // changed) does not count.
    bool HasRateOn(AReference<ARateHeader> header, ADate date,
                   AReference<Database::ARateValue> except = {}) const;

    enum class AAddResult { Added, DateTaken, SameCurrency };
    // "amount1 of `first` is worth amount2 of `second` on `date`", stored against the
    // pair's header with the amounts swapped when the header names `second` first.
    AAddResult Add(AReference<ACurrency> first, AReference<ACurrency> second, ADate date, AMoney amount1,
                   AMoney amount2);

private:
    using APair = std::pair<std::uint32_t, std::uint32_t>;
    static APair Key(AReference<ACurrency> a, AReference<ACurrency> b);

    Database::ADatabase& db_;
    std::map<APair, AReference<ARateHeader>> headers_;
    std::set<std::pair<std::uint32_t, ADate>> added_;  // (header, date) of the rates added here
};

}  // namespace Rates
