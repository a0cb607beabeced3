// The backup copy made before a data file is saved in place, under the GUI program's
// settings (its INI file beside it, or the user's store).
#pragma once

#include "core/MessageRef.h"

#include <optional>
#include <string>

namespace Cli {

// Makes the copy of `path` when one is due; the message of a failed copy, if any.
std::optional<AMessageRef> BackupBeforeSave(const std::string& path);

}  // namespace Cli
