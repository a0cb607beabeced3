#include "exchange/xml/xmlBuild.h"

namespace UtilityClasses::XML {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t code)
{
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
    } else {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code >> 10));
        out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
}

// The code point of the sequence at text[i], moving i past it; U+FFFD for one bad byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80)
        return lead;
    int extra;
    char32_t code;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    if (i + static_cast<std::size_t>(extra) > text.size())
        return kReplacement;
    for (int k = 0; k < extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80)
            return kReplacement;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kReplacement;
    i += static_cast<std::size_t>(extra);
    return code;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (code >= 0xD800 && code <= 0xDFFF)
            code = kReplacement;
        AppendUtf8(out, code);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        AppendUtf16(out, DecodeUtf8(text, i));
    return out;
}

AElement* AddElement(ANodeContainer& parent, std::string_view name)
{
    return static_cast<AElement*>(parent.Append(std::make_unique<AElement>(std::string(name))));
}

AText* AddText(ANodeContainer& parent, std::string_view utf8, bool cdata)
{
    return static_cast<AText*>(parent.Append(std::make_unique<AText>(std::string(utf8), cdata)));
}

AText* AddText(ANodeContainer& parent, std::u16string_view text, bool cdata)
{
    return AddText(parent, Utf16ToUtf8(text), cdata);
}

AComment* AddComment(ANodeContainer& parent, std::string_view body)
{
    return static_cast<AComment*>(parent.Append(std::make_unique<AComment>(std::string(body))));
}

void SetAttribute(Implementation::AAttributeSet& target, std::string_view name, std::string_view value)
{
    target.SetAttribute(name, value);
}

void SetAttribute(Implementation::AAttributeSet& target, std::string_view name, std::u16string_view value)
{
    target.SetAttribute(name, Utf16ToUtf8(value));
}

ADeclaration* AddDeclaration(ADocument& document, std::string_view target, AAttributeList attributes)
{
    auto declaration = std::make_unique<ADeclaration>(std::string(target));
    for (const auto& [name, value] : attributes)
        declaration->SetAttribute(name, value);
    return static_cast<ADeclaration*>(document.Append(std::move(declaration)));
}

ADeclaration* AddXmlDeclaration(ADocument& document)
{
    return AddDeclaration(document, "xml", {{"version", "1.0"}, {"encoding", "utf-8"}, {"standalone", "yes"}});
}

}  // namespace UtilityClasses::XML
