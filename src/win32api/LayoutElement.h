// One node of a parsed layout string: what the string said, and what measuring and arranging
// computed from it. The tree is plain data; forms attach their windows through `windows`.
#pragma once
#include "win32api/LayoutGeometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Win32API::VelvixForms {

// A length of the layout string: units of one eighth of the font height, pixels, or "e".
struct ALength {
    enum class Unit : std::uint8_t { Units, Pixels, Expand };
    int value = 0;
    Unit unit = Unit::Units;

    static ALength Pixels(int value) { return {value, Unit::Pixels}; }
    bool IsExpand() const { return unit == Unit::Expand; }
    // Truncated like the rest of the layout arithmetic; "e" contributes nothing.
    int ToPixels(int fontHeight) const
    {
        switch (unit) {
        case Unit::Units: return value * fontHeight / 8;
        case Unit::Pixels: return value;
        case Unit::Expand: break;
        }
        return 0;
    }
};

// Edges of a border, as the letters l, t, r, b (f is all four).
enum ABorderEdge : std::uint8_t { kEdgeLeft = 1, kEdgeTop = 2, kEdgeRight = 4, kEdgeBottom = 8, kEdgeAll = 15 };

// The control of an element: "[" letter flags "]".
struct AControlSpec {
    char type = 0;
    std::int16_t id = 0;
    std::string flags;                     // letters and the edit's symbol flags, in order
    std::optional<std::string> inlineText; // 8-bit, in the string table's code page

    bool HasFlag(char flag) const { return flags.find(flag) != std::string::npos; }
};

// One column or row of a table or splitter.
struct ATrack {
    int leading = 0;
    int size = 0;
    int trailing = 0;
    bool stretch = true;
    bool used = false;
    int Extent() const { return leading + size + trailing; }
};

// What a form hangs on an element: its windows. Defined by the forms; the core only owns it.
class AElementWindows {
public:
    virtual ~AElementWindows() = default;
};

struct ALayoutElement {
    // ---- from the layout string
    char type = 'b';                     // b box, t table, S stack, s splitter
    int columns = 1;
    char splitterAxis = 0;               // 'x' or 'y' for splitters
    ALength width, height;
    bool widthStretch = false;           // written with w, or e
    bool heightStretch = false;          // written with h, or e
    ALength marginLeft, marginRight, marginTop, marginBottom;
    ALength bar = ALength::Pixels(5);
    char alignX = 'c';
    char alignY = 'c';
    char borderStyle = 0;                // b, e, r, R, s, S; 0 without a border
    std::uint8_t borderEdges = 0;
    std::int16_t id = 0;
    std::uint16_t tabOrder = 0xFFFF;
    bool visible = true;
    std::optional<std::string> inlineCaption;
    std::optional<AControlSpec> control;
    std::vector<std::unique_ptr<ALayoutElement>> children;
    ALayoutElement* parent = nullptr;
    bool isSplitterBar = false;          // the bar a splitter inserts after its first pane
    bool isTabPage = false;              // a child of a stack whose control is a tab control
    bool captionIsTitle = false;         // the root of a top-level window: its caption is the title
    // A child form placed here: its own tree, arranged in its own window (not owned).
    ALayoutElement* embeddedRoot = nullptr;

    // ---- computed by measuring
    ASize minimum;
    AMargins margins;
    bool stretchX = false;
    bool stretchY = false;
    std::vector<ATrack> columnTracks, rowTracks;

    // ---- computed by arranging (in the coordinates of the window that holds the element)
    ARect cell, content, captionRect, controlRect;
    bool arranged = false;               // false when hidden or inside a hidden element
    // Where the user put a splitter's bar: the offset of its leading edge from the content.
    std::optional<int> barOffset;

    std::unique_ptr<AElementWindows> windows;

    bool HasCaption() const { return id > 0 || inlineCaption.has_value(); }
    bool IsSplitter() const { return type == 's'; }
    bool HasTabControl() const { return type == 'S' && control && control->type == 't'; }
    // The element stands for a window of its own: a child form placed into the tree.
    bool HasOwnWindow() const { return embeddedRoot != nullptr; }
};

// Depth-first, parents before children.
template <typename F>
void ForEachElement(ALayoutElement& element, F&& f)
{
    f(element);
    for (auto& child : element.children)
        ForEachElement(*child, f);
}

ALayoutElement* FindElement(ALayoutElement& root, std::int16_t id);
// The element whose control has the id (the first in document order).
ALayoutElement* FindControlElement(ALayoutElement& root, std::int16_t controlId);

}  // namespace Win32API::VelvixForms
