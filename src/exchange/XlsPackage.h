// The parts of a workbook package other than the worksheets, and the worksheets of an
// interchange document.
#pragma once
#include <string>
#include <vector>

namespace UtilityClasses::XML {
class AElement;
}

namespace ExportImport::FileTypeExcel {

struct AWorksheetPart {
    std::string name;  // the sheet name
    std::string part;  // the worksheet XML
};

// One worksheet per section of the document (under the root `fendral`) that has items,
// in sheet order.
std::vector<AWorksheetPart> WriteWorksheets(const UtilityClasses::XML::AElement& root);

std::string ContentTypesPart(std::size_t sheetCount);
std::string PackageRelationshipsPart();
std::string StylesPart();
// The shared-string table is empty (cells carry their text inline) but present, because
// the content types name it and spreadsheet programs refuse a package without it.
std::string SharedStringsPart();
std::string WorkbookPart(const std::vector<AWorksheetPart>& sheets);
std::string WorkbookRelationshipsPart(std::size_t sheetCount);

}  // namespace ExportImport::FileTypeExcel
