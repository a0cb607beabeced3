#include "core/AStrings.h"

#include "core/CodePage.h"

#include <utility>

namespace UtilityClasses::Strings {

AStrings::AStrings(LocaleInfo locale) : codePage_(kCodePageCyrillic), locale_(std::move(locale))
{
    NormalizeLocale(locale_);
    for (int id = 0; id < kCount; ++id)
        texts_[id] = Utf8ToUtf16(BuiltInTextUtf8(id));
}

const char16_t* AStrings::GetString(int id) const
{
    if (id < 0 || id >= kCount)
        return nullptr;
    return texts_[id].c_str();
}

std::u16string_view AStrings::Text(int id) const
{
    if (id < 0 || id >= kCount)
        return {};
    return texts_[id];
}

const char16_t* AStrings::FindBuiltInString(std::string_view text1251) const
{
    for (int id = 0; id < kCount; ++id)
        if (BuiltInText1251(id) == text1251)
            return GetString(id);
    return nullptr;
}

void AStrings::SetText(int id, std::u16string text)
{
    if (id >= 0 && id < kCount)
        texts_[id] = std::move(text);
}

std::u16string AStrings::ToUtf16(std::string_view bytes) const
{
    std::u16string text;
    if (!MultiByteToUtf16(bytes, codePage_, text))
        (void)MultiByteToUtf16(bytes, kCodePageCyrillic, text);
    return text;
}

std::string AStrings::FromUtf16(std::u16string_view text) const
{
    std::string bytes;
    if (!Utf16ToMultiByte(text, codePage_, bytes))
        (void)Utf16ToMultiByte(text, kCodePageCyrillic, bytes);
    return bytes;
}

std::u16string AStrings::Format(int id, std::initializer_list<FormatArg> args) const
{
    return FormatText(locale_, Text(id), args);
}

}  // namespace UtilityClasses::Strings
