#include "database/Locks.h"

#include "database/DatabaseTexts.h"
#include "database/StepView.h"
#include "database/engine/StepGuard.h"

#include <vector>

namespace Database {

namespace {

using AFolderSlot = Engine::ASlot<AAccountFolder>;

void SetLocked(ADatabase& db, AFolderSlot* folder, bool locked)
{
    if ((folder->Record().locked != 0) != locked)
        db.Folders().Change(folder)->locked = locked ? 1 : 0;
}

void SetLocked(ADatabase& db, Engine::ASlot<AAccount>* account, bool locked)
{
    if ((account->Record().locked != 0) != locked)
        db.Accounts().Change(account)->locked = locked ? 1 : 0;
}

// Unlocks the folder and its locked ancestors, stopping at the first unlocked one. A
// parent chain that loops (a damaged file) ends after as many folders as there are.
void UnlockUpwards(ADatabase& db, AFolderSlot* folder)
{
    auto& folders = db.Folders();
    for (std::size_t steps = 0; folder && folder->Exists() && folder->Record().locked; ++steps) {
        if (steps > folders.SlotCount())
            return;
        SetLocked(db, folder, false);
        folder = folders.Get(folder->Record().parent);
    }
}

void LockDownwards(ADatabase& db, AFolderSlot* top)
{
    auto& folders = db.Folders();
    std::vector<AFolderSlot*> pending{top};
    std::vector<bool> seen(folders.SlotCount());
    seen[top->position] = true;
    while (!pending.empty()) {
        AFolderSlot* folder = pending.back();
        pending.pop_back();
        SetLocked(db, folder, true);
        const auto ref = Engine::ATableImpl<AAccountFolder>::RefTo(folder);
        for (AFolderSlot* child : CurrentPrefixRange(
                 db, folders, 2, [&](const AAccountFolder& f) { return Compare3(f.parent, ref); }))
            if (!seen[child->position]) {
                seen[child->position] = true;
                pending.push_back(child);
            }
        for (auto* placement : CurrentPrefixRange(
                 db, db.Placements(), 3, [&](const AAccountPlacement& p) { return Compare3(p.folder, ref); }))
            if (auto* account = db.Accounts().Get(placement->Record().account); account && account->Exists())
                SetLocked(db, account, true);
    }
}

}  // namespace

int AccountLockLabelId(const AAccount& account)
{
    return account.locked ? AccountMessage::kUnlock : AccountMessage::kLock;
}

int FolderLockLabelId(const AAccountFolder& folder)
{
    return folder.locked ? FolderMessage::kUnlock : FolderMessage::kLock;
}

void ToggleAccountLock(ADatabase& db, Engine::ASlot<AAccount>* account, std::u16string_view label)
{
    if (!FD_VERIFY(account && account->Exists() && !db.StepOpen()))
        return;
    Engine::AStepGuard step(db, label);
    if (!account->Record().locked) {
        SetLocked(db, account, true);
    } else {
        SetLocked(db, account, false);
        const auto ref = Engine::ATableImpl<AAccount>::RefTo(account);
        for (auto* placement : CurrentPrefixRange(
                 db, db.Placements(), 2, [&](const AAccountPlacement& p) { return Compare3(p.account, ref); }))
            UnlockUpwards(db, db.Folders().Get(placement->Record().folder));
    }
    db.CommitStep();
}

void ToggleFolderLock(ADatabase& db, Engine::ASlot<AAccountFolder>* folder, std::u16string_view label)
{
    if (!FD_VERIFY(folder && folder->Exists() && !db.StepOpen()))
        return;
    Engine::AStepGuard step(db, label);
    if (!folder->Record().locked)
        LockDownwards(db, folder);
    else
        UnlockUpwards(db, folder);
    db.CommitStep();
}

}  // namespace Database
