#include "win32api/PickerFormat.h"

#include <algorithm>

namespace Win32API::VelvixControls {

namespace {

// The editors may read any other letter as a field: such letters of the picture are quoted.
bool IsLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

}  // namespace

std::u16string EditorFormatFromPicture(std::u16string_view picture)
{
    std::u16string format;
    const bool twelveHour = picture.find(u'h') != std::u16string_view::npos;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char16_t c = picture[i];
        if (c == u'\'') {
            // Quoted text stays quoted; '' inside is one quote in both.
            std::size_t end = i + 1;
            while (end < picture.size() && !(picture[end] == u'\'' && (end + 1 >= picture.size() || picture[end + 1] != u'\'')))
                end += picture[end] == u'\'' ? 2 : 1;
            format.append(picture.substr(i, std::min(end + 1, picture.size()) - i));
            if (end >= picture.size())
                format += u'\'';
            i = end + 1;
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        switch (c) {
        case u'd': format.append(std::min<std::size_t>(run, 4), u'd'); break;
        case u'M': format.append(std::min<std::size_t>(run, 4), u'M'); break;
        case u'y': format += run <= 2 ? u"yy" : u"yyyy"; break;
        case u'h':
        case u'H': format.append(std::min<std::size_t>(run, 2), u'h'); break;
        case u'm': format.append(std::min<std::size_t>(run, 2), u'm'); break;
        case u's': format.append(std::min<std::size_t>(run, 2), u's'); break;
        case u't': format += u"AP"; break;
        default:
            if (IsLetter(c))
                format += u'\'' + std::u16string(run, c) + u'\'';
            else
                format.append(run, c);
            break;
        }
        i += run;
    }
    // Without t the 12-hour clock still needs its AM/PM field to be readable.
    if (twelveHour && format.find(u"AP") == std::u16string::npos)
        format += u" AP";
    return format;
}

}  // namespace Win32API::VelvixControls
