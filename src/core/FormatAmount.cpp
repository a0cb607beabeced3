#include "core/FormatAmount.h"

#include "core/LocaleInfo.h"

#include <algorithm>
#include <string_view>

namespace UtilityClasses::Strings {

namespace {

constexpr std::uint64_t kHalfUnit[] = {5000, 500, 50, 5, 0};
constexpr std::uint64_t kDroppedScale[] = {10000, 1000, 100, 10, 1};

// Builds the text backwards from the end of a fixed buffer.
class ABackwardText {
public:
    void Put(char16_t c) { buffer_[--start_] = c; }
    void Put(std::u16string_view text)
    {
        for (std::size_t i = text.size(); i-- > 0;)
            Put(text[i]);
    }
    std::u16string_view View() const { return {buffer_ + start_, kAmountCapacity - start_}; }

private:
    char16_t buffer_[kAmountCapacity];
    std::size_t start_ = kAmountCapacity;
};

}  // namespace

std::size_t FormatAmount(std::int64_t amount, int decimals, bool grouping, const LocaleInfo& locale,
                         char16_t* out, std::size_t capacity)
{
    if (capacity == 0)
        return 0;
    decimals = std::clamp(decimals, 0, 4);
    const bool negative = amount < 0;
    // The magnitude of the most negative amount does not fit in a signed value.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    magnitude = (magnitude + kHalfUnit[decimals]) / kDroppedScale[decimals];

    // Longer separators would not fit the buffer; locales never have them.
    auto decimalSeparator = std::u16string_view(locale.decimalSeparator).substr(0, kMaxSeparatorLength);
    auto thousandsSeparator = std::u16string_view(locale.thousandsSeparator).substr(0, kMaxSeparatorLength);
    const int mode = locale.negativeMode >= 0 && locale.negativeMode <= 4 ? locale.negativeMode : 1;

    ABackwardText text;
    if (negative) {
        if (mode == 0)
            text.Put(u')');
        else if (mode == 3)
            text.Put(u'-');
        else if (mode == 4)
            text.Put(u" -");
    }
    for (int i = 0; i < decimals; ++i) {
        text.Put(static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    }
    if (decimals > 0)
        text.Put(decimalSeparator);
    int digits = 0;
    do {
        if (grouping && digits > 0 && digits % 3 == 0)
            text.Put(thousandsSeparator);
        text.Put(static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
        ++digits;
    } while (magnitude != 0);
    if (negative) {
        if (mode == 0)
            text.Put(u'(');
        else if (mode == 1)
            text.Put(u'-');
        else if (mode == 2)
            text.Put(u"- ");
    }

    std::u16string_view result = text.View();
    std::size_t length = std::min(result.size(), capacity - 1);
    std::copy_n(result.data(), length, out);
    out[length] = u'\0';
    return length;
}

std::u16string FormatAmount(std::int64_t amount, int decimals, bool grouping, const LocaleInfo& locale)
{
    char16_t buffer[kAmountCapacity];
    std::size_t length = FormatAmount(amount, decimals, grouping, locale, buffer, kAmountCapacity);
    return std::u16string(buffer, length);
}

}  // namespace UtilityClasses::Strings
