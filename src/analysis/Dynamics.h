// The turnover dynamics report (kind 1): time buckets over the period and one value per
// bucket for every data series.
#pragma once

#include "analysis/PageRprt.h"
#include "analysis/ReportMessage.h"
#include "analysis/Series.h"

#include <string>
#include <vector>

namespace UserInterface::Reports {

// The bucket boundaries from start: each next one by the bucket kind, collected while
// before end + 1 day, and end + 1 day closing the last bucket. Month-based kinds count
// their months from the start, so monthly buckets keep the start's day of month. "Все
// операции" gives one bucket. An invalid period gives no boundaries.
std::vector<ADate> BucketBoundaries(ADate start, ADate end, Filters::APeriodKind bucket);

struct ADynamicsSeries {
    AReference<Database::ASeries> series;
    std::u16string name;
    std::uint8_t hue = 0;
    bool debitsAboveZero = false;
    bool showBars = true;
    bool showLine = true;
    Series::ABucketSums values;  // one sum per bucket, with the transactions added to it
};

struct ADynamicsReport {
    std::vector<ADate> boundaries;
    std::vector<ADynamicsSeries> series;   // in the order of the page's list
    std::vector<AReportMessage> messages;  // series left out for want of a conversion path
};

// Expects parameters that passed ValidateReport.
ADynamicsReport ComputeDynamics(Database::ADatabase& db, const AReportParameters& parameters);

}  // namespace UserInterface::Reports
