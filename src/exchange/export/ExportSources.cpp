#include "exchange/export/ExportSources.h"

#include "exchange/workbook/AExcel.h"
#include "exchange/modules/XmlExportModule.h"

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
