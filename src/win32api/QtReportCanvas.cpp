#include "win32api/QtReportCanvas.h"
#include "win32api/QtText.h"

#include <QFontMetrics>
#include <QPainter>

namespace Win32API::VelvixControls::Reports::Implementation {

namespace {

QRect ToQRect(const ARect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

}  // namespace

AQtReportCanvas::AQtReportCanvas(QPainter* painter, const QFont& font) : painter_(painter), font_(font), bold_(font)
{
    bold_.setBold(true);
}

void AQtReportCanvas::FillRect(const ARect& rect, AColour colour)
{
    painter_->fillRect(ToQRect(rect), ToQColor(colour));
}

void AQtReportCanvas::DrawText(const ARect& rect, std::u16string_view text, AColour colour, unsigned flags)
{
    QFont font = (flags & kTextBold) ? bold_ : font_;
    font.setUnderline(flags & kTextUnderline);
    QFontMetrics metrics(font);
    QRect r = ToQRect(rect).adjusted(2, 0, -2, 0);
    QString elided = metrics.elidedText(ToQString(text), Qt::ElideRight, r.width());
    int alignment = (flags & kTextRight) ? Qt::AlignRight : (flags & kTextCentre) ? Qt::AlignHCenter : Qt::AlignLeft;
    painter_->setFont(font);
    painter_->setPen(ToQColor(colour));
    painter_->drawText(r, alignment | Qt::AlignVCenter | Qt::TextSingleLine, elided);
}

int AQtReportCanvas::TextWidth(std::u16string_view text, unsigned flags) const
{
    return QFontMetrics((flags & kTextBold) ? bold_ : font_).horizontalAdvance(ToQString(text)) + 4;
}

}  // namespace Win32API::VelvixControls::Reports::Implementation
