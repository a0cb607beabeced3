#include "ui/PageTexts.h"

#include "analysis/TransactionTotals.h"
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

AMoney CurrentBalance(ADatabase& db, AReference<AAccount> account)
{
    // Executed transactions dated after today count too: the balance is the file's last one.
    return Filters::BalanceAtEndOf(db, account, Dates::kMaxDate);
}

}  // namespace UserInterface
