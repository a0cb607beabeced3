// The CSV plug-in: any CSV text becomes a well-formed interchange document (the lines it
// can't take listed), and any document is written as CSV or refused.
#include "FuzzSupport.h"

#include "CsvFormat.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = Fuzz::Text(data, size);
    std::vector<CsvExchange::ACsvProblem> problems;
    const std::string document = CsvExchange::CsvToDocument(text, "{00000000-0000-0000-0000-000000000000}",
                                                            "2024-01-01", problems);
    UtilityClasses::XML::ADocument parsed;
    if (!UtilityClasses::XML::ParseDocument(parsed, document).Ok())
        Fuzz::Broken("the CSV module wrote a document that is not well formed");
    std::string csv;
    std::size_t transactions = 0;
    (void)CsvExchange::DocumentToCsv(text, csv, transactions, [](std::size_t) {});
    return 0;
}
