#include "core/TextUtilities.h"

namespace UtilityClasses::Strings {

std::u16string StripMnemonics(std::u16string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    for (char16_t c : text)
        if (c != u'&' && c != u':')
            result.push_back(c);
    return result;
}

std::size_t CollapseSpaces(std::u16string& text)
{
    std::size_t write = 0;
    bool pendingBlank = false;
    for (char16_t c : text) {
        if (c == u' ') {
            pendingBlank = write > 0;
            continue;
        }
        if (pendingBlank)
            text[write++] = u' ';
        pendingBlank = false;
        text[write++] = c;
    }
    text.resize(write);
    return write;
}

}  // namespace UtilityClasses::Strings
