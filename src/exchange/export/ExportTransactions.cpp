#include "exchange/export/ExportTransactions.h"

#include "database/Lookups.h"
#include "exchange/xml/xmlBuild.h"

namespace ExportImport::Private {

namespace XML = UtilityClasses::XML;

namespace {

constexpr int kUnknown = -2;
constexpr int kRelationTransactionIndex = 3;
constexpr const char* kKindElements[] = {"income", "expense", "transfer", "balance"};

}  // namespace

ATransactionWriter::ATransactionWriter(ADatabase& db, ANodeMaker& maker, ARecordWriters& writers,
                                       const ADBSettings& features)
    : db_(db), maker_(maker), writers_(writers), features_(features),
      relationsByTransaction_(db.Relations(), kRelationTransactionIndex)
{
    for (const auto* classifier : db.Classifiers().Live())
        classifiers_.push_back(classifier);
    classifierOfCategory_.assign(db.Categories().SlotCount(), kUnknown);
    found_.resize(classifiers_.size());
}

int ATransactionWriter::ClassifierIndexOf(AReference<ACategory> category)
{
    if (!category.IsResolved() || category.SlotPosition() >= classifierOfCategory_.size())
        return -1;
    int& known = classifierOfCategory_[category.SlotPosition()];
    if (known != kUnknown)
        return known;
    known = -1;
    if (const auto* root = RootOf(db_, category)) {
        const auto ref = Engine::ATableImpl<ACategory>::RefTo(root);
        for (std::size_t i = 0; i < classifiers_.size(); ++i) {
            const AClassifier& classifier = classifiers_[i]->Record();
            if (classifier.root1 == ref || classifier.root2 == ref || classifier.root3 == ref) {
                known = static_cast<int>(i);
                break;
            }
        }
    }
    return known;
}

void ATransactionWriter::Categories(AElement& kind, const ASlot<ATransaction>& transaction)
{
    ARelation probe;
    probe.transaction = Engine::ATableImpl<ATransaction>::RefTo(&transaction);
    const auto relations = relationsByTransaction_.EqualRange(probe);
    if (relations.empty())
        return;
    std::fill(found_.begin(), found_.end(), AReference<ACategory>());
    for (const auto* relation : relations) {
        const int index = ClassifierIndexOf(relation->Record().category);
        if (index >= 0 && found_[static_cast<std::size_t>(index)].IsNull())
            found_[static_cast<std::size_t>(index)] = relation->Record().category;
    }
    for (std::size_t i = 0; i < classifiers_.size(); ++i)
        if (!found_[i].IsNull())
            writers_.CategoryPath(kind, found_[i], classifiers_[i]->Record());
}

void ATransactionWriter::Write(ANodeContainer& section, const ASlot<ATransaction>& transaction)
{
    const ATransaction& record = transaction.Record();
    AElement* element = maker_.Element(section, "transaction");
    maker_.Value(*element, "date",
             features_.times ? TimestampText(record.date, record.time) : DateText(record.date));

    const ATransactionKind kindOf = record.Kind();
    AElement* kind = maker_.Element(*element, kKindElements[static_cast<int>(kindOf)]);
    const bool executed = record.executed != 0;
    maker_.Flag(*kind, "executed", executed);
    maker_.Flag(*kind, "locked", record.locked != 0);
    if (features_.budgetDates)
        maker_.Value(*kind, "budget-date", DateText(record.budgetDate));
    const bool isBalance = kindOf == ATransactionKind::Balance;
    const bool withAmount = executed || !isBalance;
    const bool withBalance = executed || isBalance;
    if (record.account1)
        writers_.Side(*kind, record.account1, record.amount1, record.balance1, withAmount, withBalance);
    if (record.account2)
        writers_.Side(*kind, record.account2, record.amount2, record.balance2, withAmount, withBalance);
    if (features_.quantities && kindOf != ATransactionKind::Transfer)
        maker_.Value(*kind, "quantity", AmountText(record.quantity));
    Categories(*kind, transaction);

    maker_.OptionalText(*element, "comment", db_.Text(record.comment));
    for (int field = 0; field < 4; ++field) {
        if (!features_.extraCommentInUse[field])
            continue;
        const std::u16string& text = db_.Text(record.extraComment[field]);
        if (text.empty())
            continue;
        AElement* extra = maker_.Value(*element, "extra-comment", text);
        XML::SetAttribute(*extra, "n", IntegerText(static_cast<std::uint64_t>(field + 1)));
    }
    writers_.Recurrence(*element, record);
}

}  // namespace ExportImport::Private
