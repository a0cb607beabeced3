#include "core/HistogramScale.h"

#include "core/FormatText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace UserInterface::Charts {

namespace {

constexpr AMoney kOne = 10'000;
__extension__ typedef __int128 AWide;

AMoney Clamp(AWide value)
{
    return static_cast<AMoney>(std::clamp<AWide>(value, std::numeric_limits<AMoney>::min(),
                                                 std::numeric_limits<AMoney>::max()));
}

// The axis a step gives; the arithmetic is wide so that values near the ends of the
// 64-bit range cannot wrap.
AValueAxis AxisFor(AMoney lowest, AMoney highest, AMoney step)
{
    const AWide s = step;
    const AWide low = lowest < 0 ? (lowest / s - 1) * s : (lowest / s) * s;
    const AWide high = ((static_cast<AWide>(highest) + s - 1) / s) * s;
    return {Clamp(low), Clamp(high), step};
}

}  // namespace

AValueAxis ComputeValueAxis(AMoney lowest, AMoney highest, int plotHeight, int fontHeight)
{
    if (lowest > highest)
        std::swap(lowest, highest);
    if (lowest == highest)
        return {Clamp(static_cast<AWide>(lowest) - kOne), Clamp(static_cast<AWide>(highest) + kOne), kOne};
    AValueAxis axis;
    AMoney power = 1;
    for (int m = 0; m <= 18; ++m, power *= 10) {
        for (AMoney k = 1; k <= 9; ++k) {
            axis = AxisFor(lowest, highest, k * power);
            const double intervals = static_cast<double>((static_cast<AWide>(axis.high) - axis.low) / axis.step);
            if (intervals > 0 && (plotHeight - 5) / intervals > fontHeight)
                return axis;
        }
        if (m == 18)
            break;  // 10^19 does not fit: the largest step tried stands
    }
    return axis;
}

std::vector<AMoney> AxisTicks(const AValueAxis& axis)
{
    std::vector<AMoney> ticks;
    if (axis.step <= 0)
        return ticks;
    for (AWide value = axis.low; value <= axis.high; value += axis.step)
        ticks.push_back(static_cast<AMoney>(value));
    return ticks;
}

int ValueToY(AMoney value, const AValueAxis& axis, int bottom, int plotHeight)
{
    const double range = static_cast<double>(static_cast<AWide>(axis.high) - axis.low);
    if (range <= 0)
        return bottom;
    const double offset = static_cast<double>(static_cast<AWide>(axis.low) - value);
    return static_cast<int>(bottom + offset * (plotHeight / range));
}

int DateToX(ADate date, ADate first, ADate last, int left, int plotWidth)
{
    if (last <= first)
        return left;
    return left + static_cast<int>(static_cast<std::int64_t>(date - first) * plotWidth / (last - first));
}

std::vector<std::size_t> WrittenLabels(const std::vector<int>& xs, int fontHeight)
{
    std::vector<std::size_t> written;
    for (std::size_t i = 0; i < xs.size(); ++i)
        if (written.empty() || xs[i] - xs[written.back()] >= fontHeight)
            written.push_back(i);
    return written;
}

AMoney DisplayedValue(AMoney value, bool debitsAboveZero)
{
    if (debitsAboveZero && value < 0)
        return value == std::numeric_limits<AMoney>::min() ? std::numeric_limits<AMoney>::max() : -value;
    return value;
}

std::vector<ACell> CellGeometry(int x0, int x1, const std::vector<ACellSeries>& series,
                                const std::vector<AMoney>& values, const AValueAxis& axis, int bottom, int plotHeight)
{
    const int width = x1 - x0;
    const int n = static_cast<int>(std::count_if(series.begin(), series.end(), [](const ACellSeries& s) {
        return s.showBars;
    }));
    const int margin = width * (4 - std::min(n, 3)) / 9;
    const double slot = static_cast<double>(width - 2 * margin) / (2 * n + 1);
    const int zeroY = ValueToY(0, axis, bottom, plotHeight);
    std::vector<ACell> cells;
    int barIndex = 0;
    for (std::size_t i = 0; i < series.size() && i < values.size(); ++i) {
        ACell cell;
        cell.pointX = (x0 + x1) / 2.0;
        cell.pointY = ValueToY(DisplayedValue(values[i], series[i].debitsAboveZero), axis, bottom, plotHeight);
        if (series[i].showBars) {
            cell.hasBar = true;
            cell.bar.left = x0 + margin + 2 * barIndex * slot;
            cell.bar.right = cell.bar.left + 3 * slot;
            cell.bar.top = std::min(zeroY, cell.pointY);
            cell.bar.bottom = std::max(zeroY, cell.pointY);
            ++barIndex;
        }
        cells.push_back(cell);
    }
    return cells;
}

int LegendHeight(std::size_t count, int fontHeight)
{
    return static_cast<int>((count + 2) / 3) * 2 * fontHeight;
}

std::u16string BucketTooltip(const UtilityClasses::Strings::LocaleInfo& locale,
                             const std::vector<ATooltipValue>& values, std::u16string_view currencyCode,
                             int decimals)
{
    using UtilityClasses::Strings::FormatArg;
    std::u16string text;
    for (const ATooltipValue& value : values)
        text += UtilityClasses::Strings::FormatText(
            locale, u"\r\n#s: #c #s",
            {FormatArg(std::u16string_view(value.name)), FormatArg::Amount(value.amount, decimals),
             FormatArg(currencyCode)});
    return text;
}

}  // namespace UserInterface::Charts
