// Workbooks: any file is read into an interchange text or refused with messages, within
// the bound of one part.
#include "FuzzSupport.h"

#include "exchange/workbook/AExcel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = Fuzz::WriteScratch("book.xlsx", data, size);
    std::string text;
    std::size_t messages = 0;
    const bool read = ExportImport::FileTypeExcel::AImportFromXLS::ReadWorkbook(
        path, [&](const std::string&) { ++messages; }, text, std::uint64_t{16} << 20);
    if (!read && messages == 0)
        Fuzz::Broken("a refused workbook without a message");
    return 0;
}
