// What the pages show of records: amounts in their currency's precision, dates in the
// user's picture, account balances.
#pragma once
#include "ui/DatabaseModel.h"

#include <string>

namespace UserInterface {

struct AProgramContext;

std::u16string AmountText(const AProgramContext& context, Database::AMoney amount, int precision);
std::u16string DateText(const AProgramContext& context, ADate date);
// The precision of an account's currency (2 when it has none).
int AccountPrecision(Database::ADatabase& db, Database::AReference<Database::AAccount> account);
// The code, or the name of a currency without one (defined with the report conversion).
std::u16string CurrencyCode(Database::ADatabase& db, Database::AReference<Database::ACurrency> currency);
// The balance after the account's last executed transaction; its initial balance without one.
Database::AMoney CurrentBalance(Database::ADatabase& db, Database::AReference<Database::AAccount> account);

}  // namespace UserInterface
