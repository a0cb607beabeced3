// Messages composed from a format with "#"-placeholders:
//   #s #S  a text            #d #D  a whole number          #x #X  8 upper-case hex digits
//   #n #nd a number filled with zeros to n digits (n up to 16), or n asterisks when longer
//   #c #C  an amount (decimals and grouping as FormatAmount)   #.  the first character of a text
//   ##     a number sign       # and any other character: that character
// Arguments are taken in the order of the placeholders. Formats come from language files, so
// they may ask for more or other arguments than the caller gives: a missing argument writes
// nothing, and an argument of another kind is written in its own form.
#pragma once
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace UtilityClasses::Strings {

struct LocaleInfo;

// 1023 characters and the closing NUL.
constexpr std::size_t kFormatCapacity = 1024;
constexpr std::size_t kMaxFormattedLength = kFormatCapacity - 1;

class FormatArg {
public:
    enum class Kind : std::uint8_t { None, Integer, Text, Amount };

    constexpr FormatArg() = default;
    template <std::integral T>
    constexpr FormatArg(T value) : kind_(Kind::Integer), integer_(static_cast<std::int64_t>(value))
    {
    }
    // A null text is an empty one.
    constexpr FormatArg(const char16_t* text) : kind_(Kind::Text), text_(text ? text : u"") {}
    constexpr FormatArg(std::u16string_view text) : kind_(Kind::Text), text_(text) {}
    FormatArg(const std::u16string& text) : kind_(Kind::Text), text_(text) {}
    // An AMoney amount (1/10000 units) shown with `decimals` decimals, for "#c".
    static constexpr FormatArg Amount(std::int64_t amount, int decimals)
    {
        FormatArg arg;
        arg.kind_ = Kind::Amount;
        arg.integer_ = amount;
        arg.decimals_ = decimals;
        return arg;
    }

    Kind kind() const { return kind_; }
    std::int64_t integer() const { return integer_; }
    std::u16string_view text() const { return text_; }
    int decimals() const { return decimals_; }

private:
    Kind kind_ = Kind::None;
    std::int64_t integer_ = 0;
    std::u16string_view text_;
    int decimals_ = 0;
};

// Writes at most 1023 characters and a NUL into `out`; returns the number of characters.
// A NUL in the format ends it.
std::size_t FormatText(std::span<char16_t, kFormatCapacity> out, const LocaleInfo& locale,
                       std::u16string_view format, std::span<const FormatArg> args);
std::size_t FormatText(std::span<char16_t, kFormatCapacity> out, const LocaleInfo& locale,
                       std::u16string_view format, std::initializer_list<FormatArg> args);
std::u16string FormatText(const LocaleInfo& locale, std::u16string_view format,
                          std::initializer_list<FormatArg> args = {});
std::u16string FormatText(const LocaleInfo& locale, std::u16string_view format, std::span<const FormatArg> args);

}  // namespace UtilityClasses::Strings
