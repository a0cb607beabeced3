// The exchange rates report (kind 3): the stored rates of one currency pair over the
// period, and the stretches before the first and after the last of them.
#pragma once

#include "analysis/PageRprt.h"

#include <vector>

namespace UserInterface::Reports {

struct ARatePoint {
    ADate date = 0;
    AMoney value = 0;  // units of the "В валюте:" currency for one unit of the "Курс:" currency
    bool operator==(const ARatePoint&) const = default;
};

struct ARateChart {
    // The stored rates dated inside the period, drawn in the normal style.
    std::vector<ARatePoint> stored;
    // Drawn in the second style: from the period's start to the first stored rate, and
    // from the last one to the period's end, at the rate that applies there (the latest
    // rate before, else the earliest after). Empty where the stored rates reach the edge.
    // Without a rate inside the period, `before` spans the whole period.
    std::vector<ARatePoint> before;
    std::vector<ARatePoint> after;
    bool zeroLine = false;
    bool smooth = false;  // handed to the chart control
};

// Expects parameters that passed ValidateReport. Rates with a zero amount (a damaged
// file) are skipped; values are truncated to four decimals.
ARateChart ComputeRates(Database::ADatabase& db, const AReportParameters& parameters);

}  // namespace UserInterface::Reports
