// Layout metrics of a form: its base font, and what its control windows know of themselves.
#pragma once
#include "win32api/LayoutMetrics.h"

#include <QFont>
#include <QFontMetrics>

namespace Win32API::VelvixForms {

class AFormMetrics : public ATextLayoutMetrics {
public:
    AFormMetrics(const UtilityClasses::Strings::AStrings* strings, const QFont& font);

    void SetFont(const QFont& font);
    const QFont& Font() const { return font_; }

    int FontHeight() const override;
    ASize TextExtent(std::u16string_view text) const override;
    ASize ControlMinimumSize(const ALayoutElement& element) const override;
    // Code sets the texts of controls with negative ids: the window knows the text.
    std::u16string CurrentControlText(const ALayoutElement& element) const override;
    AMargins ControlMargins(const ALayoutElement& element) const override;
    ARect TabDisplayArea(const ALayoutElement& stack, const ARect& area) const override;

private:
    QFont font_;
    QFontMetrics fontMetrics_;
};

}  // namespace Win32API::VelvixForms
