#include "database/CategoryCommands.h"

#include "database/DeleteStep.h"
#include "core/TextUtilities.h"
#include "database/DatabaseRules.h"
#include "database/StepView.h"
#include "database/engine/StepGuard.h"

#include <set>

namespace Database {

namespace {

using ACategoryTable = Engine::ATableImpl<ACategory>;

Engine::ASlot<ACategory>* LiveCategory(ADatabase& db, AReference<ACategory> ref)
{
    Engine::ASlot<ACategory>* slot = db.Categories().Get(ref);
    return slot && slot->Exists() ? slot : nullptr;
}

// Whether `node` is `top` or lies below it; a parent chain that loops (a damaged file) counts
// as below, so nothing is hung into it.
bool AtOrBelow(ADatabase& db, AReference<ACategory> node, AReference<ACategory> top)
{
    for (std::size_t steps = 0; !node.IsNull(); ++steps) {
        const ACategory* record = db.Categories().Record(node);
        if (node == top || steps > db.Categories().SlotCount())
            return true;
        if (!record)
            return false;
        node = record->parent;
    }
    return false;
}

}  // namespace

std::optional<int> CheckCategoryName(ADatabase& db, std::u16string_view name, AReference<ACategory> parent,
                                     AReference<ACategory> self)
{
    if (name.empty())
        return CategoryMessage::kNameMissing;
    if (auto backslash = CheckNoBackslash(name))
        return backslash;
    ACategory probe;
    probe.parent = parent;
    for (Engine::ASlot<ACategory>* sibling : db.Categories().EqualRange(2, probe))
        if (sibling->Exists() && ACategoryTable::RefTo(sibling) != self && db.Text(sibling->Record().name) == name)
            return CategoryMessage::kNameTaken;
    return std::nullopt;
}

bool CanBeParentOf(ADatabase& db, AReference<ACategory> candidate, AReference<ACategory> category)
{
    if (!LiveCategory(db, candidate) || AtOrBelow(db, candidate, category))
        return false;
    const auto* root = RootOf(db, candidate);
    return root && root == RootOf(db, category);
}

AReference<ACategory> AddCategory(ADatabase& db, AReference<ACategory> parent, std::u16string_view name,
                                  std::u16string_view comment, std::u16string_view label)
{
    if (!FD_VERIFY(LiveCategory(db, parent) && !db.StepOpen()))
        return {};
    Engine::AStepGuard step(db, label);
    const auto ref = ACategoryTable::RefTo(db.Categories().Create(ACategory{db.NewText(name), db.NewText(comment), parent}));
    db.CommitStep();
    return ref;
}

bool ChangeCategory(ADatabase& db, AReference<ACategory> category, std::u16string_view name,
                    std::u16string_view comment, std::optional<AReference<ACategory>> parent,
                    std::u16string_view label)
{
    Engine::ASlot<ACategory>* slot = LiveCategory(db, category);
    if (!FD_VERIFY(slot && !db.StepOpen()))
        return false;
    const ACategory& record = slot->Record();
    const bool move = parent && *parent != record.parent && !record.parent.IsNull() &&
                      CanBeParentOf(db, *parent, category);
    if (db.Text(record.name) == name && db.Text(record.comment) == comment && !move)
        return false;
    Engine::AStepGuard step(db, label);
    ACategory* changed = db.Categories().Change(slot);
    SetText(db, changed->name, name);
    SetText(db, changed->comment, comment);
    if (move)
        changed->parent = *parent;
    db.CommitStep();
    return true;
}

std::size_t TransactionsLosing(ADatabase& db, AReference<ACategory> category)
{
    std::set<std::uint32_t> transactions;
    for (Engine::ASlot<ARelation>* relation : db.Relations().Live())
        if (relation->Exists() && AtOrBelow(db, relation->Record().category, category))
            transactions.insert(relation->Record().transaction.Word());
    return transactions.size();
}

bool DeleteCategory(ADatabase& db, AReference<ACategory> category, std::u16string_view label)
{
    // A tree's root stays: its classifier points at it.
    const ACategory* record = db.Categories().Record(category);
    return record && !record->parent.IsNull() && DeleteInOneStep(db, category, label);
}

}  // namespace Database
