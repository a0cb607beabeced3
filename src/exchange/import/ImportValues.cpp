#include "exchange/import/ImportValues.h"

#include <limits>

namespace ExportImport {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view Trim(std::string_view text)
{
    text = TrimLeft(text);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Accumulates decimal digits into an unsigned value; false past `limit`.
bool AccumulateDigit(std::uint64_t& value, char digit, std::uint64_t limit)
{
    const auto d = static_cast<std::uint64_t>(digit - '0');
    if (value > (limit - d) / 10)
        return false;
    value = value * 10 + d;
    return true;
}

// Exactly `count` digits at `pos`, as a number.
std::optional<int> FixedDigits(std::string_view text, std::size_t pos, std::size_t count)
{
    if (pos + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (!IsDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<ADate> DateAt(std::string_view text)
{
    if (text.size() < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto year = FixedDigits(text, 0, 4);
    const auto month = FixedDigits(text, 5, 2);
    const auto day = FixedDigits(text, 8, 2);
    if (!year || !month || !day || *year < 100 || *month < 1 || *month > 12 || *day < 1 ||
        *day > Dates::DaysInMonth(*year, *month))
        return std::nullopt;
    return Dates::FromYmd(*year, *month, *day);
}

}  // namespace

std::optional<AMoney> ParseAmount(std::string_view text)
{
    text = TrimLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text = TrimLeft(text.substr(1));
    }
    // The magnitude may reach 2^63 only for a negative value.
    const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<AMoney>::max()) + (negative ? 1 : 0);
    std::uint64_t units = 0;
    std::size_t pos = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos)
        if (!AccumulateDigit(units, text[pos], std::numeric_limits<std::uint64_t>::max()))
            return std::nullopt;
    if (pos == 0)
        return std::nullopt;
    std::uint64_t fraction = 0;
    int fractionDigits = 0;
    if (pos < text.size() && text[pos] == '.') {
        for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos)
            if (fractionDigits < 4) {
                fraction = fraction * 10 + static_cast<std::uint64_t>(text[pos] - '0');
                ++fractionDigits;
            }
    }
    for (; fractionDigits < 4; ++fractionDigits)
        fraction *= 10;
    if (!Trim(text.substr(pos)).empty())
        return std::nullopt;
    if (units > (limit - fraction) / 10000)
        return std::nullopt;
    const std::uint64_t magnitude = units * 10000 + fraction;
    if (negative)
        return static_cast<AMoney>(0 - magnitude);  // two's complement: 2^63 becomes INT64_MIN
    return static_cast<AMoney>(magnitude);
}

AInteger ParseInteger(std::string_view text)
{
    text = Trim(text);
    AInteger result;
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return result;
    for (char c : text)
        if (!IsDigit(c) || !AccumulateDigit(result.value, c, std::numeric_limits<std::uint64_t>::max()))
            return AInteger{};
    // "-0" is still zero, not a negative number.
    result.form = negative && result.value != 0 ? AIntegerForm::Negative : AIntegerForm::Valid;
    if (result.form == AIntegerForm::Negative)
        result.value = 0;
    return result;
}

std::optional<ADate> ParseDate(std::string_view text)
{
    text = Trim(text);
    if (text.size() != 10)
        return std::nullopt;
    return DateAt(text);
}

std::optional<ADateTime> ParseDateOrTimestamp(std::string_view text)
{
    text = Trim(text);
    const auto date = DateAt(text);
    if (!date)
        return std::nullopt;
    ADateTime result{*date, 0, false};
    if (text.size() == 10)
        return result;
    // "T" HH ":" MM ":" SS, then optionally ":" or "." and three digits.
    if (text[10] != 'T' || (text.size() != 19 && text.size() != 23) || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto hour = FixedDigits(text, 11, 2);
    const auto minute = FixedDigits(text, 14, 2);
    const auto second = FixedDigits(text, 17, 2);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    int millisecond = 0;
    if (text.size() == 23) {
        const auto fraction = FixedDigits(text, 20, 3);
        if ((text[19] != ':' && text[19] != '.') || !fraction)
            return std::nullopt;
        millisecond = *fraction;
    }
    result.milliseconds = ((*hour * 60 + *minute) * 60 + *second) * 1000 + millisecond;
    result.hasTime = true;
    return result;
}

}  // namespace ExportImport
