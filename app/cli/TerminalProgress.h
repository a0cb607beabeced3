// A progress bar on standard error, fed by the engine's progress notifications
// while a data file is read or written. Silent when standard error is no terminal.
#pragma once

#include "CliContext.h"

#include "database/engine/Notify.h"

#include <string>

namespace Cli {

class ATerminalProgress {
public:
    // `title` is printed once above the bar.
    ATerminalProgress(const ACliContext& context, Database::Engine::AProgress& progress, std::u16string_view title);
    ~ATerminalProgress();
    ATerminalProgress(const ATerminalProgress&) = delete;
    ATerminalProgress& operator=(const ATerminalProgress&) = delete;

    // The bar as drawn for a percentage: "[#####-----]  50%".
    static std::string Bar(int percent);

private:
    const ACliContext& context_;
    Database::Engine::AProgress& progress_;
    bool shown_ = false;
};

}  // namespace Cli
