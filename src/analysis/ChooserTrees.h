// The account and category trees the choosers of the filter panes and of the transaction
// dialog show, flattened depth first: each node with its depth, parents before children.
#pragma once

#include "database/Database.h"

#include <cstdint>
#include <vector>

namespace UserInterface::Filters {

struct ATreeNode {
    enum class AKind : std::uint8_t {
        Folder,        // an account plan or a folder: groups accounts, takes no transactions
        Account,
        LooseAccounts, // the heading over the accounts placed in no folder
        Category,
    };
    AKind kind;
    std::uint32_t id;  // the record's identifier; 0 for the heading
    int depth;         // 0 for plans, headings and tree roots
};

// The account plans in the order of the folder table's parent index, each followed by its
// folders and the accounts placed in it; then, when there are any, the heading and the
// accounts in no folder. An account placed in two plans is listed under each. Closed
// accounts are left out with `hideClosed`. A folder that a damaged file hangs below itself
// is listed once.
std::vector<ATreeNode> AccountTree(Database::ADatabase& db, bool hideClosed);

// The classifier's trees (the single tree, or the income, expense and transfer trees), each
// from its root.
std::vector<ATreeNode> CategoryTree(Database::ADatabase& db, Database::AReference<Database::AClassifier> classifier);

}  // namespace UserInterface::Filters
