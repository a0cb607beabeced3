#include "exchange/export/ExportValues.h"

#include "exchange/xml/xmlBuild.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>

namespace ExportImport::Private {

namespace XML = UtilityClasses::XML;

std::string DateText(ADate date)
{
    const Dates::AYmd ymd = Dates::ToYmd(date);
    char text[32];
    std::snprintf(text, sizeof text, "%4.4d-%2.2d-%2.2d", ymd.year, ymd.month, ymd.day);
    return text;
}

std::string TimestampText(ADate date, std::int32_t milliseconds)
{
    // A damaged record may hold any number; the text keeps to one day.
    milliseconds = std::clamp(milliseconds, 0, 86399999);
    const Dates::AYmd ymd = Dates::ToYmd(date);
    char text[48];
    std::snprintf(text, sizeof text, "%4.4d-%2.2d-%2.2dT%2.2d:%2.2d:%2.2d:%3.3d", ymd.year, ymd.month, ymd.day,
                  milliseconds / 3600000, milliseconds / 60000 % 60, milliseconds / 1000 % 60, milliseconds % 1000);
    return text;
}

std::string AmountText(AMoney amount)
{
    // The magnitude in unsigned arithmetic: the smallest 64-bit value has no positive twin.
    const std::uint64_t magnitude =
        amount < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    char text[32];
    std::snprintf(text, sizeof text, "%s%llu.%4.4u", amount < 0 ? "-" : "",
                  static_cast<unsigned long long>(magnitude / 10000), static_cast<unsigned>(magnitude % 10000));
    return text;
}

std::string IntegerText(std::uint64_t value)
{
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

ANodeMaker::ANodeMaker() : arena_(XML::Implementation::ANodeArena::Create()) {}

// Nodes hold their own references on the arena: the document outlives the maker.
ANodeMaker::~ANodeMaker()
{
    arena_->Release();
}

AElement* ANodeMaker::Element(ANodeContainer& parent, std::string_view name)
{
    return static_cast<AElement*>(parent.Append(std::unique_ptr<XML::ANode>(new (*arena_) AElement(std::string(name)))));
}

AElement* ANodeMaker::Value(ANodeContainer& parent, std::string_view name, std::string_view utf8)
{
    AElement* element = Element(parent, name);
    if (!utf8.empty())
        element->Append(std::unique_ptr<XML::ANode>(new (*arena_) XML::AText(std::string(utf8))));
    return element;
}

AElement* ANodeMaker::Value(ANodeContainer& parent, std::string_view name, std::u16string_view text)
{
    return Value(parent, name, std::string_view(XML::Utf16ToUtf8(text)));
}

void ANodeMaker::OptionalText(ANodeContainer& parent, std::string_view name, std::u16string_view text)
{
    if (!text.empty())
        Value(parent, name, text);
}

void ANodeMaker::Flag(ANodeContainer& parent, std::string_view name, bool set)
{
    if (set)
        Element(parent, name);
}

}  // namespace ExportImport::Private
