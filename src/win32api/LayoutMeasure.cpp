// Measuring: each element after its children.
#include "win32api/LayoutEngine.h"

#include <algorithm>

namespace Win32API::VelvixForms {

namespace {

ASize WithMargins(const ALayoutElement& e)
{
    return {e.minimum.cx + e.margins.left + e.margins.right, e.minimum.cy + e.margins.top + e.margins.bottom};
}

void Include(ATrack& track, int leading, int size, int trailing, bool stretch)
{
    track.leading = std::max(track.leading, leading);
    track.size = std::max(track.size, size);
    track.trailing = std::max(track.trailing, trailing);
    track.stretch = track.stretch && stretch;
    track.used = true;
}

// Sum of the used tracks, and whether any of them stretches.
int SumTracks(const std::vector<ATrack>& tracks, bool& stretch)
{
    int sum = 0;
    stretch = false;
    for (const ATrack& t : tracks)
        if (t.used) {
            sum += t.Extent();
            stretch = stretch || t.stretch;
        }
    return sum;
}

void MeasureTable(ALayoutElement& e)
{
    const std::size_t columns = static_cast<std::size_t>(e.columns);
    const std::size_t rows = (e.children.size() + columns - 1) / columns;
    e.columnTracks.assign(columns, ATrack{});
    e.rowTracks.assign(rows, ATrack{});
    for (std::size_t i = 0; i < e.children.size(); ++i) {
        const ALayoutElement& child = *e.children[i];
        if (!child.visible)
            continue;
        Include(e.columnTracks[i % columns], child.margins.left, child.minimum.cx, child.margins.right, child.stretchX);
        Include(e.rowTracks[i / columns], child.margins.top, child.minimum.cy, child.margins.bottom, child.stretchY);
    }
    e.minimum = {SumTracks(e.columnTracks, e.stretchX), SumTracks(e.rowTracks, e.stretchY)};
    // The contents of a column (and of a row) line up.
    for (std::size_t i = 0; i < e.children.size(); ++i) {
        const ATrack& column = e.columnTracks[i % columns];
        const ATrack& row = e.rowTracks[i / columns];
        e.children[i]->margins = {column.leading, row.leading, column.trailing, row.trailing};
    }
}

void MeasureStack(ALayoutElement& e, const ALayoutMetrics& metrics)
{
    e.stretchX = e.stretchY = !e.children.empty();
    for (const auto& child : e.children) {
        ASize size = WithMargins(*child);
        e.minimum.cx = std::max(e.minimum.cx, size.cx);
        e.minimum.cy = std::max(e.minimum.cy, size.cy);
        e.stretchX = e.stretchX && child->stretchX;
        e.stretchY = e.stretchY && child->stretchY;
    }
    // The pages sit inside the tab control's display area, so the stack needs the tabs and
    // frame around its largest page too, or the pages would be cut.
    if (e.HasTabControl()) {
        const ARect probe{0, 0, 100000, 100000};
        ARect area = metrics.TabDisplayArea(e, probe);
        e.minimum.cx += probe.Width() - area.Width();
        e.minimum.cy += probe.Height() - area.Height();
    }
}

void MeasureBox(ALayoutElement& e)
{
    const ALayoutElement* child = e.embeddedRoot ? e.embeddedRoot
                                : e.children.empty() ? nullptr : e.children.front().get();
    if (!child || !child->visible)
        return;
    e.minimum = WithMargins(*child);
    e.stretchX = child->stretchX;
    e.stretchY = child->stretchY;
}

void AddBorder(ALayoutElement& e)
{
    const int thickness = BorderThickness(e.borderStyle);
    if (e.borderEdges & kEdgeLeft)
        e.margins.left += thickness;
    if (e.borderEdges & kEdgeRight)
        e.margins.right += thickness;
    if (e.borderEdges & kEdgeBottom)
        e.margins.bottom += thickness;
    // The top line of e and b styles runs through the caption, which already takes the room.
    bool lineThroughCaption = HasCaptionWindow(e) && (e.borderStyle == 'e' || e.borderStyle == 'b');
    if ((e.borderEdges & kEdgeTop) && !lineThroughCaption)
        e.margins.top += thickness;
}

void MeasureElement(ALayoutElement& e, const ALayoutMetrics& metrics)
{
    if (e.IsSplitter() && e.children.size() == 3)
        e.children[1]->visible = e.children[0]->visible && e.children[2]->visible;
    for (auto& child : e.children)
        MeasureElement(*child, metrics);
    if (e.embeddedRoot)
        MeasureElement(*e.embeddedRoot, metrics);

    e.minimum = {};
    e.margins = {};
    e.stretchX = e.stretchY = false;
    switch (e.type) {
    case 'b': MeasureBox(e); break;
    case 'S': MeasureStack(e, metrics); break;
    default: MeasureTable(e); break;
    }

    const int fontHeight = metrics.FontHeight();
    if (e.control) {
        ASize own = metrics.ControlMinimumSize(e);
        e.minimum.cx = std::max(e.minimum.cx, own.cx);
        e.minimum.cy = std::max(e.minimum.cy, own.cy);
        AMargins frame = metrics.ControlMargins(e);
        e.margins.left += frame.left;
        e.margins.top += frame.top;
        e.margins.right += frame.right;
        e.margins.bottom += frame.bottom;
    }
    if (HasCaptionWindow(e)) {
        ASize caption = metrics.CaptionExtent(e);
        e.minimum.cx = std::max(e.minimum.cx, caption.cx + fontHeight);
        e.margins.top += caption.cy;
    }
    AddBorder(e);

    e.margins.left = std::max(e.margins.left, e.marginLeft.ToPixels(fontHeight));
    e.margins.right = std::max(e.margins.right, e.marginRight.ToPixels(fontHeight));
    e.margins.top = std::max(e.margins.top, e.marginTop.ToPixels(fontHeight));
    e.margins.bottom = std::max(e.margins.bottom, e.marginBottom.ToPixels(fontHeight));
    e.minimum.cx = std::max(e.minimum.cx, e.width.ToPixels(fontHeight));
    e.minimum.cy = std::max(e.minimum.cy, e.height.ToPixels(fontHeight));
    e.stretchX = e.stretchX || e.widthStretch;
    e.stretchY = e.stretchY || e.heightStretch;
}

}  // namespace

void MeasureLayout(ALayoutElement& root, const ALayoutMetrics& metrics)
{
    MeasureElement(root, metrics);
}

ASize MinimumClientSize(const ALayoutElement& root)
{
    return WithMargins(root);
}

int BorderThickness(char style)
{
    switch (style) {
    case 'b':
    case 'e':
    case 'R':
    case 'S': return 2;
    case 'r':
    case 's': return 1;
    default: return 0;
    }
}

}  // namespace Win32API::VelvixForms
