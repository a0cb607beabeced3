#include "exchange/statements/StatementImport.h"

#include "database/DataFileSettings.h"
#include "database/DatabaseRules.h"
#include "database/engine/StepGuard.h"
#include "core/TextSearch.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace ExportImport::Statements {

namespace {

using namespace Database;

constexpr std::u16string_view kReferenceCaption = u"ссылка банка";
using Engine::ATableImpl;

char16_t Lower(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я'))
        return static_cast<char16_t>(c + 32);
    return c == u'Ё' ? u'ё' : c;
}

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'а' && c <= u'я') || c == u'ё' || c > 0x04FF; }

bool Similar(const std::u16string& a, const std::u16string& b)
{
    if (a.empty() || b.empty())
        return a == b;
    return a.starts_with(b) || b.starts_with(a);
}

struct AKnownTransaction {
    ADate date;
    std::u16string text;
};

// What the file already holds for the account, and what its payees were given.
class AHistory {
public:
    AHistory(ADatabase& db, AReference<AAccount> account, const AStatementImportOptions& options) : db_(db)
    {
        std::unordered_map<std::uint32_t, std::u16string> payeeOf;  // transaction position -> its text
        for (const auto* slot : db.Transactions().Live()) {
            const ATransaction& t = slot->Record();
            if (t.account1 != account && t.account2 != account)
                continue;
            const AMoney amount = t.account1 == account ? t.amount1 : t.amount2;
            const std::u16string text = NormalisedText(db.Text(t.comment));
            byAmount_.emplace(amount, AKnownTransaction{t.date, text});
            if (options.referenceComment && !t.extraComment[*options.referenceComment].IsNull())
                references_.insert(db.Text(t.extraComment[*options.referenceComment]));
            if (!text.empty())
                payeeOf.emplace(slot->position, text);
        }
        for (const auto* slot : db.Relations().Live()) {
            const ARelation& relation = slot->Record();
            const auto payee = payeeOf.find(relation.transaction.SlotPosition());
            if (relation.transaction.IsResolved() && payee != payeeOf.end())
                ++counts_[payee->second][relation.category.SlotPosition()];
        }
    }

    ADuplicateReason Has(const AStatementLine& line, const AStatementImportOptions& options) const
    {
        if (!line.reference.empty() && references_.contains(std::u16string(line.reference.begin(), line.reference.end())))
            return ADuplicateReason::SameReference;
        const std::u16string text = NormalisedText(LineText(line));
        const auto [first, last] = byAmount_.equal_range(line.amount);
        for (auto known = first; known != last; ++known)
            if (std::abs(known->second.date - line.date) <= options.dateTolerance && Similar(known->second.text, text))
                return ADuplicateReason::NearbyTransaction;
        return ADuplicateReason::None;
    }

    // The rule's categories, then the history's of the trees the rule leaves out.
    std::vector<AReference<ACategory>> Suggest(const AStatementLine& line, const ACategoryRule* rule)
    {
        std::vector<AReference<ACategory>> suggested;
        std::set<std::uint32_t> ruled;  // roots
        if (rule)
            for (AReference<ACategory> category : rule->categories)
                if (category.IsResolved() && ruled.insert(RootOf(category.SlotPosition())).second)
                    suggested.push_back(category);
        const auto found = counts_.find(NormalisedText(LineText(line)));
        if (found == counts_.end())
            return suggested;
        std::map<std::uint32_t, std::pair<std::size_t, std::uint32_t>> bestOfTree;  // root -> (count, category)
        for (const auto& [category, count] : found->second) {
            auto& best = bestOfTree[RootOf(category)];
            if (count > best.first)
                best = {count, category};
        }
        for (const auto& [root, best] : bestOfTree)
            if (!ruled.contains(root))
                suggested.push_back(AReference<ACategory>::FromSlot(best.second));
        return suggested;
    }

private:
    std::uint32_t RootOf(std::uint32_t category)
    {
        for (int depth = 0; depth < 64; ++depth) {
            const ACategory* record = db_.Categories().Record(AReference<ACategory>::FromSlot(category));
            if (!record || record->parent.IsNull() || !record->parent.IsResolved())
                break;
            category = record->parent.SlotPosition();
        }
        return category;
    }

    ADatabase& db_;
    std::unordered_multimap<AMoney, AKnownTransaction> byAmount_;
    std::unordered_set<std::u16string> references_;
    std::unordered_map<std::u16string, std::map<std::uint32_t, std::size_t>> counts_;
};

const ACategoryRule* RuleFor(const AStatementLine& line, const AStatementImportOptions& options)
{
    if (options.rules.empty())
        return nullptr;
    const std::u16string text = LineText(line);
    for (const ACategoryRule& rule : options.rules)
        if (!rule.text.empty() && UserInterface::Filters::ContainsFolded(text, UserInterface::Filters::FoldCase(rule.text)))
            return &rule;
    return nullptr;
}

}  // namespace

bool SameCurrency(std::string_view statement, std::string_view account)
{
    const auto ruble = [](std::string_view code) { return code == "RUB" || code == "RUR"; };
    return statement.empty() || statement == account || (ruble(statement) && ruble(account));
}

bool StatementFitsAccount(const AStatement& statement, std::string_view account)
{
    return ForeignCurrency(statement, account).empty();
}

std::string ForeignCurrency(const AStatement& statement, std::string_view account)
{
    if (!SameCurrency(statement.currency, account))
        return statement.currency;
    for (const AStatementLine& line : statement.lines)
        if (!SameCurrency(line.currency, account))
            return line.currency;
    return {};
}

std::u16string LineText(const AStatementLine& line)
{
    if (line.payee.empty() || line.memo.empty())
        return line.payee.empty() ? line.memo : line.payee;
    return line.payee + u" / " + line.memo;
}

std::u16string NormalisedText(std::u16string_view text)
{
    std::u16string normal;
    for (char16_t c : text) {
        c = Lower(c);
        if (IsLetter(c))
            normal += c;
        else if (!normal.empty() && normal.back() != u' ')
            normal += u' ';
    }
    while (!normal.empty() && normal.back() == u' ')
        normal.pop_back();
    return normal;
}

std::optional<int> ReferenceCommentOf(ADatabase& db)
{
    const ADataFileSwitches switches = SwitchesOf(db);
    for (int i = 0; i < 4; ++i)
        if (switches.extraComments[static_cast<std::size_t>(i)] &&
            NormalisedText(switches.captions[static_cast<std::size_t>(i)]) == kReferenceCaption)
            return i;
    return std::nullopt;
}

AStatementPlan PlanStatement(ADatabase& db, AReference<AAccount> account, const AStatement& statement,
                             const AStatementImportOptions& options)
{
    AHistory history(db, account, options);
    AStatementPlan plan;
    for (const AStatementLine& line : statement.lines) {
        const ADuplicateReason reason = history.Has(line, options);
        APlannedLine planned{&line, reason != ADuplicateReason::None, reason, {}};
        if (planned.duplicate)
            ++plan.duplicates;
        else
            planned.categories = history.Suggest(line, RuleFor(line, options));
        plan.lines.push_back(std::move(planned));
    }
    return plan;
}

std::size_t SaveStatement(ADatabase& db, AReference<AAccount> account, const AStatementPlan& plan,
                          const AStatementImportOptions& options, std::u16string_view label)
{
    if (plan.NewCount() == 0)
        return 0;
    Engine::AStepGuard step(db, label);
    std::size_t written = 0;
    for (const APlannedLine& planned : plan.lines) {
        if (planned.duplicate)
            continue;
        const AStatementLine& line = *planned.line;
        ATransaction t;
        t.account1 = account;
        t.amount1 = line.amount;
        t.date = t.budgetDate = line.date;
        t.executed = 1;
        if (const std::u16string text = LineText(line); !text.empty())
            t.comment = db.NewText(text);
        if (options.referenceComment && !line.reference.empty())
            t.extraComment[*options.referenceComment] =
                db.NewText(std::u16string(line.reference.begin(), line.reference.end()));
        const auto transaction = ATableImpl<ATransaction>::RefTo(db.Transactions().Create(t));
        for (AReference<ACategory> category : planned.categories)
            db.Relations().Create(ARelation{category, transaction});
        ++written;
    }
    CommitWithRules(db);
    return written;
}

}  // namespace ExportImport::Statements
