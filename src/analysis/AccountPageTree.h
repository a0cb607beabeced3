// What the accounts page and its folder choosers list for one account plan, flattened depth
// first from the account plans' tree: each node with its depth, parents before children.
#pragma once

#include "analysis/ChooserTrees.h"

namespace UserInterface::Accounts {

using Filters::ATreeNode;

// The plan (depth 0) with its folders and the accounts placed in them; with `folders` off, the
// plan's accounts alone, each once, at depth 0. Then, when there are any, the heading and the
// accounts placed nowhere in the plan. Closed accounts are left out with `hideClosed`.
std::vector<ATreeNode> PlanTree(Database::ADatabase& db, Database::AReference<Database::AAccountFolder> plan,
                                bool folders, bool hideClosed);

// The plan and its folders, the folder `without` and everything below it left out (a folder
// can't move into itself).
std::vector<ATreeNode> PlanFolders(Database::ADatabase& db, Database::AReference<Database::AAccountFolder> plan,
                                   Database::AReference<Database::AAccountFolder> without = {});

// The plans in the order of the folder table's parent index.
std::vector<Database::AReference<Database::AAccountFolder>> AccountPlans(Database::ADatabase& db);

}  // namespace UserInterface::Accounts
