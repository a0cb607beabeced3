// Which days of a period get rates: the five choices of "загружать курсы:".
#pragma once

#include "core/ADate.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Rates {

enum class ASamplingMode : std::uint8_t {
    EveryDay = 0,
    EveryMonday = 1,
    MonthStart = 2,     // the recommended choice, and the preset
    QuarterStart = 3,
    HalfYearStart = 4,
};

constexpr int kSamplingModeCount = 5;
constexpr ASamplingMode kDefaultSamplingMode = ASamplingMode::MonthStart;

// The mode of a row number; none outside 0..4.
std::optional<ASamplingMode> SamplingModeFromIndex(int index);

bool IsSampled(ADate date, ASamplingMode mode);

// The sampled days from `from` to `to` inclusive, in date order; empty when `to` is
// before `from`. Dates outside the calendar's range are clamped to it.
std::vector<ADate> SampledDates(ADate from, ADate to, ASamplingMode mode);

}  // namespace Rates
