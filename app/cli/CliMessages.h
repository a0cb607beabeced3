// Messages of fendral-cli: texts of the string table filled in by FormatText and
// printed as UTF-8 with Unix line ends.
#pragma once

#include "CliContext.h"

#include "core/FormatText.h"
#include "core/Result.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace Cli {

// UTF-8 for the terminal: CR LF and lone CR become LF.
std::string TerminalText(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// Prints the string-table message `id` with its placeholders filled, then a line end.
void PrintMessage(const ACliContext& context, std::ostream& to, int id,
                  std::initializer_list<UtilityClasses::Strings::FormatArg> args = {});
void PrintMessage(const ACliContext& context, std::ostream& to, int id,
                  std::span<const UtilityClasses::Strings::FormatArg> args);

}  // namespace Cli
