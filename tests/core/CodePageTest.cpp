#include "core/CodePage.h"
#include "StringTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace UtilityClasses::Strings;
using StringTests::U8;

namespace {

std::u16string Decode(std::string_view bytes, std::uint32_t codePage)
{
    std::u16string text;
    EXPECT_TRUE(MultiByteToUtf16(bytes, codePage, text)) << codePage;
    return text;
}

std::u16string FeedAll(AByteDecoder& decoder, std::string_view bytes)
{
    std::u16string out;
    for (char byte : bytes)
        decoder.Feed(static_cast<std::uint8_t>(byte), out);
    return out;
}

}  // namespace

TEST(CodePage, NamedForIconv)
{
    EXPECT_EQ(IconvName(1251), "CP1251");
    EXPECT_EQ(IconvName(65001), "UTF-8");
    EXPECT_EQ(IconvName(866), "CP866");
    EXPECT_TRUE(IsCodePageAvailable(1251));
    EXPECT_TRUE(IsCodePageAvailable(1252));
    EXPECT_TRUE(IsCodePageAvailable(866));
    EXPECT_TRUE(IsCodePageAvailable(65001));
    EXPECT_FALSE(IsCodePageAvailable(0));
    EXPECT_FALSE(IsCodePageAvailable(4242));
}

TEST(CodePage, EightBitRoundTrips)
{
    EXPECT_EQ(U8(Decode("\xD1\xF7\xE5\xF2 \xB9 5 \x97 \xAB\xBB \x95", 1251)), "Счет № 5 — «» •");
    EXPECT_EQ(U8(Decode("\x91\xe7\xa5\xe2", 866)), "Счет");
    EXPECT_EQ(U8(Decode("caf\xE9", 1252)), "café");
    EXPECT_EQ(U8(Decode("\xD0\xB4\xD0\xB0", 65001)), "да");
    std::string bytes;
    ASSERT_TRUE(Utf16ToMultiByte(u"Счет №5", 1251, bytes));
    EXPECT_EQ(bytes, "\xD1\xF7\xE5\xF2 \xB9" "5");
    // What the code page cannot hold becomes "?", a surrogate pair as one character.
    ASSERT_TRUE(Utf16ToMultiByte(u"a\u4E2Db\U0001F600c", 1251, bytes));
    EXPECT_EQ(bytes, "a?b?c");
    // 0x98 is no character in 1251.
    EXPECT_EQ(Decode("a\x98z", 1251), u"a\uFFFDz");
}

TEST(CodePage, UnknownCodePageFailsCleanly)
{
    std::u16string text = u"left over";
    EXPECT_FALSE(MultiByteToUtf16("abc", 4242, text));
    EXPECT_TRUE(text.empty());
    std::string bytes = "left over";
    EXPECT_FALSE(Utf16ToMultiByte(u"abc", 0, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(CodePage, Utf8HelpersReplaceBrokenSequences)
{
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("a\xC0\xAFz"), u"a\uFFFDz");         // overlong
    EXPECT_EQ(Utf8ToUtf16("a\xED\xA0\x80z"), u"a\uFFFDz");     // encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("a\xE2\x82"), u"a\uFFFD");           // cut off
    EXPECT_EQ(Utf8ToUtf16("\x80\x80x"), u"\uFFFDx");
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD");     // above U+10FFFF
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

TEST(CodePage, Utf8RoundTripsEveryCharacterOfRandomText)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::u16string text;
        for (int i = 0; i < 50; ++i) {
            char32_t c = random() % 0x110000;
            if (c >= 0xD800 && c < 0xE000)
                continue;
            if (c < 0x10000) {
                text.push_back(static_cast<char16_t>(c));
            } else {
                text.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
                text.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
            }
        }
        ASSERT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
        std::u16string viaIconv;
        ASSERT_TRUE(MultiByteToUtf16(Utf16ToUtf8(text), 65001, viaIconv));
        ASSERT_EQ(viaIconv, text);
    }
}

TEST(ByteDecoder, SingleAndMultiByteCodePagesAndSwitching)
{
    AByteDecoder decoder(1251);
    EXPECT_EQ(FeedAll(decoder, "\xC4\xE0\r\n"), u"Да\r\n");
    ASSERT_TRUE(decoder.SetCodePage(65001));
    EXPECT_EQ(FeedAll(decoder, "\xD0\x94\xF0\x9F\x98\x80!"), u"Д\U0001F600!");
    // A cut-off sequence does not swallow the line break after it.
    EXPECT_EQ(FeedAll(decoder, "\xE2\x82\r\nx"), u"\uFFFD\uFFFD\r\nx");
    EXPECT_FALSE(decoder.SetCodePage(4242));
    EXPECT_EQ(decoder.CodePage(), 65001u);
    ASSERT_TRUE(decoder.SetCodePage(932));
    EXPECT_EQ(FeedAll(decoder, "\x82\xA0" "a"), u"\u3042a");  // Hiragana A, two bytes
    ASSERT_TRUE(decoder.SetCodePage(1252));
    EXPECT_EQ(FeedAll(decoder, "\xE9"), u"é");
}
