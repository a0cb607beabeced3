#include "TerminalProgress.h"

#include "CliMessages.h"

#include <algorithm>
#include <cstdio>

namespace Cli {

namespace {
constexpr int kBarWidth = 40;
}

ATerminalProgress::ATerminalProgress(const ACliContext& context, Database::Engine::AProgress& progress,
                                     std::u16string_view title)
    : context_(context), progress_(progress), shown_(context.errIsTerminal)
{
    if (!shown_)
        return;
    context_.err << TerminalText(title) << '\n';
    progress_.Attach([this](int percent) { context_.err << '\r' << Bar(percent) << std::flush; });
}

ATerminalProgress::~ATerminalProgress()
{
    if (!shown_)
        return;
    progress_.Attach(nullptr);
    context_.err << '\n' << std::flush;
}

std::string ATerminalProgress::Bar(int percent)
{
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * kBarWidth / 100;
    char number[8];
    std::snprintf(number, sizeof number, "%4d%%", percent);
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "]" + number;
}

}  // namespace Cli
