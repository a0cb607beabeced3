// Building and reading documents the way the exchange code does.
#pragma once
#include "exchange/xml/xmlNodes.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace UtilityClasses::XML {

using AAttributeList = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// UTF-16 with unpaired surrogates (and, the other way, malformed UTF-8 sequences)
// turned into U+FFFD, so converting never fails.
std::string Utf16ToUtf8(std::u16string_view text);
// Appends one code point (up to U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t code);
std::u16string Utf8ToUtf16(std::string_view text);

AElement* AddElement(ANodeContainer& parent, std::string_view name);
AText* AddText(ANodeContainer& parent, std::string_view utf8, bool cdata = false);
AText* AddText(ANodeContainer& parent, std::u16string_view text, bool cdata = false);
AComment* AddComment(ANodeContainer& parent, std::string_view body);

void SetAttribute(Implementation::AAttributeSet& target, std::string_view name, std::string_view value);
void SetAttribute(Implementation::AAttributeSet& target, std::string_view name, std::u16string_view value);

ADeclaration* AddDeclaration(ADocument& document, std::string_view target, AAttributeList attributes);
// <?xml version='1.0' encoding='utf-8' standalone='yes'?>, as interchange documents begin.
ADeclaration* AddXmlDeclaration(ADocument& document);

}  // namespace UtilityClasses::XML
