#include "analysis/BudgetEdit.h"

#include "analysis/SeriesEdit.h"
#include "database/CategoryCommands.h"
#include "core/TextUtilities.h"
#include "database/DatabaseRules.h"
#include "database/engine/StepGuard.h"

namespace UserInterface::Budget {

using namespace Database;

namespace {

using namespace BudgetText;
// Folder names are checked as category names are.
constexpr int kEmptyName = CategoryMessage::kNameMissing, kBackslash = RuleMessage::kBackslashInName,
              kNameTaken = CategoryMessage::kNameTaken;

using AItemSlot = Engine::ASlot<ABudgetItem>;

// The name a row shows: a folder's own, an article's series name.
std::u16string RowName(ADatabase& db, const ABudgetItem& item)
{
    if (item.series.IsNull())
        return db.Text(item.name);
    const ASeries* series = db.Series().Record(item.series);
    return series ? db.Text(series->name) : std::u16string();
}

bool IsFolder(ADatabase& db, AReference<ABudgetItem> ref)
{
    const ABudgetItem* item = db.BudgetItems().Record(ref);
    return item && item->series.IsNull();
}

// A row may hang under no folder (the top) or under a folder that is neither the row
// itself nor below it: anything else would cut the row off in a loop.
bool ValidParent(ADatabase& db, AReference<ABudgetItem> item, AReference<ABudgetItem> parent)
{
    if (parent.IsNull())
        return true;
    if (!IsFolder(db, parent))
        return false;
    AReference<ABudgetItem> at = parent;
    for (std::size_t steps = 0; !at.IsNull(); ++steps) {
        const ABudgetItem* ancestor = db.BudgetItems().Record(at);
        if (at == item || !ancestor || steps > db.BudgetItems().SlotCount())
            return false;
        at = ancestor->parent;
    }
    return true;
}

}  // namespace

std::optional<int> CheckFolder(ADatabase& db, std::u16string& name, AReference<ABudgetItem> parent,
                               AReference<ABudgetItem> self)
{
    UtilityClasses::Strings::CollapseSpaces(name);
    if (name.empty())
        return kEmptyName;
    if (name.find(u'\\') != std::u16string::npos)
        return kBackslash;
    ABudgetItem probe;
    probe.parent = parent;
    for (const auto* sibling : db.BudgetItems().EqualRange(2, probe))
        if (Engine::ATableImpl<ABudgetItem>::RefTo(sibling) != self && RowName(db, sibling->Record()) == name)
            return kNameTaken;
    return std::nullopt;
}

std::optional<int> CheckArticle(ADatabase& db, AReference<ASeries> series)
{
    if (!db.Series().Record(series))
        return kNoSeries;
    return std::nullopt;
}

AEditOutcome AddFolder(ADatabase& db, const AStrings& strings, std::u16string name, AReference<ABudgetItem> parent)
{
    if (!ValidParent(db, {}, parent))
        return {std::nullopt, {}};
    if (auto refusal = CheckFolder(db, name, parent))
        return {refusal, {}};
    Engine::AStepGuard step(db, strings.Text(kAddFolder));
    const auto item = Engine::ATableImpl<ABudgetItem>::RefTo(
        db.BudgetItems().Create(ABudgetItem{db.NewText(name), {}, parent}));
    CommitWithRules(db);
    return {std::nullopt, item};
}

AEditOutcome ChangeFolder(ADatabase& db, const AStrings& strings, AReference<ABudgetItem> folder, std::u16string name,
                          AReference<ABudgetItem> parent)
{
    if (!IsFolder(db, folder) || !ValidParent(db, folder, parent))
        return {std::nullopt, {}};
    if (auto refusal = CheckFolder(db, name, parent, folder))
        return {refusal, folder};
    const ABudgetItem& current = *db.BudgetItems().Record(folder);
    const bool rename = db.Text(current.name) != name, move = current.parent != parent;
    if (!rename && !move)
        return {std::nullopt, folder};
    Engine::AStepGuard step(db, strings.Text(kChangeFolder));
    ABudgetItem* record = db.BudgetItems().Change(db.BudgetItems().Get(folder));
    if (rename) {
        auto* text = db.Strings().Get(record->name);
        if (text && text->Exists())
            db.Strings().Change(text)->text = name;
        else
            record->name = db.NewText(name);
    }
    record->parent = parent;
    CommitWithRules(db);
    return {std::nullopt, folder};
}

AEditOutcome AddArticle(ADatabase& db, const AStrings& strings, AReference<ASeries> series,
                        AReference<ABudgetItem> parent)
{
    if (!ValidParent(db, {}, parent))
        return {std::nullopt, {}};
    if (auto refusal = CheckArticle(db, series))
        return {refusal, {}};
    Engine::AStepGuard step(db, strings.Text(kAddArticle));
    const auto item =
        Engine::ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{{}, series, parent}));
    CommitWithRules(db);
    return {std::nullopt, item};
}

AEditOutcome ChangeArticle(ADatabase& db, const AStrings& strings, AReference<ABudgetItem> article,
                           AReference<ASeries> series, AReference<ABudgetItem> parent)
{
    const ABudgetItem* current = db.BudgetItems().Record(article);
    if (!current || current->series.IsNull() || !ValidParent(db, article, parent))
        return {std::nullopt, {}};
    if (auto refusal = CheckArticle(db, series))
        return {refusal, article};
    if (current->series == series && current->parent == parent)
        return {std::nullopt, article};
    Engine::AStepGuard step(db, strings.Text(kChangeArticle));
    ABudgetItem* record = db.BudgetItems().Change(db.BudgetItems().Get(article));
    if (record->series != series)
        record->series = series;
    if (record->parent != parent)
        record->parent = parent;
    CommitWithRules(db);
    return {std::nullopt, article};
}

bool MoveItem(ADatabase& db, const AStrings& strings, AReference<ABudgetItem> item, AReference<ABudgetItem> newParent)
{
    const ABudgetItem* record = db.BudgetItems().Record(item);
    if (!record || !ValidParent(db, item, newParent))
        return false;
    if (record->parent == newParent)
        return true;
    Engine::AStepGuard step(db, strings.Text(kMoveItem));
    db.BudgetItems().Change(db.BudgetItems().Get(item))->parent = newParent;
    CommitWithRules(db);
    return true;
}

AReportMessage DeleteQuestion(ADatabase& db, AReference<ABudgetItem> item)
{
    const ABudgetItem* record = db.BudgetItems().Record(item);
    if (!record)
        return {};
    return {record->series.IsNull() ? kDeleteFolderQuestion : kDeleteArticleQuestion, {RowName(db, *record)}};
}

std::optional<AReportMessage> DeleteSeriesOffer(ADatabase& db, AReference<ABudgetItem> article)
{
    const ABudgetItem* record = db.BudgetItems().Record(article);
    if (!record || !db.Series().Record(record->series))
        return std::nullopt;
    return AReportMessage{kSeriesOffer, {RowName(db, *record)}};
}

void DeleteItem(ADatabase& db, const AStrings& strings, AReference<ABudgetItem> item, bool withSeries)
{
    AItemSlot* slot = db.BudgetItems().Get(item);
    if (!slot || !slot->Exists())
        return;
    const ABudgetItem record = slot->Record();
    Engine::AStepGuard step(db, strings.Text(record.series.IsNull() ? kDeleteFolder : kDeleteArticle));
    Database::Delete(db, slot);
    if (withSeries && !record.series.IsNull())
        Series::DeleteSeriesInStep(db, record.series);
    CommitWithRules(db);
}

APlanInput ReadPlan(ADatabase& db, AReference<ABudgetItem> article, int year, AReference<ACurrency> preselected)
{
    APlanInput input;
    input.year = year;
    input.currency = preselected;
    ABudgetLimit probe;
    probe.item = article;
    probe.year = static_cast<std::uint32_t>(year);
    const auto found = db.BudgetLimits().EqualRange(4, probe);
    if (found.empty())
        return input;
    const ABudgetLimit& limit = found.front()->Record();
    input.currency = limit.currency;
    input.kind = limit.kind;
    input.fields.months = std::to_array(limit.months);
    const int yearLength = Dates::DaysInYear(year);
    // The dialog shows the other fields as if the stored one had just been typed.
    std::optional<APlanFields> shown;
    switch (limit.kind) {
    case ABudgetLimit::kPerMonth: shown = FromMonthly(limit.amount, yearLength); break;
    case ABudgetLimit::kPerWeek: shown = FromWeekly(limit.amount, yearLength); break;
    default: shown = FromTotal(limit.amount, yearLength);
    }
    if (shown) {
        shown->months = input.fields.months;
        input.fields = *shown;
    }
    return input;
}

bool StorePlan(ADatabase& db, const AStrings& strings, AReference<ABudgetItem> article, const APlanInput& input)
{
    const ABudgetItem* item = db.BudgetItems().Record(article);
    if (!item || input.year < 100 || input.year > 9999 || input.kind > ABudgetLimit::kEachMonth)
        return false;
    Engine::AStepGuard step(db, strings.Format(kPlansTitle, {std::u16string_view(RowName(db, *item))}));
    ABudgetLimit probe;
    probe.item = article;
    probe.year = static_cast<std::uint32_t>(input.year);
    const auto found = db.BudgetLimits().EqualRange(4, probe);
    ABudgetLimit* limit = found.empty() ? &db.BudgetLimits().Create(probe)->Record()
                                        : db.BudgetLimits().Change(found.front());
    limit->currency = input.currency;
    limit->kind = input.kind;
    limit->amount = StoredAmount(input.kind, input.fields);
    std::copy(input.fields.months.begin(), input.fields.months.end(), limit->months);
    CommitWithRules(db);
    return true;
}

}  // namespace UserInterface::Budget
