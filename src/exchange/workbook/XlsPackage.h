// The parts of a workbook package other than the worksheets, and the worksheets of an
// interchange document.
#pragma once
#include "exchange/xml/xmlForward.h"

#include <string>
#include <vector>

namespace ExportImport::FileTypeExcel {

class AInterchangeSections;

// The worksheets of an interchange document: one per section that has items, in sheet
// order, with the number of items of each.
struct AWorksheet {
    std::string name;
    std::size_t items = 0;
};
std::vector<AWorksheet> Worksheets(const AInterchangeSections& document);
// The part of one of those sheets; with a notifier, the share of its items written so far.
std::string WorksheetPart(const AInterchangeSections& document, const AWorksheet& sheet,
                          UtilityClasses::XML::AUserProgressNotifier* progress = nullptr);

std::string ContentTypesPart(std::size_t sheetCount);
std::string PackageRelationshipsPart();
std::string StylesPart();
// The shared-string table is empty (cells carry their text inline) but present, because
// the content types name it and spreadsheet programs refuse a package without it.
std::string SharedStringsPart();
std::string WorkbookPart(const std::vector<AWorksheet>& sheets);
std::string WorkbookRelationshipsPart(std::size_t sheetCount);

}  // namespace ExportImport::FileTypeExcel
