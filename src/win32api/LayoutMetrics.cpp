#include "win32api/LayoutMetrics.h"

#include "core/AStrings.h"

#include <algorithm>

namespace Win32API::VelvixForms {

ARect ALayoutMetrics::TabDisplayArea(const ALayoutElement&, const ARect& area) const
{
    return area;
}

bool IsPushButton(const AControlSpec& control)
{
    return control.type == 'b' && !control.HasFlag('C') && !control.HasFlag('R') && !control.HasFlag('i');
}

bool IsFramedEdit(const AControlSpec& control)
{
    return control.type == 'e' || control.type == 'D' || control.type == 'T' || control.type == 'r';
}

std::u16string ATextLayoutMetrics::CurrentControlText(const ALayoutElement& element) const
{
    return element.control ? ControlText(*element.control, strings_) : std::u16string();
}

ASize ATextLayoutMetrics::CaptionExtent(const ALayoutElement& element) const
{
    return TextExtent(StripMnemonic(CaptionText(element, strings_)));
}

ASize ATextLayoutMetrics::ControlMinimumSize(const ALayoutElement& element) const
{
    if (!element.control)
        return {};
    const AControlSpec& control = *element.control;
    const int fontHeight = FontHeight();
    switch (control.type) {
    case 'b':
        if (control.HasFlag('i'))
            return {Units(14), Units(14)};
        if (control.HasFlag('C') || control.HasFlag('R')) {
            ASize text = TextExtent(StripMnemonic(CurrentControlText(element)));
            return {text.cx + 2 * fontHeight, std::max(text.cy, fontHeight)};
        }
        return {Units(50), Units(14)};
    case 's':
        if (control.HasFlag('i'))
            return IconSize();
        return TextExtent(StripMnemonic(CurrentControlText(element)));
    default:
        if (IsFramedEdit(control))
            return {Units(32), fontHeight};
        return {};
    }
}

AMargins ATextLayoutMetrics::ControlMargins(const ALayoutElement& element) const
{
    if (element.control && IsFramedEdit(*element.control))
        return {2, 2, 2, 2};
    return {};
}

namespace {

// A text given inline (8-bit, in the string table's code page) or by a positive string id.
std::u16string InlineOrTableText(const std::optional<std::string>& inlineText, std::int16_t id,
                                 const UtilityClasses::Strings::AStrings* strings)
{
    if (inlineText) {
        if (strings)
            return strings->ToUtf16(*inlineText);
        std::u16string text;
        for (char c : *inlineText)
            text += static_cast<char16_t>(static_cast<unsigned char>(c));
        return text;
    }
    if (id > 0 && strings)
        return std::u16string(strings->Text(id));
    return {};
}

}  // namespace

std::u16string CaptionText(const ALayoutElement& element, const UtilityClasses::Strings::AStrings* strings)
{
    return InlineOrTableText(element.inlineCaption, element.id, strings);
}

std::u16string ControlText(const AControlSpec& control, const UtilityClasses::Strings::AStrings* strings)
{
    return InlineOrTableText(control.inlineText, control.id, strings);
}

std::u16string StripMnemonic(std::u16string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        result += text[i];
    }
    return result;
}

}  // namespace Win32API::VelvixForms
