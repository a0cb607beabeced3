// Bank statements: any bytes read as OFX, QIF (either date order), CAMT.053 or mapped CSV give lines or
// problems, and every line that is kept has a valid date.
#include "FuzzSupport.h"

#include "exchange/statements/CsvStatement.h"

using namespace ExportImport::Statements;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = Fuzz::Text(data, size);
    static const ACsvMapping debitCredit = *ParseCsvMapping("date=0;payee=1;debit=2;credit=3;reference=4;skip=0");
    ACsvMapping signedAmount;
    signedAmount.amount = 2;
    signedAmount.separator = ',';
    signedAmount.decimal = '.';
    for (const AStatementRead& read : {ReadOfx(bytes), ReadQif(bytes, false), ReadQif(bytes, true), ReadCamt053(bytes),
                                       ReadCsvStatement(bytes, debitCredit), ReadCsvStatement(bytes, signedAmount)})
        for (const AStatementLine& line : read.statement.lines)
            if (!Dates::IsValid(line.date))
                Fuzz::Broken("a statement line kept without a valid date");
    return 0;
}
