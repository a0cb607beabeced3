#include "exchange/import/ImportSources.h"

#include "exchange/workbook/AExcel.h"
#include "exchange/modules/ImportFromXML.h"
#include "exchange/statements/StatementModules.h"

namespace ExportImport {

std::unique_ptr<Private::AImportSource> CreateImportSource(AModuleSession& session, const std::string& programFolder)
{
    auto source = std::make_unique<Private::AImportSource>(session);
    source->AddBuiltIn(new FileTypeXML::AImportFromXML);
    source->AddBuiltIn(new FileTypeExcel::AImportFromXLS);
    Statements::AddStatementModules(*source);
    if (!programFolder.empty())
        source->LoadPlugins(programFolder);
    return source;
}

}  // namespace ExportImport
