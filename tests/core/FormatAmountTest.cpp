#include "core/FormatAmount.h"
#include "StringTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace UtilityClasses::Strings;
using StringTests::U8;

namespace {

LocaleInfo CommaAndBlank(int negativeMode = 1)
{
    LocaleInfo locale = StringTests::Russian();
    locale.decimalSeparator = u",";
    locale.thousandsSeparator = u" ";
    locale.negativeMode = negativeMode;
    return locale;
}

std::string Amount(std::int64_t amount, int decimals, bool grouping, const LocaleInfo& locale)
{
    return U8(FormatAmount(amount, decimals, grouping, locale));
}

}  // namespace

TEST(FormatAmount, RoundsHalfUpAndGroups)
{
    const LocaleInfo locale = CommaAndBlank();
    struct Case {
        std::int64_t amount;
        int decimals;
        bool grouping;
        const char* expected;
    };
    const Case cases[] = {
        {12345678, 2, true, "1 234,57"},
        {12345678, 0, true, "1 235"},
        {12345678, 4, true, "1 234,5678"},
        {12345678, 3, false, "1234,568"},
        {12345678, 1, true, "1 234,6"},
        {-5, 2, true, "-0,00"},          // the sign is decided before rounding
        {-5, 4, true, "-0,0005"},
        {0, 2, true, "0,00"},
        {0, 0, true, "0"},
        {4999, 0, true, "0"},
        {5000, 0, true, "1"},
        {9999999, 0, true, "1 000"},
        {10000, 9, true, "1,0000"},      // decimals clamp to 4
        {10000, -3, true, "1"},          // and to 0
        {1234567890123, 2, true, "123 456 789,01"},
        {1000000000, 2, true, "100 000,00"},
        {1000, 2, true, "0,10"},
        {INT64_MAX, 4, true, "922 337 203 685 477,5807"},
        {INT64_MAX, 0, false, "922337203685478"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Amount(c.amount, c.decimals, c.grouping, locale), c.expected) << c.amount << "/" << c.decimals;
}

TEST(FormatAmount, FiveNegativeModes)
{
    const char* expected[] = {"(1 234,57)", "-1 234,57", "- 1 234,57", "1 234,57-", "1 234,57 -"};
    for (int mode = 0; mode < 5; ++mode)
        EXPECT_EQ(Amount(-12345678, 2, true, CommaAndBlank(mode)), expected[mode]) << mode;
    // A mode the table would never keep still gives a plain minus.
    EXPECT_EQ(Amount(-10000, 0, true, CommaAndBlank(9)), "-1");
    EXPECT_EQ(Amount(12345678, 2, true, CommaAndBlank(0)), "1 234,57");
}

TEST(FormatAmount, MostNegativeAmountDoesNotOverflow)
{
    EXPECT_EQ(Amount(INT64_MIN, 4, true, CommaAndBlank()), "-922 337 203 685 477,5808");
    EXPECT_EQ(Amount(INT64_MIN, 0, true, CommaAndBlank(0)), "(922 337 203 685 478)");
}

TEST(FormatAmount, EnglishSeparatorsAndLongSeparatorsStayBounded)
{
    EXPECT_EQ(Amount(-12345678, 2, true, StringTests::English()), "-1,234.57");
    LocaleInfo odd = CommaAndBlank(4);
    odd.thousandsSeparator = u"''''''''";  // longer than any locale field; cut to three
    odd.decimalSeparator = u"<dec>";
    EXPECT_EQ(Amount(INT64_MIN, 4, true, odd), "922'''337'''203'''685'''477<de5808 -");
}

TEST(FormatAmount, SmallBufferIsCutAndTerminated)
{
    char16_t buffer[5];
    EXPECT_EQ(FormatAmount(12345678, 2, true, CommaAndBlank(), buffer, 5), 4u);
    EXPECT_EQ(U8(buffer), "1 23");
    EXPECT_EQ(FormatAmount(1, 2, true, CommaAndBlank(), buffer, 0), 0u);
}
