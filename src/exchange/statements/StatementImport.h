// A statement brought into the data file: which of its lines the file has already (the
// same bank reference, or else the same amount within three days under a similar text),
// the categories the household gave most often to earlier transactions of the same payee,
// and the new lines written as transactions of one account in one step.
#pragma once
#include "exchange/statements/Statement.h"

#include "database/Database.h"

#include <optional>

namespace ExportImport::Statements {

// A line whose text contains `text` (in any letter case) gets these categories.
struct ACategoryRule {
    std::u16string text;
    std::vector<Database::AReference<Database::ACategory>> categories;
};

struct AStatementImportOptions {
    // The extra comment (0 to 3) that keeps the bank's reference of each line, when the
    // data file gives one to it; without one lines are matched by amount, date and text.
    std::optional<int> referenceComment;
    int dateTolerance = 3;  // days either way
    // Tried in order before the history; the first rule that matches gives the categories
    // of the trees it names, the history those of the other trees.
    std::vector<ACategoryRule> rules;
};

// Why a line is taken for one the file has already.
enum class ADuplicateReason { None, SameReference, NearbyTransaction };

struct APlannedLine {
    const AStatementLine* line = nullptr;
    bool duplicate = false;
    ADuplicateReason reason = ADuplicateReason::None;
    // At most one category of each classifier tree, the most frequent first found.
    std::vector<Database::AReference<Database::ACategory>> categories;
};

struct AStatementPlan {
    std::vector<APlannedLine> lines;
    std::size_t duplicates = 0;
    std::size_t NewCount() const { return lines.size() - duplicates; }
};

// The enabled extra comment captioned "Ссылка банка" (in any letter case) keeps the bank's
// reference of each line; none when the data file has no such comment.
std::optional<int> ReferenceCommentOf(Database::ADatabase& db);

// `account` must be a live account of `db`; `statement` must outlive the plan.
AStatementPlan PlanStatement(Database::ADatabase& db, Database::AReference<Database::AAccount> account,
                             const AStatement& statement, const AStatementImportOptions& options = {});

// The plan's new lines as executed transactions of `account`, with their categories and
// references, balances recalculated, as one step labelled `label`. The number written.
std::size_t SaveStatement(Database::ADatabase& db, Database::AReference<Database::AAccount> account,
                          const AStatementPlan& plan, const AStatementImportOptions& options,
                          std::u16string_view label);

// Whether a statement in `statement`'s currency may go into an account in `account`'s: the
// same code, or none given; the ruble's codes RUB and RUR are one currency.
bool SameCurrency(std::string_view statement, std::string_view account);
// Whether the statement, and each of its lines that names a currency, is in the account's.
bool StatementFitsAccount(const AStatement& statement, std::string_view account);
// The statement's or a line's currency that is not the account's; empty when all fit.
std::string ForeignCurrency(const AStatement& statement, std::string_view account);

// The text a line is known by: the payee, and the memo after it.
std::u16string LineText(const AStatementLine& line);
// Payee texts as they are compared: lower case, without digits (card numbers, dates) and
// punctuation, blanks collapsed.
std::u16string NormalisedText(std::u16string_view text);

}  // namespace ExportImport::Statements
