// The time chart's scales: round value ticks, calendar ticks on the date axis, and the
// monotone curve that replaces the steps when smoothing is on. Plain arithmetic, no drawing.
#pragma once
#include "core/HistogramScale.h"
#include "core/ADate.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace Win32API::VelvixControls::Charts {

using AMoney = std::int64_t;

// A value axis whose step is 1, 2 or 5 × 10^m in money units, never finer than the
// displayed decimals, with low and high on whole steps around the values.
using UserInterface::Charts::AValueAxis;
// At most `maxIntervals` intervals (at least one; a range across zero may need two). Equal values get room
// around them so that a flat line sits inside the plot, not on its edge.
AValueAxis RoundAxis(AMoney lowest, AMoney highest, int maxIntervals, int decimals);

// Where the date axis puts its ticks: every day, on Mondays, on the first of every month,
// quarter, half-year, or of every 1, 2, 5, 10, 20, 50 or 100 years.
enum class ADateTickKind {
    Day, Week, Month, Quarter, HalfYear,
    Year, Years2, Years5, Years10, Years20, Years50, Years100
};

struct ADateTicks {
    ADateTickKind kind = ADateTickKind::Day;
    std::vector<ADate> dates;  // inside first..last, in order
};
// The finest kind whose labels, each `labelWidth(kind)` pixels wide plus a gap, fit into
// `plotWidth` pixels for the span first..last.
ADateTicks DateTicks(ADate first, ADate last, int plotWidth, const std::function<int(ADateTickKind)>& labelWidth);

// The tick dates of one kind inside first..last; at most `limit` of them.
std::vector<ADate> TickDates(ADateTickKind kind, ADate first, ADate last, std::size_t limit);

// A piece of a smooth curve from one point to the next: a cubic Bézier segment.
struct ACurvePoint {
    double x = 0, y = 0;
};
struct ACurveSegment {
    ACurvePoint from, control1, control2, to;
};
// A curve through points with increasing x that never overshoots: between two points it
// stays within their two y values (monotone cubic interpolation). Points sharing an x keep
// the last of them.
std::vector<ACurveSegment> MonotoneCurve(const std::vector<ACurvePoint>& points);

}  // namespace Win32API::VelvixControls::Charts
