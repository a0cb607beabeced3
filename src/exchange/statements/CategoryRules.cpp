#include "exchange/statements/CategoryRules.h"

#include "core/CodePage.h"
#include "database/Lookups.h"
#include "exchange/statements/NumberedSettings.h"

#include <algorithm>

namespace ExportImport::Statements {

namespace {

using namespace Database;
using UtilityClasses::Strings::Utf16ToUtf8;
using UtilityClasses::Strings::Utf8ToUtf16;

// "StatementRules" holds the count, "StatementRule<n>" the text and then, for each category,
// its classifier and path, all separated by tabs (which none of them can hold).
constexpr std::string_view kCount = "StatementRules", kRule = "StatementRule";
constexpr int kMaxDepth = 64;  // a damaged file's parents may loop

std::vector<std::u16string> Split(std::u16string_view text, char16_t separator)
{
    std::vector<std::u16string> parts(1);
    for (char16_t c : text)
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    return parts;
}

bool Clean(std::u16string_view text)
{
    return !text.empty() && text.find_first_of(u"\t\r\n") == std::u16string_view::npos;
}

AReference<ACategory> Child(ADatabase& db, AReference<ACategory> parent, std::u16string_view name)
{
    for (const auto* slot : db.Categories().Live())
        if (slot->Record().parent == parent && db.Text(slot->Record().name) == name)
            return Engine::ATableImpl<ACategory>::RefTo(slot);
    return {};
}

}  // namespace

ACategoryName NameOf(ADatabase& db, AReference<ACategory> category)
{
    ACategoryName name;
    const auto* classifier = ClassifierOf(db, category);
    if (!classifier)
        return name;
    name.classifier = db.Text(classifier->Record().singular);
    for (int depth = 0; depth < kMaxDepth && !category.IsNull(); ++depth) {
        const ACategory* record = db.Categories().Record(category);
        if (!record)
            break;
        name.path = std::u16string(db.Text(record->name)) + (name.path.empty() ? u"" : u"\\" + name.path);
        category = record->parent;
    }
    return name;
}

AReference<ACategory> CategoryNamed(ADatabase& db, const ACategoryName& name)
{
    const std::vector<std::u16string> path = Split(name.path, u'\\');
    for (const auto* classifier : db.Classifiers().Live()) {
        const AClassifier& record = classifier->Record();
        if (db.Text(record.singular) != name.classifier)
            continue;
        for (AReference<ACategory> root : {record.root1, record.root2, record.root3}) {
            const ACategory* top = db.Categories().Record(root);
            if (!top || db.Text(top->name) != path.front())
                continue;
            AReference<ACategory> category = root;
            for (std::size_t i = 1; i < path.size() && !category.IsNull(); ++i)
                category = Child(db, category, path[i]);
            if (!category.IsNull())
                return category;
        }
    }
    return {};
}

ARuleRefusal CheckRule(const ACategoryRuleEntry& rule)
{
    if (rule.text.find_first_not_of(u' ') == std::u16string::npos)
        return ARuleRefusal::NoText;
    if (!Clean(rule.text))
        return ARuleRefusal::BadText;
    if (rule.categories.empty() || !std::all_of(rule.categories.begin(), rule.categories.end(), [](const ACategoryName& name) {
            return Clean(name.classifier) && Clean(name.path);
        }))
        return ARuleRefusal::NoCategory;
    return ARuleRefusal::None;
}

ACategoryRules::ACategoryRules(UserInterface::Settings::OptionStorage::AOptionStore& store) : store_(store)
{
    for (const std::string& entry : ReadNumberedEntries(store_, kCount, kRule, kMaxRules)) {
        const std::vector<std::u16string> parts = Split(Utf8ToUtf16(entry), u'\t');
        ACategoryRuleEntry rule{parts.front(), {}};
        for (std::size_t k = 1; k + 1 < parts.size(); k += 2)
            rule.categories.push_back({parts[k], parts[k + 1]});
        if (!rule.text.empty() && !rule.categories.empty())
            rules_.push_back(std::move(rule));
    }
}

void ACategoryRules::Set(std::vector<ACategoryRuleEntry> rules)
{
    std::erase_if(rules, [](const ACategoryRuleEntry& rule) { return CheckRule(rule) != ARuleRefusal::None; });
    if (rules.size() > kMaxRules)
        rules.resize(kMaxRules);
    const std::size_t before = rules_.size();
    rules_ = std::move(rules);
    std::vector<std::string> entries;
    for (const ACategoryRuleEntry& rule : rules_) {
        std::u16string entry = rule.text;
        for (const ACategoryName& name : rule.categories)
            entry += u"\t" + name.classifier + u"\t" + name.path;
        entries.push_back(Utf16ToUtf8(entry));
    }
    WriteNumberedEntries(store_, kCount, kRule, entries, before);
}

std::vector<ACategoryRule> ACategoryRules::Resolve(ADatabase& db) const
{
    std::vector<ACategoryRule> resolved;
    for (const ACategoryRuleEntry& rule : rules_) {
        ACategoryRule found{rule.text, {}};
        for (const ACategoryName& name : rule.categories)
            if (const AReference<ACategory> category = CategoryNamed(db, name); !category.IsNull())
                found.categories.push_back(category);
        if (!found.categories.empty())
            resolved.push_back(std::move(found));
    }
    return resolved;
}

}  // namespace ExportImport::Statements
