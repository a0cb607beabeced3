#include "win32api/ChartScales.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Win32API::VelvixControls::Charts {

namespace {

__extension__ typedef __int128 AWide;

AMoney Clamp(AWide value)
{
    return static_cast<AMoney>(
        std::clamp<AWide>(value, std::numeric_limits<AMoney>::min(), std::numeric_limits<AMoney>::max()));
}

AWide FloorTo(AWide value, AWide step)
{
    AWide q = value / step;
    if (value % step != 0 && value < 0)
        --q;
    return q * step;
}

AWide CeilTo(AWide value, AWide step)
{
    AWide q = value / step;
    if (value % step != 0 && value > 0)
        ++q;
    return q * step;
}

// The round steps 1, 2, 5, 10, 20, ... times `unit`, from the first not below `at_least`.
AWide NextRoundStep(AWide atLeast, AWide unit)
{
    static constexpr int kBases[] = {1, 2, 5};
    for (AWide power = unit;; power *= 10)
        for (int base : kBases)
            if (base * power >= atLeast)
                return base * power;
}

// A monthly index (year × 12 + month − 1) as the first day of that month.
ADate MonthStart(int index) { return Dates::FromYmd(index / 12, index % 12 + 1, 1); }

int MonthsOf(ADateTickKind kind)
{
    switch (kind) {
    case ADateTickKind::Month: return 1;
    case ADateTickKind::Quarter: return 3;
    case ADateTickKind::HalfYear: return 6;
    case ADateTickKind::Year: return 12;
    case ADateTickKind::Years2: return 24;
    case ADateTickKind::Years5: return 60;
    case ADateTickKind::Years10: return 120;
    case ADateTickKind::Years20: return 240;
    case ADateTickKind::Years50: return 600;
    case ADateTickKind::Years100: return 1200;
    default: return 0;
    }
}

constexpr ADateTickKind kKinds[] = {ADateTickKind::Day,     ADateTickKind::Week,     ADateTickKind::Month,
                                    ADateTickKind::Quarter, ADateTickKind::HalfYear, ADateTickKind::Year,
                                    ADateTickKind::Years2,  ADateTickKind::Years5,   ADateTickKind::Years10,
                                    ADateTickKind::Years20, ADateTickKind::Years50,  ADateTickKind::Years100};

}  // namespace

AValueAxis RoundAxis(AMoney lowest, AMoney highest, int maxIntervals, int decimals)
{
    if (lowest > highest)
        std::swap(lowest, highest);
    maxIntervals = std::max(1, maxIntervals);
    AWide unit = 1;
    for (int i = std::clamp(decimals, 0, 4); i < 4; ++i)
        unit *= 10;
    AWide low = lowest, high = highest;
    if (low == high) {
        // A tenth of the value each way, at least one displayed unit.
        const AWide pad = std::max<AWide>(unit, (low < 0 ? -low : low) / 10);
        low -= pad;
        high += pad;
    }
    AWide step = NextRoundStep((high - low + maxIntervals - 1) / maxIntervals, unit);
    // Rounding the ends outwards can add an interval; the next round step fixes that, until
    // the step spans the whole range: across zero two intervals are then the fewest possible.
    while ((CeilTo(high, step) - FloorTo(low, step)) / step > maxIntervals && step < high - low)
        step = NextRoundStep(step + 1, unit);
    return {Clamp(FloorTo(low, step)), Clamp(CeilTo(high, step)), Clamp(step)};
}

std::vector<ADate> TickDates(ADateTickKind kind, ADate first, ADate last, std::size_t limit)
{
    std::vector<ADate> dates;
    first = std::max(first, Dates::kMinDate);
    last = std::min(last, Dates::kMaxDate);
    if (first > last)
        return dates;
    if (kind == ADateTickKind::Day || kind == ADateTickKind::Week) {
        const int step = kind == ADateTickKind::Day ? 1 : 7;
        ADate date = kind == ADateTickKind::Day ? first : first + (8 - Dates::DayOfWeek(first)) % 7;
        for (; date <= last && dates.size() < limit; date += step)
            dates.push_back(date);
        return dates;
    }
    const int months = MonthsOf(kind);
    const Dates::AYmd start = Dates::ToYmd(first);
    int index = start.year * 12 + start.month - 1 + (start.day > 1 ? 1 : 0);
    index = (index + months - 1) / months * months;
    constexpr int kLastIndex = 9999 * 12 + 11;
    for (; index <= kLastIndex && dates.size() < limit; index += months) {
        const ADate date = MonthStart(index);
        if (date > last)
            break;
        dates.push_back(date);
    }
    return dates;
}

ADateTicks DateTicks(ADate first, ADate last, int plotWidth, const std::function<int(ADateTickKind)>& labelWidth)
{
    ADateTicks ticks;
    for (ADateTickKind kind : kKinds) {
        const int room = std::max(1, labelWidth(kind) + std::max(8, labelWidth(kind) / 3));
        const std::size_t fitting = static_cast<std::size_t>(std::max(0, plotWidth) / room);
        // One more than fits is enough to know that it does not.
        std::vector<ADate> dates = TickDates(kind, first, last, fitting + 1);
        ticks.kind = kind;
        if (dates.size() <= fitting) {
            ticks.dates = std::move(dates);
            return ticks;
        }
    }
    ticks.dates.clear();  // not even a label a century fits: no labels at all
    return ticks;
}

std::vector<ACurveSegment> MonotoneCurve(const std::vector<ACurvePoint>& input)
{
    std::vector<ACurvePoint> points;
    for (const ACurvePoint& point : input) {
        if (!points.empty() && point.x <= points.back().x)
            points.back().y = point.y;
        else
            points.push_back(point);
    }
    std::vector<ACurveSegment> segments;
    const std::size_t n = points.size();
    if (n < 2)
        return segments;
    std::vector<double> slope(n - 1), tangent(n);
    for (std::size_t k = 0; k + 1 < n; ++k)
        slope[k] = (points[k + 1].y - points[k].y) / (points[k + 1].x - points[k].x);
    tangent[0] = slope[0];
    tangent[n - 1] = slope[n - 2];
    for (std::size_t k = 1; k + 1 < n; ++k) {
        const double d0 = slope[k - 1], d1 = slope[k];
        if (d0 * d1 <= 0) {
            tangent[k] = 0;  // a turning point stays flat, so nothing overshoots it
            continue;
        }
        const double h0 = points[k].x - points[k - 1].x, h1 = points[k + 1].x - points[k].x;
        tangent[k] = 3 * (h0 + h1) / ((2 * h1 + h0) / d0 + (h1 + 2 * h0) / d1);
    }
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const double h = points[k + 1].x - points[k].x;
        // A tangent within three times the slope keeps the control points between the ends.
        const double limit = 3 * std::fabs(slope[k]);
        const double t0 = std::clamp(tangent[k], -limit, limit), t1 = std::clamp(tangent[k + 1], -limit, limit);
        segments.push_back({points[k],
                            {points[k].x + h / 3, points[k].y + t0 * h / 3},
                            {points[k + 1].x - h / 3, points[k + 1].y - t1 * h / 3},
                            points[k + 1]});
    }
    return segments;
}

}  // namespace Win32API::VelvixControls::Charts
