// Opening and saving data files the way every command does it: progress on a terminal,
// and the string table's message when the result calls for one.
#pragma once

#include "CliContext.h"

#include "database/DataFileSession.h"

#include <string>

namespace Cli {

struct AOpenOutcome {
    AExitCode exitCode;  // kDone, or kDoneWithMessages for a file opened with errors, or a failure
    bool open;           // the database holds the file and may be used
};

// The exit code a file operation's outcome gives.
AExitCode ExitCodeOf(Database::AFileOutcome outcome);

// Opens `path` (as the user typed it) into the empty `db`.
AOpenOutcome OpenDataFile(const ACliContext& context, Database::ADatabase& db, const std::string& path);
// The same for a command that will save the file in place: a file that opens read-only
// (a previous-generation file, or one another program holds) is refused with message 504
// before the command does anything.
AOpenOutcome OpenDataFileToChange(const ACliContext& context, Database::ADatabase& db, const std::string& path);

// Writes `db` as a new data file at `path`; on failure prints message 641 with the code.
bool SaveDataFileAs(const ACliContext& context, Database::ADatabase& db, const std::string& path);
// Saves in place, a backup copy first when one is due; a failed copy does not stop the
// save. False when the file could not be saved (it is then as it was).
bool SaveDataFileInPlace(const ACliContext& context, Database::ADatabase& db);

}  // namespace Cli
