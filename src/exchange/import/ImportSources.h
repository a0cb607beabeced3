// The import modules a wizard offers, in the order it lists them.
#pragma once
#include "exchange/modules/ModuleSource.h"

#include <memory>
#include <string>

namespace ExportImport {

// The built-in modules first, then those of the plug-ins in the program's folder.
std::unique_ptr<Private::AImportSource> CreateImportSource(AModuleSession& session, const std::string& programFolder);

}  // namespace ExportImport
