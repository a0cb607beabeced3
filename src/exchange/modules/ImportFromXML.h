// The built-in import module that reads the interchange document from an XML file.
#pragma once
#include "exchange/modules/FileModule.h"

namespace ExportImport::FileTypeXML {

// {3B8E5D21-9C47-4F0A-8E6B-2D1F7A4C9E53}
constexpr AModuleGuid kImportFromXmlId = {0x3B8E5D21, 0x9C47, 0x4F0A, {0x8E, 0x6B, 0x2D, 0x1F, 0x7A, 0x4C, 0x9E, 0x53}};

class AImportFromXML final : public Private::AFileImportModule {
public:
    AImportFromXML();
};

}  // namespace ExportImport::FileTypeXML
