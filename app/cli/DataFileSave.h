// Saving a changed data file in place the way the program does: a backup copy first
// when the settings ask for one and it is due, then the save.
#pragma once

#include "CliContext.h"

#include "database/Database.h"

namespace Cli {

// Messages of a failed copy or save go to standard error; a failed copy does not stop
// the save. False when the file could not be saved (it is then as it was).
bool SaveDataFileInPlace(const ACliContext& context, Database::ADatabase& db);

}  // namespace Cli
