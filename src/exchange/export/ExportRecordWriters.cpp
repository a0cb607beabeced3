#include "exchange/export/ExportRecordWriters.h"

#include "database/Recurrence.h"
#include "exchange/xml/xmlBuild.h"

#include <vector>

namespace ExportImport::Private {

namespace XML = UtilityClasses::XML;

namespace {

constexpr int kFolderParentIndex = 2;
constexpr int kPlacementFolderIndex = 3;
constexpr int kCategoryParentIndex = 2;

constexpr const char* kRecurrenceTypes[] = {"daily", "weekly", "monthly", "month-nth", "yearly", "year-nth"};

void AddNumber(ANodeMaker& maker, ANodeContainer& parent, std::string_view name, std::uint64_t value)
{
    if (value != 0)
        maker.Value(parent, name, IntegerText(value));
}

}  // namespace

std::u16string_view ARecordWriters::CurrencyCode(AReference<ACurrency> currency)
{
    const ACurrency* record = db_.Currencies().Record(currency);
    return record ? std::u16string_view(db_.Text(record->code)) : std::u16string_view();
}

void ARecordWriters::Currency(ANodeContainer& section, const ACurrency& currency)
{
    AElement* element = maker_.Element(section, "currency");
    maker_.Value(*element, "name", db_.Text(currency.name));
    maker_.Value(*element, "code", db_.Text(currency.code));
    maker_.Value(*element, "precision", IntegerText(currency.precision));
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
    AElement* element = maker_.Element(section, "rate");
    maker_.Value(*element, "date", DateText(rate.date));
    maker_.Value(*element, "currency-1", db_.Text(first->code));
    maker_.Value(*element, "currency-2", db_.Text(second->code));
    maker_.Value(*element, "amount-1", AmountText(rate.amount1));
    maker_.Value(*element, "amount-2", AmountText(rate.amount2));
    return true;
}

void ARecordWriters::Account(ANodeContainer& section, const AAccount& account)
{
    AElement* element = maker_.Element(section, "account");
    maker_.Value(*element, "name", db_.Text(account.name));
    maker_.Value(*element, "currency", CurrencyCode(account.currency));
    maker_.Value(*element, "init-balance", AmountText(account.initialBalance));
    maker_.OptionalText(*element, "comment", db_.Text(account.comment));
    maker_.Flag(*element, "locked", account.locked != 0);
}

bool ARecordWriters::AccountReference(AElement& target, AReference<AAccount> account)
{
    const AAccount* record = db_.Accounts().Record(account);
    if (!record)
        return false;
    maker_.Value(target, "name", db_.Text(record->name));
    maker_.Value(target, "currency", CurrencyCode(record->currency));
    return true;
}

void ARecordWriters::Folder(ANodeContainer& parent, const ASlot<AAccountFolder>& folder, std::string_view elementName,
                            int depth)
{
    const AAccountFolder& record = folder.Record();
    AElement* element = maker_.Element(parent, elementName);
    maker_.Value(*element, "name", db_.Text(record.name));
    maker_.OptionalText(*element, "comment", db_.Text(record.comment));
    maker_.Flag(*element, "locked", record.locked != 0);

    const auto self = Engine::ATableImpl<AAccountFolder>::RefTo(&folder);
    AAccountPlacement placementProbe;
    placementProbe.folder = self;
    for (const auto* placement : db_.Placements().EqualRange(kPlacementFolderIndex, placementProbe))
        if (db_.Accounts().Record(placement->Record().account))
            AccountReference(*maker_.Element(*element, "account"), placement->Record().account);
    if (depth >= kMaxTreeDepth)
        return;
    AAccountFolder folderProbe;
    folderProbe.parent = self;
    for (const auto* child : db_.Folders().EqualRange(kFolderParentIndex, folderProbe))
        Folder(*element, *child, "folder", depth + 1);
}

void ARecordWriters::Category(ANodeContainer& parent, const ASlot<ACategory>& category, int depth)
{
    AElement* element = maker_.Element(parent, "category");
    maker_.Value(*element, "name", db_.Text(category.Record().name));
    maker_.OptionalText(*element, "comment", db_.Text(category.Record().comment));
    if (depth >= kMaxTreeDepth)
        return;
    ACategory probe;
    probe.parent = Engine::ATableImpl<ACategory>::RefTo(&category);
    for (const auto* child : db_.Categories().EqualRange(kCategoryParentIndex, probe))
        Category(*element, *child, depth + 1);
}

void ARecordWriters::Tree(AElement& classifierElement, std::string_view name, AReference<ACategory> root)
{
    AElement* tree = maker_.Element(classifierElement, name);
    auto* slot = db_.Categories().Get(root);
    if (slot && slot->Exists())
        Category(*tree, *slot);
}

void ARecordWriters::Classifier(ANodeContainer& section, const AClassifier& classifier)
{
    AElement* element = maker_.Element(section, "classifier");
    maker_.Value(*element, "singular-name", db_.Text(classifier.singular));
    maker_.Value(*element, "plural-name", db_.Text(classifier.plural));
    if (classifier.separateTrees) {
        Tree(*element, "income-tree", classifier.root1);
        Tree(*element, "expense-tree", classifier.root2);
        if (classifier.useInTransfers)
            Tree(*element, "transfer-tree", classifier.root3);
    } else {
        maker_.Flag(*element, "use-in-transfers", classifier.useInTransfers != 0);
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
    AElement* level = maker_.Element(parent, "category");
    XML::SetAttribute(*level, "classifier", std::u16string_view(db_.Text(classifier.singular)));
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (name != names.rbegin())
            level = maker_.Element(*level, "category");
        maker_.Value(*level, "name", *name);
    }
}

void ARecordWriters::Side(ANodeContainer& kind, AReference<AAccount> account, AMoney amount, AMoney balance,
                          bool withAmount, bool withBalance)
{
    if (!db_.Accounts().Record(account))
        return;
    const bool income = amount >= 0;
    AccountReference(*maker_.Element(kind, income ? "income-account" : "expense-account"), account);
    if (withAmount)
        maker_.Value(kind, income ? "income-amount" : "expense-amount", AmountText(amount));
    if (withBalance)
        maker_.Value(kind, income ? "income-balance" : "expense-balance", AmountText(balance));
}

void ARecordWriters::Recurrence(ANodeContainer& transaction, const ATransaction& record)
{
    using Database::Recurrence::ARule;
    const ARule rule = ARule::FromWords(record.recurrence, record.recurrenceCount, record.recurrenceEnd);
    if (!rule.active || rule.kind >= std::size(kRecurrenceTypes))
        return;
    AElement* element = maker_.Element(transaction, "recurrence");
    XML::SetAttribute(*element, "type", std::string_view(kRecurrenceTypes[rule.kind]));
    AddNumber(maker_, *element, "day-of-week-mask", rule.maskOrSelector);
    AddNumber(maker_, *element, "day-of-month", rule.dayOfMonth);
    AddNumber(maker_, *element, "month-of-year", rule.month);
    AddNumber(maker_, *element, "instance", rule.instance);
    AddNumber(maker_, *element, "interval", rule.interval);
    if (rule.endsAfterCount)
        AddNumber(maker_, *element, "occurrences", rule.count);
    if (rule.endsAtDate)
        maker_.Value(*element, "end-date", DateText(rule.end));
    maker_.Flag(*element, "regenerate", rule.regenerate);
}

}  // namespace ExportImport::Private
