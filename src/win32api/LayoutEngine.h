// Measuring (bottom-up) and arranging (top-down) of an element tree, the splitter bar, stacks
// and the tab order. Pure geometry: forms apply the results to their windows.
#pragma once
#include "win32api/LayoutMetrics.h"

#include <vector>

namespace Win32API::VelvixForms {

// Minimum sizes, margins and stretch flags of the whole tree (and of child forms placed in it).
void MeasureLayout(ALayoutElement& root, const ALayoutMetrics& metrics);

// Cell, content, caption and control rectangles of every visible element; `client` is the
// root's cell. Elements that are hidden, or inside hidden ones, are marked not arranged.
// A child form's tree is arranged in its own window's coordinates (its cell's top-left is 0,0).
void ArrangeLayout(ALayoutElement& root, const ARect& client, const ALayoutMetrics& metrics);

// The smallest client area of the root: its minimum size plus its margins.
ASize MinimumClientSize(const ALayoutElement& root);

// Centres the splitter's bar on `position` (window coordinates along the splitter's axis),
// clamps it between the panes' minimum sizes and remembers it; the next arrangement uses it.
// The splitter must have been arranged.
void MoveSplitterBar(ALayoutElement& splitter, int position);

// Stacks show exactly one child: the first of those marked visible, else the first child.
void NormaliseStacks(ALayoutElement& root);
// Shows the child `index` of the stack and hides the others; false for an index out of range.
bool SelectStackChild(ALayoutElement& stack, int index);
// Index of the shown child of a stack, -1 when there is none.
int ShownStackChild(const ALayoutElement& stack);

// The rectangle a border is drawn on: the cell, its top lowered by half the font height when
// the line runs through the caption (styles e and b with a caption).
ARect BorderRect(const ALayoutElement& element, int fontHeight);
int BorderThickness(char style);

// Whether the element shows its caption in a static window of its own: not the root of a
// top-level window (its caption is the title) nor a tab page (its caption is on the tab).
// Only such captions take room in the layout.
bool HasCaptionWindow(const ALayoutElement& element);

struct ATabStop {
    enum class Kind { Caption, Control, ChildForm };
    ALayoutElement* element;
    Kind kind;
};
// Every caption and control window, and every child form as one stop with its root's
// number, sorted stably by tab order number.
std::vector<ATabStop> CollectTabOrder(ALayoutElement& root);

}  // namespace Win32API::VelvixForms
