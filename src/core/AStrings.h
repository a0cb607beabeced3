// The string table: every text the program shows, by id (0..790), in the current language,
// and the locale data the formatting routines need. One table is current at a time; its
// owner hands it to whoever shows texts and replaces it as a whole when the language changes
// (SelectLanguage), so nobody may keep a text of the table across a switch.
#pragma once
#include "core/BuiltInStrings.h"
#include "core/FormatText.h"
#include "core/LocaleInfo.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace UtilityClasses::Strings {

class AStrings {
public:
    static constexpr int kCount = kStringCount;

    // The built-in Russian texts with code page 1251 and the given locale (normalised).
    explicit AStrings(LocaleInfo locale);
    AStrings(const AStrings&) = delete;
    AStrings& operator=(const AStrings&) = delete;

    // The text of `id`, NUL-terminated; null for an id outside 0..790.
    const char16_t* GetString(int id) const;
    // The same as a view; "" for an id outside 0..790.
    std::u16string_view Text(int id) const;

    // The current text of the built-in text that equals `text1251` byte for byte (the first
    // such id); null when no built-in text is equal. Plug-ins get their Russian texts
    // translated this way.
    const char16_t* FindBuiltInString(std::string_view text1251) const;

    // Replaces the text of `id`; an id outside 0..790 is ignored.
    void SetText(int id, std::u16string text);

    // The code page of 8-bit texts: 1251 until a language file names another one.
    std::uint32_t CodePage() const { return codePage_; }
    void SetCodePage(std::uint32_t codePage) { codePage_ = codePage; }
    std::u16string ToUtf16(std::string_view bytes) const;
    std::string FromUtf16(std::u16string_view text) const;

    const LocaleInfo& Locale() const { return locale_; }

    // FormatText over the text of `id`.
    std::u16string Format(int id, std::initializer_list<FormatArg> args = {}) const;

private:
    std::array<std::u16string, kStringCount> texts_;
    std::uint32_t codePage_;
    LocaleInfo locale_;
};

}  // namespace UtilityClasses::Strings
