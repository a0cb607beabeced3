// What the transaction dialog hands over, its checks in their order with the message and the
// control to put the focus on, and the steps that add a transaction or change several.
// A value that is none was left at the different-values mark and stays as it is.
#pragma once

#include "analysis/TransactionAmounts.h"
#include "analysis/TransactionPageFilter.h"
#include "database/Recurrence.h"

#include <optional>
#include <string>
#include <vector>

namespace UserInterface::Transactions {

// The state radio buttons 420..423.
enum class AState : int { Executed = 0, ExecutedLocked = 1, Planned = 2, Recurring = 3 };

struct ASideInput {
    Database::AReference<Database::AAccount> account;  // null: none chosen (or a folder)
    Database::AReference<Database::AAccountFolder> folder;  // a folder chosen instead
    bool differs = false;
};

struct AAmountInput {
    bool shown = false;
    bool differs = false;
    std::optional<AMoney> value;  // none: not a number
};

struct ATransactionInput {
    std::optional<AAmountMode> type;  // none only when changing transactions of several types
    std::optional<AState> state;
    // With the recurring state; none when the selected transactions' rules differ and the
    // user did not choose one: each keeps its own.
    std::optional<Database::Recurrence::ARule> rule;
    std::optional<ADate> date;
    std::optional<std::int32_t> time;        // only when the file keeps times
    std::optional<ADate> budgetDate;         // only when the file keeps budget dates
    ASideInput receiving, giving;            // side index 0 and 1 of the choosers
    AAmountInput fields[4];
    ARateItem rateItem = ARateItem::CreditPerDebit;  // the direction of a transfer's rate
    bool threeRows = false;
    std::optional<std::u16string> comment;
    std::optional<std::u16string> extra[4];
    // One per classifier in the order of the classifier table; a null reference is "none".
    std::vector<std::optional<Database::AReference<Database::ACategory>>> categories;
};

enum class AFocus { Receiving, Giving, Field0, Field1, Field2, Field3 };

struct AInputFailure {
    int message = 0;
    AFocus focus = AFocus::Field0;
    std::u16string argument;  // the folder's name for 443
    bool operator==(const AInputFailure&) const = default;
};

// The checks of OK and of "save and add", in their order; none when everything passes.
std::optional<AInputFailure> CheckInput(Database::ADatabase& db, const ATransactionInput& input);

// The transaction as `input` would leave `base` (the one being changed; null when adding),
// for the page filter's test.
Filters::ATransactionFacts FactsOf(Database::ADatabase& db, const ATransactionInput& input,
                                   const Database::Engine::ASlot<Database::ATransaction>* base);
// Whether every transaction the input makes or changes passes the page filter.
bool PassesFilter(Database::ADatabase& db, const ATransactionInput& input,
                  const std::vector<Database::Engine::ARecordId>& changed, const Filters::ATransactionPageFilter& filter);

// Adds the transaction with its texts and one relation per chosen category, recalculates the
// balances and commits, all in one step labelled `label`. False (nothing changed) when a
// balance would leave the range of an amount or an amount was never checked.
bool AddTransaction(Database::ADatabase& db, const ATransactionInput& input, std::u16string_view label);
// Writes what the input does not leave at the mark into each transaction, recalculates the
// accounts concerned and commits, in one step labelled `label`. False as for adding.
bool ChangeTransactions(Database::ADatabase& db, const std::vector<Database::Engine::ARecordId>& ids,
                        const ATransactionInput& input, std::u16string_view label);

// The input that shows the transactions: common values, the mark where they differ; amounts
// as the fields show them (field 0, the three rows, the rate of a transfer).
ATransactionInput InputOf(Database::ADatabase& db, const std::vector<Database::Engine::ARecordId>& ids,
                          bool quantities);

// The account a new transaction starts with: the one the page's filter narrows to, else the
// file's only account; none when the user has to choose.
Database::AReference<Database::AAccount> AccountForAdding(Database::ADatabase& db,
                                                          const Filters::ATransactionPageFilter* filter);

}  // namespace UserInterface::Transactions
