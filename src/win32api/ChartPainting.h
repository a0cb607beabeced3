// Drawing pieces the chart controls share: colours, the legend under a plot, and texts.
#pragma once
#include "core/ChartColours.h"
#include "win32api/QtText.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <string_view>
#include <vector>

class QPainter;
class QPalette;

namespace Win32API::VelvixControls::Charts {

inline QColor ToQColor(UserInterface::Charts::ARgb colour, int alpha = 255)
{
    return QColor(colour.r, colour.g, colour.b, alpha);
}

// The platform's 3D-face colour, which grid lines and the legend's separator use.
QColor GridColour(const QPalette& palette);

// A tooltip with the platform's line breaks turned into Qt's.
QString TooltipText(std::u16string_view text);

struct ALegendItem {
    QString name;
    QColor colour;
    bool bar = true;  // a bar sample; otherwise a short line with a square marker
    Qt::PenStyle lineStyle = Qt::SolidLine;
};

// Rows of three equal columns, two font heights each, under a separating line at the
// area's top. Names are cut with an ellipsis.
void DrawLegend(QPainter& painter, const QPalette& palette, const QRect& area, const std::vector<ALegendItem>& items,
                int fontHeight);

// The small filled square drawn at each point of a line.
void DrawMarker(QPainter& painter, QPointF centre, const QColor& colour, double size);

}  // namespace Win32API::VelvixControls::Charts
