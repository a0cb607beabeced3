// The toolkit's own controls tell the layout their minimum size and the frame they draw
// around their content. Qt-free, so the layout core and its tests can use it.
#pragma once
#include "win32api/LayoutGeometry.h"

namespace Win32API::VelvixControls {

class AControl {
public:
    virtual ~AControl() = default;
    // Raises `size` to the control's own minimum; the default leaves it.
    virtual void GetMinimumSize(VelvixForms::ASize& size) const { (void)size; }
    // Widens the margins by what the control's window needs around its content.
    virtual void AddMargins(VelvixForms::AMargins& margins) const { (void)margins; }
};

}  // namespace Win32API::VelvixControls
