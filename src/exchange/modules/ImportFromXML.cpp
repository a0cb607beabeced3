#include "exchange/modules/ImportFromXML.h"

namespace ExportImport::FileTypeXML {

AImportFromXML::AImportFromXML()
    : AFileImportModule({kImportFromXmlId, u"Файл XML", u"xmlImportFileName", u"xml"})
{
}

}  // namespace ExportImport::FileTypeXML
