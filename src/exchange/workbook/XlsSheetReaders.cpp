#include "exchange/workbook/XlsSheetReaders.h"

#include "exchange/workbook/XlsCells.h"
#include "exchange/xml/xmlBuild.h"
#include "exchange/xml/xmlNodes.h"

namespace ExportImport::FileTypeExcel {

using UtilityClasses::XML::AddElement;
using UtilityClasses::XML::AddText;
using UtilityClasses::XML::AElement;
using UtilityClasses::XML::SetAttribute;

namespace {

bool IsEmptyRow(const ASheetRow& row)
{
    for (const ASheetCell& cell : row.cells)
        if (!cell.text.empty())
            return false;
    return true;
}

}  // namespace

bool AImportFromXLS::ASheetBase::Convert(const std::vector<ASheetRow>& rows, AElement& root)
{
    if (rows.empty())
        return true;
    if (!Header(rows.front(), root))
        return false;
    for (std::size_t i = 1; i < rows.size(); ++i)
        Row(rows[i]);
    return true;
}

bool AImportFromXLS::ASheetBase::Header(const ASheetRow& header, AElement& root)
{
    bool usable = true;
    for (const ASheetCell& cell : header.cells) {
        if (cell.text.empty())
            continue;
        if (!columns_.emplace(cell.text, cell.column).second) {
            Report("Колонка \"" + cell.text + "\" встречается более\r\nодного раза на листе \"" + sheet_ + "\".");
            usable = false;
        }
    }
    for (const std::string& required : RequiredColumns())
        if (!columns_.contains(required)) {
            Report("Не найдена колонка \"" + required + "\" на листе \"" + sheet_ + "\".");
            usable = false;
        }
    if (usable)
        Begin(root);
    return usable;
}

void AImportFromXLS::ASheetBase::Row(const ASheetRow& row)
{
    if (!IsEmptyRow(row))
        ConvertRow(row);
}

int AImportFromXLS::ASheetBase::Column(const std::string& header) const
{
    const auto found = columns_.find(header);
    return found == columns_.end() ? 0 : found->second;
}

std::string AImportFromXLS::ASheetBase::CellReference(int column, std::int64_t row) const
{
    return column > 0 ? ColumnLetters(column) + std::to_string(row) : std::string();
}

AElement& AImportFromXLS::ASheetBase::AddSection(AElement& root, std::string_view name)
{
    AElement* section = AddElement(root, name);
    SetAttribute(*section, "ref", "Лист: " + sheet_);
    return *section;
}

AElement* AImportFromXLS::ASheetBase::AddValue(AElement& parent, std::string_view name, const ASheetRow& row,
                                               const std::string& header, bool always,
                                               std::string (*convert)(std::string_view))
{
    const int column = Column(header);
    const std::string& text = row.Text(column);
    if (text.empty() && !always)
        return nullptr;
    AElement* value = AddElement(parent, name);
    SetAttribute(*value, "ref", CellReference(column, row.number));
    if (!text.empty())
        AddText(*value, convert ? convert(text) : text);
    return value;
}

void AImportFromXLS::ASheetBase::AddFlag(AElement& parent, std::string_view name, const ASheetRow& row,
                                         const std::string& header)
{
    const int column = Column(header);
    if (column && !row.Text(column).empty())
        SetAttribute(*AddElement(parent, name), "ref", CellReference(column, row.number));
}

namespace {

class ASheetToCurrencies final : public AImportFromXLS::ASheetBase {
public:
    using ASheetBase::ASheetBase;

private:
    std::vector<std::string> RequiredColumns() const override { return {"Name", "Code"}; }
    void Begin(AElement& root) override { section_ = &AddSection(root, "currencies"); }
    void ConvertRow(const ASheetRow& row) override
    {
        AElement& currency = *AddElement(*section_, "currency");
        AddValue(currency, "name", row, "Name", true);
        AddValue(currency, "code", row, "Code", true);
        AddValue(currency, "precision", row, "Precision");
    }
    AElement* FinishedItems() override { return section_; }
    AElement* section_ = nullptr;
};

std::string DateText(std::string_view cell) { return CellToDateText(cell); }
std::string AmountText(std::string_view cell) { return CellToAmountText(cell); }

class ASheetToRates final : public AImportFromXLS::ASheetBase {
public:
    using ASheetBase::ASheetBase;

private:
    std::vector<std::string> RequiredColumns() const override
    {
        return {"Date", "Currency 1", "Amount 1", "Currency 2", "Amount 2"};
    }
    void Begin(AElement& root) override { section_ = &AddSection(root, "rates"); }
    void ConvertRow(const ASheetRow& row) override
    {
        AElement& rate = *AddElement(*section_, "rate");
        AddValue(rate, "date", row, "Date", true, DateText);
        AddValue(rate, "currency-1", row, "Currency 1", true);
        AddValue(rate, "currency-2", row, "Currency 2", true);
        AddValue(rate, "amount-1", row, "Amount 1", true, AmountText);
        AddValue(rate, "amount-2", row, "Amount 2", true, AmountText);
    }
    AElement* FinishedItems() override { return section_; }
    AElement* section_ = nullptr;
};

class ASheetToAccounts final : public AImportFromXLS::ASheetBase {
public:
    using ASheetBase::ASheetBase;

private:
    std::vector<std::string> RequiredColumns() const override { return {"Name", "Currency"}; }
    void Begin(AElement& root) override { section_ = &AddSection(root, "accounts"); }
    void ConvertRow(const ASheetRow& row) override
    {
        AElement& account = *AddElement(*section_, "account");
        AddValue(account, "name", row, "Name", true);
        AddValue(account, "currency", row, "Currency", true);
        AddValue(account, "init-balance", row, "Initial balance", false, AmountText);
        AddValue(account, "comment", row, "Comment");
        AddFlag(account, "locked", row, "Locked");
    }
    AElement* FinishedItems() override { return section_; }
    AElement* section_ = nullptr;
};

}  // namespace

ASheetReaderPtr MakeCurrenciesReader(const AReportError& report, AClassifierCollection&)
{
    return std::make_unique<ASheetToCurrencies>("Currencies", report);
}
ASheetReaderPtr MakeRatesReader(const AReportError& report, AClassifierCollection&)
{
    return std::make_unique<ASheetToRates>("Rates", report);
}
ASheetReaderPtr MakeAccountsReader(const AReportError& report, AClassifierCollection&)
{
    return std::make_unique<ASheetToAccounts>("Accounts", report);
}

}  // namespace ExportImport::FileTypeExcel
