// Text helpers of the CSV plug-in: UTF-8 and UTF-16, CSV fields, XML escaping.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace CsvExchange {

std::string ToUtf8(std::u16string_view text);
// Appends one code point (up to U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t code);
// Malformed sequences become U+FFFD.
std::u16string ToUtf16(std::string_view text);

// A field quoted when it holds a comma, a quote or a line break; quotes are doubled.
std::string CsvField(std::string_view value);

// Splits CSV text into records of fields. Quoted fields may hold commas, doubled quotes
// and line breaks. False when a quoted field is not closed.
bool ParseCsv(std::string_view text, std::vector<std::vector<std::string>>& records);

// Decimal digits. Not std::to_string, which would give the library unique symbols and so
// keep it from ever being unloaded.
std::string NumberText(std::size_t value);

// The five XML characters as entities; control characters other than tab and line breaks
// are left out.
std::string XmlEscape(std::string_view text);

}  // namespace CsvExchange
