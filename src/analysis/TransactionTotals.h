// The figures under the transactions page's list: income and expense of the listed
// transactions per currency, the balances at the start and the end of the period when the
// filter names one account, and the sum of the selected transactions.
#pragma once

#include "analysis/TransactionPageFilter.h"

#include <optional>
#include <vector>

namespace UserInterface::Filters {

using Database::AMoney;

struct ACurrencyTotal {
    AReference<Database::ACurrency> currency;
    AMoney income = 0;   // positive
    AMoney expense = 0;  // negative
    AMoney Turnover() const { return income + expense; }
};

struct ATransactionTotals {
    std::vector<ACurrencyTotal> byCurrency;  // in the order the currencies first appear
    // Only when the filter names exactly one account.
    std::optional<AMoney> startBalance, endBalance;
    bool overflowed = false;  // a sum left the range and stops at its end
};

// Executed transactions only. With accounts chosen, each side on a chosen account counts
// (a transfer from it is an expense of it); without, income, expense and balance
// corrections count and transfers, which only move money between the household's own
// accounts, do not.
ATransactionTotals PeriodTotals(Database::ADatabase& db, const ATransactionPageFilter& filter,
                                const ATransactionList& list);

// The signed sum of the selected transactions by the same side rule, per currency; planned
// ones count too, as the user chose them.
std::vector<ACurrencyTotal> SelectionSums(Database::ADatabase& db, const AAccountSelection& accounts,
                                          const std::vector<const ATransactionSlot*>& selection);

// The account's balance at the end of `date`: after its last executed transaction of that
// day or before; its initial balance without one.
AMoney BalanceAtEndOf(Database::ADatabase& db, AReference<Database::AAccount> account, ADate date);

}  // namespace UserInterface::Filters
