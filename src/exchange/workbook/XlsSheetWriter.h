// What every worksheet writer shares: the rows and the cells in the forms a workbook
// keeps them (inline text, flags, amounts, date serials).
#pragma once
#include "exchange/workbook/AExcel.h"
#include "exchange/xml/xmlProgress.h"

#include <string>
#include <string_view>
#include <vector>

namespace ExportImport::FileTypeExcel {

class AInterchangeSections;

class AExportToXLS::ASheetBase {
public:
    virtual ~ASheetBase() = default;

    // The worksheet part: head, column widths, the header row and the rows. With a
    // notifier, the share of the expected rows written so far is reported.
    std::string Part(const AInterchangeSections& document,
                     UtilityClasses::XML::AUserProgressNotifier* progress = nullptr, std::size_t expectedRows = 0);

protected:
    struct AWidth {
        int first;
        int last;
        int width;
    };
    ASheetBase(std::vector<std::string> header, std::vector<AWidth> widths);

    // Appends the rows after the header.
    virtual void WriteRows(const AInterchangeSections& document) = 0;
    // A sheet whose header depends on the document extends it, before the rows or while
    // writing them: the header row gets the columns added meanwhile when the rows end.
    void AddHeader(std::string text) { header_.push_back(std::move(text)); }
    int HeaderSize() const { return static_cast<int>(header_.size()); }
    virtual void Prepare(const AInterchangeSections&) {}

    void NewRow();
    void Text(int column, std::string_view text);
    void TextFormat(int column, std::string_view text);
    void Flag(int column, bool set);
    void Amount(int column, std::string_view amount);
    void Number(int column, std::string_view number);
    void Date(int column, std::string_view date);
    void Timestamp(int column, std::string_view timestamp);

private:
    void Cell(int column, std::string_view attributes, std::string_view value, bool escape);
    void CloseRow();
    // Header cells from column `first` on, after the ones already written.
    void HeaderCells(std::size_t first);

    std::vector<std::string> header_;
    std::vector<AWidth> widths_;
    std::string rows_;
    std::int64_t row_ = 0;
    bool rowOpen_ = false;
    UtilityClasses::XML::AUserProgressNotifier* progress_ = nullptr;
    std::size_t expectedRows_ = 0;
    unsigned reported_ = 0;
};

// The text of a child element, empty when there is none.
std::string ChildText(const UtilityClasses::XML::AElement& parent, std::string_view name);
bool HasChild(const UtilityClasses::XML::AElement& parent, std::string_view name);
// The value of an attribute, empty when there is none.
std::string AttributeText(const UtilityClasses::XML::AElement& element, std::string_view name);

}  // namespace ExportImport::FileTypeExcel
