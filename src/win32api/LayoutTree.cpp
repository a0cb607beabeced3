// Lookups over the tree, stacks and the tab order.
#include "win32api/LayoutEngine.h"

#include <algorithm>

namespace Win32API::VelvixForms {

ALayoutElement* FindElement(ALayoutElement& root, std::int16_t id)
{
    if (root.id == id)
        return &root;
    for (auto& child : root.children)
        if (ALayoutElement* found = FindElement(*child, id))
            return found;
    return nullptr;
}

ALayoutElement* FindControlElement(ALayoutElement& root, std::int16_t controlId)
{
    if (root.control && root.control->id == controlId)
        return &root;
    for (auto& child : root.children)
        if (ALayoutElement* found = FindControlElement(*child, controlId))
            return found;
    return nullptr;
}

void NormaliseStacks(ALayoutElement& root)
{
    ForEachElement(root, [](ALayoutElement& e) {
        if (e.type != 'S' || e.children.empty())
            return;
        int shown = ShownStackChild(e);
        SelectStackChild(e, shown < 0 ? 0 : shown);
    });
}

bool SelectStackChild(ALayoutElement& stack, int index)
{
    if (stack.type != 'S' || index < 0 || static_cast<std::size_t>(index) >= stack.children.size())
        return false;
    for (std::size_t i = 0; i < stack.children.size(); ++i)
        stack.children[i]->visible = static_cast<int>(i) == index;
    return true;
}

int ShownStackChild(const ALayoutElement& stack)
{
    for (std::size_t i = 0; i < stack.children.size(); ++i)
        if (stack.children[i]->visible)
            return static_cast<int>(i);
    return -1;
}

bool HasCaptionWindow(const ALayoutElement& element)
{
    return element.HasCaption() && !element.isTabPage && !element.captionIsTitle;
}

std::vector<ATabStop> CollectTabOrder(ALayoutElement& root)
{
    std::vector<ATabStop> stops;
    ForEachElement(root, [&](ALayoutElement& e) {
        if (HasCaptionWindow(e))
            stops.push_back({&e, ATabStop::Kind::Caption});
        if (e.control)
            stops.push_back({&e, ATabStop::Kind::Control});
        if (e.embeddedRoot)
            stops.push_back({&e, ATabStop::Kind::ChildForm});
    });
    auto number = [](const ATabStop& s) {
        return s.kind == ATabStop::Kind::ChildForm ? s.element->embeddedRoot->tabOrder : s.element->tabOrder;
    };
    std::stable_sort(stops.begin(), stops.end(),
                     [&](const ATabStop& a, const ATabStop& b) { return number(a) < number(b); });
    return stops;
}

}  // namespace Win32API::VelvixForms
