#include "AccountArgument.h"

#include "CliMessages.h"

#include "database/Lookups.h"

namespace Cli {

using namespace Database;

AAccountLookup FindAccounts(ADatabase& db, const std::string& item, std::vector<AReference<AAccount>>& found)
{
    const std::size_t at = item.rfind('@');
    if (at == std::string::npos || at == 0)
        return AAccountLookup::Malformed;
    const std::u16string name = FromUtf8(item.substr(0, at)), code = FromUtf8(item.substr(at + 1));
    const auto named = AccountsNamed(db, name, code);
    found.insert(found.end(), named.begin(), named.end());
    return named.empty() ? AAccountLookup::NotInFile : AAccountLookup::Found;
}

}  // namespace Cli
