// The text forms of values in interchange documents, and the element helpers every
// record writer of the export uses.
#pragma once
#include "core/ADate.h"
#include "exchange/xml/xmlNodes.h"

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

// Makes the elements of one document. An export of a large file makes millions of small
// nodes; they come from one arena, which is quicker to fill, to walk and to free than
// nodes taken from the heap one by one.
class ANodeMaker {
public:
    ANodeMaker();
    ~ANodeMaker();
    ANodeMaker(const ANodeMaker&) = delete;
    ANodeMaker& operator=(const ANodeMaker&) = delete;

    AElement* Element(ANodeContainer& parent, std::string_view name);
    // An element holding a text (UTF-8, or UTF-16 converted to it).
    AElement* Value(ANodeContainer& parent, std::string_view name, std::string_view utf8);
    AElement* Value(ANodeContainer& parent, std::string_view name, std::u16string_view text);
    // Optional texts such as comments are left out when empty.
    void OptionalText(ANodeContainer& parent, std::string_view name, std::u16string_view text);
    // A flag is an empty element, present only when set.
    void Flag(ANodeContainer& parent, std::string_view name, bool set);

private:
    UtilityClasses::XML::Implementation::ANodeArena* arena_;
};

}  // namespace ExportImport::Private
