// Data files of the previous generation ("FendBase").
#include "database/Database.h"

namespace Database {

HRESULT ADatabase::OpenPreviousGeneration(const std::string&)
{
    // Conversion is not built yet: such files are refused as not data files.
    return Result::kNotDataFile;
}

}  // namespace Database
