#include "ui/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace UserInterface {

namespace {

// A green ledger with a gold coin: home accounting at a glance, legible at 16 pixels.
QPixmap DrawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QPainterPath book;
    book.addRoundedRect(QRectF(s * 0.08, s * 0.06, s * 0.72, s * 0.86), s * 0.1, s * 0.1);
    painter.fillPath(book, QColor(0x2E, 0x7D, 0x32));
    painter.setPen(QPen(QColor(0xE8, 0xF5, 0xE9), std::max(1.0, s / 16)));
    for (qreal y : {0.3, 0.46, 0.62})
        painter.drawLine(QPointF(s * 0.2, s * y), QPointF(s * 0.62, s * y));
    painter.setPen(QPen(QColor(0x8D, 0x6E, 0x00), std::max(1.0, s / 24)));
    painter.setBrush(QColor(0xFF, 0xC1, 0x07));
    painter.drawEllipse(QRectF(s * 0.5, s * 0.52, s * 0.44, s * 0.44));
    return pixmap;
}

}  // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(DrawIcon(size));
    return icon;
}

}  // namespace UserInterface
