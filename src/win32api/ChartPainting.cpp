#include "win32api/ChartPainting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

namespace Win32API::VelvixControls::Charts {

QColor GridColour(const QPalette& palette)
{
    QColor colour = palette.color(QPalette::Button);
    // On a light theme the button face can be as light as the plot itself.
    if (qAbs(colour.lightness() - palette.color(QPalette::Base).lightness()) < 24)
        colour = palette.color(QPalette::Base).darker(112);
    return colour;
}

QString TooltipText(std::u16string_view text)
{
    return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void DrawMarker(QPainter& painter, QPointF centre, const QColor& colour, double size)
{
    painter.fillRect(QRectF(centre.x() - size / 2, centre.y() - size / 2, size, size), colour);
}

void DrawLegend(QPainter& painter, const QPalette& palette, const QRect& area, const std::vector<ALegendItem>& items,
                int fontHeight)
{
    if (items.empty() || area.width() <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(GridColour(palette));
    painter.drawLine(area.left(), area.top(), area.right(), area.top());
    const int columnWidth = area.width() / 3;
    const QFontMetrics metrics(painter.font());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ALegendItem& item = items[i];
        const int row = static_cast<int>(i / 3), column = static_cast<int>(i % 3);
        const QRect cell(area.left() + column * columnWidth, area.top() + row * 2 * fontHeight, columnWidth,
                         2 * fontHeight);
        const int middle = cell.center().y();
        const QRect swatch(cell.left() + fontHeight / 2, middle - fontHeight / 2 + 2, fontHeight, fontHeight - 4);
        if (item.bar) {
            painter.fillRect(swatch, item.colour);
        } else {
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(item.colour, 2, item.lineStyle, Qt::FlatCap));
            painter.drawLine(QPointF(swatch.left(), middle + 0.5), QPointF(swatch.right() + 1, middle + 0.5));
            DrawMarker(painter, QPointF(swatch.center().x() + 0.5, middle + 0.5), item.colour, 5);
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
        const QRect text(swatch.right() + fontHeight / 2, cell.top(), cell.right() - swatch.right() - fontHeight,
                         cell.height());
        painter.setPen(palette.color(QPalette::Text));
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         metrics.elidedText(item.name, Qt::ElideRight, text.width()));
    }
    painter.restore();
}

}  // namespace Win32API::VelvixControls::Charts
