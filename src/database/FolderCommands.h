// The accounts page's commands on folders and account plans (folders without parent): the
// checks of the folder dialog, the one-step record changes of adding, changing, moving and
// deleting, and the question asked before a folder goes with everything in it.
#pragma once

#include "core/AStrings.h"
#include "database/Database.h"
#include "database/DatabaseTexts.h"

#include <optional>
#include <string>
#include <string_view>

namespace Database {

struct AFolderInput {
    std::u16string name;  // as typed
    std::u16string comment;
    // Null for an account plan. When changing a folder, null keeps its parent.
    AReference<AAccountFolder> parent;
};

// 738 for an empty name; a sibling of the same name: 739, or 740 between plans.
std::optional<int> CheckFolder(ADatabase& db, const AFolderInput& input, AReference<AAccountFolder> self = {});

// One step `label`: the folder with its texts; a new plan gets a placement of every account.
AReference<AAccountFolder> AddFolder(ADatabase& db, const AFolderInput& input, std::u16string_view label);
// One step `label` with what differs; false (no step) when nothing does or when the new parent
// lies inside the folder itself.
bool ChangeFolder(ADatabase& db, Engine::ASlot<AAccountFolder>& folder, const AFolderInput& input,
                  std::u16string_view label);

// Whether `folder` is `top` or lies below it.
bool IsWithin(ADatabase& db, AReference<AAccountFolder> folder, AReference<AAccountFolder> top);

// What deleting a folder takes with it: the folders below it and the accounts placed in it or
// below it, locked ones counted apart, and those accounts' transactions.
struct AFolderContents {
    std::size_t folders = 0, lockedFolders = 0, accounts = 0, lockedAccounts = 0, transactions = 0;
};
AFolderContents ContentsOf(ADatabase& db, AReference<AAccountFolder> folder);

// The question of 742: the contents item by item, what goes with them, then 751.
std::u16string FolderDeleteQuestion(const UtilityClasses::Strings::AStrings& strings, const AFolderContents& contents,
                                    std::u16string_view name, bool severalPlans);

// The question of 725: whether to delete the plan, whose accounts stay.
std::u16string PlanDeleteQuestion(const UtilityClasses::Strings::AStrings& strings, std::u16string_view name);

// Whether a plan may go: one always stays.
bool CanDeletePlan(ADatabase& db);
// One step `label`: a folder with its folders and their accounts from every plan, or a plan
// with its folders only (its accounts stay in the other plans).
void DeleteFolder(ADatabase& db, Engine::ASlot<AAccountFolder>& folder, std::u16string_view label);

}  // namespace Database
