// Turning the content of a previous-generation file into records.
#pragma once

#include "database/Database.h"
#include "database/PreviousGenerationFile.h"

namespace Database::PreviousGeneration {

// Adds the file's currencies, rates, accounts, classifiers, transactions and the
// default pages to a database that holds only the defaults of a converted file,
// as one step that is then forgotten (nothing to undo), and gives every table
// identifiers 1, 3, 5, ... in the order of the old records' offsets.
void ConvertInto(ADatabase& db, const AOldData& data);

}  // namespace Database::PreviousGeneration
