#include "core/APieLayout.h"

#include "core/CommonTexts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace UserInterface::Charts {

namespace {

namespace CommonText = UtilityClasses::Strings::CommonText;

// Rounding of the sweeps must not keep the last slice from closing the circle.
constexpr double kAngleTolerance = 1e-9;

constexpr ARgb kIncrements[3] = {{0x00, 0x80, 0x00}, {0x40, 0x40, 0x80}, {0x80, 0x30, 0x30}};

ARgb Add(ARgb base, ARgb increment, int shift)
{
    // Rings deeper than a byte's width add nothing (and a shift that wide is undefined).
    auto channel = [shift](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::min(255, a + (shift >= 8 ? 0 : b >> std::max(shift, 0))));
    };
    return {channel(base.r, increment.r), channel(base.g, increment.g), channel(base.b, increment.b)};
}

double ValueOf(const ARingItem& item) { return static_cast<double>(item.first) - static_cast<double>(item.second); }

}  // namespace

ARingLayout LayoutRing(const std::vector<ARingItem>& items, int width, int height, int fontHeight)
{
    ARingLayout layout;
    layout.centreX = width / 2;
    layout.centreY = height / 2;
    layout.slices.resize(items.size());
    if (items.empty())
        return layout;

    // Depths by a walk from the root; an item reached twice (a damaged tree) is laid out once.
    std::vector<int> depth(items.size(), -1);
    std::vector<std::size_t> order{0};
    depth[0] = 0;
    for (std::size_t at = 0; at < order.size(); ++at)
        for (std::size_t child : items[order[at]].children)
            if (child < items.size() && depth[child] < 0) {
                depth[child] = depth[order[at]] + 1;
                order.push_back(child);
            }
    layout.depth = 1 + *std::max_element(depth.begin(), depth.end());
    layout.ringWidth = std::max(5, (std::min(width, height) - fontHeight - 4) / (2 * layout.depth));

    ARingSlice& root = layout.slices[0];
    root.sweep = 360;
    root.visible = true;
    root.colour = kRootColour;
    const double rootValue = ValueOf(items[0]);
    if (rootValue == 0)
        return layout;

    // Parents come before their children in the walk's order.
    for (std::size_t parent : order) {
        const ARingSlice& parentSlice = layout.slices[parent];
        if (!parentSlice.visible)
            continue;  // a hidden item hides its subtree
        double start = parentSlice.start;
        int drawn = 0;
        const ARgb base = parent == 0 ? ARgb{} : parentSlice.colour;
        const auto& children = items[parent].children;
        for (std::size_t c = 0; c < children.size(); ++c) {
            const std::size_t child = children[c];
            if (child >= items.size() || depth[child] != depth[parent] + 1)
                continue;
            ARingSlice& slice = layout.slices[child];
            slice.depth = depth[child];
            slice.start = start;
            slice.sweep = 360.0 * ValueOf(items[child]) / rootValue;
            start += slice.sweep;
            const double arc = 2 * std::numbers::pi * slice.depth * layout.ringWidth * (slice.sweep / 360.0);
            slice.visible = arc >= kMinimumArc;
            if (!slice.visible)
                continue;
            // First and last slices around the root never share a colour.
            if (parent == 0 && children.size() > 1 && slice.start + slice.sweep >= 360.0 - kAngleTolerance &&
                drawn % 3 == 0)
                ++drawn;
            slice.colour = Add(base, kIncrements[drawn % 3], slice.depth - 1);
            ++drawn;
        }
    }
    return layout;
}

int RingHitTest(const ARingLayout& layout, int x, int y)
{
    if (layout.slices.empty() || layout.ringWidth <= 0)
        return -1;
    const double dx = x - layout.centreX, dy = y - layout.centreY;
    const int ring = static_cast<int>(std::sqrt(dx * dx + dy * dy) / layout.ringWidth);
    if (ring >= layout.depth)
        return -1;
    if (ring == 0)
        return 0;
    double angle = std::atan2(dx, -dy) * 180.0 / std::numbers::pi;  // clockwise from the top
    if (angle < 0)
        angle += 360.0;
    for (std::size_t i = 1; i < layout.slices.size(); ++i) {
        const ARingSlice& slice = layout.slices[i];
        if (slice.visible && slice.depth == ring && angle >= slice.start && angle < slice.start + slice.sweep)
            return static_cast<int>(i);
    }
    return -1;
}

std::u16string RingTooltip(const UtilityClasses::Strings::AStrings& strings, std::u16string_view name, AMoney first,
                           AMoney second, std::u16string_view currencyCode, int decimals)
{
    using UtilityClasses::Strings::FormatArg;
    std::u16string text(name);
    auto line = [&](int caption, AMoney amount) {
        text += strings.Format(CommonText::kPieTooltipLine,
                               {FormatArg(strings.Text(caption)), FormatArg::Amount(amount, decimals),
                                FormatArg(currencyCode)});
    };
    if (first != 0)
        line(CommonText::kPieIncome, first);
    if (second != 0)
        line(CommonText::kPieExpense, second);
    if ((first != 0) == (second != 0))
        line(CommonText::kPieTotal, first + second);
    return text;
}

}  // namespace UserInterface::Charts
