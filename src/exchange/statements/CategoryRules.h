// The user's own rules for the categories of statement lines: a line whose text contains
// the rule's text gets the rule's categories, before anything the history suggests. Rules
// are kept in the program settings by names (the classifier, the category's path from its
// tree's root), so that a rule whose category is not in the open file is passed by.
#pragma once
#include "exchange/statements/StatementImport.h"

#include "core/OptionStore.h"

#include <string>
#include <vector>

namespace ExportImport::Statements {

struct ACategoryName {
    std::u16string classifier;  // its singular name
    std::u16string path;        // the names from the tree's root down, separated by "\"
    bool operator==(const ACategoryName&) const = default;
};

struct ACategoryRuleEntry {
    std::u16string text;
    std::vector<ACategoryName> categories;
    bool operator==(const ACategoryRuleEntry&) const = default;
};

enum class ARuleRefusal { None, NoText, BadText, NoCategory };
// A rule needs a text without tabs and line breaks, and a category.
ARuleRefusal CheckRule(const ACategoryRuleEntry& rule);

class ACategoryRules {
public:
    static constexpr std::size_t kMaxRules = 200;

    explicit ACategoryRules(UserInterface::Settings::OptionStorage::AOptionStore& store);

    const std::vector<ACategoryRuleEntry>& All() const { return rules_; }
    // Keeps `rules` (those CheckRule refuses left out) in place of the old ones.
    void Set(std::vector<ACategoryRuleEntry> rules);

    // The rules whose categories the open file has, for PlanStatement.
    std::vector<ACategoryRule> Resolve(Database::ADatabase& db) const;

private:
    UserInterface::Settings::OptionStorage::AOptionStore& store_;
    std::vector<ACategoryRuleEntry> rules_;
};

ACategoryName NameOf(Database::ADatabase& db, Database::AReference<Database::ACategory> category);
// Null when the file has no such classifier or path.
Database::AReference<Database::ACategory> CategoryNamed(Database::ADatabase& db, const ACategoryName& name);

}  // namespace ExportImport::Statements
