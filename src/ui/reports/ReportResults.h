// What the reports page shows of a computed report: the turnover tree's rows with their
// share bars, and the lines of the balance and rate charts with their tooltips. Each chart
// also gets an accessible description of what it shows.
#pragma once
#include "ui/DatabaseModel.h"
#pragma push_macro("slots")
#undef slots
#include "analysis/BalanceLines.h"
#include "analysis/Dynamics.h"
#include "analysis/RateChart.h"
#include "analysis/Turnover.h"
#pragma pop_macro("slots")

#include <string>

namespace Win32API::VelvixControls {
class AChartControl;
class AHistogram;
class APieChart;
}
namespace Win32API::VelvixControls::Reports {
class AReportItemImpl;
}

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Reports {

enum ATurnoverColumn : int {
    kNameColumn = 0,
    kSumColumn,
    kParentBarColumn,
    kParentShareColumn,
    kTotalBarColumn,
    kTotalShareColumn,
    kTurnoverColumnCount
};

// The report currency as the results show it.
struct AReportCurrency {
    std::u16string code;
    int decimals = 2;
};
AReportCurrency ReportCurrency(Database::ADatabase& db, AReference<Database::ACurrency> currency);

// The display root and everything below it; a row's record id is its node's index + 1.
void AddTurnoverRows(Win32API::VelvixControls::Reports::AReportItemImpl& root, const AProgramContext& context,
                     const ATurnoverReport& report, const AReportCurrency& currency);
// The node of a row of the turnover list (-1 for none).
inline int NodeOfRow(std::uint32_t recordId) { return static_cast<int>(recordId) - 1; }

// Loads the charts with a report; the period and currency are those of the parameters.
void ShowTurnover(Win32API::VelvixControls::APieChart& chart, const AProgramContext& context,
                  const ATurnoverReport& report, const AReportParameters& parameters, const AReportCurrency& currency);
void ShowDynamics(Win32API::VelvixControls::AHistogram& chart, const AProgramContext& context,
                  const ADynamicsReport& report, const AReportParameters& parameters, const AReportCurrency& currency);
void ShowBalances(Win32API::VelvixControls::AChartControl& chart, const AProgramContext& context,
                  const ABalanceReport& report, const AReportParameters& parameters, const AReportCurrency& currency);
void ShowRates(Win32API::VelvixControls::AChartControl& chart, const AProgramContext& context, const ARateChart& rates,
               const AReportParameters& parameters, const std::u16string& pair);

}  // namespace UserInterface::Reports
