// The currencies and rates a plug-in reported during a download: one entry per
// distinct code, at most one rate per date.
#pragma once

#include "database/CurrencyRecords.h"

#include <fendral/ratesource.h>

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace Rates {

using Database::AMoney;

struct ADownloadedRate {
    AMoney amount1 = 0;  // of the base currency ...
    AMoney amount2 = 0;  // ... is worth this much of the entry's currency
    bool operator==(const ADownloadedRate&) const = default;
};

struct ADownloadedCurrency {
    std::string code;  // 8-bit texts in the plug-in's code page
    std::string name;
    std::map<ADate, ADownloadedRate> rates;
};

class ADownloadedCurrencies {
public:
    // The AddRate rule: the entry of the record's code (made on first sight, with the
    // record's name), then the rate unless the entry has one on that date already.
    // A record without a code is dropped; a rate with a date that is no calendar date or
    // an amount that is not above zero is dropped, its currency is kept.
    void Add(const ARateRecord& record);
    void Clear();

    // In the order the codes were first reported.
    const std::vector<ADownloadedCurrency>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

private:
    std::vector<ADownloadedCurrency> entries_;
    std::unordered_map<std::string, std::size_t> byCode_;
};

}  // namespace Rates
