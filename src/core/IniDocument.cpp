#include "core/IniDocument.h"

#include "core/CodePage.h"


namespace UserInterface::Settings::OptionStorage {

namespace {

using UtilityClasses::Strings::Utf16ToUtf8;
using UtilityClasses::Strings::Utf8ToUtf16;

std::string DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    std::u16string units(bytes.size() / 2, u'\0');  // a stray last byte is dropped
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
        const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    }
    return Utf16ToUtf8(units);
}

std::string EncodeUtf16(std::string_view text, bool bigEndian)
{
    std::string bytes;
    for (char16_t unit : Utf8ToUtf16(text)) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualAsciiNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// "[name]" gives the name between the bracket and the last ']'.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct AKeyLine {
    std::string_view name;
    std::string_view value;
};

std::optional<AKeyLine> KeyLine(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[')
        return std::nullopt;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return AKeyLine{Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Quotes a value whose blanks or quotes would otherwise be lost on reading.
std::string QuoteIfNeeded(std::string_view value)
{
    const bool needs = !value.empty() &&
                       (IsBlank(value.front()) || IsBlank(value.back()) ||
                        (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
    return needs ? "\"" + std::string(value) + "\"" : std::string(value);
}

}  // namespace

AIniDocument AIniDocument::Parse(std::string_view bytes)
{
    AIniDocument doc;
    std::string text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        doc.form_ = ATextForm::Utf16Le;
        text = DecodeUtf16(bytes.substr(2), false);
    } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE && static_cast<unsigned char>(bytes[1]) == 0xFF) {
        doc.form_ = ATextForm::Utf16Be;
        text = DecodeUtf16(bytes.substr(2), true);
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        doc.form_ = ATextForm::Utf8WithBom;
        text = bytes.substr(3);
    } else {
        text = bytes;
    }
    if (doc.form_ == ATextForm::Utf16Le || doc.form_ == ATextForm::Utf16Be)
        doc.lineBreak_ = "\r\n";
    bool breakSeen = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        const bool pair = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (!breakSeen) {
            doc.lineBreak_ = pair ? "\r\n" : std::string(1, text[i]);
            breakSeen = true;
        }
        doc.lines_.emplace_back(text, start, i - start);
        if (pair)
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        doc.lines_.emplace_back(text, start);
    return doc;
}

std::string AIniDocument::Serialize() const
{
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += lineBreak_;
    }
    switch (form_) {
    case ATextForm::Utf8: return text;
    case ATextForm::Utf8WithBom: return "\xEF\xBB\xBF" + text;
    case ATextForm::Utf16Le: return "\xFF\xFE" + EncodeUtf16(text, false);
    case ATextForm::Utf16Be: return "\xFE\xFF" + EncodeUtf16(text, true);
    }
    return text;
}

std::optional<AIniDocument::ALocation> AIniDocument::Locate(std::string_view section, std::string_view name) const
{
    std::optional<ALocation> found;
    bool inside = false;
    bool inFirst = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto header = SectionName(lines_[i])) {
            inside = EqualAsciiNoCase(*header, section);
            inFirst = inside && !found;
            if (inFirst)
                found = ALocation{i + 1, std::nullopt};
            continue;
        }
        if (!inside)
            continue;
        const auto key = KeyLine(lines_[i]);
        if (key && EqualAsciiNoCase(key->name, name)) {
            found->valueLine = i;
            return found;
        }
        // New values go after the last line of the first such section that is not blank.
        if (inFirst && !Trim(lines_[i]).empty())
            found->sectionEnd = i + 1;
    }
    return found;
}

std::optional<std::string> AIniDocument::Find(std::string_view section, std::string_view name) const
{
    const auto location = Locate(section, name);
    if (!location || !location->valueLine)
        return std::nullopt;
    std::string_view value = Unquote(KeyLine(lines_[*location->valueLine])->value);
    // A NUL ends the text, as it would for the platform's string buffers.
    return std::string(value.substr(0, value.find('\0')));
}

bool AIniDocument::Set(std::string_view section, std::string_view name, std::string_view value)
{
    if (!IsStorableName(section) || !IsStorableName(name) || !IsStorableValue(value))
        return false;
    std::string line = std::string(name) + "=" + QuoteIfNeeded(value);
    const auto location = Locate(section, name);
    if (location && location->valueLine) {
        lines_[*location->valueLine] = std::move(line);
    } else if (location) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(location->sectionEnd), std::move(line));
    } else {
        if (!lines_.empty() && !Trim(lines_.back()).empty())
            lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(line));
    }
    return true;
}

void AIniDocument::Remove(std::string_view section, std::string_view name)
{
    const auto location = Locate(section, name);
    if (location && location->valueLine)
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*location->valueLine));
}

bool IsStorableValue(std::string_view value)
{
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool IsStorableName(std::string_view name)
{
    const std::string_view trimmed = Trim(name);
    return !trimmed.empty() && trimmed.size() == name.size() && IsStorableValue(name) &&
           name.find_first_of("=[];") == std::string_view::npos;
}

std::size_t Utf16Units(std::string_view utf8) { return Utf8ToUtf16(utf8).size(); }

std::string TruncateToUtf16Units(std::string_view utf8, std::size_t units)
{
    const std::u16string text = Utf8ToUtf16(utf8);
    if (text.size() <= units)
        return std::string(utf8);
    std::size_t cut = units;
    if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] < 0xDC00)
        --cut;  // never half a surrogate pair
    return Utf16ToUtf8(std::u16string_view(text).substr(0, cut));
}

}  // namespace UserInterface::Settings::OptionStorage
