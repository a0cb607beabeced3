// Cell values of workbooks: column letters, references, and the conversions between
// the interchange texts (dates, timestamps, amounts) and what a spreadsheet keeps.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ExportImport::FileTypeExcel {

// Spreadsheets stop at column XFD; references beyond are not cells.
constexpr int kMaxColumn = 16384;
constexpr std::int64_t kMaxRow = 1048576;

// "A" for 1, "Z" for 26, "AA" for 27.
std::string ColumnLetters(int column);

struct ACellPosition {
    int column = 0;       // from 1
    std::int64_t row = 0; // from 1
};
// "B12" → column 2, row 12; nothing for a malformed reference or one outside the sheet.
std::optional<ACellPosition> ParseCellReference(std::string_view reference);

// Interchange date "YYYY-MM-DD" → serial "%d"; nothing when malformed.
std::optional<std::string> DateToSerial(std::string_view date);
// Interchange timestamp (or date) → serial with the time of day as a fraction.
std::optional<std::string> TimestampToSerial(std::string_view timestamp);

// A cell of a date column back to interchange text: a serial (whole or with a fraction,
// in any number notation) becomes a date, or a timestamp when it has a time of day;
// any other text is kept as it is, for the import to judge.
std::string CellToDateText(std::string_view cell);

// A cell of an amount column back to the interchange amount "-?D+.DDDD": numbers in any
// notation a spreadsheet writes ("1.5", "1E-4", "-0", "  2.50 ") are converted exactly,
// rounded half away from zero at the fourth decimal; any other text is kept as it is.
std::string CellToAmountText(std::string_view cell);

}  // namespace ExportImport::FileTypeExcel
