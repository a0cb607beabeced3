// The ring chart's layout: how deep the tree is, how wide each ring, where every item's
// sector starts and how far it sweeps, which items are large enough to draw, and their
// colours. The drawing code of the toolkit calls these; nothing here draws.
#pragma once

#include "core/ChartColours.h"
#include "core/AStrings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace UserInterface::Charts {

using AMoney = std::int64_t;

// An item of the tree to lay out; item 0 is the root.
struct ARingItem {
    AMoney first = 0;   // incoming sum
    AMoney second = 0;  // outgoing sum (<= 0)
    std::vector<std::size_t> children;
};

struct ARingSlice {
    int depth = 0;
    double start = 0;   // degrees, clockwise from the top
    double sweep = 0;   // degrees
    bool visible = false;
    ARgb colour;
};

struct ARingLayout {
    int depth = 0;       // the height of the tree; a lone root is 1
    int ringWidth = 0;   // at least 5 pixels
    int centreX = 0;
    int centreY = 0;
    std::vector<ARingSlice> slices;  // one per item, in item order
};

constexpr ARgb kRootColour{0xD0, 0xB0, 0xD0};
constexpr ARgb kOutlineColour{192, 192, 192};
// An item is drawn only when its inner arc is at least this long, in pixels.
constexpr double kMinimumArc = 4;

// Lays out the tree in a client area of width × height. An item's value is its first sum
// minus its second; with a zero root value only the root is drawn. A child's colour is its
// parent's (black for the root's children) plus the increment of its place among the drawn
// siblings, halved for each level below the first; when the root's last slice closes the
// circle on the first slice's increment, it takes the next one.
ARingLayout LayoutRing(const std::vector<ARingItem>& items, int width, int height, int fontHeight);

// The item under the point, or -1.
int RingHitTest(const ARingLayout& layout, int x, int y);

// The radius of the grey circle drawn around the whole chart.
inline int OutlineRadius(const ARingLayout& layout) { return layout.depth * layout.ringWidth + 2; }

// The item's name, then "Приход:" with the first sum when it is not zero, "Расход:" with
// the second when it is not zero, and "Итого:" with both added when both or neither are zero.
std::u16string RingTooltip(const UtilityClasses::Strings::AStrings& strings, std::u16string_view name, AMoney first,
                           AMoney second, std::u16string_view currencyCode, int decimals);

}  // namespace UserInterface::Charts
