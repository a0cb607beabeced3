// Bank statements as the readers of OFX, QIF and CAMT.053 files give them: the account the
// statement is about and its lines, each with its date, signed amount, texts and the bank's
// own reference. A reader never throws: damage ends in problems that say where.
#pragma once
#include "core/ADate.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ExportImport::Statements {

using AMoney = std::int64_t;  // 1/10000 units, as the data file keeps amounts

struct ASplit {
    std::u16string category;
    AMoney amount = 0;
    std::u16string memo;
};

struct AStatementLine {
    ADate date = 0;       // the booking date
    ADate valueDate = 0;  // 0 when the statement gives none
    AMoney amount = 0;           // negative: money left the account
    std::string currency;        // the line's own currency code, when it names one
    std::u16string payee;
    std::u16string memo;
    std::string reference;       // the bank's identifier of the line, when it gives one
    std::u16string category;     // QIF: the category the bank or a program gave
    std::vector<ASplit> splits;  // QIF: the line's parts by category
    std::size_t sourceLine = 0;  // where the line starts in the file, from 1
};

struct AStatement {
    std::string accountId;  // the bank's account number or IBAN; may be empty
    std::string currency;   // the statement's currency code; may be empty (QIF)
    std::vector<AStatementLine> lines;
};

enum class AProblemKind {
    NotAStatement,   // nothing the reader knows
    BadDate,
    BadAmount,
    MissingDate,
    MissingAmount,
    BadText,         // bytes that are not text in the declared encoding
    Truncated,       // a record or element not closed before the end
    NoCsvProfile,    // a CSV statement, and no profile says how to read its columns
};

struct AProblem {
    AProblemKind kind;
    std::size_t line = 0;   // from 1; 0 when the problem is about the whole file
    std::string where;      // the element or field, e.g. "DTPOSTED" or "Ntry/Amt"
};

struct AStatementRead {
    AStatement statement;
    std::vector<AProblem> problems;  // a line with a problem is left out
    bool Ok() const { return problems.empty(); }
};

AStatementRead ReadOfx(std::string_view bytes);
// QIF's dates carry no order: `dayFirst` reads "05/01/2024" as 5 January.
AStatementRead ReadQif(std::string_view bytes, bool dayFirst = false);
AStatementRead ReadCamt053(std::string_view bytes);

namespace Values {
// "-1,234.56", "1234,5", "+12": the last '.' or ',' followed by one to four digits is the
// decimal point; the other one groups thousands. False for anything else.
bool ParseAmount(std::string_view text, AMoney& amount);
// "20240105", "20240105120000.000[-5:EST]" (OFX), "2024-01-05" and "2024-01-05T12:00:00"
// (CAMT); the time is dropped.
bool ParseIsoDate(std::string_view text, ADate& date);
// QIF's forms: "1/ 5'24", "01/05/2024", "1/5/24", "5.1.2024", "2024-01-05"; two-digit years
// after an apostrophe are 2000s, others below 50 are 2000s and the rest 1900s.
bool ParseQifDate(std::string_view text, bool dayFirst, ADate& date);
// The bytes as UTF-16: UTF-8 when they are valid UTF-8 (a BOM dropped), else code page 1251.
std::u16string DecodeText(std::string_view bytes, std::uint32_t codePage = 0);
std::string_view Trim(std::string_view text);
}  // namespace Values

}  // namespace ExportImport::Statements
