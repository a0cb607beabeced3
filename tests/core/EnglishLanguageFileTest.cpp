// The English language file shipped with the program: every built-in text translated, and
// nothing a caller relies on changed (placeholders, line breaks, mnemonics).
#include "core/AStrings.h"
#include "core/LanguageFile.h"
#include "StringTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace UtilityClasses::Strings;

namespace {

const std::string kEnglishFile = std::string(FENDRAL_TEST_DATA) + "/../../lang/English.lng";

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The "#" placeholders and printf-style conversions, in their order.
std::vector<std::u16string> Placeholders(std::u16string_view text)
{
    std::vector<std::u16string> found;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'#' && text[i] != u'%')
            continue;
        std::size_t end = i + 1;
        while (end < text.size() && IsDigit(text[end]))
            ++end;
        if (end < text.size() && std::u16string_view(u"sSdDxXcCu.#%").find(text[end]) != std::u16string_view::npos)
            ++end;
        else if (text[i] == u'%' || end == i + 1)
            continue;  // a per cent sign in words, or "#" before an ordinary character
        found.emplace_back(text.substr(i, end - i));
        i = end - 1;
    }
    return found;
}

std::size_t Count(std::u16string_view text, std::u16string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::u16string_view::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Accelerator marks: "&" before a character other than "&".
std::size_t Mnemonics(std::u16string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (i + 1 < text.size() && text[i + 1] == u'&')
            ++i;
        else
            ++count;
    }
    return count;
}

bool HasCyrillic(std::u16string_view text)
{
    for (char16_t c : text)
        if (c >= 0x0400 && c <= 0x04FF)
            return true;
    return false;
}

TEST(EnglishLanguageFile, EveryTextTranslatedWithTheSamePlaceholdersBreaksAndMnemonics)
{
    AStrings builtIn(StringTests::Russian());
    AStrings english(StringTests::Russian());
    ASSERT_TRUE(LoadLanguageFile(english, kEnglishFile)) << kEnglishFile;
    EXPECT_EQ(english.Text(0), u"English");
    for (int id = 0; id < kStringCount; ++id) {
        const std::u16string_view russian = builtIn.Text(id);
        const std::u16string_view translated = english.Text(id);
        SCOPED_TRACE("id " + std::to_string(id));
        EXPECT_FALSE(HasCyrillic(translated));
        EXPECT_EQ(Placeholders(translated), Placeholders(russian));
        EXPECT_EQ(Count(translated, u"\r\n"), Count(russian, u"\r\n"));
        EXPECT_EQ(Count(translated, u"\r\n\r\n"), Count(russian, u"\r\n\r\n"));
        EXPECT_EQ(Count(translated, u"\n"), Count(russian, u"\n"));
        EXPECT_EQ(Mnemonics(translated), Mnemonics(russian));
        EXPECT_EQ(translated.empty(), russian.empty());
    }
}

}  // namespace
