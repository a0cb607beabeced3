#include "exchange/modules/XmlExportModule.h"

namespace ExportImport::FileTypeXML {

AExportToXML::AExportToXML()
    : AFileExportModule({kExportToXmlId, u"Файл XML", u"xmlExportFileName", u"xml"})
{
}

}  // namespace ExportImport::FileTypeXML
