// Amount expressions as typed into amount fields.
#include "rates/AmountExpression.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Rates::EvaluateAmountExpression;

TEST(AmountExpressionTest, ValidExpressions)
{
    const struct {
        std::u16string text;
        std::int64_t value;  // 1/10000 units
    } cases[] = {
        {u"0", 0},
        {u"42", 420000},
        {u"1,5", 15000},
        {u"1.5", 15000},
        {u",25", 2500},
        {u"7.", 70000},
        {u"1 250,50", 12505000},
        {u"12 345 678.9", 123456789000},
        {u"1\u00A0000", 10000000},          // no-break space between groups
        {u"  3 + 4 ", 70000},
        {u"10 - 2.5", 75000},
        {u"10 \u2212 2.5", 75000},          // the minus sign
        {u"3 * 4", 120000},
        {u"3 \u00D7 4", 120000},            // ×
        {u"10 / 4", 25000},
        {u"10 \u00F7 4", 25000},            // ÷
        {u"2 + 3 * 4", 140000},
        {u"(2 + 3) * 4", 200000},
        {u"-5 + 2", -30000},
        {u"-(1 - 3)", 20000},
        {u"--2", 20000},
        {u"1 000 + 2 000", 30000000},
        {u"10 / 3", 33333},                 // rounded to four decimals
        {u"20 / 3", 66667},                 // half away from zero
        {u"-20 / 3", -66667},
        {u"0.00005", 1},                    // fifth decimal rounds
        {u"0.00004", 0},
        {u"1.23456789", 12346},
        {u"0.5 * 0.0001", 1},               // 0.00005 rounds up
        {u"922337203685477.5807", INT64_MAX},
        {u"-922337203685477.5807", -INT64_MAX},
        {u"((((1))))", 10000},
    };
    for (const auto& c : cases) {
        const auto value = EvaluateAmountExpression(c.text);
        ASSERT_TRUE(value.has_value()) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(*value, c.value) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(AmountExpressionTest, InvalidExpressions)
{
    const std::u16string cases[] = {
        u"",
        u"   ",
        u".",
        u",",
        u"abc",
        u"1 +",
        u"* 2",
        u"(1 + 2",
        u"1 + 2)",
        u"()",
        u"1 / 0",
        u"1 / (2 - 2)",
        u"1,5,5",
        u"1.000,5",          // both separators: ambiguous
        u"1 23",             // a group must have three digits
        u"1 2345",
        u"1234 567",         // groups only after a group of at most three
        u"12 345 67",
        u"5 5",
        u"1e5",
        u"0x10",
        u"922337203685477.5808",
        u"922337203685478",
        u"99999999999999999999999",
        u"500000000000000 + 500000000000000",
        u"-922337203685477 - 1",
        u"100000000 * 100000000",
        u"1 / 0.00001",       // 0.00001 rounds to nothing
        u"2 % 3",
        u"1 + + ",
    };
    for (const std::u16string& text : cases)
        EXPECT_EQ(EvaluateAmountExpression(text), std::nullopt) << std::string(text.begin(), text.end());
}

TEST(AmountExpressionTest, DeepNestingIsRefusedNotOverflowed)
{
    EXPECT_EQ(EvaluateAmountExpression(std::u16string(100000, u'(') + u"1" + std::u16string(100000, u')')),
              std::nullopt);
    EXPECT_EQ(EvaluateAmountExpression(std::u16string(100000, u'-') + u"1"), std::nullopt);
    EXPECT_EQ(EvaluateAmountExpression(std::u16string(30, u'(') + u"1" + std::u16string(30, u')')), 10000);
}

TEST(AmountExpressionTest, RandomInputNeverBreaksIt)
{
    const char16_t alphabet[] = u"0123456789 ,.+-*/()\u2212\u00D7\u00F7\u00A0x";
    std::mt19937 random(2024);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 2);
    std::uniform_int_distribution<std::size_t> length(0, 40);
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        for (std::size_t n = length(random); n > 0; --n)
            text.push_back(alphabet[pick(random)]);
        const auto value = EvaluateAmountExpression(text);
        // Whatever it answers, the same text answers the same.
        EXPECT_EQ(EvaluateAmountExpression(text), value);
    }
}

}  // namespace
