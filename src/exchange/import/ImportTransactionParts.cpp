// The parts of a transaction outside its kind element: categories, comments and
// the recurrence rule.
#include "exchange/import/ImportTransactionReader.h"

#include "database/Recurrence.h"
#include "exchange/import/ImportValues.h"
#include "exchange/xml/xmlBuild.h"

#include <algorithm>

namespace ExportImport::Private {

using Database::ATransactionKind;

namespace {

std::u16string WithElementName(const AImportText& text, const UtilityClasses::Strings::AStrings& strings,
                               std::string_view name)
{
    std::u16string resolved = text.Resolve(strings);
    if (const auto at = resolved.find(u"%s"); at != std::u16string::npos)
        resolved.replace(at, 2, XML::Utf8ToUtf16(name));
    return resolved;
}

}  // namespace

bool ATransactionReader::ReadCategories(const XML::AElement& kind)
{
    for (const XML::AElement* category = kind.FirstElement("category"); category;
         category = XML::ANodeContainer::NextElement(category, "category")) {
        const std::string* classifierName = category->FindAttribute("classifier");
        if (!classifierName)
            return Fail(ImportText::kNoClassifierName, category);
        APath path;
        path.classifier = context_.batch.ClassifierBySingular(XML::Utf8ToUtf16(*classifierName));
        if (!path.classifier)
            return Fail(ImportText::kClassifierNotFound, category);
        if (kind_ == ATransactionKind::Balance)
            return Fail(ImportText::kCategoryOnBalance, category);
        const AClassifier& classifier = *context_.batch.Db().Classifiers().Record(path.classifier);
        if (kind_ == ATransactionKind::Transfer && !classifier.useInTransfers)
            return Fail(ImportText::kClassifierNotInTransfers, category);
        if (!classifier.separateTrees)
            path.root = classifier.root1;
        else if (kind_ == ATransactionKind::Income)
            path.root = classifier.root1;
        else if (kind_ == ATransactionKind::Expense)
            path.root = classifier.root2;
        else
            path.root = classifier.root3;
        // One category per classifier: a second one leaves the value ambiguous.
        for (const APath& earlier : paths_)
            if (earlier.classifier == path.classifier)
                return Fail(ImportText::kBadCategoryPath, category);
        if (!ReadCategoryPath(*category, path))
            return false;
        paths_.push_back(std::move(path));
    }
    return true;
}

bool ATransactionReader::ReadCategoryPath(const XML::AElement& category, APath& path)
{
    const auto rootName = RequiredText(category, "name", ImportText::kRootName);
    if (!rootName)
        return false;
    Database::ADatabase& batch = context_.batch.Db();
    if (*rootName != batch.Text(batch.Categories().Record(path.root)->name))
        return Fail(ImportText::kWrongRootName, FindChild(category, "name").element);
    const XML::AElement* level = &category;
    while (const XML::AElement* next = level->FirstElement("category")) {
        if (XML::ANodeContainer::NextElement(next, "category"))
            return Fail(ImportText::kBadCategoryPath, level);
        level = next;
        auto name = RequiredText(*level, "name", ImportText::kCategoryName);
        if (!name)
            return false;
        path.names.push_back(std::move(*name));
    }
    return true;
}

bool ATransactionReader::ReadComments(const XML::AElement& item)
{
    auto comment = OptionalText(item, "comment", ImportText::kComment);
    if (!comment)
        return false;
    comment_ = std::move(*comment);
    for (const XML::AElement* extra = item.FirstElement("extra-comment"); extra;
         extra = XML::ANodeContainer::NextElement(extra, "extra-comment")) {
        const std::string* number = extra->FindAttribute("n");
        if (!number)
            return Fail(ImportText::kExtraNumber.absent, extra);
        const AInteger n = ParseInteger(*number);
        if (n.form == AIntegerForm::Malformed)
            return Fail(ImportText::kExtraNumber.malformed, extra);
        if (n.form == AIntegerForm::Negative || n.value < 1 || n.value > 4)
            return Fail(ImportText::kExtraNumberRange, extra);
        auto& slot = extraComments_[n.value - 1];
        if (slot)
            return Fail(ImportText::kExtraTwice, extra);
        slot = XML::Utf8ToUtf16(extra->Text());
    }
    return true;
}

bool ATransactionReader::ReadRecurrence(const XML::AElement& item)
{
    const AChild child = FindChild(item, "recurrence");
    if (child.Absent())
        return true;
    if (child.Several())
        return Fail(ImportText::kSeveralRecurrences, child.element);
    const XML::AElement& recurrence = *child.element;
    if (record_.executed)
        return Fail(ImportText::kExecutedRecurrence, &recurrence);
    static constexpr std::string_view kTypes[] = {"daily", "weekly", "monthly", "month-nth", "yearly", "year-nth"};
    const std::string* type = recurrence.FindAttribute("type");
    if (!type)
        return Fail(ImportText::kRecurrenceType.absent, &recurrence);
    const auto known = std::find(std::begin(kTypes), std::end(kTypes), *type);
    if (known == std::end(kTypes))
        return Fail(ImportText::kRecurrenceType.malformed, &recurrence);

    Database::Recurrence::ARule rule;
    rule.active = true;
    rule.kind = static_cast<std::uint8_t>(known - std::begin(kTypes));
    std::optional<ADate> end;
    if (!OptionalDate(recurrence, "end-date", ImportText::kEndDate, end))
        return false;
    // Each value must fit its field of the rule word, or it would come back as another number.
    if (!ReadRecurrenceNumber(recurrence, "day-of-week-mask", 0x7F, rule.maskOrSelector) ||
        !ReadRecurrenceNumber(recurrence, "day-of-month", 31, rule.dayOfMonth) ||
        !ReadRecurrenceNumber(recurrence, "month-of-year", 12, rule.month) ||
        !ReadRecurrenceNumber(recurrence, "instance", 5, rule.instance) ||
        !ReadRecurrenceNumber(recurrence, "interval", 127, rule.interval) ||
        !ReadRecurrenceNumber(recurrence, "occurrences", 255, rule.count))
        return false;
    rule.endsAfterCount = rule.count != 0;
    rule.endsAtDate = end.has_value();
    rule.end = end.value_or(0);
    rule.regenerate = HasFlag(recurrence, "regenerate");
    record_.recurrence = rule.Word();
    record_.recurrenceCount = rule.CountWord();
    record_.recurrenceEnd = rule.end;
    return true;
}

bool ATransactionReader::ReadRecurrenceNumber(const XML::AElement& recurrence, std::string_view name,
                                              unsigned maximum, std::uint8_t& value)
{
    const AChild child = FindChild(recurrence, name);
    if (child.Several())
        return Fail(WithElementName(ImportText::kRecurrenceValue.several, context_.strings, name), child.element);
    if (child.Absent())
        return true;
    const AInteger number = ParseInteger(child.element->Text());
    if (number.form == AIntegerForm::Negative)
        return Fail(WithElementName(ImportText::kNegativeRecurrenceValue, context_.strings, name), child.element);
    if (number.form == AIntegerForm::Malformed || number.value > maximum)
        return Fail(WithElementName(ImportText::kRecurrenceValue.malformed, context_.strings, name), child.element);
    value = static_cast<std::uint8_t>(number.value);
    return true;
}

}  // namespace ExportImport::Private
