#include "exchange/xml/xmlEscape.h"

#include <array>

namespace UtilityClasses::XML::Implementation {

namespace {

constexpr std::array<bool, 256> kNeedsEscape = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : std::string_view("&'\"<>"))
        table[c] = true;
    return table;
}();

std::string_view EscapeOf(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '\'': return "&apos;";
    case '"': return "&quot;";
    case '<': return "&lt;";
    default: return "&gt;";
    }
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view text)
{
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!kNeedsEscape[static_cast<unsigned char>(text[i])])
            continue;
        out.append(text.data() + runStart, i - runStart);
        out.append(EscapeOf(text[i]));
        runStart = i + 1;
    }
    out.append(text.data() + runStart, text.size() - runStart);
}

}  // namespace UtilityClasses::XML::Implementation
