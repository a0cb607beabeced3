#include "analysis/TransactionEdit.h"

#include "analysis/AnalysisTexts.h"
#include "database/TypedText.h"
#include "database/engine/StepGuard.h"

#include "database/DatabaseRules.h"

namespace UserInterface::Transactions {

using namespace Database;
using Engine::ARecordId;
using Engine::ATableImpl;

namespace {

using namespace EditMessage;

AAmountMode ModeOf(const ATransaction& t)
{
    switch (t.Kind()) {
    case ATransactionKind::Income: return AAmountMode::Income;
    case ATransactionKind::Expense: return AAmountMode::Expense;
    case ATransactionKind::Transfer: return AAmountMode::Transfer;
    case ATransactionKind::Balance: return AAmountMode::Balance;
    }
    return AAmountMode::Income;
}

AMoney Magnitude(AMoney value)
{
    return value < 0 && value != INT64_MIN ? -value : value;
}

// Side 1 and side 2 of a transaction of `mode` with the two chosen accounts.
std::pair<AReference<AAccount>, AReference<AAccount>> Sides(AAmountMode mode, AReference<AAccount> receiving,
                                                            AReference<AAccount> giving)
{
    switch (mode) {
    case AAmountMode::Income: return {receiving, {}};
    case AAmountMode::Transfer: return {giving, receiving};
    default: return {giving, {}};
    }
}

ATransactionInput SingleInput(ADatabase& db, const Engine::ASlot<ATransaction>& slot)
{
    const ATransaction& t = slot.Record();
    ATransactionInput in;
    in.type = ModeOf(t);
    in.rule = Recurrence::ARule::FromWords(t.recurrence, t.recurrenceCount, t.recurrenceEnd);
    in.state = t.executed ? (t.locked ? AState::ExecutedLocked : AState::Executed)
                          : (in.rule->active ? AState::Recurring : AState::Planned);
    in.date = t.date;
    in.time = t.time;
    in.budgetDate = t.budgetDate;
    const AMoney a1 = Magnitude(t.amount1), a2 = Magnitude(t.amount2);
    switch (*in.type) {
    case AAmountMode::Income: in.receiving.account = t.account1; break;
    case AAmountMode::Transfer:
        in.giving.account = t.account1;
        in.receiving.account = t.account2;
        break;
    default: in.giving.account = t.account1; break;
    }
    for (auto& field : in.fields)
        field.shown = true;
    if (*in.type == AAmountMode::Balance) {
        in.fields[0].value = t.balance1;
    } else if (*in.type == AAmountMode::Transfer) {
        in.fields[0].value = in.fields[1].value = a1;
        in.fields[2].value = a2;
        const auto rate = RateOfAmounts(a1, a2);
        in.fields[3].value = rate ? rate->value : kOne;
        in.rateItem = rate && rate->item ? *rate->item : ARateItem::CreditPerDebit;
    } else {
        in.fields[0].value = in.fields[1].value = a1;
        in.fields[3].value = t.quantity;
        in.fields[2].value = PriceOf(a1, t.quantity);
    }
    in.comment = db.Text(t.comment);
    for (int i = 0; i < 4; ++i)
        in.extra[i] = db.Text(t.extraComment[i]);
    ARelation probe;
    probe.transaction = ATableImpl<ATransaction>::RefTo(&slot);
    const auto relations = db.Relations().EqualRange(3, probe);
    for (auto* classifier : db.Classifiers().Live()) {
        AReference<ACategory> chosen;
        for (auto* relation : relations)
            if (ClassifierOf(db, relation->Record().category) == classifier) {
                chosen = relation->Record().category;
                break;
            }
        in.categories.push_back(chosen);
    }
    return in;
}

template <typename T>
void Merge(std::optional<T>& into, const std::optional<T>& value)
{
    if (into && !(value && *into == *value))
        into.reset();
}

void MergeSide(ASideInput& into, const ASideInput& side)
{
    if (into.account != side.account)
        into = {{}, {}, true};
}

void MergeInto(ATransactionInput& into, const ATransactionInput& in)
{
    Merge(into.type, in.type);
    Merge(into.state, in.state);
    Merge(into.rule, in.rule);
    Merge(into.date, in.date);
    Merge(into.time, in.time);
    Merge(into.budgetDate, in.budgetDate);
    MergeSide(into.receiving, in.receiving);
    MergeSide(into.giving, in.giving);
    for (int i = 0; i < 4; ++i)
        if (into.fields[i].value != in.fields[i].value)
            into.fields[i] = {true, true, std::nullopt};
    if (into.rateItem != in.rateItem)
        into.fields[3] = {true, true, std::nullopt};
    Merge(into.comment, in.comment);
    for (int i = 0; i < 4; ++i)
        Merge(into.extra[i], in.extra[i]);
    for (std::size_t i = 0; i < into.categories.size() && i < in.categories.size(); ++i)
        Merge(into.categories[i], in.categories[i]);
}

// `over` with what it left at the mark taken from `base`.
ATransactionInput Overlay(const ATransactionInput& base, const ATransactionInput& over)
{
    ATransactionInput full = over;
    const auto take = [](auto& field, const auto& from) {
        if (!field)
            field = from;
    };
    take(full.type, base.type);
    take(full.state, base.state);
    if (!over.state || !over.rule)
        full.rule = base.rule;
    take(full.date, base.date);
    take(full.time, base.time);
    take(full.budgetDate, base.budgetDate);
    if (over.receiving.differs)
        full.receiving = base.receiving;
    if (over.giving.differs)
        full.giving = base.giving;
    // A transaction of another type keeps its own amounts only where its fields mean the same.
    for (int i = 0; i < 4; ++i)
        if (over.fields[i].differs)
            full.fields[i] = {over.fields[i].shown, false, base.fields[i].value};
    take(full.comment, base.comment);
    for (int i = 0; i < 4; ++i)
        take(full.extra[i], base.extra[i]);
    for (std::size_t i = 0; i < full.categories.size() && i < base.categories.size(); ++i)
        take(full.categories[i], base.categories[i]);
    return full;
}

// The record fields of a complete input, texts and relations aside. False when an amount is
// missing (the checks let no such input through).
bool FillRecord(ADatabase& db, ATransaction& t, const ATransactionInput& in)
{
    const AAmountMode mode = *in.type;
    const ADBSettings settings = Filters::FileSettings(db);
    const AState state = in.state.value_or(AState::Executed);
    t.executed = state == AState::Executed || state == AState::ExecutedLocked;
    t.locked = state == AState::ExecutedLocked;
    if (state == AState::Recurring && in.rule) {
        t.recurrence = in.rule->Word();
        t.recurrenceCount = in.rule->CountWord();
        t.recurrenceEnd = in.rule->end;
    } else {
        t.recurrence = t.recurrenceCount = 0;
        t.recurrenceEnd = 0;
    }
    t.date = in.date.value_or(t.date);
    if (settings.times && in.time)
        t.time = ATransaction::WholeSeconds(*in.time);
    t.budgetDate = settings.budgetDates && in.budgetDate ? *in.budgetDate : t.date;
    const auto [side1, side2] = Sides(mode, in.receiving.account, in.giving.account);
    t.account1 = side1;
    t.account2 = side2;
    t.balance = mode == AAmountMode::Balance;
    const std::optional<AMoney> v = in.threeRows ? in.fields[1].value : in.fields[0].value;
    if (!v)
        return false;
    t.quantity = kOne;
    t.amount2 = 0;
    switch (mode) {
    case AAmountMode::Income:
    case AAmountMode::Expense:
        t.amount1 = mode == AAmountMode::Income ? *v : -*v;
        if (in.threeRows) {
            if (!in.fields[3].value)
                return false;
            t.quantity = *in.fields[3].value;
        }
        break;
    case AAmountMode::Balance:
        t.balance1 = *v;
        t.amount1 = 0;
        break;
    case AAmountMode::Transfer:
        t.amount1 = -*v;
        t.amount2 = in.threeRows ? in.fields[2].value.value_or(-1) : *v;
        if (t.amount2 < 0)
            return false;
        break;
    }
    return true;
}

// A text left at the mark stays; an empty one makes no record for a field that has none.
void SetText(ADatabase& db, AReference<AString>& ref, const std::optional<std::u16string>& text)
{
    if (text && (db.Strings().Record(ref) || !text->empty()))
        Database::SetText(db, ref, *text);
}

void SetTexts(ADatabase& db, ATransaction& t, const ATransactionInput& in)
{
    SetText(db, t.comment, in.comment);
    for (int i = 0; i < 4; ++i)
        SetText(db, t.extraComment[i], in.extra[i]);
}

void SetCategories(ADatabase& db, AReference<ATransaction> transaction, const ATransactionInput& in)
{
    ARelation probe;
    probe.transaction = transaction;
    const auto existing = db.Relations().EqualRange(3, probe);
    const std::vector<Engine::ASlot<ARelation>*> relations(existing.begin(), existing.end());
    std::size_t n = 0;
    for (auto* classifier : db.Classifiers().Live()) {
        const auto& chosen = n < in.categories.size() ? in.categories[n] : std::optional<AReference<ACategory>>();
        ++n;
        if (!chosen)
            continue;
        bool kept = false;
        for (auto* relation : relations) {
            if (!relation->Exists() || ClassifierOf(db, relation->Record().category) != classifier)
                continue;
            if (relation->Record().category == *chosen && !kept)
                kept = true;
            else
                Delete(db, relation);
        }
        if (!kept && !chosen->IsNull())
            db.Relations().Create(ARelation{*chosen, transaction});
    }
}

// Commits what was filled in; otherwise the step's guard rolls it back.
bool Finish(ADatabase& db, bool filled)
{
    if (!filled || ApplyRules(db).overflowed)
        return false;
    db.CommitStep();
    return true;
}

std::optional<AInputFailure> CheckSide(ADatabase& db, const ASideInput& side, AFocus focus, int noneMessage)
{
    if (side.differs)
        return std::nullopt;
    if (const AAccountFolder* folder = db.Folders().Record(side.folder))
        return AInputFailure{kFolderMessage, focus, db.Text(folder->name)};
    if (!db.Accounts().Record(side.account))
        return AInputFailure{noneMessage, focus, {}};
    return std::nullopt;
}

}  // namespace

std::optional<AInputFailure> CheckInput(ADatabase& db, const ATransactionInput& input)
{
    if (!input.type)
        return std::nullopt;
    const AAmountMode mode = *input.type;
    const bool transfer = mode == AAmountMode::Transfer;
    const bool needsGiving = mode != AAmountMode::Income;
    const bool needsReceiving = mode == AAmountMode::Income || transfer;
    if (needsGiving)
        if (auto failure = CheckSide(db, input.giving, AFocus::Giving, transfer ? kNoTransferGiving : kNoGiving))
            return failure;
    if (needsReceiving)
        if (auto failure =
                CheckSide(db, input.receiving, AFocus::Receiving, transfer ? kNoTransferReceiving : kNoReceiving))
            return failure;
    if (transfer && !input.giving.differs && !input.receiving.differs && input.giving.account == input.receiving.account)
        return AInputFailure{kSameAccountMessage, AFocus::Receiving, {}};
    for (int i = 0; i < 4; ++i) {
        const AAmountInput& field = input.fields[i];
        if (!field.shown || field.differs || FieldMessage(mode, i) == 0)
            continue;
        const bool anyNumber = i == 0 && mode == AAmountMode::Balance;
        if (!field.value || (!anyNumber && *field.value <= 0))
            return AInputFailure{FieldMessage(mode, i), static_cast<AFocus>(static_cast<int>(AFocus::Field0) + i), {}};
    }
    return std::nullopt;
}

Filters::ATransactionFacts FactsOf(ADatabase& db, const ATransactionInput& input,
                                   const Engine::ASlot<ATransaction>* base)
{
    ATransaction t = base ? base->Record() : ATransaction{};
    const ATransactionInput full = base ? Overlay(SingleInput(db, *base), input) : input;
    Filters::ATransactionFacts facts;
    if (!full.type)
        return facts;
    (void)FillRecord(db, t, full);
    facts.date = t.date;
    facts.budgetDate = t.budgetDate;
    facts.account1 = t.account1;
    facts.account2 = t.account2;
    for (const auto& category : full.categories)
        if (category && !category->IsNull())
            facts.categories.push_back(*category);
    return facts;
}

bool PassesFilter(ADatabase& db, const ATransactionInput& input, const std::vector<ARecordId>& changed,
                  const Filters::ATransactionPageFilter& filter)
{
    if (changed.empty())
        return filter.Passes(db, FactsOf(db, input, nullptr));
    for (ARecordId id : changed)
        if (auto* slot = db.Transactions().Find(id); slot && slot->Exists())
            if (!filter.Passes(db, FactsOf(db, input, slot)))
                return false;
    return true;
}

bool AddTransaction(ADatabase& db, const ATransactionInput& input, std::u16string_view label)
{
    if (!input.type || db.StepOpen())
        return false;
    Engine::AStepGuard step(db, label);
    ATransaction t;
    t.quantity = kOne;
    if (!FillRecord(db, t, input))
        return Finish(db, false);
    SetTexts(db, t, input);
    const auto ref = ATableImpl<ATransaction>::RefTo(db.Transactions().Create(t));
    SetCategories(db, ref, input);
    return Finish(db, true);
}

bool ChangeTransactions(ADatabase& db, const std::vector<ARecordId>& ids, const ATransactionInput& input,
                        std::u16string_view label)
{
    if (db.StepOpen())
        return false;
    Engine::AStepGuard step(db, label);
    bool filled = true;
    for (ARecordId id : ids) {
        auto* slot = db.Transactions().Find(id);
        if (!slot || !slot->Exists())
            continue;
        const ATransactionInput full = Overlay(SingleInput(db, *slot), input);
        ATransaction changed = slot->Record();
        filled = filled && FillRecord(db, changed, full);
        SetTexts(db, changed, full);
        ATransaction* record = db.Transactions().Change(slot);
        changed.changeStamp = record->changeStamp;  // the engine's new stamp
        *record = changed;
        SetCategories(db, ATableImpl<ATransaction>::RefTo(slot), full);
    }
    return Finish(db, filled);
}

ATransactionInput InputOf(ADatabase& db, const std::vector<ARecordId>& ids, bool quantities)
{
    ATransactionInput merged;
    bool first = true;
    for (ARecordId id : ids) {
        auto* slot = db.Transactions().Find(id);
        if (!slot || !slot->Exists())
            continue;
        ATransactionInput single = SingleInput(db, *slot);
        if (first)
            merged = std::move(single);
        else
            MergeInto(merged, single);
        first = false;
    }
    if (merged.type)
        merged.threeRows = UsesThreeRows(*merged.type, quantities, true);
    return merged;
}

AReference<AAccount> AccountForAdding(ADatabase& db, const Filters::ATransactionPageFilter* filter)
{
    if (filter && filter->accounts.Accounts().size() == 1)
        if (auto* slot = db.Accounts().Get(filter->accounts.Accounts().front()); slot && slot->Exists())
            return Engine::ATableImpl<AAccount>::RefTo(slot);
    const auto accounts = db.Accounts().Live();
    return accounts.size() == 1 ? Engine::ATableImpl<AAccount>::RefTo(accounts.front()) : AReference<AAccount>();
}

}  // namespace UserInterface::Transactions
