#include "exchange/ExportRecordWriters.h"

#include "database/Recurrence.h"
#include "exchange/xmlBuild.h"

#include <vector>

namespace ExportImport::Private {

namespace XML = UtilityClasses::XML;

namespace {

constexpr int kFolderParentIndex = 2;
constexpr int kPlacementFolderIndex = 3;
constexpr int kCategoryParentIndex = 2;

constexpr const char* kRecurrenceTypes[] = {"daily", "weekly", "monthly", "month-nth", "yearly", "year-nth"};

void AddNumber(ANodeContainer& parent, std::string_view name, std::uint64_t value)
{
    if (value != 0)
        AddValue(parent, name, IntegerText(value));
}

}  // namespace

std::u16string_view ARecordWriters::CurrencyCode(AReference<ACurrency> currency)
{
    const ACurrency* record = db_.Currencies().Record(currency);
    return record ? std::u16string_view(db_.Text(record->code)) : std::u16string_view();
}

void ARecordWriters::Currency(ANodeContainer& section, const ACurrency& currency)
{
    AElement* element = XML::AddElement(section, "currency");
    AddValue(*element, "name", db_.Text(currency.name));
    AddValue(*element, "code", db_.Text(currency.code));
    AddValue(*element, "precision", IntegerText(currency.precision));
}

bool ARecordWriters::Rate(ANodeContainer& section, const ARateValue& rate)
{
    const ARateHeader* header = db_.RateHeaders().Record(rate.header);
    if (!header)
        return false;
    const ACurrency* first = db_.Currencies().Record(header->currency1);
    const ACurrency* second = db_.Currencies().Record(header->currency2);
    if (!first || !second)
        return false;
    AElement* element = XML::AddElement(section, "rate");
    AddValue(*element, "date", DateText(rate.date));
    AddValue(*element, "currency-1", db_.Text(first->code));
    AddValue(*element, "currency-2", db_.Text(second->code));
    AddValue(*element, "amount-1", AmountText(rate.amount1));
    AddValue(*element, "amount-2", AmountText(rate.amount2));
    return true;
}

void ARecordWriters::Account(ANodeContainer& section, const AAccount& account)
{
    AElement* element = XML::AddElement(section, "account");
    AddValue(*element, "name", db_.Text(account.name));
    AddValue(*element, "currency", CurrencyCode(account.currency));
    AddValue(*element, "init-balance", AmountText(account.initialBalance));
    AddOptionalText(*element, "comment", db_.Text(account.comment));
    AddFlag(*element, "locked", account.locked != 0);
}

bool ARecordWriters::AccountReference(AElement& target, AReference<AAccount> account)
{
    const AAccount* record = db_.Accounts().Record(account);
    if (!record)
        return false;
    AddValue(target, "name", db_.Text(record->name));
    AddValue(target, "currency", CurrencyCode(record->currency));
    return true;
}

void ARecordWriters::Folder(ANodeContainer& parent, const ASlot<AAccountFolder>& folder, std::string_view elementName,
                            int depth)
{
    const AAccountFolder& record = folder.Record();
    AElement* element = XML::AddElement(parent, elementName);
    AddValue(*element, "name", db_.Text(record.name));
    AddOptionalText(*element, "comment", db_.Text(record.comment));
    AddFlag(*element, "locked", record.locked != 0);

    const auto self = Engine::ATableImpl<AAccountFolder>::RefTo(&folder);
    AAccountPlacement placementProbe;
    placementProbe.folder = self;
    for (const auto* placement : db_.Placements().EqualRange(kPlacementFolderIndex, placementProbe))
        if (db_.Accounts().Record(placement->Record().account))
            AccountReference(*XML::AddElement(*element, "account"), placement->Record().account);
    if (depth >= kMaxTreeDepth)
        return;
    AAccountFolder folderProbe;
    folderProbe.parent = self;
    for (const auto* child : db_.Folders().EqualRange(kFolderParentIndex, folderProbe))
        Folder(*element, *child, "folder", depth + 1);
}

void ARecordWriters::Category(ANodeContainer& parent, const ASlot<ACategory>& category, int depth)
{
    AElement* element = XML::AddElement(parent, "category");
    AddValue(*element, "name", db_.Text(category.Record().name));
    AddOptionalText(*element, "comment", db_.Text(category.Record().comment));
    if (depth >= kMaxTreeDepth)
        return;
    ACategory probe;
    probe.parent = Engine::ATableImpl<ACategory>::RefTo(&category);
    for (const auto* child : db_.Categories().EqualRange(kCategoryParentIndex, probe))
        Category(*element, *child, depth + 1);
}

void ARecordWriters::Tree(AElement& classifierElement, std::string_view name, AReference<ACategory> root)
{
    AElement* tree = XML::AddElement(classifierElement, name);
    auto* slot = db_.Categories().Get(root);
    if (slot && slot->Exists())
        Category(*tree, *slot);
}

void ARecordWriters::Classifier(ANodeContainer& section, const AClassifier& classifier)
{
    AElement* element = XML::AddElement(section, "classifier");
    AddValue(*element, "singular-name", db_.Text(classifier.singular));
    AddValue(*element, "plural-name", db_.Text(classifier.plural));
    if (classifier.separateTrees) {
        Tree(*element, "income-tree", classifier.root1);
        Tree(*element, "expense-tree", classifier.root2);
        if (classifier.useInTransfers)
            Tree(*element, "transfer-tree", classifier.root3);
    } else {
        AddFlag(*element, "use-in-transfers", classifier.useInTransfers != 0);
        Tree(*element, "single-tree", classifier.root1);
    }
}

void ARecordWriters::CategoryPath(ANodeContainer& parent, AReference<ACategory> category,
                                  const AClassifier& classifier)
{
    // Names from the category up to its root; a chain that does not reach a root within
    // the depth limit (a loop in a damaged file) is not written.
    std::vector<std::u16string_view> names;
    for (auto* node = db_.Categories().Get(category); node && node->Exists();
         node = db_.Categories().Get(node->Record().parent)) {
        names.push_back(db_.Text(node->Record().name));
        if (node->Record().parent.IsNull())
            break;
        if (names.size() >= static_cast<std::size_t>(kMaxTreeDepth))
            return;
    }
    if (names.empty())
        return;
    AElement* level = XML::AddElement(parent, "category");
    XML::SetAttribute(*level, "classifier", std::u16string_view(db_.Text(classifier.singular)));
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (name != names.rbegin())
            level = XML::AddElement(*level, "category");
        AddValue(*level, "name", *name);
    }
}

void ARecordWriters::Side(ANodeContainer& kind, AReference<AAccount> account, AMoney amount, AMoney balance,
                          bool withAmount, bool withBalance)
{
    if (!db_.Accounts().Record(account))
        return;
    const bool income = amount >= 0;
    AccountReference(*XML::AddElement(kind, income ? "income-account" : "expense-account"), account);
    if (withAmount)
        AddValue(kind, income ? "income-amount" : "expense-amount", AmountText(amount));
    if (withBalance)
        AddValue(kind, income ? "income-balance" : "expense-balance", AmountText(balance));
}

void ARecordWriters::Recurrence(ANodeContainer& transaction, const ATransaction& record)
{
    using Database::Recurrence::ARule;
    const ARule rule = ARule::FromWords(record.recurrence, record.recurrenceCount, record.recurrenceEnd);
    if (!rule.active || rule.kind >= std::size(kRecurrenceTypes))
        return;
    AElement* element = XML::AddElement(transaction, "recurrence");
    XML::SetAttribute(*element, "type", std::string_view(kRecurrenceTypes[rule.kind]));
    AddNumber(*element, "day-of-week-mask", rule.maskOrSelector);
    AddNumber(*element, "day-of-month", rule.dayOfMonth);
    AddNumber(*element, "month-of-year", rule.month);
    AddNumber(*element, "instance", rule.instance);
    AddNumber(*element, "interval", rule.interval);
    if (rule.endsAfterCount)
        AddNumber(*element, "occurrences", rule.count);
    if (rule.endsAtDate)
        AddValue(*element, "end-date", DateText(rule.end));
    AddFlag(*element, "regenerate", rule.regenerate);
}

}  // namespace ExportImport::Private
