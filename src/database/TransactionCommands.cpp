#include "database/TransactionCommands.h"

#include "database/engine/StepGuard.h"

#include "database/DatabaseRules.h"
#include "database/RecurrenceExecution.h"

#include <algorithm>

namespace Database {

namespace {

using ATransactionTable = Engine::ATableImpl<ATransaction>;

void AddOnce(std::vector<AReference<AAccount>>& accounts, AReference<AAccount> account)
{
    if (!account.IsNull() && std::find(accounts.begin(), accounts.end(), account) == accounts.end())
        accounts.push_back(account);
}

bool Live(const Engine::ASlot<ATransaction>* slot)
{
    return slot && slot->Exists();
}

}  // namespace

bool AnyLocked(const ATransactionSlots& selection)
{
    return std::any_of(selection.begin(), selection.end(),
                       [](const auto* slot) { return Live(slot) && slot->Record().locked; });
}

bool AnyPlanned(const ATransactionSlots& selection)
{
    return std::any_of(selection.begin(), selection.end(),
                       [](const auto* slot) { return Live(slot) && !slot->Record().executed; });
}

std::vector<AReference<AAccount>> DeleteTransactions(ADatabase& db, const ATransactionSlots& selection,
                                                     std::u16string_view label)
{
    std::vector<AReference<AAccount>> accounts;
    if (std::none_of(selection.begin(), selection.end(), Live))
        return accounts;
    Engine::AStepGuard step(db, label);
    for (Engine::ASlot<ATransaction>* slot : selection) {
        if (!Live(slot))
            continue;
        ARelation probe;
        probe.transaction = ATransactionTable::RefTo(slot);
        const auto range = db.Relations().EqualRange(3, probe);
        for (Engine::ASlot<ARelation>* relation : std::vector(range.begin(), range.end()))
            if (relation->Exists())
                Delete(db, relation);
        if (slot->Record().executed) {
            AddOnce(accounts, slot->Record().account1);
            AddOnce(accounts, slot->Record().account2);
        }
        Delete(db, slot);
    }
    for (AReference<AAccount> account : accounts)
        Recalculate(db, account);
    db.CommitStep();
    return accounts;
}

bool SetTransactionsLocked(ADatabase& db, const ATransactionSlots& selection, bool locked, std::u16string_view label)
{
    const std::uint8_t flag = locked ? 1 : 0;
    if (std::none_of(selection.begin(), selection.end(),
                     [&](const auto* slot) { return Live(slot) && slot->Record().locked != flag; }))
        return false;
    Engine::AStepGuard step(db, label);
    for (Engine::ASlot<ATransaction>* slot : selection)
        if (Live(slot) && slot->Record().locked != flag)
            if (ATransaction* changed = ChangeKeepingPlace(db, slot))
                changed->locked = flag;
    db.CommitStep();
    return true;
}

std::size_t ExecutePlanned(ADatabase& db, const ATransactionSlots& selection, std::u16string_view label)
{
    if (!AnyPlanned(selection))
        return 0;
    Engine::AStepGuard step(db, label);
    std::size_t executed = 0;
    for (Engine::ASlot<ATransaction>* slot : selection)
        if (Live(slot) && !slot->Record().executed) {
            Recurrence::ExecuteOccurrence(db, *slot);
            ++executed;
        }
    if (ApplyRules(db).overflowed)
        return 0;
    db.CommitStep();
    return executed;
}

ATransactionSlots DuePlanned(ADatabase& db, ADate today)
{
    ATransactionSlots due;
    for (Engine::ASlot<ATransaction>* slot : db.Transactions().IndexAt(3)) {
        const ATransaction& t = slot->Record();
        if (t.date > today)
            break;
        if (slot->Exists() && !t.executed && !t.locked)
            due.push_back(slot);
    }
    return due;
}

}  // namespace Database
