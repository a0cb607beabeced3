// Where the small buttons inside an edit's frame go (ids 701-707), as plain geometry.
#pragma once
#include "win32api/LayoutGeometry.h"

#include <string_view>
#include <vector>

namespace Win32API::VelvixControls {

constexpr int kDropDownButton = 701;

struct AFrameButton {
    int id;
    VelvixForms::ARect rect;
};

// The buttons an edit's layout flags switch on: "=" 701, "." 702, "I" 703, the character
// of code 149 704-706, "X" 707.
std::vector<int> FrameButtonIds(std::string_view flags);

// Squares as high as the edit's inner height (the window less 2 pixels on each side): the
// drop-down button at the right edge when `dropDownOnRight`, else at the left; the others
// from the right edge leftwards in the order of their numbers, after the drop-down button
// when that one is on the right.
std::vector<AFrameButton> LayOutFrameButtons(const std::vector<int>& ids, const VelvixForms::ARect& window,
                                             bool dropDownOnRight);

}  // namespace Win32API::VelvixControls
