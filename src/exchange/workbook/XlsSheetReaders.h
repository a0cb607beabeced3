// Turning worksheet rows back into the sections of an interchange document: one reader
// per sheet, and what the classifier sheets collect for the sheets after them.
#pragma once
#include "exchange/workbook/AExcel.h"
#include "exchange/workbook/XlsWorkbook.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ExportImport::FileTypeExcel {

// The messages of the readers, in UTF-8.
using AReportError = std::function<void(const std::string&)>;

// The root categories named on the "Classifiers" sheet, by their unique names, so that
// the category rows and the transactions can find their classifier and tree.
struct AClassifierCollection {
    struct ATree {
        std::string classifier;                 // singular name
        UtilityClasses::XML::AElement* root;    // the tree's root `category`
    };
    std::map<std::string, ATree> roots;
};

class AImportFromXLS::ASheetBase {
public:
    ASheetBase(std::string sheetName, const AReportError& report) : sheet_(std::move(sheetName)), report_(report) {}
    virtual ~ASheetBase() = default;

    // Reads the header row and appends what the other rows hold under the root; false
    // when the header lacks a column the sheet needs (the error is reported).
    bool Convert(const std::vector<ASheetRow>& rows, UtilityClasses::XML::AElement& root);
    // The same a row at a time: the header row first, then the others in row order (only
    // when the header was usable).
    bool Header(const ASheetRow& header, UtilityClasses::XML::AElement& root);
    void Row(const ASheetRow& row);
    // The section whose items no later sheet changes, so that they may be written out
    // and dropped as they come; none for a sheet whose items change later.
    virtual UtilityClasses::XML::AElement* FinishedItems() { return nullptr; }

protected:
    // Columns without which the sheet is not read, and the columns it reads.
    virtual std::vector<std::string> RequiredColumns() const = 0;
    virtual void ConvertRow(const ASheetRow& row) = 0;
    virtual void Begin(UtilityClasses::XML::AElement& root) = 0;

    // The column of a header text, 0 when missing.
    int Column(const std::string& header) const;
    const std::map<std::string, int>& Headers() const { return columns_; }
    std::string CellReference(int column, std::int64_t row) const;
    const std::string& Sheet() const { return sheet_; }
    void Report(const std::string& text) const { report_(text); }

    // A section element with its `ref`.
    UtilityClasses::XML::AElement& AddSection(UtilityClasses::XML::AElement& root, std::string_view name);
    // The value element for the column's cell with the cell's `ref`: only when the cell
    // holds a value unless `always`. The text is converted by `convert` when given.
    UtilityClasses::XML::AElement* AddValue(UtilityClasses::XML::AElement& parent, std::string_view name,
                                            const ASheetRow& row, const std::string& header, bool always = false,
                                            std::string (*convert)(std::string_view) = nullptr);
    // An empty flag element when the column's cell is not empty.
    void AddFlag(UtilityClasses::XML::AElement& parent, std::string_view name, const ASheetRow& row,
                 const std::string& header);

private:
    std::string sheet_;
    const AReportError& report_;
    std::map<std::string, int> columns_;
};

using ASheetReaderPtr = std::unique_ptr<AImportFromXLS::ASheetBase>;

// Every sheet the import reads, in reading order, with its reader.
struct ASheetReaderKind {
    const char* sheet;
    ASheetReaderPtr (*create)(const AReportError& report, AClassifierCollection& classifiers);
};
const std::vector<ASheetReaderKind>& SheetReaders();

ASheetReaderPtr MakeCurrenciesReader(const AReportError& report, AClassifierCollection&);
ASheetReaderPtr MakeRatesReader(const AReportError& report, AClassifierCollection&);
ASheetReaderPtr MakeAccountsReader(const AReportError& report, AClassifierCollection&);

}  // namespace ExportImport::FileTypeExcel
