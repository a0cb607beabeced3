// Arranging: each element's rectangles from its cell, then its children's cells.
#include "win32api/LayoutEngine.h"

#include <algorithm>
#include <cstdint>

namespace Win32API::VelvixForms {

namespace {

void MarkNotArranged(ALayoutElement& e)
{
    ForEachElement(e, [](ALayoutElement& x) { x.arranged = false; });
}

// Places a content span of `minimum` inside [begin, end) by the alignment letter.
void Align(int& begin, int& end, int minimum, bool stretch, char alignment, char leadingLetter, char trailingLetter)
{
    int spare = end - begin - minimum;
    if (spare < 0) {
        // Too small a cell: the element keeps its minimum size anyway.
        end = begin + minimum;
        return;
    }
    if (stretch || alignment == 'e' || spare == 0)
        return;
    if (alignment == trailingLetter)
        begin += spare;
    else if (alignment != leadingLetter)
        begin += spare / 2;
    end = begin + minimum;
}

// Extents of the tracks in `available` pixels: spare room to the stretching used tracks in
// equal parts (the remainder to the last of them); without any, scaled when filling (e).
std::vector<int> TrackExtents(const std::vector<ATrack>& tracks, int available, bool fill)
{
    std::vector<int> extents(tracks.size(), 0);
    int sum = 0;
    int stretching = 0;
    for (std::size_t i = 0; i < tracks.size(); ++i)
        if (tracks[i].used) {
            extents[i] = tracks[i].Extent();
            sum += extents[i];
            stretching += tracks[i].stretch ? 1 : 0;
        }
    if (stretching > 0) {
        int spare = std::max(0, available - sum);
        int share = spare / stretching;
        std::size_t last = 0;
        for (std::size_t i = 0; i < tracks.size(); ++i)
            if (tracks[i].used && tracks[i].stretch) {
                extents[i] += share;
                last = i;
            }
        extents[last] += spare - share * stretching;
    } else if (fill && sum > 0) {
        for (int& extent : extents)
            extent = static_cast<int>(std::int64_t{available} * extent / sum);
    }
    return extents;
}

void ArrangeElement(ALayoutElement& e, const ARect& cell, const ALayoutMetrics& metrics);

void ArrangeTable(ALayoutElement& e, const ALayoutMetrics& metrics)
{
    std::vector<int> widths = TrackExtents(e.columnTracks, e.content.Width(), e.alignX == 'e');
    std::vector<int> heights = TrackExtents(e.rowTracks, e.content.Height(), e.alignY == 'e');
    std::vector<int> xs(widths.size() + 1, e.content.left);
    std::vector<int> ys(heights.size() + 1, e.content.top);
    for (std::size_t i = 0; i < widths.size(); ++i)
        xs[i + 1] = xs[i] + widths[i];
    for (std::size_t i = 0; i < heights.size(); ++i)
        ys[i + 1] = ys[i] + heights[i];
    const std::size_t columns = widths.size();
    for (std::size_t i = 0; i < e.children.size(); ++i) {
        ALayoutElement& child = *e.children[i];
        std::size_t c = i % columns, r = i / columns;
        if (child.visible)
            ArrangeElement(child, {xs[c], ys[r], xs[c + 1], ys[r + 1]}, metrics);
        else
            MarkNotArranged(child);
    }
}

// Start and end of a rectangle along the splitter's axis.
int& Lead(ARect& r, char axis) { return axis == 'x' ? r.left : r.top; }
int& Trail(ARect& r, char axis) { return axis == 'x' ? r.right : r.bottom; }
int Along(const ASize& s, char axis) { return axis == 'x' ? s.cx : s.cy; }
int PaneExtent(const ALayoutElement& pane, char axis)
{
    return axis == 'x' ? pane.minimum.cx + pane.margins.left + pane.margins.right
                       : pane.minimum.cy + pane.margins.top + pane.margins.bottom;
}

// The bar's leading edge as an offset from the content start, clamped between the panes;
// when both limits cannot be met the second pane's wins.
int ClampBar(const ALayoutElement& splitter, int offset)
{
    const char axis = splitter.splitterAxis;
    ARect content = splitter.content;
    int length = Trail(content, axis) - Lead(content, axis);
    int thickness = Along(splitter.children[1]->minimum, axis);
    offset = std::max(offset, PaneExtent(*splitter.children[0], axis));
    offset = std::min(offset, length - thickness - PaneExtent(*splitter.children[2], axis));
    return offset;
}

void ArrangeSplitter(ALayoutElement& e, const ALayoutMetrics& metrics)
{
    ALayoutElement& first = *e.children[0];
    ALayoutElement& bar = *e.children[1];
    ALayoutElement& second = *e.children[2];
    if (!first.visible || !second.visible) {
        MarkNotArranged(bar);
        for (ALayoutElement* pane : {&first, &second})
            if (pane->visible)
                ArrangeElement(*pane, e.content, metrics);
            else
                MarkNotArranged(*pane);
        return;
    }
    if (!e.barOffset) {
        ArrangeTable(e, metrics);
        return;
    }
    const char axis = e.splitterAxis;
    e.barOffset = ClampBar(e, *e.barOffset);
    ARect barCell = e.content;
    Lead(barCell, axis) += *e.barOffset;
    Trail(barCell, axis) = Lead(barCell, axis) + Along(bar.minimum, axis);
    ARect firstCell = e.content, secondCell = e.content;
    Trail(firstCell, axis) = Lead(barCell, axis);
    Lead(secondCell, axis) = Trail(barCell, axis);
    ArrangeElement(first, firstCell, metrics);
    ArrangeElement(bar, barCell, metrics);
    ArrangeElement(second, secondCell, metrics);
}

void ArrangeChildren(ALayoutElement& e, const ALayoutMetrics& metrics)
{
    if (e.embeddedRoot) {
        // The child form's window covers the content; its tree lives in that window.
        const ARect& r = e.content;
        if (e.embeddedRoot->visible)
            ArrangeElement(*e.embeddedRoot, {0, 0, r.Width(), r.Height()}, metrics);
        else
            MarkNotArranged(*e.embeddedRoot);
        return;
    }
    switch (e.type) {
    case 'b':
        if (!e.children.empty()) {
            if (e.children.front()->visible)
                ArrangeElement(*e.children.front(), e.content, metrics);
            else
                MarkNotArranged(*e.children.front());
        }
        break;
    case 'S': {
        ARect area = e.HasTabControl() ? metrics.TabDisplayArea(e, e.content) : e.content;
        for (auto& child : e.children)
            if (child->visible)
                ArrangeElement(*child, area, metrics);
            else
                MarkNotArranged(*child);
        break;
    }
    case 's':
        if (e.children.size() == 3) {
            ArrangeSplitter(e, metrics);
            break;
        }
        [[fallthrough]];
    default: ArrangeTable(e, metrics); break;
    }
}

int CaptionDrop(char borderStyle)
{
    switch (borderStyle) {
    case 'R':
    case 'S': return 2;
    case 'r':
    case 's': return 1;
    default: return 0;
    }
}

void ArrangeElement(ALayoutElement& e, const ARect& cell, const ALayoutMetrics& metrics)
{
    e.arranged = true;
    e.cell = cell;
    e.content = {cell.left + e.margins.left, cell.top + e.margins.top, cell.right - e.margins.right,
                 cell.bottom - e.margins.bottom};
    Align(e.content.left, e.content.right, e.minimum.cx, e.stretchX, e.alignX, 'l', 'r');
    Align(e.content.top, e.content.bottom, e.minimum.cy, e.stretchY, e.alignY, 't', 'b');

    e.captionRect = {};
    if (HasCaptionWindow(e)) {
        ASize text = metrics.CaptionExtent(e);
        int top = cell.top + CaptionDrop(e.borderStyle);
        e.captionRect = {e.content.left, top, e.content.left + text.cx + metrics.FontHeight(), top + text.cy};
    }
    e.controlRect = {};
    if (e.control) {
        AMargins frame = metrics.ControlMargins(e);
        e.controlRect = {e.content.left - frame.left, e.content.top - frame.top, e.content.right + frame.right,
                         e.content.bottom + frame.bottom};
    }
    ArrangeChildren(e, metrics);
}

}  // namespace

void ArrangeLayout(ALayoutElement& root, const ARect& client, const ALayoutMetrics& metrics)
{
    if (root.visible)
        ArrangeElement(root, client, metrics);
    else
        MarkNotArranged(root);
}

void MoveSplitterBar(ALayoutElement& splitter, int position)
{
    if (!splitter.IsSplitter() || splitter.children.size() != 3)
        return;
    const char axis = splitter.splitterAxis;
    int thickness = Along(splitter.children[1]->minimum, axis);
    ARect content = splitter.content;
    splitter.barOffset = ClampBar(splitter, position - thickness / 2 - Lead(content, axis));
}

ARect BorderRect(const ALayoutElement& element, int fontHeight)
{
    ARect r = element.cell;
    if (HasCaptionWindow(element) && (element.borderStyle == 'e' || element.borderStyle == 'b'))
        r.top += fontHeight / 2;
    return r;
}

}  // namespace Win32API::VelvixForms
