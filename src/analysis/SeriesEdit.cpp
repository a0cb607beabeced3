#include "analysis/SeriesEdit.h"

#include "core/TextUtilities.h"
#include "database/DatabaseRules.h"
#include "database/StepView.h"
#include "database/engine/StepGuard.h"

#include <algorithm>

namespace UserInterface::Series {

using namespace Database;

namespace {

using namespace SeriesText;

template <class Filter>
std::vector<Engine::ASlot<Filter>*> FiltersOf(ADatabase& db, AReference<ASeries> series)
{
    Filter probe;
    probe.series = series;
    auto range = db.Table<Filter>().EqualRange(2, probe);
    return {range.begin(), range.end()};
}

// Keeps the filter records whose target is still wanted, deletes the rest and adds the
// missing ones. targetOf gives the filter's other reference.
template <class Filter, class Ref, class TargetOf>
void AlignFilters(ADatabase& db, AReference<ASeries> series, std::vector<Ref> wanted, TargetOf targetOf)
{
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    std::vector<Ref> kept;
    for (auto* slot : FiltersOf<Filter>(db, series)) {
        const Ref target = targetOf(slot->Record());
        const bool wantedHere = std::binary_search(wanted.begin(), wanted.end(), target);
        if (wantedHere && std::find(kept.begin(), kept.end(), target) == kept.end())
            kept.push_back(target);
        else
            Database::Delete(db, slot);
    }
    for (Ref target : wanted) {
        if (target.IsNull() || std::find(kept.begin(), kept.end(), target) != kept.end())
            continue;
        Filter filter;
        filter.series = series;
        targetOf(filter) = target;
        db.Table<Filter>().Create(filter);
    }
}

void WriteSeries(ADatabase& db, AReference<ASeries> series, const ASeriesInput& input)
{
    ASeries* record = db.Series().Change(db.Series().Get(series));
    if (!record)
        return;
    if (db.Text(record->name) != input.name) {
        auto* text = db.Strings().Get(record->name);
        if (text && text->Exists())
            db.Strings().Change(text)->text = input.name;
        else
            record->name = db.NewText(input.name);
    }
    record->hue = input.hue;
    record->income = input.income;
    record->expense = input.expense;
    record->transferCredits = input.transferCredits;
    record->transferDebits = input.transferDebits;
    record->debitsAboveZero = input.debitsAboveZero;
    record->noBars = input.noBars;
    record->noLine = input.noLine;
    AlignFilters<ASeriesAccountFilter>(db, series, input.accounts,
                                       [](auto& filter) -> auto& { return filter.account; });
    AlignFilters<ASeriesNodeFilter>(db, series, input.nodes, [](auto& filter) -> auto& { return filter.category; });
}

std::u16string SeriesName(ADatabase& db, AReference<ASeries> series)
{
    const ASeries* record = db.Series().Record(series);
    return record ? db.Text(record->name) : std::u16string();
}

}  // namespace

ASeriesInput ReadSeriesInput(ADatabase& db, AReference<ASeries> series)
{
    ASeriesInput input;
    const ASeries* record = db.Series().Record(series);
    if (!record)
        return input;
    input.name = db.Text(record->name);
    input.hue = record->hue;
    input.income = record->income;
    input.expense = record->expense;
    input.transferCredits = record->transferCredits;
    input.transferDebits = record->transferDebits;
    input.debitsAboveZero = record->debitsAboveZero;
    input.noBars = record->noBars;
    input.noLine = record->noLine;
    for (const auto* slot : FiltersOf<ASeriesAccountFilter>(db, series))
        input.accounts.push_back(slot->Record().account);
    for (const auto* slot : FiltersOf<ASeriesNodeFilter>(db, series))
        input.nodes.push_back(slot->Record().category);
    return input;
}

std::optional<ASeriesRefusal> CheckSeriesInput(ASeriesInput& input)
{
    UtilityClasses::Strings::CollapseSpaces(input.name);
    if (input.name.empty())
        return ASeriesRefusal{kNoName, ASeriesField::Name};
    if (input.hue == ASeries::kNoHue)
        return ASeriesRefusal{kNoColour, ASeriesField::Colour};
    if (input.noBars && input.noLine)
        return ASeriesRefusal{kNeitherBarsNorLine, ASeriesField::Bars};
    if (std::none_of(input.accounts.begin(), input.accounts.end(), [](auto a) { return !a.IsNull(); }))
        return ASeriesRefusal{kNoAccount, ASeriesField::Accounts};
    return std::nullopt;
}

std::optional<ASeriesRefusal> AddSeries(ADatabase& db, const AStrings& strings, ASeriesInput input,
                                        AReference<ASeries>* created)
{
    if (auto refusal = CheckSeriesInput(input))
        return refusal;
    Database::Engine::AStepGuard step(db, strings.Text(kAddTitle));
    ASeries record;
    record.name = db.NewText(input.name);
    const auto series = Engine::ATableImpl<ASeries>::RefTo(db.Series().Create(record));
    WriteSeries(db, series, input);
    CommitWithRules(db);
    if (created)
        *created = series;
    return std::nullopt;
}

std::optional<ASeriesRefusal> ChangeSeries(ADatabase& db, const AStrings& strings, AReference<ASeries> series,
                                           ASeriesInput input)
{
    if (auto refusal = CheckSeriesInput(input))
        return refusal;
    if (!db.Series().Record(series))
        return std::nullopt;
    Database::Engine::AStepGuard step(db, strings.Text(kChangeTitle));
    WriteSeries(db, series, input);
    CommitWithRules(db);
    return std::nullopt;
}

bool SeriesUsedByBudget(ADatabase& db, AReference<ASeries> series)
{
    return FirstLive(db.BudgetItems(), [&](const ABudgetItem& item) { return item.series == series; }) != nullptr;
}

std::optional<AReportMessage> DeleteSeriesRefusal(ADatabase& db, AReference<ASeries> series)
{
    if (!SeriesUsedByBudget(db, series))
        return std::nullopt;
    return AReportMessage{kUsedByBudget, {SeriesName(db, series)}};
}

AReportMessage DeleteSeriesQuestion(ADatabase& db, AReference<ASeries> series)
{
    return {kDeleteQuestion, {SeriesName(db, series)}};
}

void DeleteSeriesInStep(ADatabase& db, AReference<ASeries> series)
{
    auto* slot = db.Series().Get(series);
    if (!slot || !slot->Exists())
        return;
    for (auto* filter : FiltersOf<ASeriesAccountFilter>(db, series))
        Database::Delete(db, filter);
    for (auto* filter : FiltersOf<ASeriesNodeFilter>(db, series))
        Database::Delete(db, filter);
    Database::Delete(db, slot);
}

bool DeleteSeries(ADatabase& db, const AStrings& strings, AReference<ASeries> series)
{
    if (!db.Series().Record(series) || SeriesUsedByBudget(db, series))
        return false;
    Database::Engine::AStepGuard step(db, strings.Text(kDeleteTitle));
    DeleteSeriesInStep(db, series);
    CommitWithRules(db);
    return true;
}

}  // namespace UserInterface::Series
