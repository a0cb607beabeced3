// The histogram's numbers: the value axis, where values and dates fall on the plot, the
// bar and point of every cell, the legend's height and the bucket tooltips. The drawing
// code of the toolkit calls these; nothing here draws.
#pragma once

#include "core/ADate.h"
#include "core/AStrings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace UserInterface::Charts {

using AMoney = std::int64_t;

struct AValueAxis {
    AMoney low = 0;
    AMoney high = 0;
    AMoney step = 0;
    bool operator==(const AValueAxis&) const = default;
};

// Equal values get the axis value − 1 .. value + 1 with step 1 (10000 units). Otherwise the
// first step k × 10^m (m = 0, 1, ...; k = 1..9 within each m) whose pixels per interval,
// (plot height − 5) / intervals, exceed the font height; a negative lowest value always gets
// one step below its multiple.
AValueAxis ComputeValueAxis(AMoney lowest, AMoney highest, int plotHeight, int fontHeight);
// The tick values from low to high.
std::vector<AMoney> AxisTicks(const AValueAxis& axis);
// y = bottom + (low − v) × (plot height / (high − low)), truncated.
int ValueToY(AMoney value, const AValueAxis& axis, int bottom, int plotHeight);
// x = left + (date − first) × plot width / (last − first), linear in days.
int DateToX(ADate date, ADate first, ADate last, int left, int plotWidth);
// Which boundary labels are written: a label closer than one font height to the last
// written one is skipped. xs in increasing order; answers their indexes.
std::vector<std::size_t> WrittenLabels(const std::vector<int>& xs, int fontHeight);

// A series with "Расходы и списания над нулевой линией" draws a negative value as its
// absolute value.
AMoney DisplayedValue(AMoney value, bool debitsAboveZero);

struct ACellSeries {
    bool showBars = true;
    bool debitsAboveZero = false;
};
struct ABar {
    double left = 0, right = 0;
    int top = 0, bottom = 0;
};
struct ACell {
    double pointX = 0;
    int pointY = 0;
    bool hasBar = false;
    ABar bar;
};
// The point and bar of every series (values[i] belongs to series[i]) in the bucket x0..x1.
// margin = width × (4 − min(n, 3)) / 9 and slot = (width − 2 × margin) / (2n + 1) with n the
// series that show bars; each bar is three slots wide from x0 + margin + 2j × slot, j being
// its place among the series with bars, so bars of neighbouring series overlap by one slot
// and the last one ends at the margin.
std::vector<ACell> CellGeometry(int x0, int x1, const std::vector<ACellSeries>& series,
                                const std::vector<AMoney>& values, const AValueAxis& axis, int bottom, int plotHeight);

// The legend under the plot: rows of three items, two font heights each.
int LegendHeight(std::size_t count, int fontHeight);

// The tooltip lines of one bucket: "\r\n#s: #c #s" per series (name, amount, currency code).
struct ATooltipValue {
    std::u16string name;
    AMoney amount = 0;
};
std::u16string BucketTooltip(const UtilityClasses::Strings::LocaleInfo& locale, const std::vector<ATooltipValue>& values,
                             std::u16string_view currencyCode, int decimals);

}  // namespace UserInterface::Charts
