// Where printing puts the header, the footer and the page's body on a sheet.
#pragma once
#include "core/AStrings.h"

#include <QRect>
#include <QString>

namespace UserInterface {

struct APrintLayout {
    QRect header;  // one small line at the top
    QRect footer;  // one small line at the bottom
    QRect body;    // what is left less one small and one big line at each end
};

// `smallLine` is the height of a 7-point line, `bigLine` of a 12-point bold one.
APrintLayout LayOutSheet(const QRect& printable, int smallLine, int bigLine);

// "Fendral 2.1.0.235", printed at the bottom left of every sheet.
QString PrintedProgramName();
// "Страница #d из #d" (string 252), at the bottom right.
QString SheetNumberText(const UtilityClasses::Strings::AStrings& strings, int sheet, int count);

}  // namespace UserInterface
