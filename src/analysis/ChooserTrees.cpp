#include "analysis/ChooserTrees.h"

#include <set>

namespace UserInterface::Filters {

using namespace Database;

namespace {

class AAccountWalk {
public:
    AAccountWalk(ADatabase& db, bool hideClosed) : db_(db), hideClosed_(hideClosed) {}

    std::vector<ATreeNode> Run()
    {
        for (auto* plan : SubFolders({}))
            AddFolder(*plan, 0);
        std::vector<std::uint32_t> loose;
        for (auto* slot : db_.Accounts().Live())
            if (!placed_.contains(slot->id) && Shows(slot->Record()))
                loose.push_back(slot->id);
        if (!loose.empty()) {
            nodes_.push_back({ATreeNode::AKind::LooseAccounts, 0, 0});
            for (std::uint32_t id : loose)
                nodes_.push_back({ATreeNode::AKind::Account, id, 1});
        }
        return std::move(nodes_);
    }

private:
    std::span<Engine::ASlot<AAccountFolder>* const> SubFolders(AReference<AAccountFolder> parent)
    {
        AAccountFolder probe;
        probe.parent = parent;
        return db_.Folders().EqualRange(2, probe);
    }

    bool Shows(const AAccount& account) const { return !(hideClosed_ && account.locked); }

    void AddFolder(Engine::ASlot<AAccountFolder>& folder, int depth)
    {
        if (!visited_.insert(folder.id).second)
            return;
        nodes_.push_back({ATreeNode::AKind::Folder, folder.id, depth});
        const auto ref = Engine::ATableImpl<AAccountFolder>::RefTo(&folder);
        for (auto* child : SubFolders(ref))
            AddFolder(*child, depth + 1);
        AAccountPlacement probe;
        probe.folder = ref;
        for (auto* placement : db_.Placements().EqualRange(3, probe))
            if (auto* account = db_.Accounts().Get(placement->Record().account); account && account->Exists()) {
                placed_.insert(account->id);
                if (Shows(account->Record()))
                    nodes_.push_back({ATreeNode::AKind::Account, account->id, depth + 1});
            }
    }

    ADatabase& db_;
    bool hideClosed_;
    std::vector<ATreeNode> nodes_;
    std::set<std::uint32_t> placed_, visited_;
};

void AddCategory(ADatabase& db, Engine::ASlot<ACategory>& slot, int depth, std::vector<ATreeNode>& nodes,
                 std::set<std::uint32_t>& visited)
{
    if (!visited.insert(slot.id).second)
        return;
    nodes.push_back({ATreeNode::AKind::Category, slot.id, depth});
    ACategory probe;
    probe.parent = Engine::ATableImpl<ACategory>::RefTo(&slot);
    for (auto* child : db.Categories().EqualRange(2, probe))
        AddCategory(db, *child, depth + 1, nodes, visited);
}

}  // namespace

std::vector<ATreeNode> AccountTree(ADatabase& db, bool hideClosed)
{
    return AAccountWalk(db, hideClosed).Run();
}

std::vector<ATreeNode> CategoryTree(ADatabase& db, AReference<AClassifier> classifier)
{
    std::vector<ATreeNode> nodes;
    const AClassifier* record = db.Classifiers().Record(classifier);
    if (!record)
        return nodes;
    std::set<std::uint32_t> visited;
    for (auto root : {record->root1, record->root2, record->root3})
        if (auto* slot = db.Categories().Get(root); slot && slot->Exists())
            AddCategory(db, *slot, 0, nodes, visited);
    return nodes;
}

}  // namespace UserInterface::Filters
