// Amounts of many accounts converted into one report currency: a converter per source
// currency, made once per computation. Conversion follows the stored rates of the one
// pair the two currencies form; there is no path through a third currency.
#pragma once

#include "analysis/ReportMessage.h"
#include "database/CurrencyConversion.h"

#include <memory>
#include <vector>

namespace UserInterface {

using Database::AMoney;
using Database::AReference;

class AReportConverter {
public:
    AReportConverter(Database::ADatabase& db, AReference<Database::ACurrency> target);

    AReference<Database::ACurrency> Target() const { return target_; }
    // The same currency, or a pair with at least one stored rate.
    bool CanConvert(AReference<Database::ACurrency> from);
    // In place; false (amount untouched) without a rate or when the result overflows.
    [[nodiscard]] bool Convert(AReference<Database::ACurrency> from, ADate date, AMoney& amount);

    AReference<Database::ACurrency> CurrencyOf(AReference<Database::AAccount> account) const;
    bool CanConvertAccount(AReference<Database::AAccount> account) { return CanConvert(CurrencyOf(account)); }
    [[nodiscard]] bool ConvertFromAccount(AReference<Database::AAccount> account, ADate date, AMoney& amount)
    {
        return Convert(CurrencyOf(account), date, amount);
    }

private:
    const Database::ARateConverter* ConverterFor(AReference<Database::ACurrency> from);

    Database::ADatabase& db_;
    AReference<Database::ACurrency> target_;
    std::vector<std::unique_ptr<Database::ARateConverter>> converters_;  // by slot position of the source
};

// "Счёт "#s - #s" не может быть включён в отчёт...": the account's name and currency code,
// then the two currency codes.
AReportMessage UnconvertibleAccountMessage(Database::ADatabase& db, AReference<Database::AAccount> account,
                                           AReference<Database::ACurrency> target);
// The currency's code, or its name when it has no code.
std::u16string CurrencyCode(Database::ADatabase& db, AReference<Database::ACurrency> currency);

}  // namespace UserInterface
