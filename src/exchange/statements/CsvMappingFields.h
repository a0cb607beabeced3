// A CSV mapping as the profiles window shows it, field by field: columns numbered from 1 and
// empty for none, the separator as typed ("\t" for a tab), and the check that turns the
// fields back into a mapping; and the first lines of a file read with a mapping, to show.
#pragma once
#include "exchange/statements/CsvStatement.h"

#include <array>
#include <string>

namespace ExportImport::Statements {

struct ACsvMappingFields {
    enum AColumn { kDate, kAmount, kDebit, kCredit, kCurrency, kPayee, kMemo, kReference, kColumnCount };
    std::array<std::u16string, kColumnCount> columns;
    std::u16string separator, decimal, skip;
    ADateForm dateForm = ADateForm::DayMonthYear;
    std::uint32_t codePage = 0;
};

enum class AMappingRefusal { None, BadColumn, NoDate, NoAmount, BadSeparator, BadDecimal, BadSkip };

struct AMappingCheck {
    AMappingRefusal refusal = AMappingRefusal::None;
    int column = -1;  // the column field refused (BadColumn)
    ACsvMapping mapping;
};

ACsvMappingFields FieldsOf(const ACsvMapping& mapping);
// The mapping the fields describe: a date column, and an amount column or both a debit and a
// credit column; a separator of one character other than the quote and the decimal sign;
// "," or "." as the decimal sign; 0 to 255 header lines.
AMappingCheck MappingOf(const ACsvMappingFields& fields);

// At most `lines` statement lines after the header lines, read with `mapping`.
AStatementRead PreviewCsv(std::string_view bytes, const ACsvMapping& mapping, std::size_t lines);

}  // namespace ExportImport::Statements
