#include "exchange/workbook/XlsCells.h"

#include "core/ADate.h"
#include "exchange/import/ImportValues.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ExportImport::FileTypeExcel {

namespace {

constexpr std::int64_t kMillisecondsPerDay = 86400000;

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A number as its significant digits and a power of ten: value = digits * 10^exponent.
struct ADecimal {
    bool negative = false;
    std::string digits;  // no leading zeros; empty for zero
    std::int64_t exponent = 0;
};

// Plain and scientific notation, as spreadsheets write numbers; nothing for other text.
std::optional<ADecimal> ParseDecimal(std::string_view text)
{
    text = Trim(text);
    ADecimal number;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        number.negative = text[at++] == '-';
    bool anyDigit = false, point = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (!number.digits.empty() || c != '0')
                number.digits += c;
            if (point)
                --number.exponent;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        bool negativeExponent = false;
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            negativeExponent = text[at++] == '-';
        if (at == text.size())
            return std::nullopt;
        std::int64_t exponent = 0;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
            exponent = std::min<std::int64_t>(exponent * 10 + (text[at] - '0'), 100000);
        number.exponent += negativeExponent ? -exponent : exponent;
    }
    if (at != text.size())
        return std::nullopt;
    return number;
}

// The number in ten-thousandths, rounded half away from zero; nothing past 64 bits.
std::optional<std::int64_t> ToTenThousandths(const ADecimal& number)
{
    if (number.digits.empty())
        return 0;
    const std::int64_t shift = number.exponent + 4;
    std::string whole = number.digits;
    bool roundUp = false;
    if (shift >= 0) {
        if (static_cast<std::int64_t>(whole.size()) + shift > 19)
            return std::nullopt;
        whole.append(static_cast<std::size_t>(shift), '0');
    } else {
        const std::int64_t cut = -shift;
        if (cut > static_cast<std::int64_t>(whole.size())) {
            whole.clear();
        } else {
            roundUp = whole[whole.size() - static_cast<std::size_t>(cut)] >= '5';
            whole.resize(whole.size() - static_cast<std::size_t>(cut));
        }
    }
    std::uint64_t value = 0;
    if (!whole.empty()) {
        const auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), value);
        if (error != std::errc() || end != whole.data() + whole.size())
            return std::nullopt;
    }
    if (roundUp)
        ++value;
    if (value > static_cast<std::uint64_t>(INT64_MAX))
        return std::nullopt;
    const auto magnitude = static_cast<std::int64_t>(value);
    return number.negative ? -magnitude : magnitude;
}

std::string FormatDate(ADate date)
{
    const Dates::AYmd ymd = Dates::ToYmd(date);
    char text[16];
    std::snprintf(text, sizeof text, "%4.4d-%2.2d-%2.2d", ymd.year, ymd.month, ymd.day);
    return text;
}

}  // namespace

std::string ColumnLetters(int column)
{
    std::string letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters;
}

std::optional<ACellPosition> ParseCellReference(std::string_view reference)
{
    ACellPosition position;
    std::size_t at = 0;
    for (; at < reference.size() && reference[at] >= 'A' && reference[at] <= 'Z'; ++at) {
        position.column = position.column * 26 + (reference[at] - 'A' + 1);
        if (position.column > kMaxColumn)
            return std::nullopt;
    }
    if (at == 0 || at == reference.size())
        return std::nullopt;
    for (; at < reference.size(); ++at) {
        if (reference[at] < '0' || reference[at] > '9')
            return std::nullopt;
        position.row = position.row * 10 + (reference[at] - '0');
        if (position.row > kMaxRow)
            return std::nullopt;
    }
    if (position.row == 0)
        return std::nullopt;
    return position;
}

std::optional<std::string> DateToSerial(std::string_view date)
{
    const auto parsed = ParseDate(date);
    if (!parsed)
        return std::nullopt;
    return std::to_string(*parsed);
}

std::optional<std::string> TimestampToSerial(std::string_view timestamp)
{
    const auto parsed = ParseDateOrTimestamp(timestamp);
    if (!parsed)
        return std::nullopt;
    if (parsed->milliseconds == 0)
        return std::to_string(parsed->date);
    const double serial =
        static_cast<double>(parsed->date) + static_cast<double>(parsed->milliseconds) / kMillisecondsPerDay;
    char text[48];
    std::snprintf(text, sizeof text, "%.10f", serial);
    std::string result = text;
    while (result.back() == '0')
        result.pop_back();
    if (result.back() == '.')
        result.pop_back();
    return result;
}

std::string CellToDateText(std::string_view cell)
{
    const std::string_view trimmed = Trim(cell);
    if (ParseDateOrTimestamp(trimmed) || !ParseDecimal(trimmed))
        return std::string(cell);
    double serial = 0;
    const std::string plain(trimmed.front() == '+' ? trimmed.substr(1) : trimmed);
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), serial);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(serial))
        return std::string(cell);
    double days = std::floor(serial);
    auto milliseconds = static_cast<std::int64_t>(std::llround((serial - days) * kMillisecondsPerDay));
    if (milliseconds >= kMillisecondsPerDay) {
        days += 1;
        milliseconds = 0;
    }
    if (days < Dates::kMinDate || days > Dates::kMaxDate)
        return std::string(cell);
    const auto date = static_cast<ADate>(days);
    if (milliseconds == 0)
        return FormatDate(date);
    char time[24];
    std::snprintf(time, sizeof time, "T%2.2d:%2.2d:%2.2d:%3.3d", static_cast<int>(milliseconds / 3600000),
                  static_cast<int>(milliseconds / 60000 % 60), static_cast<int>(milliseconds / 1000 % 60),
                  static_cast<int>(milliseconds % 1000));
    return FormatDate(date) + time;
}

std::string CellToAmountText(std::string_view cell)
{
    const auto decimal = ParseDecimal(cell);
    if (!decimal)
        return std::string(cell);
    const auto amount = ToTenThousandths(*decimal);
    if (!amount)
        return std::string(cell);
    const std::uint64_t magnitude =
        *amount < 0 ? static_cast<std::uint64_t>(-(*amount + 1)) + 1 : static_cast<std::uint64_t>(*amount);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%4.4u", static_cast<unsigned>(magnitude % 10000));
    return (*amount < 0 ? "-" : "") + std::to_string(magnitude / 10000) + fraction;
}

}  // namespace ExportImport::FileTypeExcel
