#include "analysis/CategoryMap.h"

namespace UserInterface {

using namespace Database;

ACategoryMap::ACategoryMap(ADatabase& db) : db_(db)
{
    auto& categories = db.Categories();
    const std::size_t count = categories.SlotCount();
    entries_.resize(count);
    std::vector<std::uint8_t> state(count, 0);  // 0 unknown, 1 on the current walk, 2 done
    std::vector<std::size_t> walk;
    for (std::size_t start = 0; start < count; ++start) {
        // Walk up until a known entry, a root or a loop; then fill the walked chain.
        walk.clear();
        std::size_t at = start;
        AEntry found;
        while (true) {
            if (state[at] == 2) {
                found = entries_[at];
                break;
            }
            if (state[at] == 1 || !categories.SlotAt(at).Exists())
                break;  // a loop or a dangling parent: no root
            state[at] = 1;
            walk.push_back(at);
            const AReference<ACategory> parent = categories.SlotAt(at).Record().parent;
            if (parent.IsNull()) {
                found.root = AReference<ACategory>::FromSlot(static_cast<std::uint32_t>(at));
                break;
            }
            if (!parent.IsResolved() || parent.SlotPosition() >= count)
                break;
            at = parent.SlotPosition();
        }
        for (std::size_t position : walk) {
            entries_[position] = found;
            state[position] = 2;
        }
    }
    for (const auto* classifier : db.Classifiers().Live()) {
        const AClassifier& record = classifier->Record();
        const auto ref = Engine::ATableImpl<AClassifier>::RefTo(classifier);
        for (AEntry& entry : entries_)
            if (!entry.root.IsNull() && entry.classifier.IsNull() &&
                (entry.root == record.root1 || entry.root == record.root2 || entry.root == record.root3))
                entry.classifier = ref;
    }
}

const ACategoryMap::AEntry* ACategoryMap::EntryOf(AReference<ACategory> category) const
{
    if (!category.IsResolved() || category.SlotPosition() >= entries_.size())
        return nullptr;
    return &entries_[category.SlotPosition()];
}

AReference<AClassifier> ACategoryMap::ClassifierOf(AReference<ACategory> category) const
{
    const AEntry* entry = EntryOf(category);
    return entry ? entry->classifier : AReference<AClassifier>();
}

AReference<ACategory> ACategoryMap::RootOf(AReference<ACategory> category) const
{
    const AEntry* entry = EntryOf(category);
    return entry ? entry->root : AReference<ACategory>();
}

AReference<ACategory> ACategoryMap::NodeOf(AReference<ATransaction> transaction,
                                           AReference<AClassifier> classifier) const
{
    if (classifier.IsNull())
        return {};
    ARelation probe;
    probe.transaction = transaction;
    for (const auto* relation : db_.Relations().EqualRange(3, probe)) {
        const AReference<ACategory> category = relation->Record().category;
        if (ClassifierOf(category) == classifier && db_.Categories().Record(category))
            return category;
    }
    return {};
}

}  // namespace UserInterface
