#include "core/TextUtilities.h"

#include <gtest/gtest.h>

using namespace UtilityClasses::Strings;

TEST(TextUtilities, StripMnemonicsTurnsLabelsIntoTitles)
{
    EXPECT_EQ(StripMnemonics(u"&Примечание:"), u"Примечание");
    EXPECT_EQ(StripMnemonics(u"Далее &>>"), u"Далее >>");
    EXPECT_EQ(StripMnemonics(u"&&::"), u"");
    EXPECT_EQ(StripMnemonics(u"Без меток"), u"Без меток");
}

TEST(TextUtilities, CollapseSpacesNormalisesNames)
{
    struct Case {
        std::u16string in;
        std::u16string out;
    };
    const Case cases[] = {
        {u"  Наличные   деньги  ", u"Наличные деньги"},
        {u"a b", u"a b"},
        {u"     ", u""},
        {u"", u""},
        {u" x", u"x"},
        {u"x ", u"x"},
        {u"a\t  b", u"a\t b"},            // only code 32 counts as a blank
        {u"\u00A0a\u00A0", u"\u00A0a\u00A0"},
    };
    for (const Case& c : cases) {
        std::u16string text = c.in;
        EXPECT_EQ(CollapseSpaces(text), c.out.size());
        EXPECT_EQ(text, c.out);
    }
}
