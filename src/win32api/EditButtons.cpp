#include "win32api/EditButtons.h"

#include <algorithm>

namespace Win32API::VelvixControls {

std::vector<int> FrameButtonIds(std::string_view flags)
{
    std::vector<int> ids;
    auto has = [&](char flag) { return flags.find(flag) != std::string_view::npos; };
    if (has('='))
        ids.push_back(kDropDownButton);
    if (has('.'))
        ids.push_back(702);
    if (has('I'))
        ids.push_back(703);
    if (has('\x95'))
        ids.insert(ids.end(), {704, 705, 706});
    if (has('X'))
        ids.push_back(707);
    return ids;
}

std::vector<AFrameButton> LayOutFrameButtons(const std::vector<int>& ids, const VelvixForms::ARect& window,
                                             bool dropDownOnRight)
{
    const VelvixForms::ARect inner{window.left + 2, window.top + 2, window.right - 2, window.bottom - 2};
    const int side = std::max(0, inner.Height());
    std::vector<AFrameButton> buttons;
    int right = inner.right;
    std::vector<int> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    for (int id : sorted) {
        if (id == kDropDownButton && !dropDownOnRight) {
            buttons.push_back({id, {inner.left, inner.top, inner.left + side, inner.bottom}});
            continue;
        }
        buttons.push_back({id, {right - side, inner.top, right, inner.bottom}});
        right -= side;
    }
    return buttons;
}

}  // namespace Win32API::VelvixControls
