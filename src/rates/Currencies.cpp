#include "rates/Currencies.h"

#include "core/AStrings.h"
#include "core/TextUtilities.h"
#include "database/DatabaseRules.h"
#include "database/StepView.h"
#include "database/TypedText.h"
#include "database/engine/StepGuard.h"
#include "database/DeleteStep.h"

#include <set>

namespace Rates {

namespace {

using Database::ADatabase;
using Database::Engine::ATableImpl;

std::optional<std::uint32_t> ParseDecimals(std::u16string text)
{
    UtilityClasses::Strings::CollapseSpaces(text);
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+'))
        negative = text[at++] == u'-';
    if (at == text.size() || text.size() - at > 9)
        return std::nullopt;
    std::uint32_t value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < u'0' || text[at] > u'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(text[at] - u'0');
    }
    if (negative && value != 0)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<ARefusal> CheckCurrencyDialog(ADatabase& db, ACurrencyInput& input, AReference<ACurrency> self,
                                            ACurrencyValues& values)
{
    using UtilityClasses::Strings::CollapseSpaces;
    CollapseSpaces(input.name);
    CollapseSpaces(input.code);
    const auto refuse = [](int id, ACurrencyField field) { return ARefusal{id, static_cast<int>(field)}; };
    if (input.name.empty() && input.code.empty())
        return refuse(CurrencyText::kNameAndCodeEmpty, ACurrencyField::Name);
    if (input.name.empty())
        return refuse(CurrencyText::kNameEmpty, ACurrencyField::Name);
    if (input.code.empty())
        return refuse(CurrencyText::kCodeEmpty, ACurrencyField::Code);
    if (Database::CheckCurrencyCode(db, input.code, self))
        return refuse(CurrencyText::kCodeTaken, ACurrencyField::Code);
    const std::optional<std::uint32_t> decimals = ParseDecimals(input.decimals);
    if (!decimals || *decimals > 4)
        return refuse(CurrencyText::kDecimalsOutOfRange, ACurrencyField::Decimals);
    values = {input.name, input.code, *decimals};
    return std::nullopt;
}

AReference<ACurrency> AddCurrency(ADatabase& db, const ACurrencyValues& values, std::u16string_view label)
{
    Database::Engine::AStepGuard step(db, label);
    ACurrency currency;
    currency.name = db.NewText(values.name);
    currency.code = db.NewText(values.code);
    currency.precision = values.precision;
    const auto made = ATableImpl<ACurrency>::RefTo(db.Currencies().Create(currency));
    Database::CommitWithRules(db);
    return made;
}

bool ChangeCurrency(ADatabase& db, AReference<ACurrency> currency, const ACurrencyValues& values,
                    std::u16string_view label)
{
    auto* slot = db.Currencies().Get(currency);
    if (!FD_VERIFY(slot && slot->Exists()))
        return false;
    Database::Engine::AStepGuard step(db, label);
    ACurrency record = slot->Record();
    bool changed = false;
    changed |= Database::SetText(db, record.name, values.name);
    changed |= Database::SetText(db, record.code, values.code);
    const bool recordChanged = record.name != slot->Record().name || record.code != slot->Record().code ||
                               record.precision != values.precision;
    if (recordChanged) {
        record.precision = values.precision;
        *db.Currencies().Change(slot) = record;
        changed = true;
    }
    if (!changed) {
        db.RollBack();
        return false;
    }
    Database::CommitWithRules(db);
    return true;
}

ACurrencyUsage CurrencyUsage(ADatabase& db, AReference<ACurrency> currency)
{
    ACurrencyUsage usage;
    std::set<std::uint32_t> accounts;
    Database::ForEachLive(db.Accounts(), [&](Database::Engine::ASlot<Database::AAccount>* slot) {
        if (slot->Record().currency == currency)
            accounts.insert(ATableImpl<Database::AAccount>::RefTo(slot).Word());
    });
    usage.accounts = accounts.size();
    if (accounts.empty())
        return usage;
    Database::ForEachLive(db.Transactions(), [&](Database::Engine::ASlot<Database::ATransaction>* slot) {
        const Database::ATransaction& t = slot->Record();
        if (accounts.contains(t.account1.Word()) || (t.account2 && accounts.contains(t.account2.Word())))
            ++usage.transactions;
    });
    return usage;
}

AQuestion CurrencyDeletionQuestion(ADatabase& db, AReference<ACurrency> currency,
                                   const UtilityClasses::Strings::AStrings& strings)
{
    const ACurrency* record = db.Currencies().Record(currency);
    const std::u16string name = record ? db.Text(record->name) : std::u16string();
    const ACurrencyUsage usage = CurrencyUsage(db, currency);
    if (usage.accounts > 0)
        return {CurrencyText::kDeleteWithAccounts,
                strings.Format(CurrencyText::kDeleteWithAccounts, {name, usage.accounts, usage.transactions})};
    return {CurrencyText::kDeleteUnused, strings.Format(CurrencyText::kDeleteUnused, {name})};
}

void DeleteCurrency(ADatabase& db, AReference<ACurrency> currency, std::u16string_view label)
{
    Database::DeleteInOneStep(db, currency, label);
}

}  // namespace Rates
