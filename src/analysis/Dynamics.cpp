#include "analysis/Dynamics.h"

#include "analysis/CategoryMap.h"

namespace UserInterface::Reports {

using namespace Database;
using Filters::APeriodKind;

namespace {

// The months a month-based bucket spans; 0 for the kinds counted in days.
int BucketMonths(APeriodKind kind)
{
    switch (kind) {
    case APeriodKind::Month: return 1;
    case APeriodKind::TwoMonths: return 2;
    case APeriodKind::ThreeMonths:
    case APeriodKind::Quarter: return 3;
    case APeriodKind::FiveMonths: return 5;
    case APeriodKind::TwoQuarters:
    case APeriodKind::HalfYear: return 6;
    case APeriodKind::Year: return 12;
    default: return 0;
    }
}

// Days to the next boundary for the kinds counted in days.
int DaysToNextBoundary(APeriodKind kind, ADate boundary)
{
    const int dayOfWeek = Dates::DayOfWeek(boundary);
    switch (kind) {
    case APeriodKind::Day: return 1;
    case APeriodKind::SevenDays: return 7;
    case APeriodKind::Week: return 8 - dayOfWeek;
    case APeriodKind::TwoWeeks: return 15 - dayOfWeek;
    case APeriodKind::FourWeeks: return 29 - dayOfWeek;
    default: return 0;
    }
}

}  // namespace

std::vector<ADate> BucketBoundaries(ADate start, ADate end, APeriodKind bucket)
{
    if (start > end || end > Dates::kMaxDate)
        return {};
    // Not clamped: the day after 9999-12-31 still closes the last bucket.
    const ADate after = end + 1;
    std::vector<ADate> boundaries{start};
    if (bucket != APeriodKind::AllTransactions) {
        const int months = BucketMonths(bucket);
        for (int step = 1;; ++step) {
            // Computed without clamping: a boundary past the calendar ends the list.
            const std::optional<ADate> next =
                months ? Filters::MonthsLater(start, months * step)
                       : std::optional<ADate>(boundaries.back() + DaysToNextBoundary(bucket, boundaries.back()));
            if (!next || *next >= after)
                break;
            boundaries.push_back(*next);
        }
    }
    boundaries.push_back(after);
    return boundaries;
}

ADynamicsReport ComputeDynamics(ADatabase& db, const AReportParameters& p)
{
    ADynamicsReport report;
    report.boundaries = BucketBoundaries(p.period.Start(), p.period.End(), p.bucket);
    const bool budgetDatesInFile = Filters::FileSettings(db).budgetDates != 0;
    const bool byBudgetDate = p.period.UsesBudgetDates(budgetDatesInFile);
    const Filters::ATransactionList list = Filters::TransactionsInPeriod(db, p.period, budgetDatesInFile);
    const ACategoryMap categories(db);
    AReportConverter converter(db, p.currency);
    for (AReference<ASeries> ref : p.series) {
        const auto definition = Series::LoadSeries(db, ref, categories);
        if (!definition)
            continue;
        if (auto account = Series::FirstUnconvertibleAccount(*definition, converter)) {
            report.messages.push_back(Series::UnconvertibleSeriesMessage(db, *definition, *account, p.currency));
            continue;
        }
        ADynamicsSeries series;
        series.series = ref;
        series.name = definition->name;
        series.hue = definition->record.hue;
        series.debitsAboveZero = definition->record.debitsAboveZero != 0;
        series.showBars = definition->record.noBars == 0;
        series.showLine = definition->record.noLine == 0;
        series.values = Series::SumOverBuckets(Series::SelectItems(db, *definition, list), report.boundaries,
                                               converter, byBudgetDate);
        report.series.push_back(std::move(series));
    }
    return report;
}

}  // namespace UserInterface::Reports
