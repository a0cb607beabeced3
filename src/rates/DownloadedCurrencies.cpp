#include "rates/DownloadedCurrencies.h"

#include "rates/PackedDate.h"

namespace Rates {

void ADownloadedCurrencies::Clear()
{
    entries_.clear();
    byCode_.clear();
}

void ADownloadedCurrencies::Add(const ARateRecord& record)
{
    // A currency without a code could never be found again, nor stored.
    if (!record.code || record.code[0] == '\0')
        return;
    std::string code(record.code);
    auto [at, added] = byCode_.try_emplace(code, entries_.size());
    if (added)
        entries_.push_back({std::move(code), record.name ? std::string(record.name) : std::string(), {}});
    ADownloadedCurrency& entry = entries_[at->second];
    // A rate must be above zero both ways: conversions and cross rates divide by it.
    const std::optional<ADate> date = UnpackDate(record.date);
    if (date && record.amount1 > 0 && record.amount2 > 0)
        entry.rates.try_emplace(*date, ADownloadedRate{record.amount1, record.amount2});
}

}  // namespace Rates
