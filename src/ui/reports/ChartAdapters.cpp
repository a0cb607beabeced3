#include "ui/reports/ChartAdapters.h"

#include <algorithm>

namespace UserInterface::Reports {

using Win32API::VelvixControls::AHistogram;
using Win32API::VelvixControls::APieChartItem;

std::unique_ptr<APieChartItem> PieFromTurnover(const ATurnoverReport& report)
{
    const auto& nodes = report.nodes;
    if (report.root < 0 || static_cast<std::size_t>(report.root) >= nodes.size())
        return nullptr;
    auto make = [&](int node) {
        const auto& source = nodes[node];
        return std::make_unique<APieChartItem>(source.name, source.income, source.expense, node);
    };
    auto root = make(report.root);
    std::vector<bool> taken(nodes.size(), false);
    taken[report.root] = true;
    std::vector<APieChartItem*> pending{root.get()};
    while (!pending.empty()) {
        APieChartItem* item = pending.back();
        pending.pop_back();
        for (int child : nodes[item->Node()].children) {
            // A node listed twice (a damaged report) is shown once.
            if (child < 0 || static_cast<std::size_t>(child) >= nodes.size() || taken[child])
                continue;
            taken[child] = true;
            pending.push_back(static_cast<APieChartItem*>(item->AddChild(make(child))));
        }
    }
    return root;
}

void LoadDynamics(AHistogram& chart, const ADynamicsReport& report)
{
    chart.Clear();
    for (const auto& series : report.series)
        chart.AddSeries({series.name, series.hue, series.debitsAboveZero, series.showBars, series.showLine});
    chart.SetBoundaries(report.boundaries);
    for (std::size_t s = 0; s < report.series.size(); ++s) {
        const auto& values = report.series[s].values;
        const std::size_t buckets = std::max(values.sums.size(), values.transactions.size());
        for (std::size_t b = 0; b < buckets; ++b)
            chart.SetBucket(static_cast<int>(s), static_cast<int>(b), b < values.sums.size() ? values.sums[b] : 0,
                            b < values.transactions.size() ? values.transactions[b]
                                                           : std::vector<const AHistogram::ATransactionSlot*>{});
        chart.AddFailures(values.failures);
    }
}

}  // namespace UserInterface::Reports
