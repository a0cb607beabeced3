#include "analysis/TransactionTotals.h"

#include <algorithm>
#include <climits>

namespace UserInterface::Filters {

using namespace Database;

namespace {

// A damaged file's sums may leave the range; they stop at its end and say so.
AMoney SaturatedSum(AMoney a, AMoney b, bool& overflowed)
{
    AMoney sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    overflowed = true;
    return b < 0 ? INT64_MIN : INT64_MAX;
}

class ATotaller {
public:
    ATotaller(ADatabase& db, const AAccountSelection& accounts) : db_(db), accounts_(accounts) {}

    void Add(const ATransaction& t)
    {
        if (!accounts_.Empty()) {
            if (accounts_.Contains(t.account1))
                AddSide(t.account1, t.amount1);
            if (!t.account2.IsNull() && accounts_.Contains(t.account2))
                AddSide(t.account2, t.amount2);
        } else if (t.account2.IsNull()) {
            AddSide(t.account1, t.amount1);
        }
    }
    std::vector<ACurrencyTotal> totals;
    bool overflowed = false;

private:
    void AddSide(AReference<AAccount> account, AMoney amount)
    {
        const AAccount* record = db_.Accounts().Record(account);
        const AReference<ACurrency> currency = record ? record->currency : AReference<ACurrency>();
        auto it = std::find_if(totals.begin(), totals.end(), [&](const auto& t) { return t.currency == currency; });
        if (it == totals.end())
            it = totals.insert(totals.end(), ACurrencyTotal{currency});
        AMoney& sum = amount >= 0 ? it->income : it->expense;
        sum = SaturatedSum(sum, amount, overflowed);
    }

    ADatabase& db_;
    const AAccountSelection& accounts_;
};

// The last executed transaction of the account on one side up to the end of `date`, in the
// order of the day (indexes 5 and 6 hold each account's transactions in that order).
const ATransactionSlot* LastExecutedBy(ADatabase& db, AReference<AAccount> account, ADate date, bool second)
{
    auto side = [second](const ATransactionSlot* slot) {
        return second ? slot->Record().account2 : slot->Record().account1;
    };
    const auto& index = db.Transactions().IndexAt(second ? 6 : 5);
    const auto first = std::partition_point(index.begin(), index.end(),
                                            [&](const ATransactionSlot* slot) { return side(slot) < account; });
    auto last = std::partition_point(first, index.end(), [&](const ATransactionSlot* slot) {
        return side(slot) == account && slot->Record().date <= date;
    });
    while (last != first) {
        --last;
        if ((*last)->Exists() && (*last)->Record().executed)
            return *last;
    }
    return nullptr;
}

}  // namespace

AMoney BalanceAtEndOf(ADatabase& db, AReference<AAccount> account, ADate date)
{
    const AAccount* record = db.Accounts().Record(account);
    if (!record)
        return 0;
    const ATransactionSlot* one = LastExecutedBy(db, account, date, false);
    const ATransactionSlot* two = LastExecutedBy(db, account, date, true);
    if (one && two)
        return ATransaction::Compare(one->Record(), two->Record(), 3) >= 0 ? one->Record().balance1
                                                                           : two->Record().balance2;
    if (one)
        return one->Record().balance1;
    if (two)
        return two->Record().balance2;
    return record->initialBalance;
}

ATransactionTotals PeriodTotals(ADatabase& db, const ATransactionPageFilter& filter, const ATransactionList& list)
{
    ATotaller totaller(db, filter.accounts);
    for (const ATransactionSlot* slot : list)
        if (slot->Record().executed)
            totaller.Add(slot->Record());
    ATransactionTotals totals{std::move(totaller.totals), std::nullopt, std::nullopt, totaller.overflowed};
    if (filter.accounts.Accounts().size() == 1 && filter.period.Valid()) {
        const auto account = filter.accounts.Accounts().front();
        totals.startBalance = BalanceAtEndOf(db, account, filter.period.Start() - 1);
        totals.endBalance = BalanceAtEndOf(db, account, filter.period.End());
    }
    return totals;
}

std::vector<ACurrencyTotal> SelectionSums(ADatabase& db, const AAccountSelection& accounts,
                                          const std::vector<const ATransactionSlot*>& selection)
{
    ATotaller totaller(db, accounts);
    for (const ATransactionSlot* slot : selection)
        totaller.Add(slot->Record());
    return totaller.totals;
}

}  // namespace UserInterface::Filters
