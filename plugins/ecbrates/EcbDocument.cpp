#include "EcbDocument.h"

#include <limits>

namespace Ecb {

namespace {

constexpr std::string_view kCube = "<Cube";
constexpr std::string_view kCubeEnd = "</Cube";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ':' || c == '_'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The value of attribute `name` in the text of one tag; empty when it has none.
std::string_view Attribute(std::string_view tag, std::string_view name)
{
    for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
        if (at == 0 || IsNameChar(tag[at - 1]))
            continue;
        std::size_t p = at + name.size();
        while (p < tag.size() && IsSpace(tag[p]))
            ++p;
        if (p >= tag.size() || tag[p] != '=')
            continue;
        ++p;
        while (p < tag.size() && IsSpace(tag[p]))
            ++p;
        if (p >= tag.size() || (tag[p] != '\'' && tag[p] != '"'))
            continue;
        const char quote = tag[p++];
        const std::size_t end = tag.find(quote, p);
        if (end == std::string_view::npos)
            return {};
        return tag.substr(p, end - p);
    }
    return {};
}

bool ParseDay(std::string_view text, ADay& day)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    int parts[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 5, 8};
    const std::size_t lengths[3] = {4, 2, 2};
    for (int i = 0; i < 3; ++i)
        for (std::size_t k = 0; k < lengths[i]; ++k) {
            const char c = text[starts[i] + k];
            if (!IsDigit(c))
                return false;
            parts[i] = parts[i] * 10 + (c - '0');
        }
    static const int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > kMonthDays[parts[1] - 1])
        return false;
    day = {parts[0], parts[1], parts[2]};
    return true;
}

// One "<Cube ...>" tag after `from`: its text, and where the scan goes on.
struct ATag {
    std::string_view text;
    std::size_t next = std::string_view::npos;
};

ATag NextCube(std::string_view document, std::size_t from)
{
    const std::size_t start = document.find(kCube, from);
    if (start == std::string_view::npos)
        return {};
    const std::size_t end = document.find('>', start);
    if (end == std::string_view::npos)
        return {};
    return {document.substr(start, end - start), end + 1};
}

}  // namespace

int ADay::Serial() const
{
    // Days from 1 March of year 0 of the proleptic Gregorian calendar.
    const int y = month <= 2 ? year - 1 : year;
    const int m = month <= 2 ? month + 9 : month - 3;
    return 365 * y + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + day - 1;
}

bool ParseRate(std::string_view text, std::int64_t& rate)
{
    std::int64_t whole = 0;
    std::int64_t fraction = 0;
    int decimals = -1;
    bool roundUp = false;
    bool any = false;
    for (const char c : text) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (!IsDigit(c))
            return false;
        any = true;
        if (decimals < 0) {
            // The whole part must leave room for four decimals and the rounding.
            constexpr std::int64_t kMaxWhole = (std::numeric_limits<std::int64_t>::max() - 10'000) / 10'000;
            whole = whole * 10 + (c - '0');
            if (whole > kMaxWhole)
                return false;
        } else if (++decimals <= 4) {
            fraction = fraction * 10 + (c - '0');
        } else if (decimals == 5) {
            roundUp = c >= '5';
        }
    }
    for (int d = decimals < 0 ? 0 : decimals; d < 4; ++d)
        fraction *= 10;
    rate = whole * 10000 + fraction + (roundUp ? 1 : 0);
    return any && rate > 0;
}

bool RatesFor(std::string_view document, ADay wanted, int maxDaysBefore, ADayRates& found)
{
    const int last = wanted.Serial();
    const int first = last - maxDaysBefore;
    int best = first - 1;
    std::size_t bestNext = std::string_view::npos;
    for (ATag tag = NextCube(document, 0); tag.next != std::string_view::npos;
         tag = NextCube(document, tag.next)) {
        ADay day;
        if (!ParseDay(Attribute(tag.text, "time"), day))
            continue;
        const int serial = day.Serial();
        if (serial <= last && serial > best) {
            best = serial;
            bestNext = tag.next;
            found.day = day;
        }
    }
    if (bestNext == std::string_view::npos)
        return false;
    found.rates.clear();
    // The day's rates run up to its closing tag (or the next day, in a damaged document).
    for (std::size_t at = bestNext;;) {
        const ATag tag = NextCube(document, at);
        if (tag.next == std::string_view::npos)
            break;
        const std::size_t close = document.find(kCubeEnd, at);
        if (close != std::string_view::npos && close < tag.next - tag.text.size() - 1)
            break;
        if (!Attribute(tag.text, "time").empty())
            break;
        ARate rate;
        rate.currency = Attribute(tag.text, "currency");
        if (!rate.currency.empty() && ParseRate(Attribute(tag.text, "rate"), rate.rate))
            found.rates.push_back(rate);
        at = tag.next;
    }
    return true;
}

}  // namespace Ecb
