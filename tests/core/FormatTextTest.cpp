#include "core/FormatText.h"
#include "StringTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

using namespace UtilityClasses::Strings;
using StringTests::U16;
using StringTests::U8;

namespace {

std::string Format(std::string_view format, std::initializer_list<FormatArg> args = {})
{
    return U8(FormatText(StringTests::Russian(), U16(format), args));
}

}  // namespace

TEST(FormatText, PlaceholderGrammar)
{
    struct Case {
        const char* format;
        std::vector<FormatArg> args;
        const char* expected;
    };
    const Case cases[] = {
        {"Страница #d из #d", {3, 12}, "Страница 3 из 12"},
        {"#s и #S", {u"один", u"два"}, "один и два"},
        {"#d|#D", {0, -42}, "0|-42"},
        {"#4", {7}, "0007"},
        {"#4d", {7}, "0007"},
        {"#2", {123}, "**"},
        {"#2", {-5}, "-05"},
        {"#2", {-123}, "-**"},
        {"#0", {123}, "123"},
        {"#99d", {5}, "0000000000000005"},             // widths above 16 count as 16
        {"#4-#2-#2 - Backup of #s#s", {2026, 3, 5, u"Home", u".fend"}, "2026-03-05 - Backup of Home.fend"},
        {"&#d. #s", {1, u"/home/a.fend"}, "&1. /home/a.fend"},
        {"&#1 #s\tAlt+#1", {3, u"Счета", 3}, "&3 Счета\tAlt+3"},
        {"#3d&#1d", {7, 9}, "007&9"},
        {"###d", {5}, "#5"},
        {"##d", {5}, "#d"},                            // no argument taken
        {"#q#Я", {}, "qЯ"},                            // unknown codes stand for themselves
        {"0x#X", {static_cast<std::int32_t>(0x8007000E)}, "0x8007000E"},
        {"#x", {255}, "000000FF"},
        {"#.", {u"Пятница"}, "П"},
        {"[#.]", {u""}, "[]"},
        {"#c %", {FormatArg::Amount(123456, 2)}, "12,35 %"},
        {"#c", {FormatArg::Amount(12345678900000, 0)}, "1 234 567 890"},
        {"end#", {}, "end"},
    };
    for (const Case& c : cases) {
        char16_t buffer[kFormatCapacity];
        std::size_t length = FormatText(buffer, StringTests::Russian(), U16(c.format), c.args);
        EXPECT_EQ(U8(std::u16string_view(buffer, length)), c.expected) << c.format;
        EXPECT_EQ(buffer[length], u'\0');
    }
}

TEST(FormatText, MostNegativeNumbersDoNotOverflow)
{
    EXPECT_EQ(Format("#d", {INT_MIN}), "-2147483648");
    EXPECT_EQ(Format("#10", {INT_MIN}), "-2147483648");
    EXPECT_EQ(Format("#16", {INT_MIN}), "-0000002147483648");
    EXPECT_EQ(Format("#9", {INT_MIN}), "-*********");
    EXPECT_EQ(Format("#d", {INT64_MIN}), "-9223372036854775808");
    EXPECT_EQ(Format("#X", {INT_MIN}), "80000000");
    EXPECT_EQ(Format("#c", {FormatArg::Amount(INT64_MIN, 4)}), "-922 337 203 685 477,5808");
    EXPECT_EQ(Format("#c", {FormatArg::Amount(INT64_MIN, 0)}), "-922 337 203 685 478");
}

TEST(FormatText, ArgumentsThatDoNotMatchTheFormatAreHarmless)
{
    // A translated format may ask for more arguments than the program passes.
    EXPECT_EQ(Format("#s, #d, #c, #X, #4, #.!"), ", , , , , !");
    EXPECT_EQ(Format("#s #s", {u"a"}), "a ");
    // Or other kinds: each argument is then written in its own form.
    EXPECT_EQ(Format("#d", {u"текст"}), "текст");
    EXPECT_EQ(Format("#s", {42}), "42");
    EXPECT_EQ(Format("#X", {FormatArg::Amount(15000, 1)}), "1,5");
    EXPECT_EQ(Format("#3", {u"abc"}), "abc");
    EXPECT_EQ(Format("#s", {static_cast<const char16_t*>(nullptr)}), "");
}

TEST(FormatText, OutputIsCutAt1023Characters)
{
    std::u16string longText(2000, u'ж');
    char16_t buffer[kFormatCapacity];
    EXPECT_EQ(FormatText(buffer, StringTests::Russian(), u"#s", {longText}), 1023u);
    EXPECT_EQ(buffer[1023], u'\0');
    EXPECT_EQ(buffer[1022], u'ж');

    std::u16string longFormat(1020, u'-');
    longFormat += u"#16";
    std::u16string result = FormatText(StringTests::Russian(), longFormat, {5});
    EXPECT_EQ(result.size(), 1023u);
    EXPECT_EQ(U8(result.substr(1020)), "000");
    // A NUL inside the format ends it.
    EXPECT_EQ(FormatText(StringTests::Russian(), std::u16string_view(u"ab\0cd", 5), {}), u"ab");
}
