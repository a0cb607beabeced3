#include "core/AStrings.h"
#include "core/BuiltInStrings.h"
#include "core/CodePage.h"
#include "StringTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace UtilityClasses::Strings;
using StringTests::U8;

TEST(BuiltInStrings, EveryIdHasTextExceptTheUnusedOnes)
{
    const std::set<int> unused = {47, 264, 337, 344, 521, 522, 523};
    for (int id = 0; id < kStringCount; ++id)
        EXPECT_EQ(BuiltInTextUtf8(id).empty(), unused.count(id) == 1) << id;
    EXPECT_TRUE(BuiltInTextUtf8(-1).empty());
    EXPECT_TRUE(BuiltInTextUtf8(kStringCount).empty());
}

TEST(BuiltInStrings, ProductNameOnlyWhereExpected)
{
    const std::set<int> expected = {249, 500, 501, 502, 518, 542, 556, 557, 695};
    std::set<int> found;
    for (int id = 0; id < kStringCount; ++id)
        if (BuiltInTextUtf8(id).find("Fendral") != std::string_view::npos)
            found.insert(id);
    EXPECT_EQ(found, expected);
}

TEST(BuiltInStrings, PrintfStyleTextsOnlyWhereTheirUsersExpandThem)
{
    std::set<int> found;
    for (int id = 0; id < kStringCount; ++id) {
        std::string_view text = BuiltInTextUtf8(id);
        if (text.find("%s") != std::string_view::npos || text.find("%d") != std::string_view::npos)
            found.insert(id);
    }
    // 750 is part of the same folder message but has no number in it.
    EXPECT_EQ(found, (std::set<int>{726, 743, 744, 745, 746, 747, 748, 749, 751}));
}

TEST(BuiltInStrings, EveryTextFitsCodePage1251)
{
    for (int id = 0; id < kStringCount; ++id) {
        std::u16string back;
        ASSERT_TRUE(MultiByteToUtf16(BuiltInText1251(id), kCodePageCyrillic, back));
        EXPECT_EQ(U8(back), BuiltInTextUtf8(id)) << id;
    }
    // "Русский" in code page 1251.
    EXPECT_EQ(BuiltInText1251(0), "\xD0\xF3\xF1\xF1\xEA\xE8\xE9");
}

TEST(BuiltInStrings, FindBuiltInStringTranslatesByExactBytes)
{
    AStrings table(StringTests::Russian());
    table.SetText(335, u"Currencies");
    std::string valuty = std::string(BuiltInText1251(335));  // "Валюты"
    ASSERT_NE(table.FindBuiltInString(valuty), nullptr);
    EXPECT_EQ(std::u16string(table.FindBuiltInString(valuty)), u"Currencies");
    // Ids 33 and 534 both hold "Все операции": the lower one answers.
    EXPECT_EQ(table.FindBuiltInString(BuiltInText1251(534)), table.GetString(33));
    EXPECT_EQ(table.FindBuiltInString("\xC2\xE0\xEB\xFE\xF2\xFB "), nullptr);  // trailing blank
    EXPECT_EQ(table.FindBuiltInString("\xE2\xE0\xEB\xFE\xF2\xFB"), nullptr);   // other letter case
    EXPECT_EQ(table.FindBuiltInString("Fendral"), nullptr);
    // An empty text matches the first unused id.
    EXPECT_EQ(table.FindBuiltInString(""), table.GetString(47));
}

TEST(AStringsTable, GetStringCoversExactlyTheIds)
{
    AStrings table(StringTests::Russian());
    EXPECT_EQ(U8(table.GetString(0)), "Русский");
    EXPECT_EQ(U8(table.GetString(790)), "Пять месяцев");
    EXPECT_EQ(table.GetString(791), nullptr);
    EXPECT_EQ(table.GetString(-1), nullptr);
    EXPECT_TRUE(table.Text(5000).empty());
    EXPECT_EQ(table.CodePage(), 1251u);
    EXPECT_EQ(U8(table.Format(252, {3, 10})), "Страница 3 из 10");
    table.SetText(791, u"ignored");
    EXPECT_EQ(table.GetString(791), nullptr);
}

TEST(AStringsTable, EightBitConversionFollowsTheTableCodePage)
{
    AStrings table(StringTests::Russian());
    EXPECT_EQ(table.ToUtf16("\xC4\xE0"), u"Да");
    EXPECT_EQ(table.FromUtf16(u"Да"), "\xC4\xE0");
    table.SetCodePage(1252);
    EXPECT_EQ(table.ToUtf16("\xE9"), u"é");
    EXPECT_EQ(table.FromUtf16(u"Да"), "??");
}
