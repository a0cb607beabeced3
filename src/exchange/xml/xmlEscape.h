// The writer's escaping of text and attribute values.
#pragma once
#include <string>
#include <string_view>

namespace UtilityClasses::XML::Implementation {

// Appends text with the ampersand, apostrophe, double quote, "<" and ">" written as
// "&amp;", "&apos;", "&quot;", "&lt;" and "&gt;"; every other byte is copied.
void AppendEscaped(std::string& out, std::string_view text);

}  // namespace UtilityClasses::XML::Implementation
