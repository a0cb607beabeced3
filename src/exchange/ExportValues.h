// The text forms of values in interchange documents, and the element helpers every
// record writer of the export uses.
#pragma once
#include "core/ADate.h"
#include "exchange/xmlNodes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ExportImport::Private {

using AMoney = std::int64_t;

// "YYYY-MM-DD".
std::string DateText(ADate date);
// "YYYY-MM-DDTHH:MM:SS:mmm": the milliseconds follow a colon, not a point.
std::string TimestampText(ADate date, std::int32_t milliseconds);
// Optional "-", the whole part, ".", exactly four decimals: 1.5000, -0.2500.
std::string AmountText(AMoney amount);
// Decimal digits without sign or leading zeros.
std::string IntegerText(std::uint64_t value);

using UtilityClasses::XML::AElement;
using UtilityClasses::XML::ANodeContainer;

// An element holding a text (UTF-8, or UTF-16 converted to it).
AElement* AddValue(ANodeContainer& parent, std::string_view name, std::string_view utf8);
AElement* AddValue(ANodeContainer& parent, std::string_view name, std::u16string_view text);
// Optional texts such as comments are left out when empty.
void AddOptionalText(ANodeContainer& parent, std::string_view name, std::u16string_view text);
// A flag is an empty element, present only when set.
void AddFlag(ANodeContainer& parent, std::string_view name, bool set);

}  // namespace ExportImport::Private
