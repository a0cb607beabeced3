// What measuring needs to know about fonts and controls, as an interface, so that geometry
// can be computed (and tested) without any window.
#pragma once
#include "win32api/LayoutElement.h"

#include <string>
#include <string_view>

namespace UtilityClasses::Strings {
class AStrings;
}

namespace Win32API::VelvixForms {

class ALayoutMetrics {
public:
    virtual ~ALayoutMetrics() = default;
    // tmHeight of the base font; one layout unit is an eighth of it.
    virtual int FontHeight() const = 0;
    // The size of the element's caption text.
    virtual ASize CaptionExtent(const ALayoutElement& element) const = 0;
    // The element's control's own minimum size (GetMinimumSize).
    virtual ASize ControlMinimumSize(const ALayoutElement& element) const = 0;
    // What the control's window adds around its content (AddMargins), e.g. an edit's frame.
    virtual AMargins ControlMargins(const ALayoutElement& element) const = 0;
    // The part of a tab control's rectangle where its pages go.
    virtual ARect TabDisplayArea(const ALayoutElement& stack, const ARect& area) const;

    int Units(int count) const { return count * FontHeight() / 8; }
};

// The standard controls' minimum sizes over a text measurer and the string table. Forms
// override ControlMinimumSize for controls that know better.
class ATextLayoutMetrics : public ALayoutMetrics {
public:
    explicit ATextLayoutMetrics(const UtilityClasses::Strings::AStrings* strings) : strings_(strings) {}

    // Width and height of one line of text in the base font, mnemonic "&" already removed.
    virtual ASize TextExtent(std::u16string_view text) const = 0;
    virtual ASize IconSize() const { return {32, 32}; }
    // The text a control shows now; by default the one the layout gives it.
    virtual std::u16string CurrentControlText(const ALayoutElement& element) const;

    ASize CaptionExtent(const ALayoutElement& element) const override;
    ASize ControlMinimumSize(const ALayoutElement& element) const override;
    AMargins ControlMargins(const ALayoutElement& element) const override;

    const UtilityClasses::Strings::AStrings* Strings() const { return strings_; }
    void SetStrings(const UtilityClasses::Strings::AStrings* strings) { strings_ = strings; }

private:
    const UtilityClasses::Strings::AStrings* strings_;
};

// ---- texts of elements and controls

// The caption: the inline one (converted from the string table's code page), else the
// string of the element's positive id.
std::u16string CaptionText(const ALayoutElement& element, const UtilityClasses::Strings::AStrings* strings);
// The control's text: the inline one, else the string of its positive id, else empty.
std::u16string ControlText(const AControlSpec& control, const UtilityClasses::Strings::AStrings* strings);
// The text as drawn: "&x" underlines x and "&&" is one "&".
std::u16string StripMnemonic(std::u16string_view text);

// Kinds of control the standard sizes distinguish.
bool IsPushButton(const AControlSpec& control);
bool IsFramedEdit(const AControlSpec& control);

}  // namespace Win32API::VelvixForms
