#include "win32api/AEdit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace Win32API::VelvixControls {

namespace {

QRect ToQRect(const VelvixForms::ARect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// The glyphs of the push buttons: browse, information, plus, minus, multiply, clear.
QString Glyph(int id)
{
    switch (id) {
    case 702: return QStringLiteral("\u2026");
    case 703: return QStringLiteral("i");
    case 704: return QStringLiteral("+");
    case 705: return QStringLiteral("\u2212");
    case 706: return QStringLiteral("\u00d7");
    case 707: return QStringLiteral("\u2715");
    default: return {};
    }
}

}  // namespace

AEdit::AEdit(std::string_view flags, QWidget* parent) : QLineEdit(parent), ids_(FrameButtonIds(flags))
{
    setMouseTracking(true);
    UpdateTextMargins();
}

void AEdit::SetDropDownOnRight(bool onRight)
{
    dropDownOnRight_ = onRight;
    UpdateTextMargins();
    update();
}

std::vector<AFrameButton> AEdit::Buttons() const
{
    return LayOutFrameButtons(ids_, {0, 0, width(), height()}, dropDownOnRight_);
}

int AEdit::ButtonAt(const QPoint& point) const
{
    for (const AFrameButton& button : Buttons())
        if (button.rect.Contains(point.x(), point.y()))
            return button.id;
    return 0;
}

// The text keeps clear of the buttons.
void AEdit::UpdateTextMargins()
{
    int left = 0, right = 0;
    for (const AFrameButton& button : Buttons()) {
        if (button.rect.left < width() / 2)
            left = std::max(left, button.rect.right - 1);
        else
            right = std::max(right, width() - button.rect.left - 1);
    }
    setTextMargins(left, 0, right, 0);
}

void AEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    UpdateTextMargins();
}

void AEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (ids_.empty())
        return;
    QPainter painter(this);
    for (const AFrameButton& button : Buttons()) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = ToQRect(button.rect);
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        option.state |= button.id == pressed_ && button.id == hot_ ? QStyle::State_Sunken : QStyle::State_Raised;
        if (button.id == hot_ && isEnabled())
            option.state |= QStyle::State_MouseOver;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);
        if (button.id == kDropDownButton) {
            QStyleOption arrow = option;
            arrow.rect = option.rect.adjusted(3, 3, -3, -3);
            style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
        } else {
            // A disabled edit draws its glyphs in the shadow colour.
            painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
            painter.drawText(option.rect, Qt::AlignCenter, Glyph(button.id));
        }
    }
}

void AEdit::mousePressEvent(QMouseEvent* event)
{
    int id = event->button() == Qt::LeftButton && isEnabled() ? ButtonAt(event->position().toPoint()) : 0;
    if (id == 0) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    pressed_ = hot_ = id;
    update();
}

void AEdit::mouseMoveEvent(QMouseEvent* event)
{
    int id = ButtonAt(event->position().toPoint());
    if (id != hot_) {
        hot_ = id;
        update();
    }
    setCursor(id ? Qt::ArrowCursor : Qt::IBeamCursor);
    if (!pressed_)
        QLineEdit::mouseMoveEvent(event);
}

void AEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (!pressed_) {
        QLineEdit::mouseReleaseEvent(event);
        return;
    }
    int id = pressed_;
    pressed_ = 0;
    update();
    if (event->button() == Qt::LeftButton && ButtonAt(event->position().toPoint()) == id)
        emit FrameButtonClicked(id);
}

void AEdit::leaveEvent(QEvent* event)
{
    hot_ = 0;
    update();
    QLineEdit::leaveEvent(event);
}

}  // namespace Win32API::VelvixControls
