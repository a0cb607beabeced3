#include "AccountArgument.h"

#include "CliMessages.h"

namespace Cli {

using namespace Database;

AAccountLookup FindAccounts(ADatabase& db, const std::string& item, std::vector<AReference<AAccount>>& found)
{
    const std::size_t at = item.rfind('@');
    if (at == std::string::npos || at == 0)
        return AAccountLookup::Malformed;
    const std::u16string name = FromUtf8(item.substr(0, at)), code = FromUtf8(item.substr(at + 1));
    const std::size_t before = found.size();
    for (const auto* account : db.Accounts().Live()) {
        const ACurrency* currency = db.Currencies().Record(account->Record().currency);
        if (db.Text(account->Record().name) == name && currency && db.Text(currency->code) == code)
            found.push_back(Engine::ATableImpl<AAccount>::RefTo(account));
    }
    return found.size() > before ? AAccountLookup::Found : AAccountLookup::NotInFile;
}

}  // namespace Cli
