// Accounts named on the command line as NAME@CODE.
#pragma once

#include "database/Database.h"

#include <string>
#include <vector>

namespace Cli {

enum class AAccountLookup { Found, Malformed, NotInFile };

// Every live account called NAME in the currency CODE; Malformed when `item` is not
// written NAME@CODE.
AAccountLookup FindAccounts(Database::ADatabase& db, const std::string& item,
                            std::vector<Database::AReference<Database::AAccount>>& found);

}  // namespace Cli
