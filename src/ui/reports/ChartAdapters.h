// The computed reports in the shapes the toolkit's charts take.
#pragma once
#include "analysis/Dynamics.h"
#include "analysis/Turnover.h"
#include "win32api/APieCtrl.h"
#include "win32api/HistCtrl.h"

#include <memory>

namespace UserInterface::Reports {

// The display root of the turnover report and everything below it; null when the report
// has nothing to show.
std::unique_ptr<Win32API::VelvixControls::APieChartItem> PieFromTurnover(const ATurnoverReport& report);

// The dynamics report's series, boundaries and bucket sums, replacing what the chart held.
void LoadDynamics(Win32API::VelvixControls::AHistogram& chart, const ADynamicsReport& report);

}  // namespace UserInterface::Reports
