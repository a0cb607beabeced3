// The currency dialog's rules: what it checks on confirming, in which order, with
// which message and field to focus; how an accepted dialog is stored; and the
// question asked before a currency is deleted.
#pragma once

#include "database/Database.h"
#include "database/RuleChecks.h"
#include "rates/RatesTexts.h"

#include <cstdint>
#include <optional>
#include <string>

namespace UtilityClasses::Strings { class AStrings; }

namespace Rates {

using Database::ACurrency;
using Database::AReference;

enum class ACurrencyField { Name, Code, Decimals };

// The dialog's fields as typed.
struct ACurrencyInput {
    std::u16string name;
    std::u16string code;
    std::u16string decimals;
};

// What an accepted dialog stores.
struct ACurrencyValues {
    std::u16string name;
    std::u16string code;
    std::uint32_t precision = 2;
};

struct ARefusal {
    int messageId;
    int field;  // the dialog's field enum to focus
};

// Trims the name and the code in `input` (ends dropped, inner runs of blanks made
// one) and checks: empty fields, a code another currency has (exact comparison;
// `self` is the currency being changed), then decimals 0..4. On success fills `values`.
std::optional<ARefusal> CheckCurrencyDialog(Database::ADatabase& db, ACurrencyInput& input,
                                            AReference<ACurrency> self, ACurrencyValues& values);

// One step labelled `label`, committed; answers the new currency.
AReference<ACurrency> AddCurrency(Database::ADatabase& db, const ACurrencyValues& values, std::u16string_view label);
// One step rewriting only what differs; false (and no step) when nothing does.
bool ChangeCurrency(Database::ADatabase& db, AReference<ACurrency> currency, const ACurrencyValues& values,
                    std::u16string_view label);

struct ACurrencyUsage {
    std::size_t accounts = 0;
    std::size_t transactions = 0;  // transactions of those accounts, each counted once
};
ACurrencyUsage CurrencyUsage(Database::ADatabase& db, AReference<ACurrency> currency);

struct AQuestion {
    int messageId;        // also names the question for "Не показывать больше это сообщение"
    std::u16string text;  // filled in
};
// 373 with the name and the counts when the currency has accounts, else 374.
AQuestion CurrencyDeletionQuestion(Database::ADatabase& db, AReference<ACurrency> currency,
                                   const UtilityClasses::Strings::AStrings& strings);
// The currency with its accounts, their transactions and its rates, as one step.
void DeleteCurrency(Database::ADatabase& db, AReference<ACurrency> currency, std::u16string_view label);

}  // namespace Rates
