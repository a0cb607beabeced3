// Bank statements: any bytes read as OFX, QIF (either date order) or CAMT.053 give lines or
// problems, and every line that is kept has a valid date.
#include "FuzzSupport.h"

#include "exchange/statements/Statement.h"

using namespace ExportImport::Statements;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = Fuzz::Text(data, size);
    for (const AStatementRead& read : {ReadOfx(bytes), ReadQif(bytes, false), ReadQif(bytes, true), ReadCamt053(bytes)})
        for (const AStatementLine& line : read.statement.lines)
            if (!Dates::IsValid(line.date))
                Fuzz::Broken("a statement line kept without a valid date");
    return 0;
}
