#include "database/Balances.h"

#include "database/Money.h"
#include "database/StepView.h"

#include <algorithm>
#include <limits>

namespace Database {

namespace {

using ATransactionSlot = Engine::ASlot<ATransaction>;

bool InDayOrder(const ATransactionSlot* a, const ATransactionSlot* b)
{
    const int c = ATransaction::Compare(a->Record(), b->Record(), 3);
    return c != 0 ? c < 0 : a->id < b->id;
}

// What the open step has done, gathered in one walk of its lists: the accounts whose
// balances it may have changed, and for each account the transactions of the step
// that name it now. Recalculating many accounts then costs one walk, not one each.
class AStepTransactions {
public:
    explicit AStepTransactions(ADatabase& db) : db_(db)
    {
        touchedBefore_.assign(db.Transactions().SlotCount(), false);
        byAccount_.resize(db.Accounts().SlotCount());
        noted_.assign(db.Accounts().SlotCount(), false);
        for (const Engine::ASlotList* list : {&db.StepChanged(), &db.StepDeleted(), &db.StepInserted()})
            for (Engine::ARecordBase* base : *list)
                Take(*base);
    }

    // In the order the step first names them.
    const std::vector<AReference<AAccount>>& Accounts() const { return accounts_; }
    // The live transactions of the step on either side of the account, in no order.
    const std::vector<ATransactionSlot*>& Naming(AReference<AAccount> account) const
    {
        static const std::vector<ATransactionSlot*> kNone;
        return account.IsResolved() && account.SlotPosition() < byAccount_.size() ? byAccount_[account.SlotPosition()]
                                                                                   : kNone;
    }
    // Whether the step had inserted, changed or deleted the transaction before the
    // recalculation began: recalculating one account changes transactions of others
    // (transfers), which must still be found where the indexes list them.
    bool TouchedBefore(const ATransactionSlot* slot) const { return touchedBefore_[slot->position]; }

private:
    void Take(Engine::ARecordBase& base)
    {
        const Engine::ATableId table = base.table->Id();
        if (table == AAccount::kTableId) {
            if (base.role == Engine::ARecordBase::AStepRole::Changed ||
                base.role == Engine::ARecordBase::AStepRole::Inserted)
                NoteAccount(Engine::ATableImpl<AAccount>::RefTo(&base));
            return;
        }
        if (table != ATransaction::kTableId)
            return;
        auto& slot = static_cast<ATransactionSlot&>(base);
        touchedBefore_[slot.position] = true;
        const ATransaction& now = slot.Record();
        NoteAccount(now.account1);
        NoteAccount(now.account2);
        // A changed or deleted transaction may have left an account: its previous version counts too.
        if (slot.role != Engine::ARecordBase::AStepRole::Inserted && slot.current > 0) {
            NoteAccount(slot.RecordAt(slot.current - 1).account1);
            NoteAccount(slot.RecordAt(slot.current - 1).account2);
        }
        if (!slot.Exists())
            return;
        NoteNaming(now.account1, slot);
        if (now.account2 != now.account1)
            NoteNaming(now.account2, slot);
    }
    void NoteAccount(AReference<AAccount> account)
    {
        if (!db_.Accounts().Record(account) || noted_[account.SlotPosition()])
            return;
        noted_[account.SlotPosition()] = true;
        accounts_.push_back(account);
    }
    void NoteNaming(AReference<AAccount> account, ATransactionSlot& slot)
    {
        if (account.IsResolved() && account.SlotPosition() < byAccount_.size())
            byAccount_[account.SlotPosition()].push_back(&slot);
    }

    ADatabase& db_;
    std::vector<AReference<AAccount>> accounts_;
    std::vector<std::vector<ATransactionSlot*>> byAccount_;  // by the account's slot position
    std::vector<bool> noted_;                                // by the account's slot position
    std::vector<bool> touchedBefore_;                        // by the transaction's slot position
};

// The account's transactions in the day order of index 3, as they stand in the step:
// the committed ones from index 5 (side 1) and 6 (side 2), which list each under its
// account, then the day order, merged with the step's own.
std::vector<ATransactionSlot*> TransactionsOf(ADatabase& db, AReference<AAccount> account,
                                              const AStepTransactions& step)
{
    auto& transactions = db.Transactions();
    std::vector<ATransactionSlot*> slots;
    auto takeCommitted = [&](int n, auto sideAccount) {
        for (ATransactionSlot* slot : IndexedPrefixRange(transactions, n, [&](const ATransaction& t) {
                 return Compare3(sideAccount(t), account);
             }))
            if (slot->Exists() && !step.TouchedBefore(slot))
                slots.push_back(slot);
    };
    takeCommitted(5, [](const ATransaction& t) { return t.account1; });
    const auto side2 = static_cast<std::ptrdiff_t>(slots.size());
    takeCommitted(6, [](const ATransaction& t) { return t.account2; });
    std::inplace_merge(slots.begin(), slots.begin() + side2, slots.end(), InDayOrder);
    const auto stepOwn = static_cast<std::ptrdiff_t>(slots.size());
    const auto& naming = step.Naming(account);
    slots.insert(slots.end(), naming.begin(), naming.end());
    std::sort(slots.begin() + stepOwn, slots.end(), InDayOrder);
    std::inplace_merge(slots.begin(), slots.begin() + stepOwn, slots.end(), InDayOrder);
    // A committed transfer from the account to itself comes from both indexes.
    slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
    return slots;
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

namespace {

ARecalculation RecalculateWith(ADatabase& db, AReference<AAccount> account, const AStepTransactions& step)
{
    ARecalculation result;
    const AAccount* owner = db.Accounts().Record(account);
    if (!owner)
        return result;
    AMoney running = owner->initialBalance;
    for (ATransactionSlot* slot : TransactionsOf(db, account, step)) {
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

}  // namespace

ARecalculation Recalculate(ADatabase& db, AReference<AAccount> account)
{
    if (!FD_VERIFY(db.StepOpen()))
        return {};
    return RecalculateWith(db, account, AStepTransactions(db));
}

std::vector<AReference<AAccount>> AccountsTouchedByStep(ADatabase& db) { return AStepTransactions(db).Accounts(); }

ARecalculation RecalculateTouchedAccounts(ADatabase& db)
{
    ARecalculation total;
    const AStepTransactions step(db);
    for (AReference<AAccount> account : step.Accounts()) {
        const ARecalculation one = RecalculateWith(db, account, step);
        total.changedTransactions += one.changedTransactions;
        total.overflowed = total.overflowed || one.overflowed;
    }
    return total;
}

std::optional<AMoney> HeldQuantity(ADatabase& db, AReference<AAccount> account)
{
    AMoney held = 0;
    for (const ATransactionSlot* slot : IndexedPrefixRange(db.Transactions(), 5, [&](const ATransaction& t) {
             return Compare3(t.account1, account);
         })) {
        const ATransaction& t = slot->Record();
        if (!slot->Exists() || !t.executed || t.account2 || t.balance || t.amount1 == 0)
            continue;
        if (!(t.amount1 > 0 ? Money::Add(held, t.quantity, held) : Money::Subtract(held, t.quantity, held)))
            return std::nullopt;
    }
    return held;
}

}  // namespace Database
