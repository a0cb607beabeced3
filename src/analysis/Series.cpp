#include "analysis/Series.h"

#include "analysis/AnalysisTexts.h"
#include "database/Money.h"

#include <algorithm>
#include <unordered_set>

namespace UserInterface::Series {

using namespace Database;

bool ASeriesDefinition::HasAccount(AReference<AAccount> account) const
{
    return !account.IsNull() && std::binary_search(accounts.begin(), accounts.end(), account);
}

std::optional<ASeriesDefinition> LoadSeries(ADatabase& db, AReference<ASeries> series, const ACategoryMap& categories)
{
    const ASeries* record = db.Series().Record(series);
    if (!record)
        return std::nullopt;
    ASeriesDefinition definition;
    definition.ref = series;
    definition.record = *record;
    definition.name = db.Text(record->name);

    ASeriesAccountFilter accountProbe;
    accountProbe.series = series;
    for (const auto* filter : db.SeriesAccounts().EqualRange(2, accountProbe))
        if (db.Accounts().Record(filter->Record().account))
            definition.accounts.push_back(filter->Record().account);
    std::sort(definition.accounts.begin(), definition.accounts.end());
    definition.accounts.erase(std::unique(definition.accounts.begin(), definition.accounts.end()),
                              definition.accounts.end());

    ASeriesNodeFilter nodeProbe;
    nodeProbe.series = series;
    std::vector<AReference<AClassifier>> classifiers;
    for (const auto* filter : db.SeriesNodes().EqualRange(2, nodeProbe)) {
        const AReference<ACategory> node = filter->Record().category;
        const AReference<AClassifier> classifier = categories.ClassifierOf(node);
        if (classifier.IsNull())
            continue;  // a node outside every classifier selects nothing anyone can see
        auto found = std::find(classifiers.begin(), classifiers.end(), classifier);
        if (found == classifiers.end()) {
            classifiers.push_back(classifier);
            definition.nodesByClassifier.emplace_back();
            found = classifiers.end() - 1;
        }
        definition.nodesByClassifier[static_cast<std::size_t>(found - classifiers.begin())].push_back(node);
    }
    return definition;
}

bool CountsByKind(const ASeriesDefinition& series, const ATransaction& t)
{
    if (!t.executed)
        return false;
    const ASeries& flags = series.record;
    switch (t.Kind()) {
    case ATransactionKind::Income: return flags.income && series.HasAccount(t.account1);
    case ATransactionKind::Expense: return flags.expense && series.HasAccount(t.account1);
    case ATransactionKind::Balance:
        if (t.amount1 == 0)
            return false;
        return (t.amount1 < 0 ? flags.expense : flags.income) && series.HasAccount(t.account1);
    case ATransactionKind::Transfer: {
        const bool has1 = series.HasAccount(t.account1), has2 = series.HasAccount(t.account2);
        if (has1 == has2)
            return false;
        const AMoney amount = has1 ? t.amount1 : t.amount2;
        return amount <= 0 ? flags.transferDebits != 0 : flags.transferCredits != 0;
    }
    }
    return false;
}

std::vector<ASeriesItem> SelectItems(ADatabase& db, const ASeriesDefinition& series, const ATransactionList& list)
{
    // For every classifier with selected nodes: the transactions linked to any of them.
    std::vector<std::unordered_set<std::uint32_t>> linked;
    for (const auto& nodes : series.nodesByClassifier) {
        auto& set = linked.emplace_back();
        for (AReference<ACategory> node : nodes) {
            ARelation probe;
            probe.category = node;
            for (const auto* relation : db.Relations().EqualRange(2, probe))
                set.insert(relation->Record().transaction.Word());
        }
    }
    std::vector<ASeriesItem> items;
    for (const ATransactionSlot* slot : list) {
        const ATransaction& t = slot->Record();
        if (!CountsByKind(series, t))
            continue;
        const std::uint32_t word = Engine::ATableImpl<ATransaction>::RefTo(slot).Word();
        if (!std::all_of(linked.begin(), linked.end(), [&](const auto& set) { return set.count(word) != 0; }))
            continue;
        // The first of its accounts that is the series'.
        const bool first = series.HasAccount(t.account1);
        items.push_back({slot, first ? t.account1 : t.account2, first ? t.amount1 : t.amount2});
    }
    return items;
}

std::optional<AReference<AAccount>> FirstUnconvertibleAccount(const ASeriesDefinition& series,
                                                              AReportConverter& converter)
{
    for (AReference<AAccount> account : series.accounts)
        if (!converter.CanConvertAccount(account))
            return account;
    return std::nullopt;
}

AReportMessage UnconvertibleSeriesMessage(ADatabase& db, const ASeriesDefinition& series,
                                          AReference<AAccount> account, AReference<ACurrency> target)
{
    const AAccount* record = db.Accounts().Record(account);
    return {Reports::ReportMessage::kUnconvertibleSeries,
            {series.name, record ? db.Text(record->name) : std::u16string(),
             CurrencyCode(db, record ? record->currency : AReference<ACurrency>()), CurrencyCode(db, target)}};
}

ABucketSums SumOverBuckets(const std::vector<ASeriesItem>& items, const std::vector<ADate>& boundaries,
                           AReportConverter& converter, bool byBudgetDate)
{
    ABucketSums result;
    const std::size_t buckets = boundaries.empty() ? 0 : boundaries.size() - 1;
    result.sums.assign(buckets, 0);
    result.transactions.resize(buckets);
    for (const ASeriesItem& item : items) {
        const ATransaction& t = item.transaction->Record();
        const ADate date = byBudgetDate && t.budgetDate != Filters::kNoBudgetDate ? t.budgetDate : t.date;
        // The bucket is the last boundary not after the date.
        auto after = std::upper_bound(boundaries.begin(), boundaries.end(), date);
        if (after == boundaries.begin() || after == boundaries.end())
            continue;
        const std::size_t bucket = static_cast<std::size_t>(after - boundaries.begin()) - 1;
        AMoney value = item.amount;
        if (!converter.ConvertFromAccount(item.account, t.date, value) ||
            !Money::Add(result.sums[bucket], value, result.sums[bucket])) {
            ++result.failures;
            continue;
        }
        result.transactions[bucket].push_back(item.transaction);
    }
    return result;
}

}  // namespace UserInterface::Series
