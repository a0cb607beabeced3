#include "analysis/Filters.h"

#include "core/TextSearch.h"

#include <algorithm>
#include <bit>

namespace UserInterface::Filters {

using namespace Database;

namespace {

constexpr int kScopeLabels[] = {kAllTransactionsScope, kTransfersOnlyScope};

// Drops the transactions the predicate refuses, keeping the order of the rest.
template <class Keep>
void KeepOnly(ATransactionList& list, ARemovedSet* removed, Keep keep)
{
    auto end = std::remove_if(list.begin(), list.end(), [&](ATransactionSlot* slot) {
        if (keep(slot))
            return false;
        if (removed)
            removed->insert(slot);
        return true;
    });
    list.erase(end, list.end());
}

}  // namespace

ADBSettings FileSettings(ADatabase& db)
{
    const auto& live = db.Settings().Live();
    return live.empty() ? ADBSettings{} : live.front()->Record();
}

void ATransactionKindFlags::Save(APageWriter& out) const
{
    out.Flag(income);
    out.Flag(expense);
    out.Flag(transferCredits);
    out.Flag(transferDebits);
}

bool ATransactionKindFlags::Load(AByteCursor& in)
{
    ATransactionKindFlags read;
    if (!ReadFlag(in, read.income) || !ReadFlag(in, read.expense) || !ReadFlag(in, read.transferCredits) ||
        !ReadFlag(in, read.transferDebits))
        return false;
    *this = read;
    return true;
}

int AccountScopeLabel(AAccountScope scope) { return kScopeLabels[static_cast<int>(scope)]; }

AAccountSelection::AAccountSelection(std::vector<AReference<AAccount>> accounts, AAccountScope scope)
    : accounts_(std::move(accounts)), scope_(scope)
{
    std::sort(accounts_.begin(), accounts_.end());
    accounts_.erase(std::unique(accounts_.begin(), accounts_.end()), accounts_.end());
}

bool AAccountSelection::Contains(AReference<AAccount> account) const
{
    return !account.IsNull() && std::binary_search(accounts_.begin(), accounts_.end(), account);
}

void AAccountSelection::Save(APageWriter& out, ADatabase& db) const
{
    out.Flag(scope_ == AAccountScope::AllTransactions);
    out.Flag(scope_ == AAccountScope::TransfersOnly);
    out.U32(static_cast<std::uint32_t>(accounts_.size()));
    for (AReference<AAccount> account : accounts_)
        out.Ref(db, account);
}

bool AAccountSelection::Load(AByteCursor& in, ADatabase& db)
{
    bool all = false, transfersOnly = false;
    std::uint32_t count = 0;
    if (!ReadFlag(in, all) || !ReadFlag(in, transfersOnly) || !in.ReadInt(count))
        return false;
    // Each account takes 4 bytes: a count beyond what is left is damage, not a reason to allocate.
    if (count > in.Remaining() / 4)
        return false;
    std::vector<AReference<AAccount>> accounts;
    accounts.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        AReference<AAccount> account;
        if (!ReadRef(in, db, account))
            return false;
        if (account)
            accounts.push_back(account);
    }
    *this = AAccountSelection(std::move(accounts),
                              transfersOnly && !all ? AAccountScope::TransfersOnly : AAccountScope::AllTransactions);
    return true;
}

void SaveClassifierSelections(APageWriter& out, ADatabase& db, const AClassifierSelections& selections)
{
    out.U32(static_cast<std::uint32_t>(selections.size()));
    for (const AClassifierSelection& selection : selections) {
        out.Ref(db, selection.classifier);
        out.Flag(selection.ticked);
        out.Ref(db, selection.node);
    }
}

bool LoadClassifierSelections(AByteCursor& in, ADatabase& db, AClassifierSelections& selections)
{
    constexpr std::size_t kRowSize = 9;
    std::uint32_t count = 0;
    if (!in.ReadInt(count) || count > in.Remaining() / kRowSize)
        return false;
    AClassifierSelections read;
    for (std::uint32_t i = 0; i < count; ++i) {
        AClassifierSelection row;
        if (!ReadRef(in, db, row.classifier) || !ReadFlag(in, row.ticked) || !ReadRef(in, db, row.node))
            return false;
        // A classifier deleted since the page was saved leaves no row.
        if (row.classifier)
            read.push_back(row);
    }
    selections = std::move(read);
    return true;
}

ATransactionList TransactionsInPeriod(ADatabase& db, const ADatePeriod& period, bool budgetDatesInFile)
{
    ATransactionList list;
    if (!period.Valid())
        return list;
    const bool byBudgetDate = period.UsesBudgetDates(budgetDatesInFile);
    // Index 3 orders by date, time and change stamp; index 4 by budget date.
    const auto& index = db.Transactions().IndexAt(byBudgetDate ? 4 : 3);
    auto keyOf = [byBudgetDate](const ATransactionSlot* slot) {
        return byBudgetDate ? slot->Record().budgetDate : slot->Record().date;
    };
    auto appendRange = [&](ADate from, ADate to) {
        auto first = std::partition_point(index.begin(), index.end(),
                                          [&](const ATransactionSlot* slot) { return keyOf(slot) < from; });
        auto last = std::partition_point(first, index.end(),
                                         [&](const ATransactionSlot* slot) { return keyOf(slot) <= to; });
        list.insert(list.end(), first, last);
    };
    if (byBudgetDate && (kNoBudgetDate < period.Start() || kNoBudgetDate > period.End())) {
        // Transactions without a budget date belong to every period; keep budget-date order.
        if (kNoBudgetDate < period.Start())
            appendRange(kNoBudgetDate, kNoBudgetDate);
        appendRange(period.Start(), period.End());
        if (kNoBudgetDate > period.End())
            appendRange(kNoBudgetDate, kNoBudgetDate);
    } else {
        appendRange(period.Start(), period.End());
    }
    return list;
}

void PutInSlotOrder(ADatabase& db, ATransactionList& list)
{
    // The list holds each slot once, so marking positions and reading the marks back sorts
    // it in one pass over a bit per slot.
    std::vector<std::uint64_t> marks((db.Transactions().SlotCount() + 63) / 64);
    for (const ATransactionSlot* slot : list)
        marks[slot->position / 64] |= std::uint64_t{1} << (slot->position % 64);
    list.clear();
    for (std::size_t word = 0; word < marks.size(); ++word)
        for (std::uint64_t bits = marks[word]; bits != 0; bits &= bits - 1)
            list.push_back(&db.Transactions().SlotAt(word * 64 + static_cast<std::size_t>(std::countr_zero(bits))));
}

void ApplyClassifierTest(ADatabase& db, ATransactionList& list, const AClassifierSelections& selections,
                         ARemovedSet* removed)
{
    // The classifiers in the order of their table (identifier order).
    for (const auto* classifier : db.Classifiers().Live()) {
        if (list.empty())
            return;
        const auto ref = Engine::ATableImpl<AClassifier>::RefTo(classifier);
        auto row = std::find_if(selections.begin(), selections.end(),
                                [&](const AClassifierSelection& s) { return s.classifier == ref && s.Active(); });
        if (row == selections.end())
            continue;
        ARelation probe;
        probe.category = row->node;
        std::unordered_set<std::uint32_t> linked;
        for (const auto* relation : db.Relations().EqualRange(2, probe))
            linked.insert(relation->Record().transaction.Word());
        KeepOnly(list, removed, [&](const ATransactionSlot* slot) {
            return linked.count(Engine::ATableImpl<ATransaction>::RefTo(slot).Word()) != 0;
        });
    }
}

void ApplyCommentTest(ADatabase& db, ATransactionList& list, std::u16string_view text, ARemovedSet* removed)
{
    if (text.empty())
        return;
    const std::u16string folded = FoldCase(text);
    const ADBSettings settings = FileSettings(db);
    auto matches = [&](const ATransactionSlot* slot) {
        const ATransaction& t = slot->Record();
        if (ContainsFolded(db.Text(t.comment), folded))
            return true;
        for (int i = 0; i < 4; ++i)
            if (settings.extraCommentInUse[i] && ContainsFolded(db.Text(t.extraComment[i]), folded))
                return true;
        return false;
    };
    // One pass keeps the order of the rest; removing from the end one at a time, as the
    // list control does, would cost a move of the tail for every removed transaction.
    KeepOnly(list, removed, matches);
}

}  // namespace UserInterface::Filters
