#include "CliMessages.h"

#include "core/CodePage.h"

namespace Cli {

std::string TerminalText(std::u16string_view text)
{
    std::u16string unix;
    unix.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                continue;
            unix += u'\n';
        } else {
            unix += text[i];
        }
    }
    return UtilityClasses::Strings::Utf16ToUtf8(unix);
}

std::u16string FromUtf8(std::string_view text) { return UtilityClasses::Strings::Utf8ToUtf16(text); }

void PrintMessage(const ACliContext& context, std::ostream& to, int id,
                  std::initializer_list<UtilityClasses::Strings::FormatArg> args)
{
    PrintMessage(context, to, id, std::span<const UtilityClasses::Strings::FormatArg>(args.begin(), args.size()));
}

void PrintMessage(const ACliContext& context, std::ostream& to, int id,
                  std::span<const UtilityClasses::Strings::FormatArg> args)
{
    to << TerminalText(UtilityClasses::Strings::FormatText(context.strings.Locale(), context.strings.Text(id), args))
       << '\n';
}

}  // namespace Cli
