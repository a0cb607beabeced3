// Deleting records with everything they own, and the clean-up that follows.
//
// Every operation here needs an open step. A delete marks the record and the texts it
// owns deleted; records of other tables that point to it are left to
// CleanUpAfterDeletions, which runs once after the deletions of a step and before
// the balances are recalculated and the step is committed (CommitWithRules does all
// three).
#pragma once

#include "database/Database.h"

#include <type_traits>

namespace Database {

// Deletes the texts a record owns (every AString it references) that still exist.
template <class T>
void DeleteOwnedTexts(ADatabase& db, const T& record)
{
    Engine::AReferenceWalker walker{[&db](auto& ref) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(ref)>, AReference<AString>>) {
            // Texts are never shared, but a damaged file may share one: delete it once.
            Engine::ASlot<AString>* text = db.Strings().Get(ref);
            if (text && text->Exists())
                db.Strings().Delete(text);
        }
    }};
    T::Fields(record, walker);
}

// The record and its texts. Right for every type whose records own nothing but texts:
// transactions, accounts, currencies, series, rates, placements, filters, limits...
template <class T>
void Delete(ADatabase& db, Engine::ASlot<T>* slot)
{
    if (!FD_VERIFY(slot))
        return;
    db.Table<T>().Delete(slot);
    if (slot->role == Engine::ARecordBase::AStepRole::Deleted)
        DeleteOwnedTexts(db, slot->Record());
}

// A category with every category below it (a child can't outlive its parent).
void Delete(ADatabase& db, Engine::ASlot<ACategory>* category);
// A classifier with its category trees and its categories pages.
void Delete(ADatabase& db, Engine::ASlot<AClassifier>* classifier);
// A budget item with the items below it.
void Delete(ADatabase& db, Engine::ASlot<ABudgetItem>* item);
// A folder with its sub-folders and every account placed in any of them, from every
// plan ("Удалить папку").
void Delete(ADatabase& db, Engine::ASlot<AAccountFolder>* folder);
// An account plan with its folders; the accounts stay, placed in the other plans.
void DeleteAccountPlan(ADatabase& db, Engine::ASlot<AAccountFolder>* plan);

// The passes that delete (or, for transfers, rewrite) every live record pointing to a
// record deleted in the open step, in this order:
//   1. accounts in a deleted currency;  2. placements;  3. rate headers, then rate values;
//   4. budget limits;  5. series account filters;  6. series node filters;
//   7. transactions of deleted accounts (a transfer that keeps one account becomes
//      single-sided on it and loses its transfer-tree categories), then relations.
void CleanUpAfterDeletions(ADatabase& db);

}  // namespace Database
