#include "exchange/ExportSources.h"

#include "exchange/AExcel.h"
#include "exchange/XmlExportModule.h"

namespace ExportImport {

std::unique_ptr<Private::AExportSource> CreateExportSource(AModuleSession& session, const std::string& programFolder)
{
    auto source = std::make_unique<Private::AExportSource>(session);
    source->AddBuiltIn(new FileTypeXML::AExportToXML);
    source->AddBuiltIn(new FileTypeExcel::AExportToXLS);
    if (!programFolder.empty())
        source->LoadPlugins(programFolder);
    return source;
}

}  // namespace ExportImport
