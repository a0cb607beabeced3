#include "exchange/workbook/XlsSheetWriter.h"

#include "exchange/import/ImportValues.h"
#include "exchange/workbook/XlsCells.h"
#include "exchange/xml/xmlEscape.h"
#include "exchange/xml/xmlNodes.h"

#include <algorithm>

namespace ExportImport::FileTypeExcel {

using UtilityClasses::XML::AElement;

namespace {

constexpr std::string_view kWorksheetHead =
    "<?xml version='1.0' encoding='UTF-8' standalone='yes'?>"
    "<worksheet xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'"
    " xmlns:r='http://schemas.openxmlformats.org/officeDocument/2006/relationships'"
    " xmlns:mc='http://schemas.openxmlformats.org/markup-compatibility/2006' mc:Ignorable='x14ac'"
    " xmlns:x14ac='http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac'>";

}  // namespace

std::string ChildText(const AElement& parent, std::string_view name)
{
    const AElement* child = parent.FirstElement(name);
    return child ? child->Text() : std::string();
}

bool HasChild(const AElement& parent, std::string_view name) { return parent.FirstElement(name) != nullptr; }

std::string AttributeText(const AElement& element, std::string_view name)
{
    const std::string* value = element.FindAttribute(name);
    return value ? *value : std::string();
}

AExportToXLS::ASheetBase::ASheetBase(std::vector<std::string> header, std::vector<AWidth> widths)
    : header_(std::move(header)), widths_(std::move(widths))
{
}

std::string AExportToXLS::ASheetBase::Part(const AInterchangeSections& document,
                                           UtilityClasses::XML::AUserProgressNotifier* progress,
                                           std::size_t expectedRows)
{
    Prepare(document);
    progress_ = progress;
    expectedRows_ = expectedRows;
    reported_ = 0;
    // The rows go straight after the head: a large sheet is never copied.
    rows_.assign(kWorksheetHead);
    rows_ += "<cols>";
    for (const AWidth& width : widths_)
        rows_ += "<col min='" + std::to_string(width.first) + "' max='" + std::to_string(width.last) + "' width='" +
                 std::to_string(width.width) + "' bestFit='1' customWidth='1'/>";
    rows_ += "</cols><sheetData>";
    row_ = 0;
    NewRow();
    HeaderCells(0);
    const std::size_t headerEnd = rows_.size();
    const std::size_t headerWritten = header_.size();
    WriteRows(document);
    CloseRow();
    rows_ += "</sheetData></worksheet>";
    if (header_.size() > headerWritten) {
        // Columns the rows added: their header cells go where the header row ends.
        std::string rows = std::move(rows_);
        rows_.clear();
        row_ = 1;
        HeaderCells(headerWritten);
        rows.insert(headerEnd, rows_);
        rows_ = std::move(rows);
    }
    progress_ = nullptr;
    return std::move(rows_);
}

void AExportToXLS::ASheetBase::HeaderCells(std::size_t first)
{
    for (std::size_t i = first; i < header_.size(); ++i)
        Text(static_cast<int>(i) + 1, header_[i]);
}

void AExportToXLS::ASheetBase::NewRow()
{
    CloseRow();
    ++row_;
    rows_ += "<row r='";
    rows_ += std::to_string(row_);
    rows_ += "'>";
    rowOpen_ = true;
    if (progress_ && expectedRows_ > 0) {
        // Rows after the header against the items expected; a sheet may write more.
        const auto written = std::min<std::size_t>(static_cast<std::size_t>(row_ - 1), expectedRows_);
        const auto percent = static_cast<unsigned>(written * 100 / expectedRows_);
        if (percent != reported_)
            progress_->Notify(reported_ = percent);
    }
}

void AExportToXLS::ASheetBase::CloseRow()
{
    if (rowOpen_)
        rows_ += "</row>";
    rowOpen_ = false;
}

void AExportToXLS::ASheetBase::Cell(int column, std::string_view attributes, std::string_view value, bool escape)
{
    rows_ += "<c r='";
    rows_ += ColumnLetters(column);
    rows_ += std::to_string(row_);
    rows_ += '\'';
    rows_ += attributes;
    rows_ += "><v>";
    if (escape)
        UtilityClasses::XML::Implementation::AppendEscaped(rows_, value);
    else
        rows_ += value;
    rows_ += "</v></c>";
}

void AExportToXLS::ASheetBase::Text(int column, std::string_view text) { Cell(column, " t='str'", text, true); }

void AExportToXLS::ASheetBase::TextFormat(int column, std::string_view text)
{
    Cell(column, " t='str' s='1'", text, true);
}

void AExportToXLS::ASheetBase::Flag(int column, bool set) { Cell(column, " t='str' s='2'", set ? "+" : "", false); }

// Values that are not what their column expects stay text, so the workbook stays valid.
void AExportToXLS::ASheetBase::Amount(int column, std::string_view amount)
{
    if (ParseAmount(amount))
        Cell(column, " s='3'", amount, false);
    else
        TextFormat(column, amount);
}

void AExportToXLS::ASheetBase::Number(int column, std::string_view number)
{
    if (ParseInteger(number).form == AIntegerForm::Valid)
        Cell(column, "", number, false);
    else
        Text(column, number);
}

void AExportToXLS::ASheetBase::Date(int column, std::string_view date)
{
    if (const auto serial = DateToSerial(date))
        Cell(column, " s='4'", *serial, false);
    else
        Timestamp(column, date);
}

void AExportToXLS::ASheetBase::Timestamp(int column, std::string_view timestamp)
{
    if (const auto serial = TimestampToSerial(timestamp))
        Cell(column, " s='5'", *serial, false);
    else
        TextFormat(column, timestamp);
}

}  // namespace ExportImport::FileTypeExcel
