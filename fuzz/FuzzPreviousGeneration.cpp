// Files of the previous generation: any bytes convert or are refused, and what converts is
// a consistent data file.
#include "FuzzSupport.h"

#include "database/Database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = Fuzz::WriteScratch("old.fdb", data, size);
    Database::ADatabase db([] { return Dates::ALocalTime{46000, 0}; });
    if (Result::Failed(db.Open(path)))
        return 0;
    if (db.ConsistencyErrors() != 0)
        Fuzz::Broken("a converted file is inconsistent");
    return 0;
}
