#include "CliMessages.h"

#include "core/CodePage.h"

namespace Cli {

namespace {
constexpr HRESULT kPathNotFound = Result::Code(0x80070003);
}

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
    to << TerminalText(context.strings.Format(id, args)) << '\n';
}

AOpenVerdict JudgeOpenResult(HRESULT result)
{
    switch (result) {
    case Result::kOk: return {kDone, 0};
    case Result::kOpenedWithErrors: return {kDoneWithMessages, MessageId::kOpenedWithErrors};
    case Result::kPasswordCancelled: return {kPasswordMissing, 0};
    case Result::kNewerVersion: return {kNewerVersion, MessageId::kNewerVersion};
    case Result::kFileNotFound:
    case kPathNotFound: return {kFileNotFound, MessageId::kFileNotFound};
    default: break;
    }
    // Any other success code still means the file is open.
    return Result::Succeeded(result) ? AOpenVerdict{kDone, 0} : AOpenVerdict{kFailed, MessageId::kUnreadableFile};
}

}  // namespace Cli
