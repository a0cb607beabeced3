#include "database/Deletion.h"

#include "database/StepView.h"

#include <vector>

namespace Database {

namespace {

// The node and every node below it, each once, top first. Parent chains that loop (a
// damaged file) end where a node repeats.
template <class T>
std::vector<Engine::ASlot<T>*> Subtree(ADatabase& db, Engine::ASlot<T>* top)
{
    auto& table = db.Table<T>();
    std::vector<Engine::ASlot<T>*> nodes{top};
    std::vector<bool> seen(table.SlotCount());
    seen[top->position] = true;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const AReference<T> parent = Engine::ATableImpl<T>::RefTo(nodes[i]);
        for (Engine::ASlot<T>* child :
             CurrentPrefixRange(db, table, 2, [&](const T& record) { return Compare3(record.parent, parent); }))
            if (!seen[child->position]) {
                seen[child->position] = true;
                nodes.push_back(child);
            }
    }
    return nodes;
}

template <class T>
void DeleteSubtree(ADatabase& db, Engine::ASlot<T>* top)
{
    if (!FD_VERIFY(top && top->Exists()))
        return;
    for (Engine::ASlot<T>* node : Subtree(db, top))
        Delete<T>(db, node);
}

}  // namespace

void Delete(ADatabase& db, Engine::ASlot<ACategory>* category) { DeleteSubtree(db, category); }

void Delete(ADatabase& db, Engine::ASlot<ABudgetItem>* item) { DeleteSubtree(db, item); }

void Delete(ADatabase& db, Engine::ASlot<AClassifier>* classifier)
{
    if (!FD_VERIFY(classifier && classifier->Exists()))
        return;
    const AClassifier record = classifier->Record();
    const std::uint32_t pageType = APageInfo::kCategoriesBase + classifier->id;
    Delete<AClassifier>(db, classifier);
    for (AReference<ACategory> root : {record.root1, record.root2, record.root3}) {
        Engine::ASlot<ACategory>* slot = db.Categories().Get(root);
        if (slot && slot->Exists())
            Delete(db, slot);
    }
    // Every user's categories page of this classifier goes with it.
    std::vector<Engine::ASlot<APageInfo>*> pages;
    ForEachLive(db.Pages(), [&](Engine::ASlot<APageInfo>* page) {
        if (page->Record().type == pageType)
            pages.push_back(page);
    });
    for (Engine::ASlot<APageInfo>* page : pages)
        Delete(db, page);
}

void Delete(ADatabase& db, Engine::ASlot<AAccountFolder>* folder)
{
    if (!FD_VERIFY(folder && folder->Exists()))
        return;
    const auto folders = Subtree(db, folder);
    for (Engine::ASlot<AAccountFolder>* node : folders) {
        const auto ref = Engine::ATableImpl<AAccountFolder>::RefTo(node);
        for (Engine::ASlot<AAccountPlacement>* placement : CurrentPrefixRange(
                 db, db.Placements(), 3, [&](const AAccountPlacement& p) { return Compare3(p.folder, ref); })) {
            // An account placed twice below the folder is deleted once.
            Engine::ASlot<AAccount>* account = db.Accounts().Get(placement->Record().account);
            if (account && account->Exists())
                Delete(db, account);
        }
    }
    for (Engine::ASlot<AAccountFolder>* node : folders)
        Delete<AAccountFolder>(db, node);
}

void DeleteAccountPlan(ADatabase& db, Engine::ASlot<AAccountFolder>* plan) { DeleteSubtree(db, plan); }

}  // namespace Database
