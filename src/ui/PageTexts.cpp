#include "ui/PageTexts.h"

#include "core/FormatAmount.h"
#include "core/FormatDate.h"
#include "ui/ProgramContext.h"

#include <algorithm>

namespace UserInterface {

using namespace Database;

std::u16string AmountText(const AProgramContext& context, AMoney amount, int precision)
{
    return UtilityClasses::Strings::FormatAmount(amount, std::clamp(precision, 0, 4), true,
                                                 context.Strings().Locale());
}

std::u16string DateText(const AProgramContext& context, ADate date)
{
    const auto& locale = context.Strings().Locale();
    return UtilityClasses::Strings::FormatDate(date, locale.shortDatePicture, locale);
}

int AccountPrecision(ADatabase& db, AReference<AAccount> account)
{
    const AAccount* record = db.Accounts().Record(account);
    const ACurrency* currency = record ? db.Currencies().Record(record->currency) : nullptr;
    return currency ? static_cast<int>(std::min<std::uint32_t>(currency->precision, 4)) : 2;
}

std::u16string CurrencyCode(ADatabase& db, AReference<ACurrency> currency)
{
    const ACurrency* record = db.Currencies().Record(currency);
    return record ? db.Text(record->code) : std::u16string();
}

namespace {

// Transactions of one account in index 5 (side 1) or 6 (side 2): the range of that side.
struct ABySide {
    bool second;
    AReference<AAccount> Of(const Engine::ASlot<ATransaction>* slot) const
    {
        return second ? slot->Record().account2 : slot->Record().account1;
    }
    bool operator()(const Engine::ASlot<ATransaction>* slot, AReference<AAccount> account) const
    {
        return Of(slot) < account;
    }
    bool operator()(AReference<AAccount> account, const Engine::ASlot<ATransaction>* slot) const
    {
        return account < Of(slot);
    }
};

// The last executed transaction of the account on one side, in the order of the day.
const Engine::ASlot<ATransaction>* LastExecuted(ADatabase& db, AReference<AAccount> account, bool second)
{
    const auto& index = db.Transactions().IndexAt(second ? 6 : 5);
    auto [first, last] = std::equal_range(index.begin(), index.end(), account, ABySide{second});
    while (last != first) {
        --last;
        if ((*last)->Record().executed)
            return *last;
    }
    return nullptr;
}

}  // namespace

AMoney CurrentBalance(ADatabase& db, AReference<AAccount> account)
{
    const AAccount* record = db.Accounts().Record(account);
    if (!record)
        return 0;
    const auto* one = LastExecuted(db, account, false);
    const auto* two = LastExecuted(db, account, true);
    if (one && two)
        return ATransaction::Compare(one->Record(), two->Record(), 3) >= 0 ? one->Record().balance1
                                                                           : two->Record().balance2;
    if (one)
        return one->Record().balance1;
    if (two)
        return two->Record().balance2;
    return record->initialBalance;
}

}  // namespace UserInterface
