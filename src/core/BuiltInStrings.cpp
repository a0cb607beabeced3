#include "core/BuiltInStrings.h"

#include "core/CodePage.h"

#include <array>
#include <string>

namespace UtilityClasses::Strings {

std::string_view BuiltInTextUtf8(int id)
{
    if (id < 0 || id >= kStringCount)
        return {};
    return id < 400 ? Implementation::kBuiltInTextsFrom0[id] : Implementation::kBuiltInTextsFrom400[id - 400];
}

std::string_view BuiltInText1251(int id)
{
    // Immutable data derived once from the table above; every text fits code page 1251
    // (a test keeps it so), so the round trip loses nothing.
    static const std::array<std::string, kStringCount> texts = [] {
        std::array<std::string, kStringCount> converted;
        for (int i = 0; i < kStringCount; ++i) {
            if (!Utf16ToMultiByte(Utf8ToUtf16(BuiltInTextUtf8(i)), kCodePageCyrillic, converted[i]))
                converted[i].clear();
        }
        return converted;
    }();
    if (id < 0 || id >= kStringCount)
        return {};
    return texts[id];
}

}  // namespace UtilityClasses::Strings
