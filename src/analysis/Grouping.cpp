#include "analysis/Grouping.h"

#include "analysis/DateSpan.h"
#include "analysis/Filters.h"
#include "core/FormatDate.h"
#include "database/Recurrence.h"

namespace UserInterface::Filters {

using namespace Database;

namespace {

using namespace GroupingText;

AGroupByChoice MakeChoice(const AStrings& strings, AGroupByKind kind, int pattern, std::u16string name)
{
    AGroupByChoice choice;
    choice.kind = kind;
    choice.caption = strings.Format(pattern, {std::u16string_view(name)});
    choice.name = std::move(name);
    return choice;
}

}  // namespace

std::vector<AGroupByChoice> GroupByChoices(ADatabase& db, const AStrings& strings, bool classifiersOnly)
{
    std::vector<AGroupByChoice> choices;
    if (!classifiersOnly) {
        const ADBSettings settings = FileSettings(db);
        auto text = [&](int id) { return std::u16string(strings.Text(id)); };
        choices.push_back(MakeChoice(strings, AGroupByKind::Executed, kFlagPattern, text(kExecutedName)));
        choices.push_back(MakeChoice(strings, AGroupByKind::Blocked, kFlagPattern, text(kBlockedName)));
        choices.push_back(MakeChoice(strings, AGroupByKind::Recurring, kFlagPattern, text(kRecurringName)));
        choices.push_back(MakeChoice(strings, AGroupByKind::Date, kFieldPattern,
                                     text(settings.times ? kDateTimeName : kDateName)));
        if (settings.budgetDates)
            choices.push_back(MakeChoice(strings, AGroupByKind::BudgetDate, kFieldPattern, text(kBudgetDateName)));
    }
    for (const auto* classifier : db.Classifiers().Live()) {
        AGroupByChoice choice =
            MakeChoice(strings, AGroupByKind::Classifier, kFieldPattern, db.Text(classifier->Record().singular));
        choice.classifier = Engine::ATableImpl<AClassifier>::RefTo(classifier);
        choices.push_back(std::move(choice));
    }
    return choices;
}

AGrouper::AGrouper(ADatabase& db, const AStrings& strings, AGroupByChoice choice)
    : db_(db), strings_(strings), choice_(std::move(choice)), categories_(db)
{
}

std::vector<AGroupRow> AGrouper::DateRows(ADate date) const
{
    using UtilityClasses::Strings::FormatDate;
    const Dates::AYmd ymd = Dates::ToYmd(date);
    const auto& locale = strings_.Locale();
    return {
        {0, ymd.year, FormatDate(date, strings_.Text(kYearPicture), locale)},
        {1, ymd.year * 100 + ymd.month, FormatDate(date, strings_.Text(kMonthPicture), locale)},
        {2, date, FormatDate(date, strings_.Text(kDayPicture), locale)},
    };
}

std::vector<AGroupRow> AGrouper::RowsOf(const Engine::ASlot<ATransaction>& slot) const
{
    const ATransaction& t = slot.Record();
    auto flagRow = [&](bool set, int unsetCaption, int setCaption) {
        return std::vector<AGroupRow>{{0, set ? 1 : 0, std::u16string(strings_.Text(set ? setCaption : unsetCaption))}};
    };
    switch (choice_.kind) {
    case AGroupByKind::Executed: return flagRow(t.executed != 0, kNotExecutedRow, kExecutedRow);
    case AGroupByKind::Blocked: return flagRow(t.locked != 0, kNotBlockedRow, kBlockedRow);
    case AGroupByKind::Recurring: {
        const auto rule = Recurrence::ARule::FromWords(t.recurrence, t.recurrenceCount, t.recurrenceEnd);
        return flagRow(rule.active, kOnceRow, kRecurringRow);
    }
    case AGroupByKind::Date: return DateRows(t.date);
    case AGroupByKind::BudgetDate:
        if (t.budgetDate == kNoBudgetDate)
            return {{0, std::int64_t{1} << 40, std::u16string(strings_.Text(kNotSpecifiedRow))}};
        return DateRows(t.budgetDate);
    case AGroupByKind::Classifier: break;
    }
    const AReference<ACategory> node =
        categories_.NodeOf(Engine::ATableImpl<ATransaction>::RefTo(&slot), choice_.classifier);
    const Engine::ASlot<ACategory>* category = db_.Categories().Get(node);
    if (!category)
        return {{0, 0, std::u16string(strings_.Text(kNotSpecifiedRow))}};
    return {{0, static_cast<std::int64_t>(category->id), db_.Text(category->Record().name)}};
}

}  // namespace UserInterface::Filters
