// The export: the selected part of the open data file as an interchange document,
// written into the stream of the chosen export module.
#pragma once
#include "exchange/modules/ExchangeProgress.h"
#include "exchange/export/ExportSelection.h"
#include "exchange/xml/xmlNodes.h"

#include "core/AStrings.h"

#include <memory>

namespace ExportImport {

struct AExportEnvironment {
    // The captions of the sections; none: no captions.
    const UtilityClasses::Strings::AStrings* strings = nullptr;
    // The local time written as the export date.
    AClock clock = SystemLocalTime;
    // Three weighted steps: building, writing, and what the module does in End.
    AExchangeProgress* progress = nullptr;
};

// Writes the document into the stream as it is made, record by record (the first two
// progress steps), leaving the progress on its third step for the module's End. The
// first write failure, if any.
HRESULT ExportDocument(ADatabase& db, const AExportSelection& selection, const AExportEnvironment& environment,
                       IStream* stream);

}  // namespace ExportImport
