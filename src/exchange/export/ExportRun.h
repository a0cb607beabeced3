// One export through an export module, in the order modules expect: SetFileName,
// OpenStream, Begin, the document, End.
#pragma once
#include "exchange/export/ExportDocument.h"
#include "exchange/modules/ModuleSession.h"

#include <string>

namespace ExportImport {

// The wizard's (or the command's) choices for one export.
struct AExportRun {
    AExportSelection selection;  // its module identifier is taken from the module
    std::u16string fileName;     // passed when the module uses a file and one was chosen
    AClock clock = SystemLocalTime;
};

// The session's messages are cleared first; a failure of the module or of writing adds
// an error. On success the module is remembered as the last export module. The result is
// the first failure, or success (possibly with messages from the module).
HRESULT RunExport(AExportInterface& module, ADatabase& db, const AExportRun& run, AModuleSession& session);

// The error for a failing code: string 769 with the file and the system's text, or the
// fixed text for a failure the system can't describe.
std::u16string ExportFailureMessage(const UtilityClasses::Strings::AStrings& strings, const std::u16string& fileName,
                                    HRESULT code);

}  // namespace ExportImport
