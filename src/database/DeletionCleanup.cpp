// The clean-up passes after the deletions of a step.
#include "database/Balances.h"
#include "database/Deletion.h"
#include "database/Lookups.h"
#include "database/StepView.h"

#include <algorithm>
#include <array>
#include <vector>

namespace Database {

namespace {

template <class T>
using ASlotPtr = Engine::ASlot<T>*;

class ACleanUp {
public:
    explicit ACleanUp(ADatabase& db) : db_(db) {}

    void Run()
    {
        if (!FD_VERIFY(db_.StepOpen()))
            return;
        if (Lost<ACurrency>())
            DeleteWhere(db_.Accounts(), [&](const AAccount& a) { return Gone(a.currency); });
        if (Lost<AAccount>() || Lost<AAccountFolder>())
            DeleteWhere(db_.Placements(),
                        [&](const AAccountPlacement& p) { return Gone(p.account) || Gone(p.folder); });
        if (Lost<ACurrency>())
            DeleteWhere(db_.RateHeaders(),
                        [&](const ARateHeader& h) { return Gone(h.currency1) || Gone(h.currency2); });
        if (Lost<ARateHeader>())
            DeleteWhere(db_.RateValues(), [&](const ARateValue& v) { return Gone(v.header); });
        if (Lost<ABudgetItem>() || Lost<ACurrency>())
            DeleteWhere(db_.BudgetLimits(),
                        [&](const ABudgetLimit& l) { return Gone(l.item) || Gone(l.currency); });
        if (Lost<ASeries>() || Lost<AAccount>())
            DeleteWhere(db_.SeriesAccounts(),
                        [&](const ASeriesAccountFilter& f) { return Gone(f.series) || Gone(f.account); });
        if (Lost<ASeries>() || Lost<ACategory>())
            DeleteWhere(db_.SeriesNodes(),
                        [&](const ASeriesNodeFilter& f) { return Gone(f.series) || Gone(f.category); });
        if (Lost<AAccount>())
            CleanUpTransactions();
        if (Lost<ACategory>() || Lost<ATransaction>())
            CleanUpRelations();
    }

private:
    // Whether the open step deleted any record of table T. The step's list only grows,
    // so each call looks at what was added since the last one.
    template <class T>
    bool Lost()
    {
        const auto& deleted = db_.StepDeleted();
        for (; seen_ < deleted.size(); ++seen_)
            lost_[deleted[seen_]->table->Id()] = true;
        return lost_[T::kTableId];
    }

    // A reference to a record that no longer exists. Live records point only to live
    // records between steps, so such a record was deleted in this one.
    template <class T>
    bool Gone(AReference<T> ref)
    {
        const Engine::ASlot<T>* slot = db_.Table<T>().Get(ref);
        return slot && !slot->Exists();
    }

    // For the small tables that have no index by the reference: walk them.
    template <class T, class Predicate>
    void DeleteWhere(Engine::ATableImpl<T>& table, Predicate pointsToDeleted)
    {
        std::vector<ASlotPtr<T>> doomed;
        ForEachLive(table, [&](ASlotPtr<T> slot) {
            if (pointsToDeleted(slot->Record()))
                doomed.push_back(slot);
        });
        for (ASlotPtr<T> slot : doomed)
            Delete(db_, slot);
    }

    // The live records of table T whose reference (field) names a record deleted in this
    // step, last to first in identifier order, each once. A few deleted targets are
    // looked up in index n (ordered by that reference first); for many, one walk over
    // the table is cheaper than as many searches.
    template <class T, class Target, class Field>
    std::vector<ASlotPtr<T>> PointingToDeleted(Engine::ATableImpl<T>& table, int n, Field field)
    {
        std::vector<ASlotPtr<Target>> targets;
        ForEachStepSlot<Target>(db_.StepDeleted(), [&](ASlotPtr<Target> target) { targets.push_back(target); });
        std::vector<ASlotPtr<T>> found;
        auto takeIfPointing = [&](ASlotPtr<T> slot) {
            if (slot->Exists() && Gone(field(slot->Record())))
                found.push_back(slot);
        };
        if (targets.size() * kSearchesPerWalk >= table.SlotCount()) {
            for (std::size_t i = table.SlotCount(); i-- > 0;)
                takeIfPointing(&table.SlotAt(i));
            return found;
        }
        for (ASlotPtr<Target> target : targets) {
            const auto ref = Engine::ATableImpl<Target>::RefTo(target);
            for (ASlotPtr<T> slot :
                 IndexedPrefixRange(table, n, [&](const T& record) { return Compare3(field(record), ref); }))
                if (slot->role == Engine::ARecordBase::AStepRole::None)
                    found.push_back(slot);
        }
        // Records the step itself touched sit in the index under their old values, or not at all.
        ForEachStepSlot<T>(db_.StepChanged(), takeIfPointing);
        ForEachStepSlot<T>(db_.StepInserted(), takeIfPointing);
        std::sort(found.begin(), found.end(), [](auto* a, auto* b) { return a->position > b->position; });
        found.erase(std::unique(found.begin(), found.end()), found.end());
        return found;
    }

    // Pass 7, transactions: gone with both accounts, single-sided on the survivor otherwise.
    void CleanUpTransactions()
    {
        auto& transactions = db_.Transactions();
        auto side1 = PointingToDeleted<ATransaction, AAccount>(transactions, 5,
                                                               [](const ATransaction& t) { return t.account1; });
        auto side2 = PointingToDeleted<ATransaction, AAccount>(transactions, 6,
                                                               [](const ATransaction& t) { return t.account2; });
        std::vector<ASlotPtr<ATransaction>> all;
        std::merge(side1.begin(), side1.end(), side2.begin(), side2.end(), std::back_inserter(all),
                   [](auto* a, auto* b) { return a->position > b->position; });
        all.erase(std::unique(all.begin(), all.end()), all.end());
        for (ASlotPtr<ATransaction> slot : all) {
            if (!slot->Exists())
                continue;
            const ATransaction& t = slot->Record();
            const bool firstGone = Gone(t.account1);
            const bool secondGone = Gone(t.account2);
            if (t.account2.IsNull() || (firstGone && secondGone))
                Delete(db_, slot);
            else
                MakeSingleSided(slot, firstGone);
        }
    }

    void MakeSingleSided(ASlotPtr<ATransaction> slot, bool firstGone)
    {
        ATransaction* t = ChangeKeepingPlace(db_, slot);
        if (!t)
            return;
        if (firstGone) {
            t->account1 = t->account2;
            t->amount1 = t->amount2;
            t->balance1 = t->balance2;
        }
        t->account2 = {};
        t->amount2 = 0;
        t->balance2 = 0;
        // A transfer ignores the balance flag; kept on a single-sided transaction it would
        // turn the moved amount into a stated balance and let later changes rewrite it.
        t->balance = 0;
        // A single-sided transaction can't be classified by a transfer category.
        const auto ref = Engine::ATableImpl<ATransaction>::RefTo(slot);
        std::vector<ASlotPtr<ARelation>> doomed;
        for (ASlotPtr<ARelation> relation :
             CurrentPrefixRange(db_, db_.Relations(), 3,
                                [&](const ARelation& r) { return Compare3(r.transaction, ref); }))
            if (InTransferTree(db_, relation->Record().category))
                doomed.push_back(relation);
        for (ASlotPtr<ARelation> relation : doomed)
            Delete(db_, relation);
    }

    // Pass 7, relations whose category or transaction is gone.
    void CleanUpRelations()
    {
        auto& relations = db_.Relations();
        auto byCategory = PointingToDeleted<ARelation, ACategory>(relations, 2,
                                                                  [](const ARelation& r) { return r.category; });
        auto byTransaction = PointingToDeleted<ARelation, ATransaction>(
            relations, 3, [](const ARelation& r) { return r.transaction; });
        for (const auto* list : {&byCategory, &byTransaction})
            for (ASlotPtr<ARelation> relation : *list)
                if (relation->Exists())
                    Delete(db_, relation);
    }

    // A search in an index costs about as much as walking this many records in order.
    static constexpr std::size_t kSearchesPerWalk = 16;

    ADatabase& db_;
    std::size_t seen_ = 0;
    std::array<bool, Engine::ADBEngine::kTableCount + 1> lost_{};
};

}  // namespace

void CleanUpAfterDeletions(ADatabase& db) { ACleanUp(db).Run(); }

}  // namespace Database
