#include "rates/AmountExpression.h"

#include <cstdint>

namespace Rates {

namespace {

using Database::AMoney;
__extension__ typedef __int128 AWide;

constexpr AMoney kScale = 10000;
constexpr AWide kLargest = INT64_MAX;
constexpr AWide kSmallest = INT64_MIN;
// Deeper nesting than any person types; it keeps the recursion bounded.
constexpr int kMaxDepth = 64;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\u202F'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Half away from zero.
AWide DivideRounded(AWide numerator, AWide denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const AWide half = denominator / 2;
    return numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
}

std::optional<AMoney> Fit(AWide value)
{
    if (value > kLargest || value < kSmallest)
        return std::nullopt;
    return static_cast<AMoney>(value);
}

class AParser {
public:
    explicit AParser(std::u16string_view text) : text_(text) {}

    std::optional<AMoney> Whole()
    {
        std::optional<AMoney> value = Sum(0);
        SkipBlanks();
        if (!value || at_ != text_.size())
            return std::nullopt;
        return value;
    }

private:
    void SkipBlanks()
    {
        while (at_ < text_.size() && IsBlank(text_[at_]))
            ++at_;
    }
    // The next character after blanks, 0 at the end.
    char16_t Peek()
    {
        SkipBlanks();
        return at_ < text_.size() ? text_[at_] : u'\0';
    }

    std::optional<AMoney> Sum(int depth)
    {
        std::optional<AMoney> value = Product(depth);
        for (char16_t op; value && ((op = Peek()) == u'+' || op == u'-' || op == u'\u2212');) {
            ++at_;
            const std::optional<AMoney> right = Product(depth);
            if (!right)
                return std::nullopt;
            value = Fit(op == u'+' ? AWide(*value) + *right : AWide(*value) - *right);
        }
        return value;
    }

    std::optional<AMoney> Product(int depth)
    {
        std::optional<AMoney> value = Factor(depth);
        for (char16_t op; value && ((op = Peek()) == u'*' || op == u'\u00D7' || op == u'/' || op == u'\u00F7');) {
            ++at_;
            const std::optional<AMoney> right = Factor(depth);
            if (!right)
                return std::nullopt;
            if (op == u'*' || op == u'\u00D7') {
                value = Fit(DivideRounded(AWide(*value) * *right, kScale));
            } else {
                if (*right == 0)
                    return std::nullopt;
                value = Fit(DivideRounded(AWide(*value) * kScale, *right));
            }
        }
        return value;
    }

    std::optional<AMoney> Factor(int depth)
    {
        if (depth > kMaxDepth)
            return std::nullopt;
        const char16_t c = Peek();
        if (c == u'+' || c == u'-' || c == u'\u2212') {
            ++at_;
            const std::optional<AMoney> operand = Factor(depth + 1);
            if (!operand)
                return std::nullopt;
            return c == u'+' ? operand : Fit(-AWide(*operand));
        }
        if (c == u'(') {
            ++at_;
            const std::optional<AMoney> inner = Sum(depth + 1);
            if (!inner || Peek() != u')')
                return std::nullopt;
            ++at_;
            return inner;
        }
        return Number();
    }

    // Digits of the whole part; a blank followed by exactly three digits continues
    // them when every group so far was a proper thousands group.
    bool WholePart(AWide& whole, bool& any)
    {
        std::size_t groupLength = 0;
        bool grouped = false;
        for (;;) {
            while (at_ < text_.size() && IsDigit(text_[at_])) {
                whole = whole * 10 + (text_[at_++] - u'0');
                if (whole > kLargest)
                    return false;
                ++groupLength;
                any = true;
            }
            if (groupLength == 0 || (grouped && groupLength != 3) || (!grouped && groupLength > 3))
                return true;
            std::size_t next = at_;
            while (next < text_.size() && IsBlank(text_[next]))
                ++next;
            std::size_t digits = 0;
            while (next + digits < text_.size() && IsDigit(text_[next + digits]))
                ++digits;
            if (next == at_ || digits != 3)
                return true;
            at_ = next;
            grouped = true;
            groupLength = 0;
        }
    }

    std::optional<AMoney> Number()
    {
        AWide whole = 0;
        bool any = false;
        if (!WholePart(whole, any))
            return std::nullopt;
        AWide fraction = 0;
        int decimals = 0;
        bool roundUp = false;
        if (at_ < text_.size() && (text_[at_] == u',' || text_[at_] == u'.')) {
            ++at_;
            for (; at_ < text_.size() && IsDigit(text_[at_]); ++at_, any = true) {
                if (decimals < 4)
                    fraction = fraction * 10 + (text_[at_] - u'0');
                else if (decimals == 4)
                    roundUp = text_[at_] >= u'5';
                ++decimals;
            }
        }
        if (!any)
            return std::nullopt;
        for (int d = decimals; d < 4; ++d)
            fraction *= 10;
        return Fit(whole * kScale + fraction + (roundUp ? 1 : 0));
    }

    std::u16string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<AMoney> EvaluateAmountExpression(std::u16string_view text) { return AParser(text).Whole(); }

}  // namespace Rates
