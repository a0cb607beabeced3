// Messages of fendral-cli: texts of the string table filled in by FormatText and
// printed as UTF-8 with Unix line ends.
#pragma once

#include "CliContext.h"

#include "core/FormatText.h"
#include "core/Result.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace Cli {

// String-table ids of the messages the file commands show.
namespace MessageId {
constexpr int kFileNotFound = 489;
constexpr int kUnreadableFile = 498;
constexpr int kOpenedWithErrors = 499;
constexpr int kSaveFailed = 641;
constexpr int kNewerVersion = 695;
}  // namespace MessageId

// UTF-8 for the terminal: CR LF and lone CR become LF.
std::string TerminalText(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// Prints the string-table message `id` with its placeholders filled, then a line end.
void PrintMessage(const ACliContext& context, std::ostream& to, int id,
                  std::initializer_list<UtilityClasses::Strings::FormatArg> args = {});

// What a failed or warned open means for the user: the exit code and the message.
struct AOpenVerdict {
    AExitCode exitCode;
    int messageId;  // 0: nothing to show
};
AOpenVerdict JudgeOpenResult(HRESULT result);

}  // namespace Cli
