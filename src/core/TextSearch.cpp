#include "core/TextSearch.h"

#include <algorithm>

namespace UserInterface::Filters {

char16_t FoldCase(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
    // Latin-1: À..Þ except the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 0x20);
    // Latin Extended-A pairs capital/small, except where the pairing shifts (İ, ı, ĸ, Ÿ).
    if (c >= 0x100 && c <= 0x137 && c != 0x130)
        return static_cast<char16_t>(c | 1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) != 0 ? static_cast<char16_t>(c + 1) : c;
    if (c >= 0x14A && c <= 0x177)
        return static_cast<char16_t>(c | 1);
    if (c == 0x178)
        return 0xFF;
    // Greek capitals (with the accented ones) and Cyrillic.
    if (c == 0x386)
        return 0x3AC;
    if (c >= 0x388 && c <= 0x38A)
        return static_cast<char16_t>(c + 0x25);
    if (c == 0x38C)
        return 0x3CC;
    if (c == 0x38E || c == 0x38F)
        return static_cast<char16_t>(c + 0x3F);
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 0x50);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<char16_t>(c + 0x20);
    // Cyrillic supplement pairs (Ѡ..ҁ, Ҋ..ӿ): capital even, small odd; Ӏ stands alone.
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
        return static_cast<char16_t>(c | 1);
    if (c >= 0x4C1 && c <= 0x4CE)
        return (c & 1) != 0 ? static_cast<char16_t>(c + 1) : c;
    if (c == 0x4C0)
        return 0x4CF;
    return c;
}

std::u16string FoldCase(std::u16string_view text)
{
    std::u16string folded(text);
    for (char16_t& c : folded)
        c = FoldCase(c);
    return folded;
}

bool ContainsFolded(std::u16string_view text, std::u16string_view foldedPart)
{
    if (foldedPart.empty())
        return true;
    auto found = std::search(text.begin(), text.end(), foldedPart.begin(), foldedPart.end(),
                             [](char16_t a, char16_t b) { return FoldCase(a) == b; });
    return found != text.end();
}

}  // namespace UserInterface::Filters
