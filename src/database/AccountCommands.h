// The accounts page's commands on accounts: the checks of the account dialog in their order,
// with the message and the field to put the focus on, and the one-step record changes of
// adding, changing, moving and deleting accounts. The dialogs ask; these decide and do.
#pragma once

#include "database/Database.h"
#include "database/DatabaseTexts.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Database {

// Writes a changed name into the record's name text and a changed comment into its comment
// text, creating the text a record lacks; `record` is the caller's copy to store. In a step.
template <class T>
void WriteNameAndComment(ADatabase& db, T& record, std::u16string_view name, std::u16string_view comment);

enum class AAccountField { Name, Currency, InitialBalance };

struct AAccountFailure {
    int message = 0;
    AAccountField focus = AAccountField::Name;
    bool operator==(const AAccountFailure&) const = default;
};

struct AAccountInput {
    std::u16string name;                   // as typed
    AReference<ACurrency> currency;        // only read when adding
    std::optional<AMoney> initialBalance;  // none: what was typed is not an amount
    std::u16string comment;
    // The folder of the current account plan the account goes into; when the file keeps no
    // folders, null (the account goes directly under every plan).
    AReference<AAccountFolder> folder;
};

std::optional<AAccountFailure> CheckNewAccount(ADatabase& db, const AAccountInput& input);
std::optional<AAccountFailure> CheckChangedAccount(ADatabase& db, const Engine::ASlot<AAccount>& account,
                                                   const AAccountInput& input);

// The top of the folder's plan (its parents followed up); null for a missing folder or a
// parent chain that loops.
Engine::ASlot<AAccountFolder>* PlanOf(ADatabase& db, AReference<AAccountFolder> folder);
// The folder of `plan` the account is placed in; null when it has no placement there.
AReference<AAccountFolder> FolderInPlan(ADatabase& db, AReference<AAccount> account,
                                        AReference<AAccountFolder> plan);

// One step `label`: the account with its texts, its placement in the chosen folder and one
// placement directly under every other plan. Answers the new account.
AReference<AAccount> AddAccount(ADatabase& db, const AAccountInput& input, std::u16string_view label);

enum class AChangeOutcome { Unchanged, Changed, BalanceOutOfRange };

// One step `label` that writes what differs from the stored account; the placement of `plan`
// moves to the input's folder; a changed initial balance recalculates the balances. Nothing
// changed: no step. A balance that would leave the range: the step is rolled back.
AChangeOutcome ChangeAccount(ADatabase& db, Engine::ASlot<AAccount>& account, AReference<AAccountFolder> plan,
                             const AAccountInput& input, std::u16string_view label);

// ChangeAccount with only the folder of `plan` changed.
AChangeOutcome MoveAccount(ADatabase& db, Engine::ASlot<AAccount>& account, AReference<AAccountFolder> plan,
                           AReference<AAccountFolder> folder, std::u16string_view label);

// The transactions of which one side is one of the accounts, each counted once.
std::size_t CountTransactionsOf(ADatabase& db, const std::vector<AReference<AAccount>>& accounts);

// One step `label` deleting the accounts; the clean-up takes their placements, filters and
// transactions (a transfer that keeps one account becomes single-sided).
void DeleteAccounts(ADatabase& db, const std::vector<AReference<AAccount>>& accounts, std::u16string_view label);

}  // namespace Database
