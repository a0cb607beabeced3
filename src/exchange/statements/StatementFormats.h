// The statement formats by name, and reading any of them: what the import modules, the
// import wizard and the command-line program share.
#pragma once
#include "exchange/statements/CsvStatement.h"

#include <optional>
#include <string_view>

namespace ExportImport::Statements {

enum class AStatementFormat { Ofx, Qif, Camt, Csv };

struct AStatementReadOptions {
    bool dayFirst = false;  // QIF dates
    ACsvMapping mapping;    // CSV
};

// "ofx" and "qfx", "qif", "camt", "csv"; none for anything else.
std::optional<AStatementFormat> StatementFormatNamed(std::string_view name);
// "OFX", "QIF", "CAMT", "CSV".
std::string_view StatementFormatName(AStatementFormat format);

// Whether QIF dates are read day first: when the user's short date picture puts the day
// before the month.
bool DayFirstIn(std::u16string_view datePicture);

AStatementRead ReadStatement(AStatementFormat format, std::string_view bytes, const AStatementReadOptions& options);

}  // namespace ExportImport::Statements
