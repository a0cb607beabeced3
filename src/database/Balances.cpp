#include "database/Balances.h"

#include "database/Money.h"
#include "database/StepView.h"

#include <algorithm>
#include <limits>

namespace Database {

namespace {

using ATransactionSlot = Engine::ASlot<ATransaction>;

// The account's transactions, side 1 through index 5 and side 2 through index 6 (both
// ordered by account, then the day order of index 3), merged into the day order.
std::vector<ATransactionSlot*> TransactionsOf(ADatabase& db, AReference<AAccount> account)
{
    auto& transactions = db.Transactions();
    const auto side1 = CurrentPrefixRange(db, transactions, 5,
                                          [&](const ATransaction& t) { return Compare3(t.account1, account); });
    const auto side2 = CurrentPrefixRange(db, transactions, 6,
                                          [&](const ATransaction& t) { return Compare3(t.account2, account); });
    std::vector<ATransactionSlot*> merged;
    merged.reserve(side1.size() + side2.size());
    std::merge(side1.begin(), side1.end(), side2.begin(), side2.end(), std::back_inserter(merged),
               [](const ATransactionSlot* a, const ATransactionSlot* b) {
                   const int c = ATransaction::Compare(a->Record(), b->Record(), 3);
                   return c != 0 ? c < 0 : a->id < b->id;
               });
    // A transfer from the account to itself comes from both indexes.
    merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
    return merged;
}

AMoney Clamped(bool positive)
{
    return positive ? std::numeric_limits<AMoney>::max() : std::numeric_limits<AMoney>::min();
}

}  // namespace

ATransaction* ChangeKeepingPlace(ADatabase& db, Engine::ASlot<ATransaction>* slot)
{
    const std::uint64_t stamp = slot->Record().changeStamp;
    ATransaction* record = db.Transactions().Change(slot);
    if (record)
        record->changeStamp = stamp;
    return record;
}

ARecalculation Recalculate(ADatabase& db, AReference<AAccount> account)
{
    ARecalculation result;
    if (!FD_VERIFY(db.StepOpen()))
        return result;
    const AAccount* owner = db.Accounts().Record(account);
    if (!owner)
        return result;
    AMoney running = owner->initialBalance;
    for (ATransactionSlot* slot : TransactionsOf(db, account)) {
        const ATransaction& stored = slot->Record();
        if (!stored.executed)
            continue;
        ATransaction wanted = stored;
        // A transfer with the balance flag set is still a transfer (its kind says so).
        const bool statesBalance = stored.Kind() == ATransactionKind::Balance;
        auto apply = [&](AMoney& amount, AMoney& balance) {
            if (statesBalance) {
                if (!Money::Subtract(balance, running, amount)) {
                    amount = Clamped(balance > 0);
                    result.overflowed = true;
                }
                running = balance;
            } else {
                if (!Money::Add(running, amount, running)) {
                    running = Clamped(amount > 0);
                    result.overflowed = true;
                }
                balance = running;
            }
        };
        if (stored.account1 == account)
            apply(wanted.amount1, wanted.balance1);
        if (stored.account2 == account)
            apply(wanted.amount2, wanted.balance2);
        if (wanted.amount1 == stored.amount1 && wanted.balance1 == stored.balance1 &&
            wanted.amount2 == stored.amount2 && wanted.balance2 == stored.balance2)
            continue;
        if (ATransaction* record = ChangeKeepingPlace(db, slot)) {
            record->amount1 = wanted.amount1;
            record->balance1 = wanted.balance1;
            record->amount2 = wanted.amount2;
            record->balance2 = wanted.balance2;
            ++result.changedTransactions;
        }
    }
    return result;
}

std::vector<AReference<AAccount>> AccountsTouchedByStep(ADatabase& db)
{
    std::vector<AReference<AAccount>> accounts;
    auto note = [&](AReference<AAccount> account) {
        if (db.Accounts().Record(account) && std::find(accounts.begin(), accounts.end(), account) == accounts.end())
            accounts.push_back(account);
    };
    auto noteTransaction = [&](const ATransaction& t) {
        note(t.account1);
        note(t.account2);
    };
    // A changed or deleted transaction may have left an account: its previous version counts too.
    auto noteBothVersions = [&](ATransactionSlot* slot) {
        noteTransaction(slot->Record());
        if (slot->current > 0)
            noteTransaction(slot->Version(slot->current - 1).record);
    };
    ForEachStepSlot<ATransaction>(db.StepChanged(), noteBothVersions);
    ForEachStepSlot<ATransaction>(db.StepDeleted(), noteBothVersions);
    ForEachStepSlot<ATransaction>(db.StepInserted(), [&](ATransactionSlot* slot) { noteTransaction(slot->Record()); });
    auto noteAccount = [&](Engine::ASlot<AAccount>* slot) { note(Engine::ATableImpl<AAccount>::RefTo(slot)); };
    ForEachStepSlot<AAccount>(db.StepChanged(), noteAccount);
    ForEachStepSlot<AAccount>(db.StepInserted(), noteAccount);
    return accounts;
}

ARecalculation RecalculateTouchedAccounts(ADatabase& db)
{
    ARecalculation total;
    for (AReference<AAccount> account : AccountsTouchedByStep(db)) {
        const ARecalculation one = Recalculate(db, account);
        total.changedTransactions += one.changedTransactions;
        total.overflowed = total.overflowed || one.overflowed;
    }
    return total;
}

}  // namespace Database
