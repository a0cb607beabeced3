// The built-in export module that stores the interchange document as an XML file.
#pragma once
#include "exchange/modules/FileModule.h"

namespace ExportImport::FileTypeXML {

// {6F1C2B7E-3D4A-4E59-9B21-7A0C5D8E4F10}
constexpr AModuleGuid kExportToXmlId = {0x6F1C2B7E, 0x3D4A, 0x4E59, {0x9B, 0x21, 0x7A, 0x0C, 0x5D, 0x8E, 0x4F, 0x10}};

class AExportToXML final : public Private::AFileExportModule {
public:
    AExportToXML();
};

}  // namespace ExportImport::FileTypeXML
