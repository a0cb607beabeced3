#include "database/RecurrenceExecution.h"

#include "database/Recurrence.h"
#include "database/StepView.h"

#include <unordered_set>

namespace Database::Recurrence {

namespace {

using Engine::ASlot;
using Engine::ATableImpl;

constexpr std::int32_t kMillisecondsPerDay = 86400000;

// The step's own work counts: transactions and relations it inserted, or changed onto
// the date or the transaction, are not yet where the indexes will put them.
std::unordered_set<std::int32_t> TimesOnDate(ADatabase& db, ADate date)
{
    std::unordered_set<std::int32_t> times;
    for (const ASlot<ATransaction>* slot :
         CurrentPrefixRange(db, db.Transactions(), 2, [&](const ATransaction& t) { return Compare3(t.date, date); }))
        times.insert(slot->Record().time);
    return times;
}

std::vector<AReference<ACategory>> CategoriesOf(ADatabase& db, AReference<ATransaction> transaction)
{
    std::vector<AReference<ACategory>> categories;
    for (const ASlot<ARelation>* slot : CurrentPrefixRange(
             db, db.Relations(), 3, [&](const ARelation& r) { return Compare3(r.transaction, transaction); }))
        categories.push_back(slot->Record().category);
    return categories;
}

AReference<AString> CopyText(ADatabase& db, AReference<AString> text)
{
    if (text.IsNull())
        return {};
    const std::u16string copy = db.Text(text);
    return db.NewText(copy);
}

ASlot<ATransaction>* InsertNext(ADatabase& db, ASlot<ATransaction>& planned, const ARule& rule)
{
    const ATransaction& source = planned.Record();
    const std::optional<ADate> date = NextDate(rule, source.date);
    const std::optional<ADate> budgetDate = NextDate(rule, source.budgetDate);
    if (!date || !budgetDate)
        return nullptr;
    if (rule.endsAtDate && *date >= rule.end)
        return nullptr;
    ATransaction next = source;
    if (rule.endsAfterCount) {
        if (rule.count <= 1)
            return nullptr;
        const std::uint32_t count = rule.count - 1u;
        next.recurrenceCount = (source.recurrenceCount & ~0xFFu) | count;
        if (count == 1)
            next.recurrence &= ~1u;  // the last occurrence
    }
    next.date = *date;
    next.budgetDate = *budgetDate;
    next.executed = 0;
    const auto taken = TimesOnDate(db, next.date);
    next.time = FreeTimeOfDay(source.time, [&](std::int32_t time) { return taken.contains(time); });
    next.comment = CopyText(db, source.comment);
    for (int i = 0; i < 4; ++i)
        next.extraComment[i] = CopyText(db, source.extraComment[i]);

    const auto categories = CategoriesOf(db, ATableImpl<ATransaction>::RefTo(&planned));
    ASlot<ATransaction>* slot = db.Transactions().Create(next);
    const auto reference = ATableImpl<ATransaction>::RefTo(slot);
    for (AReference<ACategory> category : categories)
        db.Relations().Create(ARelation{category, reference});
    return slot;
}

}  // namespace

std::int32_t FreeTimeOfDay(std::int32_t time, const std::function<bool(std::int32_t)>& taken)
{
    std::int32_t candidate = time;
    for (std::int32_t tries = 0; tries < kMillisecondsPerDay; ++tries) {
        if (!taken(candidate))
            return candidate;
        candidate = candidate + 1 >= kMillisecondsPerDay ? 0 : candidate + 1;
    }
    return time;
}

ASlot<ATransaction>* ExecuteOccurrence(ADatabase& db, ASlot<ATransaction>& planned)
{
    if (!FD_VERIFY(db.StepOpen() && planned.Exists()))
        return nullptr;
    const ARule rule =
        ARule::FromWords(planned.Record().recurrence, planned.Record().recurrenceCount, planned.Record().recurrenceEnd);
    ASlot<ATransaction>* made = rule.active ? InsertNext(db, planned, rule) : nullptr;
    ATransaction* executed = db.Transactions().Change(&planned);
    if (executed) {
        executed->recurrence &= ~1u;
        executed->executed = 1;
    }
    return made;
}

}  // namespace Database::Recurrence
