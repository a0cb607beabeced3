// The bar of a share column (turnover shares, budget execution): a framed cell filled for
// the share from 0 to 1; past 1 it stays full, in the colour the caller gives for that.
#pragma once
#include "win32api/ReportItem.h"

#include <algorithm>

namespace UserInterface::Reports {

inline void DrawShareBar(Win32API::VelvixControls::Reports::AReportCanvas& canvas,
                         const Win32API::VelvixForms::ARect& rect,
                         const Win32API::VelvixControls::Reports::ACellStyle& style, double share,
                         Win32API::VelvixControls::Reports::AColour fill)
{
    constexpr Win32API::VelvixControls::Reports::AColour kFrame = 0x00A0A0A0;
    const Win32API::VelvixForms::ARect frame{rect.left + 2, rect.top + 3, rect.right - 2, rect.bottom - 3};
    if (frame.IsEmpty())
        return;
    canvas.FillRect(frame, kFrame);
    const Win32API::VelvixForms::ARect inside{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
    canvas.FillRect(inside, style.background);
    const int width = static_cast<int>(inside.Width() * std::clamp(share, 0.0, 1.0));
    if (width > 0)
        canvas.FillRect({inside.left, inside.top, inside.left + width, inside.bottom}, fill);
}

}  // namespace UserInterface::Reports
