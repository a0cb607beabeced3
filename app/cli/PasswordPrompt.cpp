#include "PasswordPrompt.h"

#include "CliMessages.h"

#include "database/Password.h"

#include <string>
#include <termios.h>
#include <unistd.h>

namespace Cli {

namespace {

constexpr int kFileIsProtected = Database::kFileIsProtectedMessage;
constexpr int kEnterPassword = Database::kEnterPasswordLabel;
constexpr int kWrongPassword = Database::kPasswordMismatchMessage;

// Shows the prompt and reads one line from the terminal with echo off (turned off
// before the prompt shows, so nothing typed after it is echoed); false at the end of input.
bool ReadHiddenLine(const ACliContext& context, std::u16string_view prompt, std::string& line)
{
    termios saved{};
    const bool canHide = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (canHide) {
        termios hidden = saved;
        hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &hidden);
    }
    context.err << TerminalText(prompt) << ' ' << std::flush;
    const bool read = static_cast<bool>(std::getline(context.in, line));
    if (canHide)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    context.err << '\n';
    return read;
}

}  // namespace

Database::APasswordPrompt MakePasswordPrompt(const ACliContext& context)
{
    return [&context](const std::string& fileName, const std::function<bool(const std::u16string&)>& accept) {
        if (context.password) {
            if (accept(FromUtf8(*context.password)))
                return true;
            // Asking again would only get the same variable: give up.
            PrintMessage(context, context.err, kWrongPassword);
            return false;
        }
        if (!context.inIsTerminal)
            return false;
        if (context.errIsTerminal)
            context.err << '\n';  // off the progress bar's line
        PrintMessage(context, context.err, kFileIsProtected, {FromUtf8(fileName)});
        for (;;) {
            std::string typed;
            if (!ReadHiddenLine(context, context.strings.Text(kEnterPassword), typed))
                return false;
            if (accept(FromUtf8(typed)))
                return true;
            PrintMessage(context, context.err, kWrongPassword);
        }
    };
}

std::optional<ANewPassword> ReadNewPassword(const ACliContext& context)
{
    if (context.newPassword) {
        const std::u16string password = FromUtf8(*context.newPassword);
        return ANewPassword{password, password};
    }
    if (!context.inIsTerminal)
        return std::nullopt;
    std::string password, repeated;
    if (!ReadHiddenLine(context, u"New password:", password) ||
        !ReadHiddenLine(context, u"Repeat the new password:", repeated))
        return std::nullopt;
    return ANewPassword{FromUtf8(password), FromUtf8(repeated)};
}

}  // namespace Cli
