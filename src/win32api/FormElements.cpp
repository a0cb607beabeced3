#include "win32api/FormElements.h"

#include "win32api/DialogFrame.h"
#include "win32api/DynaForm.h"

#include <algorithm>

namespace Win32API::VelvixForms {

bool RemoveElement(ADialogForm& form, std::int16_t id)
{
    ALayoutElement* element = form.FindElement(id);
    if (!element || !element->parent)
        return false;
    std::vector<QWidget*> windows;
    ForEachElement(*element, [&](ALayoutElement& e) {
        if (ADialogFrame* frame = FrameOf(e))
            for (QWidget* w : {frame->caption.data(), frame->control.data(), static_cast<QWidget*>(frame->childForm.data())})
                if (w)
                    windows.push_back(w);
    });
    auto& siblings = element->parent->children;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(), [&](const auto& e) { return e.get() == element; }));
    for (QWidget* w : windows)
        delete w;
    form.Relayout(true, true);
    return true;
}

}  // namespace Win32API::VelvixForms
