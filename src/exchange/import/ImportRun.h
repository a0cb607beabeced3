// One import through an import module, in the order modules expect: SetFileName,
// OpenStream, Begin, the whole stream read, End; then, once the user has seen the
// messages, the save phase.
#pragma once
#include "exchange/modules/ModuleInterface.h"
#include "exchange/modules/ModuleSession.h"
#include "exchange/import/SaveBatch.h"

#include <memory>
#include <string>

namespace ExportImport {

// The read phase. The session's messages are cleared first; the module's own messages
// and those of the document end up there in the order they arose, and a failing module
// adds an error. `batch` is made anew. True when the document was read (there
// may still be messages); false when the module failed or the document could not be
// read or held nothing.
bool ReadDocument(AImportInterface& module, Database::ADatabase& db, const std::u16string& fileName,
                  AModuleSession& session, std::unique_ptr<AImportBatch>& batch);

// The save phase; on success the module is remembered as the last import module.
HRESULT SaveImport(AImportInterface& module, Database::ADatabase& db, AModuleSession& session, AImportBatch& batch);

}  // namespace ExportImport
