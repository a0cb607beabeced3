// Reading a workbook package: its sheets by name, the shared-string table, and a
// worksheet's cells as text by row and column.
#pragma once
#include "exchange/XlsZip.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace UtilityClasses::XML {
class AElement;
}

namespace ExportImport::FileTypeExcel {

struct ASheetCell {
    int column = 0;  // from 1
    std::string text;
};

struct ASheetRow {
    std::int64_t number = 0;  // from 1
    std::vector<ASheetCell> cells;  // by column, each column once

    // The text of the column, empty when the row has no such cell.
    const std::string& Text(int column) const;
};

struct ASheetEntry {
    std::string name;
    std::string part;  // the worksheet's entry in the package
};

enum class AWorkbookError { None, CannotOpen, NoWorkbook };

// What went wrong with one worksheet, in the module's language (UTF-8).
struct ASheetProblem {
    bool fatal = false;  // the sheet could not be read at all
    std::string text;
};

class AWorkbookReader {
public:
    static std::unique_ptr<AWorkbookReader> Open(const std::string& path, AWorkbookError& error,
                                                 std::uint64_t partLimit = AZipReader::kDefaultPartLimit);

    const std::vector<ASheetEntry>& Sheets() const { return sheets_; }
    const ASheetEntry* Find(std::string_view name) const;

    // The rows of the sheet in row order, each row's cells in column order. Cells that
    // come out of order are put in place; a cell whose reference is not a cell of a
    // sheet is left out. Each of these, and a sheet that cannot be read, adds a problem.
    std::vector<ASheetRow> ReadSheet(const ASheetEntry& sheet, std::vector<ASheetProblem>& problems);


private:
    explicit AWorkbookReader(std::unique_ptr<AZipReader> zip) : zip_(std::move(zip)) {}
    bool ReadWorkbook();
    void ReadSharedStrings(const std::string& part);
    std::string CellText(const UtilityClasses::XML::AElement& cell) const;

    std::unique_ptr<AZipReader> zip_;
    std::vector<ASheetEntry> sheets_;
    std::vector<std::string> sharedStrings_;
};

}  // namespace ExportImport::FileTypeExcel
