#include "win32api/GraphicsControl.h"

#include <QPainter>

namespace Win32API::VelvixControls {

AGraphicsControl::AGraphicsControl(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void AGraphicsControl::SetMessage(const QString& message)
{
    if (message_ == message)
        return;
    message_ = message;
    update();
}

void AGraphicsControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!message_.isEmpty()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, message_);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    DrawChart(painter);
}

void AGraphicsControl::DrawChart(QPainter&) {}

}  // namespace Win32API::VelvixControls
