#include "win32api/FormMetrics.h"

#include "win32api/AControl.h"
#include "win32api/DialogFrame.h"
#include "win32api/TabControl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace Win32API::VelvixForms {

using VelvixControls::AControl;

AFormMetrics::AFormMetrics(const UtilityClasses::Strings::AStrings* strings, const QFont& font)
    : ATextLayoutMetrics(strings), font_(font), fontMetrics_(font)
{
}

void AFormMetrics::SetFont(const QFont& font)
{
    font_ = font;
    fontMetrics_ = QFontMetrics(font);
}

int AFormMetrics::FontHeight() const
{
    return fontMetrics_.height();
}

ASize AFormMetrics::TextExtent(std::u16string_view text) const
{
    QString s = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    if (!s.contains(u'\n'))
        return {fontMetrics_.horizontalAdvance(s), fontMetrics_.height()};
    // Statics may hold several lines (message texts with "\r\n").
    s.remove(u'\r');
    QSize size = fontMetrics_.size(0, s);
    return {size.width(), size.height()};
}

std::u16string AFormMetrics::CurrentControlText(const ALayoutElement& element) const
{
    ADialogFrame* frame = FrameOf(element);
    QString text;
    if (auto* label = frame ? qobject_cast<QLabel*>(frame->control.data()) : nullptr)
        text = label->text();
    else if (auto* button = frame ? qobject_cast<QAbstractButton*>(frame->control.data()) : nullptr)
        text = button->text();
    else
        return ATextLayoutMetrics::CurrentControlText(element);
    return text.toStdU16String();
}

ASize AFormMetrics::ControlMinimumSize(const ALayoutElement& element) const
{
    ASize size = ATextLayoutMetrics::ControlMinimumSize(element);
    ADialogFrame* frame = FrameOf(element);
    QWidget* control = frame ? frame->control.data() : nullptr;
    if (!control)
        return size;
    if (auto* own = dynamic_cast<const AControl*>(control))
        own->GetMinimumSize(size);
    // A push button is wide enough for its text in the style's font and padding.
    if (auto* button = qobject_cast<QPushButton*>(control); button && !button->text().isEmpty())
        size.cx = std::max(size.cx, button->sizeHint().width());
    // Bars have a natural height of their own in the style.
    if (qobject_cast<QStatusBar*>(control) || qobject_cast<QProgressBar*>(control))
        size.cy = std::max(size.cy, control->sizeHint().height());
    return size;
}

AMargins AFormMetrics::ControlMargins(const ALayoutElement& element) const
{
    AMargins margins = ATextLayoutMetrics::ControlMargins(element);
    ADialogFrame* frame = FrameOf(element);
    if (frame && frame->control)
        if (auto* own = dynamic_cast<const AControl*>(frame->control.data()))
            own->AddMargins(margins);
    return margins;
}

ARect AFormMetrics::TabDisplayArea(const ALayoutElement& stack, const ARect& area) const
{
    ADialogFrame* frame = FrameOf(stack);
    auto* tabs = frame ? qobject_cast<VelvixControls::ATabControl*>(frame->control.data()) : nullptr;
    if (!tabs)
        return area;
    QRect r = tabs->DisplayArea(QRect(area.left, area.top, area.Width(), area.Height()));
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace Win32API::VelvixForms
