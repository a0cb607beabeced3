#include "rates/WriteDownloadedRates.h"

#include "database/DatabaseRules.h"
#include "database/Money.h"
#include "database/engine/StepGuard.h"
#include "rates/RateStore.h"

#include <algorithm>

namespace Rates {

namespace {

using Database::ADatabase;
using Database::Engine::ATableImpl;

struct ATaggedRate {
    ADate date;
    AReference<ACurrency> currency;
    ADownloadedRate rate;
};

AReference<ACurrency> FindOrCreateCurrency(ADatabase& db, const std::u16string& code, const std::u16string& name,
                                           AWriteOutcome& outcome)
{
    if (auto* found = Database::CurrencyByCode(db, code))
        return ATableImpl<ACurrency>::RefTo(found);
    ACurrency currency;
    currency.name = db.NewText(name);
    currency.code = db.NewText(code);
    ++outcome.currenciesCreated;
    return ATableImpl<ACurrency>::RefTo(db.Currencies().Create(currency));
}

void Count(ARateStore::AAddResult result, std::size_t& added, AWriteOutcome& outcome)
{
    if (result == ARateStore::AAddResult::Added)
        ++added;
    else if (result == ARateStore::AAddResult::DateTaken)
        ++outcome.ratesKept;
}

// Within each date, every later currency P against every earlier one Q: A(Q)×B(P) of P
// is worth A(P)×B(Q) of Q, both scaled back by 10000. The products are 128-bit; a
// result that does not fit or comes to nothing gives no rate.
void AddCrossRates(ARateStore& store, const std::vector<ATaggedRate>& rates, AReference<ACurrency> base,
                   AWriteOutcome& outcome)
{
    for (std::size_t runStart = 0; runStart < rates.size();) {
        std::size_t runEnd = runStart;
        while (runEnd < rates.size() && rates[runEnd].date == rates[runStart].date)
            ++runEnd;
        for (std::size_t p = runStart; p < runEnd; ++p) {
            for (std::size_t q = runStart; q < p; ++q) {
                const ATaggedRate& P = rates[p];
                const ATaggedRate& Q = rates[q];
                if (P.currency == base || Q.currency == base)
                    continue;
                const auto first = Database::Money::MulDiv(Q.rate.amount1, P.rate.amount2, 10000);
                const auto second = Database::Money::MulDiv(P.rate.amount1, Q.rate.amount2, 10000);
                if (!first || !second || *first <= 0 || *second <= 0)
                    continue;
                Count(store.Add(P.currency, Q.currency, P.date, *first, *second), outcome.crossRatesAdded, outcome);
            }
        }
        runStart = runEnd;
    }
}

}  // namespace

AWriteOutcome WriteDownloadedRates(ADatabase& db, const ADownloadSelection& selection, std::u16string_view label)
{
    AWriteOutcome outcome;
    Database::Engine::AStepGuard step(db, label);
    AReference<ACurrency> base;
    if (!selection.baseCode.empty())
        base = FindOrCreateCurrency(db, selection.baseCode, selection.baseName, outcome);

    std::vector<ATaggedRate> rates;
    for (const ADownloadSelection::AItem& item : selection.items) {
        if (!item.checked || item.code.empty())
            continue;
        const AReference<ACurrency> currency = FindOrCreateCurrency(db, item.code, item.name, outcome);
        if (item.rates)
            for (const auto& [date, rate] : *item.rates)
                rates.push_back({date, currency, rate});
    }

    if (selection.withRates && base) {
        std::stable_sort(rates.begin(), rates.end(),
                         [](const ATaggedRate& a, const ATaggedRate& b) { return a.date < b.date; });
        ARateStore store(db);
        for (const ATaggedRate& tagged : rates)
            Count(store.Add(base, tagged.currency, tagged.date, tagged.rate.amount1, tagged.rate.amount2),
                  outcome.ratesAdded, outcome);
        if (selection.crossRates)
            AddCrossRates(store, rates, base, outcome);
    }

    if (db.StepInserted().empty() && db.StepChanged().empty() && db.StepDeleted().empty()) {
        db.RollBack();
        return outcome;
    }
    Database::CommitWithRules(db);
    outcome.written = true;
    return outcome;
}

}  // namespace Rates
