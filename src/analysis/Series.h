// Data series: which transactions a series counts, what each is worth in a target
// currency, and the sums over time buckets or one period.
#pragma once

#include "analysis/CategoryMap.h"
#include "analysis/Filters.h"
#include "analysis/ReportConversion.h"
#include "database/Database.h"

#include <optional>
#include <string>
#include <vector>

namespace UserInterface::Series {

using Database::AMoney;
using Database::AReference;
using Filters::ATransactionList;
using Filters::ATransactionSlot;

// A series as stored: its record, its accounts and its node filters grouped by classifier.
struct ASeriesDefinition {
    AReference<Database::ASeries> ref;
    Database::ASeries record;
    std::u16string name;
    std::vector<AReference<Database::AAccount>> accounts;  // sorted
    std::vector<std::vector<AReference<Database::ACategory>>> nodesByClassifier;

    bool HasAccount(AReference<Database::AAccount> account) const;
};

// Nothing when the series does not exist.
std::optional<ASeriesDefinition> LoadSeries(Database::ADatabase& db, AReference<Database::ASeries> series,
                                            const ACategoryMap& categories);

// One transaction a series counts: the side it counts and that side's amount, in the
// side's account currency.
struct ASeriesItem {
    const ATransactionSlot* transaction = nullptr;
    AReference<Database::AAccount> account;
    AMoney amount = 0;
};

// Whether the series counts the transaction by its kind and accounts (before the node
// filters): executed only; a zero balance correction never; a transfer only when exactly
// one of its accounts is the series'. A single-sided amount of 0 is an income.
bool CountsByKind(const ASeriesDefinition& series, const Database::ATransaction& transaction);

// The transactions of the list the series counts, in list order: by kind, then for every
// classifier with selected nodes, only those linked to one of them.
std::vector<ASeriesItem> SelectItems(Database::ADatabase& db, const ASeriesDefinition& series,
                                     const ATransactionList& list);

// The first account of the series with no conversion path to the target; none when all have one.
std::optional<AReference<Database::AAccount>> FirstUnconvertibleAccount(const ASeriesDefinition& series,
                                                                        AReportConverter& converter);
// "Серия "#s" не может быть включёна в отчёт...": series, account name and currency code, target code.
AReportMessage UnconvertibleSeriesMessage(Database::ADatabase& db, const ASeriesDefinition& series,
                                          AReference<Database::AAccount> account,
                                          AReference<Database::ACurrency> target);

struct ABucketSums {
    std::vector<AMoney> sums;  // one per bucket
    std::vector<std::vector<const ATransactionSlot*>> transactions;  // added to each bucket
    std::size_t failures = 0;  // values that could not be converted or summed without overflow
};

// Buckets are [boundaries[i], boundaries[i + 1]); the value of each item, converted at the
// transaction's date, goes to the bucket of its date (or budget date; a transaction without
// a budget date counts by its date). Items outside every bucket are left out.
ABucketSums SumOverBuckets(const std::vector<ASeriesItem>& items, const std::vector<ADate>& boundaries,
                           AReportConverter& converter, bool byBudgetDate);

}  // namespace UserInterface::Series
