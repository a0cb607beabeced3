#include "analysis/AccountPageTree.h"

#include <set>

namespace UserInterface::Accounts {

using namespace Database;
using AKind = ATreeNode::AKind;

namespace {

// The plan's part of the whole tree: its node and everything up to the next plan.
std::vector<ATreeNode> PlanPart(ADatabase& db, AReference<AAccountFolder> plan, bool hideClosed)
{
    const auto* slot = db.Folders().Get(plan);
    std::vector<ATreeNode> part;
    if (!slot || !slot->Exists())
        return part;
    bool inside = false;
    for (const ATreeNode& node : Filters::AccountTree(db, hideClosed)) {
        if (node.depth == 0)
            inside = node.kind == AKind::Folder && node.id == slot->id;
        if (inside)
            part.push_back(node);
    }
    return part;
}

}  // namespace

std::vector<ATreeNode> PlanTree(ADatabase& db, AReference<AAccountFolder> plan, bool folders, bool hideClosed)
{
    std::vector<ATreeNode> nodes;
    std::set<std::uint32_t> listed;
    for (const ATreeNode& node : PlanPart(db, plan, hideClosed)) {
        const bool firstTime = node.kind == AKind::Account && listed.insert(node.id).second;
        if (folders)
            nodes.push_back(node);
        else if (firstTime)
            nodes.push_back({AKind::Account, node.id, 0});
    }
    std::vector<ATreeNode> loose;
    for (const auto* slot : db.Accounts().Live())
        if (!listed.contains(slot->id) && !(hideClosed && slot->Record().locked))
            loose.push_back({AKind::Account, slot->id, 1});
    if (!loose.empty()) {
        nodes.push_back({AKind::LooseAccounts, 0, 0});
        nodes.insert(nodes.end(), loose.begin(), loose.end());
    }
    return nodes;
}

std::vector<ATreeNode> PlanFolders(ADatabase& db, AReference<AAccountFolder> plan, AReference<AAccountFolder> without)
{
    const auto* left = db.Folders().Get(without);
    std::vector<ATreeNode> nodes;
    int skipBelow = -1;  // while >= 0: the depth of the folder left out
    for (const ATreeNode& node : PlanPart(db, plan, true)) {
        if (node.kind != AKind::Folder)
            continue;
        if (skipBelow >= 0 && node.depth > skipBelow)
            continue;
        skipBelow = left && node.id == left->id ? node.depth : -1;
        if (skipBelow < 0)
            nodes.push_back(node);
    }
    return nodes;
}

std::vector<AReference<AAccountFolder>> AccountPlans(ADatabase& db)
{
    AAccountFolder probe;
    std::vector<AReference<AAccountFolder>> plans;
    for (auto* slot : db.Folders().EqualRange(2, probe))
        plans.push_back(Engine::ATableImpl<AAccountFolder>::RefTo(slot));
    return plans;
}

}  // namespace UserInterface::Accounts
