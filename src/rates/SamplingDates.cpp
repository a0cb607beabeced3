#include "rates/SamplingDates.h"

#include <algorithm>

namespace Rates {

std::optional<ASamplingMode> SamplingModeFromIndex(int index)
{
    if (index < 0 || index >= kSamplingModeCount)
        return std::nullopt;
    return static_cast<ASamplingMode>(index);
}

bool IsSampled(ADate date, ASamplingMode mode)
{
    if (mode == ASamplingMode::EveryDay)
        return true;
    if (mode == ASamplingMode::EveryMonday)
        return Dates::DayOfWeek(date) == 1;
    const Dates::AYmd ymd = Dates::ToYmd(date);
    if (ymd.day != 1)
        return false;
    switch (mode) {
    case ASamplingMode::MonthStart:
        return true;
    case ASamplingMode::QuarterStart:
        return (ymd.month - 1) % 3 == 0;
    case ASamplingMode::HalfYearStart:
        return (ymd.month - 1) % 6 == 0;
    default:
        return false;
    }
}

std::vector<ADate> SampledDates(ADate from, ADate to, ASamplingMode mode)
{
    from = std::max(from, Dates::kMinDate);
    to = std::min(to, Dates::kMaxDate);
    std::vector<ADate> dates;
    for (ADate date = from; date <= to; ++date)
        if (IsSampled(date, mode))
            dates.push_back(date);
    return dates;
}

}  // namespace Rates
