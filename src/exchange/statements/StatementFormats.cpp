#include "exchange/statements/StatementFormats.h"

namespace ExportImport::Statements {

std::optional<AStatementFormat> StatementFormatNamed(std::string_view name)
{
    if (name == "ofx" || name == "qfx")
        return AStatementFormat::Ofx;
    if (name == "qif")
        return AStatementFormat::Qif;
    if (name == "camt")
        return AStatementFormat::Camt;
    if (name == "csv")
        return AStatementFormat::Csv;
    return std::nullopt;
}

std::string_view StatementFormatName(AStatementFormat format)
{
    switch (format) {
    case AStatementFormat::Ofx: return "OFX";
    case AStatementFormat::Qif: return "QIF";
    case AStatementFormat::Camt: return "CAMT";
    case AStatementFormat::Csv: return "CSV";
    }
    return {};
}

bool DayFirstIn(std::u16string_view datePicture)
{
    const std::size_t day = datePicture.find(u'd'), month = datePicture.find(u'M');
    return day != std::u16string_view::npos && (month == std::u16string_view::npos || day < month);
}

AStatementRead ReadStatement(AStatementFormat format, std::string_view bytes, const AStatementReadOptions& options)
{
    switch (format) {
    case AStatementFormat::Ofx: return ReadOfx(bytes);
    case AStatementFormat::Qif: return ReadQif(bytes, options.dayFirst);
    case AStatementFormat::Camt: return ReadCamt053(bytes);
    case AStatementFormat::Csv: return ReadCsvStatement(bytes, options.mapping);
    }
    return {};
}

}  // namespace ExportImport::Statements
