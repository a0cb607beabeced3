// The windows a form creates for one layout element.
#pragma once
#include "win32api/LayoutElement.h"

#include <QPointer>
#include <QWidget>

#include <vector>

namespace Win32API::VelvixForms {

class ADialogForm;

class ADialogFrame : public AElementWindows {
public:
    QPointer<QWidget> caption;        // the static showing the element's caption
    QPointer<QWidget> control;        // the window of the element's control
    QPointer<ADialogForm> childForm;  // a form placed into this element
    bool controlHidden = false;       // "h": the owner shows the control when it wants it
    std::vector<int> tabPages;        // tab control: the stack child shown by each tab
};

inline ADialogFrame* FrameOf(const ALayoutElement& element)
{
    return static_cast<ADialogFrame*>(element.windows.get());
}

}  // namespace Win32API::VelvixForms
