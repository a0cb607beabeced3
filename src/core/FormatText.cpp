#include "core/FormatText.h"

#include "core/BoundedText.h"
#include "core/FormatAmount.h"
#include "core/LocaleInfo.h"

#include <algorithm>

namespace UtilityClasses::Strings {

namespace {

using Implementation::ABoundedText;

constexpr int kMaxWidth = 16;

// Decimal digits of a magnitude, which is unsigned so the most negative number has one too.
std::u16string_view Digits(std::uint64_t magnitude, char16_t (&buffer)[20])
{
    std::size_t start = std::size(buffer);
    do {
        buffer[--start] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    return {buffer + start, std::size(buffer) - start};
}

std::uint64_t Magnitude(std::int64_t value)
{
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// "#d" and "#n": width 0 means no filling.
void PutNumber(ABoundedText& text, std::int64_t value, int width)
{
    char16_t buffer[20];
    std::u16string_view digits = Digits(Magnitude(value), buffer);
    if (value < 0)
        text.Put(u'-');
    if (width > 0 && digits.size() > static_cast<std::size_t>(width)) {
        text.Repeat(u'*', width);
        return;
    }
    text.Repeat(u'0', width - static_cast<std::ptrdiff_t>(digits.size()));
    text.Put(digits);
}

void PutHex(ABoundedText& text, std::uint32_t value)
{
    for (int shift = 28; shift >= 0; shift -= 4)
        text.Put(u"0123456789ABCDEF"[(value >> shift) & 0xF]);
}

void PutAmount(ABoundedText& text, std::int64_t amount, int decimals, const LocaleInfo& locale)
{
    char16_t buffer[kAmountCapacity];
    std::size_t length = FormatAmount(amount, decimals, true, locale, buffer, kAmountCapacity);
    text.Put(std::u16string_view(buffer, length));
}

// An argument in its own form: what "#s", "#d" and "#c" write, and what any placeholder
// writes for an argument of another kind than it expects.
void PutNatural(ABoundedText& text, const FormatArg& arg, const LocaleInfo& locale)
{
    switch (arg.kind()) {
    case FormatArg::Kind::Integer: PutNumber(text, arg.integer(), 0); break;
    case FormatArg::Kind::Text: text.Put(arg.text()); break;
    case FormatArg::Kind::Amount: PutAmount(text, arg.integer(), arg.decimals(), locale); break;
    case FormatArg::Kind::None: break;
    }
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::size_t FormatText(std::span<char16_t, kFormatCapacity> out, const LocaleInfo& locale,
                       std::u16string_view format, std::span<const FormatArg> args)
{
    ABoundedText text(out.data(), kMaxFormattedLength);
    std::size_t nextArg = 0;
    auto take = [&] { return nextArg < args.size() ? args[nextArg++] : FormatArg(); };

    std::size_t i = 0;
    const std::size_t n = format.size();
    while (i < n && format[i] != u'\0' && !text.Full()) {
        char16_t c = format[i++];
        if (c != u'#') {
            text.Put(c);
            continue;
        }
        if (i == n || format[i] == u'\0')
            break;
        char16_t code = format[i++];
        if (IsDigit(code)) {
            // Only the digits (and one d) belong to the width: in "#4-#2" the minus is text.
            int width = code - u'0';
            for (; i < n && IsDigit(format[i]); ++i)
                width = std::min(width * 10 + (format[i] - u'0'), kMaxWidth);
            if (i < n && (format[i] == u'd' || format[i] == u'D'))
                ++i;
            FormatArg arg = take();
            if (arg.kind() == FormatArg::Kind::Integer)
                PutNumber(text, arg.integer(), width);
            else
                PutNatural(text, arg, locale);
            continue;
        }
        switch (code) {
        case u's': case u'S':
        case u'd': case u'D':
        case u'c': case u'C':
            PutNatural(text, take(), locale);
            break;
        case u'x': case u'X': {
            FormatArg arg = take();
            if (arg.kind() == FormatArg::Kind::Integer)
                PutHex(text, static_cast<std::uint32_t>(arg.integer()));
            else
                PutNatural(text, arg, locale);
            break;
        }
        case u'.': {
            FormatArg arg = take();
            if (arg.kind() != FormatArg::Kind::Text)
                PutNatural(text, arg, locale);
            else if (!arg.text().empty())
                text.Put(arg.text().front());
            break;
        }
        default:
            // "##" gives one number sign; an unknown code stands for itself.
            text.Put(code);
            break;
        }
    }
    return text.Finish();
}

std::size_t FormatText(std::span<char16_t, kFormatCapacity> out, const LocaleInfo& locale,
                       std::u16string_view format, std::initializer_list<FormatArg> args)
{
    return FormatText(out, locale, format, std::span<const FormatArg>(args.begin(), args.size()));
}

std::u16string FormatText(const LocaleInfo& locale, std::u16string_view format, std::initializer_list<FormatArg> args)
{
    return FormatText(locale, format, std::span<const FormatArg>(args.begin(), args.size()));
}

std::u16string FormatText(const LocaleInfo& locale, std::u16string_view format, std::span<const FormatArg> args)
{
    char16_t buffer[kFormatCapacity];
    std::size_t length = FormatText(buffer, locale, format, args);
    return std::u16string(buffer, length);
}

}  // namespace UtilityClasses::Strings
