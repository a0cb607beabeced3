#include "exchange/statements/Statement.h"

#include "core/CodePage.h"

#include <cctype>

namespace ExportImport::Statements::Values {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads `count` digits (exactly, unless `count` is 0: one or more) at `at`.
bool Number(std::string_view text, std::size_t& at, std::size_t count, int& value)
{
    const std::size_t start = at;
    value = 0;
    while (at < text.size() && IsDigit(text[at]) && (count == 0 || at - start < count)) {
        value = value * 10 + (text[at] - '0');
        if (value > 100000)
            return false;
        ++at;
    }
    return at > start && (count == 0 || at - start == count);
}

bool MakeDate(int year, int month, int day, ADate& date)
{
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    date = Dates::FromYmd(year, month, day);
    const Dates::AYmd back = Dates::ToYmd(date);
    return back.year == year && back.month == month && back.day == day;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

}  // namespace

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool ParseAmount(std::string_view text, AMoney& amount)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find_last_of(".,");
    std::string_view whole = text, fraction;
    if (point != std::string_view::npos && text.size() - point - 1 >= 1 && text.size() - point - 1 <= 4 &&
        text.find(text[point]) == point) {
        whole = text.substr(0, point);
        fraction = text.substr(point + 1);
    }
    if (whole.empty() && fraction.empty())
        return false;
    const char group = point == std::string_view::npos ? '\0' : (text[point] == '.' ? ',' : '.');
    AMoney units = 0;
    for (char c : whole) {
        if (c == group || c == ' ' || c == '\'')
            continue;
        if (!IsDigit(c) || units > 90'000'000'000'000)
            return false;
        units = units * 10 + (c - '0');
    }
    AMoney parts = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        if (i < fraction.size() && !IsDigit(fraction[i]))
            return false;
        parts = parts * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    amount = (units * 10'000 + parts) * (negative ? -1 : 1);
    return true;
}

bool ParseIsoDate(std::string_view text, ADate& date)
{
    text = Trim(text);
    std::size_t at = 0;
    int year = 0, month = 0, day = 0;
    if (!Number(text, at, 4, year))
        return false;
    const bool dashed = at < text.size() && text[at] == '-';
    if (dashed)
        ++at;
    if (!Number(text, at, 2, month) || (dashed && (at >= text.size() || text[at++] != '-')) ||
        !Number(text, at, 2, day))
        return false;
    // A time or a zone may follow; nothing else.
    if (at < text.size() && !(IsDigit(text[at]) || text[at] == 'T' || text[at] == '[' || text[at] == ' ' ||
                              text[at] == '+' || text[at] == 'Z'))
        return false;
    return MakeDate(year, month, day, date);
}

bool ParseQifDate(std::string_view text, bool dayFirst, ADate& date)
{
    text = Trim(text);
    if (text.size() == 10 && text[4] == '-')
        return ParseIsoDate(text, date);
    int first = 0, second = 0, year = 0;
    std::size_t at = 0;
    auto skipBlanks = [&] {
        while (at < text.size() && text[at] == ' ')
            ++at;
    };
    skipBlanks();
    if (!Number(text, at, 0, first) || at >= text.size())
        return false;
    const char separator = text[at];
    if (separator != '/' && separator != '.' && separator != '-')
        return false;
    ++at;
    skipBlanks();
    if (!Number(text, at, 0, second) || at >= text.size())
        return false;
    const bool apostrophe = text[at] == '\'';
    if (text[at] != separator && !apostrophe)
        return false;
    ++at;
    skipBlanks();
    const std::size_t yearStart = at;
    if (!Number(text, at, 0, year) || at != text.size())
        return false;
    const std::size_t yearDigits = at - yearStart;
    if (yearDigits == 2 || yearDigits == 1)
        year += apostrophe || year < 50 ? 2000 : 1900;
    else if (yearDigits != 4)
        return false;
    // Dotted dates are written day first everywhere they are used.
    const bool daysFirst = dayFirst || separator == '.';
    return MakeDate(year, daysFirst ? second : first, daysFirst ? first : second, date);
}

std::u16string DecodeText(std::string_view bytes, std::uint32_t codePage)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if ((codePage == 0 || codePage == UtilityClasses::Strings::kCodePageUtf8) && IsValidUtf8(bytes))
        return UtilityClasses::Strings::Utf8ToUtf16(bytes);
    std::u16string text;
    if (!UtilityClasses::Strings::MultiByteToUtf16(bytes, codePage == 0 || codePage == 65001 ? 1251 : codePage, text))
        text.clear();
    return text;
}

}  // namespace ExportImport::Statements::Values
