#include "exchange/ExportValues.h"

#include "exchange/xmlBuild.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

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

AElement* AddValue(ANodeContainer& parent, std::string_view name, std::string_view utf8)
{
    AElement* element = XML::AddElement(parent, name);
    if (!utf8.empty())
        XML::AddText(*element, utf8);
    return element;
}

AElement* AddValue(ANodeContainer& parent, std::string_view name, std::u16string_view text)
{
    return AddValue(parent, name, std::string_view(XML::Utf16ToUtf8(text)));
}

void AddOptionalText(ANodeContainer& parent, std::string_view name, std::u16string_view text)
{
    if (!text.empty())
        AddValue(parent, name, text);
}

void AddFlag(ANodeContainer& parent, std::string_view name, bool set)
{
    if (set)
        XML::AddElement(parent, name);
}

}  // namespace ExportImport::Private
