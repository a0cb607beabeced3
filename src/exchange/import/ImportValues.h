// The text forms of values in interchange documents, read back: amounts, whole
// numbers, dates and timestamps. Each answers nothing for a malformed text.
#pragma once

#include "core/ADate.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace ExportImport {

using AMoney = std::int64_t;

// Optional whitespace, an optional sign, optional whitespace, at least one digit,
// optionally "." and more digits, optional trailing whitespace. The fraction is cut
// or padded to four digits. A value beyond the 64-bit range is malformed rather
// than wrapped, so an oversized amount can never turn into a different one.
std::optional<AMoney> ParseAmount(std::string_view text);

// A whole number in decimal digits, surrounding whitespace allowed.
enum class AIntegerForm { Valid, Malformed, Negative };
struct AInteger {
    AIntegerForm form = AIntegerForm::Malformed;
    std::uint64_t value = 0;
};
// Negative is a "-" before digits; a value past 64 bits is malformed.
AInteger ParseInteger(std::string_view text);

// "YYYY-MM-DD" naming a real day between 0100-01-01 and 9999-12-31.
std::optional<ADate> ParseDate(std::string_view text);

// A date, or a timestamp "YYYY-MM-DDTHH:MM:SS:mmm" (the milliseconds, with a colon or a
// point before them, may be left out).
struct ADateTime {
    ADate date = 0;
    std::int32_t milliseconds = 0;
    bool hasTime = false;
};
std::optional<ADateTime> ParseDateOrTimestamp(std::string_view text);

}  // namespace ExportImport
