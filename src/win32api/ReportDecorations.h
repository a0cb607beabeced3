// What the first column of a row holds before its text: the indentation and expand button
// of a tree, the check box and the icon. Painting and hit testing share it.
#pragma once
#include "win32api/ReportItem.h"
#include "win32api/ReportMode.h"

#include <QRect>

namespace Win32API::VelvixControls::Reports::Implementation {

struct ADecorations {
    QRect expandBox;   // empty without children
    QRect checkBox;    // invalid without a check state
    QRect icon;
    QRect text;
};

ADecorations LayOutDecorations(const AReportItemImpl& item, const QRect& cell, bool tree, int rowHeight);
// The column the decorations go into; -1 when none is shown.
int FirstShownColumn(const AReportMode& mode);

}  // namespace Win32API::VelvixControls::Reports::Implementation
