// Walking a table's sorted indexes from inside an open step.
//
// Until a step is committed the indexes from 1 up list its inserted records not at
// all, its changed records under their values from before the step, and its deleted
// records with the deleted flag set. The rules that run before the commit (balances,
// deletion clean-up) must see the step's own work, so they take the committed part of
// an index range and add what the step's lists say.
#pragma once

#include "database/engine/dbEngine.h"

#include <algorithm>
#include <span>
#include <vector>

namespace Database {

template <class T>
using ASlotOf = Engine::ASlot<T>;

// The slots of index n whose indexed values match a leading part of the key.
// keyOrder(record) answers <0 when the record sorts before the wanted key part, >0
// after it and 0 when it matches, consistently with the index's order.
template <class T, class KeyOrder>
std::span<ASlotOf<T>* const> IndexedPrefixRange(const Engine::ATableImpl<T>& table, int n, KeyOrder keyOrder)
{
    const auto& index = table.IndexAt(n);
    auto first = std::partition_point(index.begin(), index.end(),
                                      [&](const ASlotOf<T>* slot) { return keyOrder(slot->IndexedRecord()) < 0; });
    auto last = std::partition_point(first, index.end(),
                                     [&](const ASlotOf<T>* slot) { return keyOrder(slot->IndexedRecord()) == 0; });
    return {first, last};
}

// Calls fn(slot) for every slot of table T in the open step's list.
template <class T, class Fn>
void ForEachStepSlot(const Engine::ASlotList& list, Fn fn)
{
    for (Engine::ARecordBase* base : list)
        if (base->table->Id() == T::kTableId)
            fn(static_cast<ASlotOf<T>*>(base));
}

// The live records whose current values match the key part, in the order of index n
// by current values (then identifier), as the index will hold them after the commit.
template <class T, class KeyOrder>
std::vector<ASlotOf<T>*> CurrentPrefixRange(const Engine::ADBEngine& engine, const Engine::ATableImpl<T>& table,
                                            int n, KeyOrder keyOrder)
{
    auto byKeyThenId = [n](const ASlotOf<T>* a, const ASlotOf<T>* b) {
        const int c = T::Compare(a->Record(), b->Record(), n);
        return c != 0 ? c < 0 : a->id < b->id;
    };
    std::vector<ASlotOf<T>*> committed;
    // Records the step touched are sorted here by the values they had before it.
    for (ASlotOf<T>* slot : IndexedPrefixRange(table, n, keyOrder))
        if (slot->role == Engine::ARecordBase::AStepRole::None)
            committed.push_back(slot);
    std::vector<ASlotOf<T>*> touched;
    auto takeIfMatching = [&](ASlotOf<T>* slot) {
        if (slot->Exists() && keyOrder(slot->Record()) == 0)
            touched.push_back(slot);
    };
    ForEachStepSlot<T>(engine.StepChanged(), takeIfMatching);
    ForEachStepSlot<T>(engine.StepInserted(), takeIfMatching);
    if (touched.empty())
        return committed;
    std::sort(touched.begin(), touched.end(), byKeyThenId);
    std::vector<ASlotOf<T>*> merged;
    merged.reserve(committed.size() + touched.size());
    std::merge(committed.begin(), committed.end(), touched.begin(), touched.end(), std::back_inserter(merged),
               byKeyThenId);
    return merged;
}

// Calls fn(slot) for every live record of table T, those the open step inserted
// included, in identifier order. For the small tables that have no index by the
// reference a rule follows.
template <class T, class Fn>
void ForEachLive(Engine::ATableImpl<T>& table, Fn fn)
{
    for (std::size_t i = 0; i < table.SlotCount(); ++i) {
        ASlotOf<T>& slot = table.SlotAt(i);
        if (slot.Exists())
            fn(&slot);
    }
}

// The first live record (in identifier order) that satisfies the predicate.
template <class T, class Predicate>
ASlotOf<T>* FirstLive(Engine::ATableImpl<T>& table, Predicate predicate)
{
    for (std::size_t i = 0; i < table.SlotCount(); ++i) {
        ASlotOf<T>& slot = table.SlotAt(i);
        if (slot.Exists() && predicate(slot.Record()))
            return &slot;
    }
    return nullptr;
}

}  // namespace Database
