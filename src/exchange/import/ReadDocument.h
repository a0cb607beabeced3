// The read phase of an import: an interchange document is parsed, every item of its
// five sections is checked, and the accepted ones are collected in the import batch
// while errors and warnings go to the message list. The data file is only read (for
// the conflict warnings); the save phase writes the batch into it.
#pragma once

#include "core/AStrings.h"
#include "core/Streams.h"
#include "exchange/modules/ExchangeProgress.h"
#include "exchange/import/ImportBatch.h"
#include "exchange/import/ImportMessages.h"

#include <string_view>

namespace UtilityClasses::XML {
class ADocument;
}

namespace ExportImport {

struct AImportEnvironment {
    const UtilityClasses::Strings::AStrings& strings;
    Database::ADatabase& dataFile;  // the open data file the batch will be saved into
    // The read phase loads two steps (reading the text, then the items); the save phase one.
    AExchangeProgress* progress = nullptr;
};

// Reads the whole stream, from its start. False when the text could not be parsed, or
// held nothing to import; one error in the messages then says which.
bool ReadInterchange(const AImportEnvironment& environment, UtilityClasses::Streams::IStream& stream,
                     AImportBatch& batch, AImportMessages& messages);

// The same over a parsed document; the progress of the items goes to the current step.
bool ReadInterchangeDocument(const AImportEnvironment& environment, const UtilityClasses::XML::ADocument& document,
                             AImportBatch& batch, AImportMessages& messages);

}  // namespace ExportImport
