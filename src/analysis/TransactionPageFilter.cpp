#include "analysis/TransactionPageFilter.h"

#include <algorithm>

namespace UserInterface::Filters {

using namespace Database;

namespace {

// A comment longer than this is damage, not a search a user typed.
constexpr std::uint32_t kMaxCommentUnits = 4096;

bool BudgetDatesInFile(ADatabase& db) { return FileSettings(db).budgetDates != 0; }

std::optional<ADateRange> PeriodRange(ADatabase& db, const ADatePeriod& period)
{
    return TransactionDateRange(db, period.UsesBudgetDates(BudgetDatesInFile(db)));
}

}  // namespace

bool AccountsPass(const AAccountSelection& selection, AReference<AAccount> account1, AReference<AAccount> account2)
{
    if (selection.Empty())
        return true;
    if (selection.Scope() == AAccountScope::TransfersOnly)
        return !account2.IsNull() && selection.Contains(account1) && selection.Contains(account2);
    return selection.Contains(account1) || selection.Contains(account2);
}

bool ATransactionPageFilter::FollowFile(ADatabase& db, ADate today)
{
    if (!AllTransactions())
        return false;
    const ADatePeriod before = period;
    period.SelectKind(APeriodKind::AllTransactions, PeriodRange(db, period), today);
    return period.Start() != before.Start() || period.End() != before.End();
}

bool ATransactionPageFilter::ForgetDeleted(ADatabase& db)
{
    const auto exists = [](auto* slot) { return slot && slot->Exists(); };
    bool changed = false;
    std::vector<AReference<AAccount>> kept;
    for (auto account : accounts.Accounts())
        if (exists(db.Accounts().Get(account)))
            kept.push_back(account);
    if (kept.size() != accounts.Accounts().size()) {
        accounts = kept.empty() ? AAccountSelection() : AAccountSelection(std::move(kept), accounts.Scope());
        changed = true;
    }
    changed |= std::erase_if(classifiers, [&](const AClassifierSelection& s) {
        return !exists(db.Classifiers().Get(s.classifier));
    }) > 0;
    for (AClassifierSelection& s : classifiers)
        if (!s.node.IsNull() && !exists(db.Categories().Get(s.node))) {
            s.node = {};
            changed = true;
        }
    return changed;
}

bool ATransactionPageFilter::Narrows(ADatabase& db) const
{
    if (!accounts.Empty() || !comment.empty())
        return true;
    if (std::any_of(classifiers.begin(), classifiers.end(), [](const AClassifierSelection& s) { return s.Active(); }))
        return true;
    if (AllTransactions())
        return false;
    const auto range = PeriodRange(db, period);
    return range && (period.Start() > range->first || period.End() < range->last);
}

ATransactionList ATransactionPageFilter::Apply(ADatabase& db) const
{
    ADatePeriod whole = period;
    if (AllTransactions())
        whole.SelectKind(APeriodKind::AllTransactions, PeriodRange(db, period), period.Start());
    ATransactionList list = TransactionsInPeriod(db, whole, BudgetDatesInFile(db));
    if (!accounts.Empty())
        std::erase_if(list, [&](const ATransactionSlot* slot) {
            return !AccountsPass(accounts, slot->Record().account1, slot->Record().account2);
        });
    ApplyClassifierTest(db, list, classifiers);
    ApplyCommentTest(db, list, comment);
    return list;
}

bool ATransactionPageFilter::Passes(ADatabase& db, const ATransactionFacts& facts) const
{
    ATransaction dated;
    dated.date = facts.date;
    dated.budgetDate = facts.budgetDate;
    if (!AllTransactions() && (!period.Valid() || !period.Passes(dated, BudgetDatesInFile(db))))
        return false;
    if (!AccountsPass(accounts, facts.account1, facts.account2))
        return false;
    return std::all_of(classifiers.begin(), classifiers.end(), [&](const AClassifierSelection& s) {
        return !s.Active() ||
               std::find(facts.categories.begin(), facts.categories.end(), s.node) != facts.categories.end();
    });
}

void ATransactionPageFilter::Save(APageWriter& out, ADatabase& db, ADate today, bool improvedDateRange) const
{
    period.Save(out, today, improvedDateRange, BudgetDatesInFile(db));
    accounts.Save(out, db);
    SaveClassifierSelections(out, db, classifiers);
    out.U32(static_cast<std::uint32_t>(comment.size()));
    for (char16_t unit : comment)
        out.U16(unit);
}

bool ATransactionPageFilter::Load(AByteCursor& in, ADatabase& db, ADate today)
{
    ATransactionPageFilter read;
    const auto range = TransactionDateRange(db, false);
    if (!read.period.Load(in, today, range) || !read.accounts.Load(in, db) ||
        !LoadClassifierSelections(in, db, read.classifiers))
        return false;
    std::uint32_t units = 0;
    if (!in.ReadInt(units) || units > kMaxCommentUnits || units > in.Remaining() / 2)
        return false;
    read.comment.resize(units);
    for (char16_t& unit : read.comment) {
        std::uint16_t value = 0;
        if (!in.ReadInt(value))
            return false;
        unit = static_cast<char16_t>(value);
    }
    *this = std::move(read);
    return true;
}

}  // namespace UserInterface::Filters
