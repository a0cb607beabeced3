// The export/import module interface as the program sees it: the public plug-in header
// over the program's own stream declaration, and the identifiers in both forms.
#pragma once
#include "core/Guid.h"
#include "core/Streams.h"

#define FENDRAL_HOST_STREAMS 1
#include "fendral/eximport.h"

namespace ExportImport {

using UtilityClasses::Streams::IStream;

// The platform's GUID layout and the stored byte order of AGuid are the same bytes.
AGuid ToGuid(const AModuleGuid& id);
AModuleGuid ToModuleGuid(const AGuid& guid);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as the interchange document names its module.
std::string ModuleIdText(const AModuleGuid& id);

}  // namespace ExportImport
