// Locking of accounts and folders. A locked folder holds only locked folders and
// accounts; unlocking anything inside a locked folder unlocks the folders above it.
// Each toggle is one step of its own, labelled with the given text.
#pragma once

#include "database/Database.h"

#include <string_view>

namespace Database {

// The string ids of the commands, by what the toggle would do now:
// 731 "Заблокировать счёт", 732 "Разблокировать счёт", 733 "Заблокировать папку",
// 734 "Разблокировать папку".
int AccountLockLabelId(const AAccount& account);
int FolderLockLabelId(const AAccountFolder& folder);

// Locks an unlocked account; unlocks a locked one together with every locked folder it is
// placed in and their locked ancestors, up to the first unlocked one.
void ToggleAccountLock(ADatabase& db, Engine::ASlot<AAccount>* account, std::u16string_view label = {});
// Locks an unlocked folder with all its sub-folders and the accounts placed in any of
// them; unlocks a locked one and its locked ancestors, leaving its contents locked.
void ToggleFolderLock(ADatabase& db, Engine::ASlot<AAccountFolder>* folder, std::u16string_view label = {});

}  // namespace Database
