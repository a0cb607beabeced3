#include "analysis/ReportMessage.h"

#include "core/FormatText.h"

namespace UserInterface {

std::u16string AReportMessage::Format(const UtilityClasses::Strings::AStrings& strings) const
{
    using UtilityClasses::Strings::FormatArg;
    std::vector<FormatArg> args;
    args.reserve(texts.size());
    for (const std::u16string& text : texts)
        args.emplace_back(std::u16string_view(text));
    std::array<char16_t, UtilityClasses::Strings::kFormatCapacity> out{};
    const std::size_t length = UtilityClasses::Strings::FormatText(out, strings.Locale(), strings.Text(id), args);
    return std::u16string(out.data(), length);
}

}  // namespace UserInterface
