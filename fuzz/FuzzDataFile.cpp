// Data files: any bytes open or are refused, and a file that opens saves under another name
// and opens again with as many consistency errors as before, never more.
#include "FuzzSupport.h"

#include "database/Database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = Fuzz::WriteScratch("books.fend", data, size);
    const std::string copy = Fuzz::ScratchPath("copy.fend");
    std::uint32_t errors = 0;
    {
        Database::ADatabase db([] { return Dates::ALocalTime{46000, 0}; });
        if (Result::Failed(db.Open(path)))
            return 0;
        errors = db.ConsistencyErrors();
        if (Result::Failed(db.SaveAs(copy)))
            return 0;
    }
    Database::ADatabase again([] { return Dates::ALocalTime{46000, 0}; });
    if (Result::Failed(again.Open(copy)))
        Fuzz::Broken("a saved copy does not open");
    if (again.ConsistencyErrors() > errors)
        Fuzz::Broken("saving a copy added consistency errors");
    return 0;
}
