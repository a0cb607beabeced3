// Bank statements as CSV files, read through a mapping of their columns: banks write them
// every which way, so the user says once which column holds what and how numbers and dates
// look, and keeps that as a profile.
#pragma once
#include "exchange/statements/Statement.h"

#include <optional>

namespace ExportImport::Statements {

enum class ADateForm { DayMonthYear, MonthDayYear, YearMonthDay };

struct ACsvMapping {
    // Columns from 0; a statement has an amount column, or a debit and a credit column.
    int date = 0;
    std::optional<int> amount;
    std::optional<int> debit;   // money out, written without a sign
    std::optional<int> credit;  // money in
    std::optional<int> currency, payee, memo, reference;
    char separator = ';';
    char decimal = ',';
    ADateForm dateForm = ADateForm::DayMonthYear;
    std::uint32_t codePage = 0;  // 0: UTF-8 when the text is UTF-8, else 1251
    int skipLines = 1;           // header lines

    bool operator==(const ACsvMapping&) const = default;
};

// A mapping written as "date=0;amount=3;payee=2;separator=,;decimal=.;dates=ymd;skip=1;
// codepage=1251" (the names of ACsvMapping; dates dmy, mdy or ymd); none when malformed.
std::optional<ACsvMapping> ParseCsvMapping(std::string_view text);
// The text ParseCsvMapping reads back into the same mapping.
std::string CsvMappingText(const ACsvMapping& mapping);

AStatementRead ReadCsvStatement(std::string_view bytes, const ACsvMapping& mapping);

// The fields of one CSV record starting at `at`, which moves past it; quoted fields may hold
// separators, doubled quotes and line breaks.
std::vector<std::string> NextCsvRecord(std::string_view text, std::size_t& at, char separator);

}  // namespace ExportImport::Statements
