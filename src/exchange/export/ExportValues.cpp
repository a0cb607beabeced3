#include "exchange/export/ExportValues.h"

#include "exchange/xml/xmlBuild.h"

#include <algorithm>
#include <charconv>
#include <memory>

namespace ExportImport::Private {

namespace XML = UtilityClasses::XML;

namespace {

// Appends the number as "%N.Nd" prints it: at least `digits` digits, a minus sign before
// them. Written out by hand because the export formats several numbers per transaction,
// and printf's parsing of its format was a twentieth of the whole export.
void AppendPadded(std::string& out, std::int64_t value, std::ptrdiff_t digits)
{
    if (value < 0)
        out += '-';
    const std::uint64_t magnitude =
        value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char text[24];
    char* end = std::to_chars(text, text + sizeof text, magnitude).ptr;
    out.append(static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, digits - (end - text))), '0');
    out.append(text, static_cast<std::size_t>(end - text));
}

void AppendDate(std::string& out, const Dates::AYmd& ymd)
{
    AppendPadded(out, ymd.year, 4);
    out += '-';
    AppendPadded(out, ymd.month, 2);
    out += '-';
    AppendPadded(out, ymd.day, 2);
}

}  // namespace

std::string DateText(ADate date)
{
    std::string text;
    text.reserve(10);
    AppendDate(text, Dates::ToYmd(date));
    return text;
}

std::string TimestampText(ADate date, std::int32_t milliseconds)
{
    // A damaged record may hold any number; the text keeps to one day.
    milliseconds = std::clamp(milliseconds, 0, 86399999);
    std::string text;
    text.reserve(23);
    AppendDate(text, Dates::ToYmd(date));
    text += 'T';
    AppendPadded(text, milliseconds / 3600000, 2);
    text += ':';
    AppendPadded(text, milliseconds / 60000 % 60, 2);
    text += ':';
    AppendPadded(text, milliseconds / 1000 % 60, 2);
    text += ':';
    AppendPadded(text, milliseconds % 1000, 3);
    return text;
}

std::string AmountText(AMoney amount)
{
    // The magnitude in unsigned arithmetic: the smallest 64-bit value has no positive twin.
    const std::uint64_t magnitude =
        amount < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    std::string text = amount < 0 ? "-" : "";
    AppendPadded(text, static_cast<std::int64_t>(magnitude / 10000), 1);
    text += '.';
    AppendPadded(text, static_cast<std::int64_t>(magnitude % 10000), 4);
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
