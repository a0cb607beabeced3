// Reading a workbook package: its sheets by name, the shared-string table, and a
// worksheet's cells as text by row and column.
#pragma once
#include "exchange/xml/xmlForward.h"
#include "exchange/workbook/XlsZip.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

    // The same without holding the sheet: each row goes to `take` as soon as it is read.
    // False when the sheet has to be read whole with ReadSheet instead (rows out of order,
    // text the stream cannot follow, a damaged part); what `take` got is then void, and so
    // are the problems added.
    // With a notifier, the share of the part read so far is reported.
    bool StreamSheet(const ASheetEntry& sheet, std::vector<ASheetProblem>& problems,
                     const std::function<void(const ASheetRow&)>& take,
                     UtilityClasses::XML::AUserProgressNotifier* progress = nullptr);
    // The inflated size the package declares for the sheet's part (0 when missing); ends
    // the streaming of a sheet.
    std::uint64_t DeclaredSize(const ASheetEntry& sheet) { return zip_->DeclaredSize(sheet.part).value_or(0); }

private:
    explicit AWorkbookReader(std::unique_ptr<AZipReader> zip) : zip_(std::move(zip)) {}
    bool ReadWorkbook();
    void ReadSharedStrings(const std::string& part);
    std::string CellText(const UtilityClasses::XML::AElement& cell) const;
    // A `row` element's cells in column order; false when its number is not usable. Rows
    // or cells out of order set `outOfOrder`.
    bool ReadRow(const UtilityClasses::XML::AElement& element, std::int64_t lastRow, const std::string& sheetName,
                 std::vector<ASheetProblem>& problems, bool& outOfOrder, ASheetRow& row) const;
    // A problem that makes the whole sheet unreadable, for a part that cannot be opened.
    static ASheetProblem PartProblem(const ASheetEntry& sheet, AZipReadError error);

    std::unique_ptr<AZipReader> zip_;
    std::vector<ASheetEntry> sheets_;
    std::vector<std::string> sharedStrings_;
};

}  // namespace ExportImport::FileTypeExcel
