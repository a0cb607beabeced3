#include "database/AccountCommands.h"

#include "database/CategoryCommands.h"
#include "database/DatabaseRules.h"
#include "database/StepView.h"
#include "database/engine/StepGuard.h"

namespace Database {

namespace {

using AAccountTable = Engine::ATableImpl<AAccount>;
using AFolderTable = Engine::ATableImpl<AAccountFolder>;

// Whether a live account other than `self` in `currency` is called `name`.
bool NameTaken(ADatabase& db, std::u16string_view name, AReference<ACurrency> currency, AReference<AAccount> self)
{
    bool taken = false;
    ForEachLive(db.Accounts(), [&](Engine::ASlot<AAccount>* slot) {
        taken = taken || (AAccountTable::RefTo(slot) != self && slot->Record().currency == currency &&
                          db.Text(slot->Record().name) == name);
    });
    return taken;
}

std::vector<Engine::ASlot<AAccountPlacement>*> PlacementsOf(ADatabase& db, AReference<AAccount> account)
{
    return CurrentPrefixRange(db, db.Placements(), 2,
                              [&](const AAccountPlacement& p) { return Compare3(p.account, account); });
}

bool FileKeepsFolders(ADatabase& db)
{
    const auto& live = db.Settings().Live();
    return !live.empty() && live.front()->Record().accountFolders != 0;
}

}  // namespace

template <class T>
void WriteNameAndComment(ADatabase& db, T& record, std::u16string_view name, std::u16string_view comment)
{
    SetText(db, record.name, name);
    // An emptied comment keeps its text, emptied; none is made for a comment still empty.
    if (comment != db.Text(record.comment))
        SetText(db, record.comment, comment);
}
template void WriteNameAndComment(ADatabase&, AAccount&, std::u16string_view, std::u16string_view);
template void WriteNameAndComment(ADatabase&, AAccountFolder&, std::u16string_view, std::u16string_view);

std::optional<AAccountFailure> CheckNewAccount(ADatabase& db, const AAccountInput& input)
{
    const std::u16string name = TypedText(input.name);
    if (name.empty())
        return AAccountFailure{AccountMessage::kNameMissing, AAccountField::Name};
    if (!db.Currencies().Record(input.currency))
        return AAccountFailure{AccountMessage::kCurrencyMissing, AAccountField::Currency};
    if (NameTaken(db, name, input.currency, {}))
        return AAccountFailure{AccountMessage::kNameTaken, AAccountField::Name};
    if (!input.initialBalance)
        return AAccountFailure{AccountMessage::kInitialBalanceInvalid, AAccountField::InitialBalance};
    return std::nullopt;
}

std::optional<AAccountFailure> CheckChangedAccount(ADatabase& db, const Engine::ASlot<AAccount>& account,
                                                   const AAccountInput& input)
{
    const std::u16string name = TypedText(input.name);
    const AAccount& stored = account.Record();
    if (name.empty())
        return AAccountFailure{AccountMessage::kNameMissing, AAccountField::Name};
    if (name != db.Text(stored.name) && NameTaken(db, name, stored.currency, AAccountTable::RefTo(&account)))
        return AAccountFailure{AccountMessage::kNameTaken, AAccountField::Name};
    if (!input.initialBalance)
        return AAccountFailure{AccountMessage::kInitialBalanceInvalid, AAccountField::InitialBalance};
    return std::nullopt;
}

Engine::ASlot<AAccountFolder>* PlanOf(ADatabase& db, AReference<AAccountFolder> folder)
{
    auto& folders = db.Folders();
    Engine::ASlot<AAccountFolder>* slot = folders.Get(folder);
    for (std::size_t steps = 0; slot && slot->Exists(); ++steps) {
        if (steps > folders.SlotCount())
            return nullptr;  // a damaged file's loop
        if (slot->Record().parent.IsNull())
            return slot;
        slot = folders.Get(slot->Record().parent);
    }
    return nullptr;
}

AReference<AAccountFolder> FolderInPlan(ADatabase& db, AReference<AAccount> account, AReference<AAccountFolder> plan)
{
    for (auto* placement : PlacementsOf(db, account))
        if (auto* top = PlanOf(db, placement->Record().folder); top && AFolderTable::RefTo(top) == plan)
            return placement->Record().folder;
    return {};
}

AReference<AAccount> AddAccount(ADatabase& db, const AAccountInput& input, std::u16string_view label)
{
    Engine::AStepGuard step(db, label);
    AAccount record;
    record.name = db.NewText(TypedText(input.name));
    record.currency = input.currency;
    record.initialBalance = input.initialBalance.value_or(0);
    if (!input.comment.empty())
        record.comment = db.NewText(input.comment);
    const auto account = AAccountTable::RefTo(db.Accounts().Create(record));
    Engine::ASlot<AAccountFolder>* chosenPlan = nullptr;
    if (FileKeepsFolders(db) && db.Folders().Record(input.folder)) {
        db.Placements().Create(AAccountPlacement{account, input.folder});
        chosenPlan = PlanOf(db, input.folder);
    }
    // Every other plan shows the account at its top.
    std::vector<AReference<AAccountFolder>> plans;
    ForEachLive(db.Folders(), [&](Engine::ASlot<AAccountFolder>* folder) {
        if (folder->Record().parent.IsNull() && folder != chosenPlan)
            plans.push_back(AFolderTable::RefTo(folder));
    });
    for (auto plan : plans)
        db.Placements().Create(AAccountPlacement{account, plan});
    CommitWithRules(db);
    return account;
}

AChangeOutcome ChangeAccount(ADatabase& db, Engine::ASlot<AAccount>& account, AReference<AAccountFolder> plan,
                             const AAccountInput& input, std::u16string_view label)
{
    const auto ref = AAccountTable::RefTo(&account);
    const std::u16string name = TypedText(input.name);
    const AAccount& stored = account.Record();
    const AMoney initial = input.initialBalance.value_or(stored.initialBalance);
    const AReference<AAccountFolder> oldFolder = FolderInPlan(db, ref, plan);
    const bool moves = !input.folder.IsNull() && input.folder != oldFolder;
    if (name == db.Text(stored.name) && initial == stored.initialBalance && input.comment == db.Text(stored.comment) &&
        !moves)
        return AChangeOutcome::Unchanged;

    Engine::AStepGuard step(db, label);
    AAccount changed = stored;
    WriteNameAndComment(db, changed, name, input.comment);
    changed.initialBalance = initial;
    // Only a record that differs is opened: an opened account has its balances recalculated.
    if (changed.name != stored.name || changed.comment != stored.comment || initial != stored.initialBalance)
        *db.Accounts().Change(&account) = changed;
    if (moves) {
        Engine::ASlot<AAccountPlacement>* placement = nullptr;
        for (auto* p : PlacementsOf(db, ref))
            if (p->Record().folder == oldFolder && !oldFolder.IsNull())
                placement = p;
        if (placement)
            db.Placements().Change(placement)->folder = input.folder;
        else
            db.Placements().Create(AAccountPlacement{ref, input.folder});
    }
    if (ApplyRules(db).overflowed)
        return AChangeOutcome::BalanceOutOfRange;  // the guard rolls the step back
    db.CommitStep();
    return AChangeOutcome::Changed;
}

AChangeOutcome MoveAccount(ADatabase& db, Engine::ASlot<AAccount>& account, AReference<AAccountFolder> plan,
                           AReference<AAccountFolder> folder, std::u16string_view label)
{
    const AAccount& stored = account.Record();
    return ChangeAccount(db, account, plan,
                         AAccountInput{db.Text(stored.name), stored.currency, stored.initialBalance,
                                       db.Text(stored.comment), folder},
                         label);
}

std::size_t CountTransactionsOf(ADatabase& db, const std::vector<AReference<AAccount>>& accounts)
{
    auto& transactions = db.Transactions();
    std::vector<bool> seen(transactions.SlotCount());
    std::size_t count = 0;
    for (AReference<AAccount> account : accounts)
        for (int index : {5, 6})
            for (auto* slot : CurrentPrefixRange(db, transactions, index, [&](const ATransaction& t) {
                     return Compare3(index == 5 ? t.account1 : t.account2, account);
                 }))
                if (!seen[slot->position]) {
                    seen[slot->position] = true;
                    ++count;
                }
    return count;
}

void DeleteAccounts(ADatabase& db, const std::vector<AReference<AAccount>>& accounts, std::u16string_view label)
{
    Engine::AStepGuard step(db, label);
    for (AReference<AAccount> account : accounts)
        if (auto* slot = db.Accounts().Get(account); slot && slot->Exists() &&
                                                      slot->role == Engine::ARecordBase::AStepRole::None)
            Delete(db, slot);
    CommitWithRules(db);
}

}  // namespace Database
