#include "analysis/RateChart.h"

#include "database/Lookups.h"
#include "database/Money.h"
#include "database/StepView.h"

#include <algorithm>

namespace UserInterface::Reports {

using namespace Database;

namespace {
constexpr AMoney kOne = 10'000;
}

ARateChart ComputeRates(ADatabase& db, const AReportParameters& p)
{
    ARateChart chart;
    chart.zeroLine = p.zeroLine;
    chart.smooth = p.smooth;
    const Engine::ASlot<ARateHeader>* header = RateHeaderFor(db, p.rateCurrency, p.rateInCurrency);
    if (!header)
        return chart;
    const bool reversed = header->Record().currency1 != p.rateCurrency;
    const auto ref = Engine::ATableImpl<ARateHeader>::RefTo(header);
    std::vector<ARatePoint> all;  // every usable rate of the pair, by date
    for (const auto* rate :
         IndexedPrefixRange(db.RateValues(), 2, [&](const ARateValue& v) { return Compare3(v.header, ref); })) {
        const ARateValue& v = rate->Record();
        // amount1 of currency 1 is worth amount2 of currency 2.
        const AMoney of = reversed ? v.amount2 : v.amount1;
        const AMoney in = reversed ? v.amount1 : v.amount2;
        if (of == 0 || in == 0)
            continue;
        if (auto value = Money::MulDiv(kOne, in, of))
            all.push_back({v.date, *value});
    }
    if (all.empty())
        return chart;
    const ADate start = p.period.Start(), end = p.period.End();
    auto first = std::lower_bound(all.begin(), all.end(), start,
                                  [](const ARatePoint& r, ADate d) { return r.date < d; });
    auto last = std::upper_bound(first, all.end(), end, [](ADate d, const ARatePoint& r) { return d < r.date; });
    chart.stored.assign(first, last);
    // The rate in force at a date before every stored one of the period.
    const AMoney opening = first == all.begin() ? all.front().value : first[-1].value;
    if (chart.stored.empty()) {
        chart.before = {{start, opening}, {end, opening}};
        return chart;
    }
    if (chart.stored.front().date > start)
        chart.before = {{start, opening}, {chart.stored.front().date, opening}};
    if (chart.stored.back().date < end)
        chart.after = {{chart.stored.back().date, chart.stored.back().value}, {end, chart.stored.back().value}};
    return chart;
}

}  // namespace UserInterface::Reports
