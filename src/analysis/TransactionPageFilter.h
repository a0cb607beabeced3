// What the transactions page's filter pane holds, with the tests that make the page's list
// and the one that tells the transaction dialog whether a transaction it is about to save
// will be seen in that list.
#pragma once

#include "analysis/Filters.h"

#include <string>
#include <vector>

namespace UserInterface::Filters {

// A transaction as the dialog is about to save it.
struct ATransactionFacts {
    ADate date = 0;
    ADate budgetDate = 0;
    AReference<Database::AAccount> account1;  // side 1; null when not chosen
    AReference<Database::AAccount> account2;  // side 2 of a transfer
    std::vector<AReference<Database::ACategory>> categories;
};

struct ATransactionPageFilter {
    ADatePeriod period;
    AAccountSelection accounts;  // empty: every account
    AClassifierSelections classifiers;
    std::u16string comment;

    // "Все операции" is the file's whole range, which moves as transactions come and go: the
    // dates are taken from the file anew and the period neither narrows nor hides.
    bool AllTransactions() const { return period.Kind() == APeriodKind::AllTransactions; }
    // Takes the file's range into the dates of an "all transactions" period; true when they moved.
    bool FollowFile(Database::ADatabase& db, ADate today);
    // Drops the accounts, classifiers and nodes deleted since they were chosen: a deleted
    // node would hide every transaction, a deleted account narrow to nothing. True when
    // something went.
    bool ForgetDeleted(Database::ADatabase& db);

    // Whether some value hides transactions: a period short of the file's first or last
    // transaction, ticked accounts, an active classifier row or a comment text.
    bool Narrows(Database::ADatabase& db) const;
    // The page's list: the transactions that pass every test, in the order of the period's
    // index (date, or budget date when the period goes by budget dates).
    ATransactionList Apply(Database::ADatabase& db) const;
    // The period, account and category tests of one transaction not yet saved; the comment
    // text is a search and does not count.
    bool Passes(Database::ADatabase& db, const ATransactionFacts& facts) const;

    // The period (with `today` and the date-range option, see ADatePeriod::Save), the account
    // selection, the classifier rows and the comment text as its length and UTF-16 units.
    void Save(APageWriter& out, Database::ADatabase& db, ADate today, bool improvedDateRange) const;
    // False, with the filter unchanged, when the block is short or damaged.
    [[nodiscard]] bool Load(AByteCursor& in, Database::ADatabase& db, ADate today);
};

// Whether the accounts of a transaction's sides pass the selection: with every transaction,
// one side in it; with transfers only, both sides of a transfer in it.
bool AccountsPass(const AAccountSelection& selection, AReference<Database::AAccount> account1,
                  AReference<Database::AAccount> account2);

}  // namespace UserInterface::Filters
