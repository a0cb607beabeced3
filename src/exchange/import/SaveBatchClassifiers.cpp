// Classifiers of the save phase: matched ones take the imported categories into their
// trees by name; the others are added, renamed when a name is taken.
#include "database/StepView.h"
#include "exchange/import/SaveBatchSaver.h"
#include "exchange/xml/xmlBuild.h"

#include <array>
#include <string>

namespace ExportImport::Private {

namespace {
using Database::Engine::ASlot;
using Database::Engine::ATableImpl;

// The roots of a classifier in tree order: single or income, expense, transfer.
std::array<AReference<ACategory>, 3> Roots(const AClassifier& classifier)
{
    return {classifier.root1, classifier.root2, classifier.root3};
}
}  // namespace

void ABatchSaver::SaveClassifiers()
{
    Status(ImportText::kSavingCurrencies + 3);
    Database::ForEachLive(target_.Categories(), [&](ASlot<ACategory>* slot) {
        const ACategory& category = slot->Record();
        if (category.parent)
            storedChildren_.emplace(ANamedKey{category.parent.Word(), target_.Text(category.name)},
                                    ATableImpl<ACategory>::RefTo(slot));
    });
    Database::ForEachLive(source_.Categories(), [&](ASlot<ACategory>* slot) {
        if (const AReference<ACategory> parent = slot->Record().parent)
            children_[parent.SlotPosition()].push_back(ATableImpl<ACategory>::RefTo(slot));
    });

    Database::ForEachLive(source_.Classifiers(), [&](ASlot<AClassifier>* slot) {
        const AClassifier& imported = slot->Record();
        AReference<AClassifier> stored = MatchingClassifier(imported);
        if (!stored)
            stored = AddClassifier(imported);
        const auto importedRoots = Roots(imported);
        const auto storedRoots = Roots(*target_.Classifiers().Record(stored));
        for (std::size_t i = 0; i < importedRoots.size(); ++i)
            if (importedRoots[i]) {
                categories_[importedRoots[i].SlotPosition()] = storedRoots[i];
                TakeComment(importedRoots[i], storedRoots[i]);
                Advance();
                MergeChildren(importedRoots[i], storedRoots[i]);
            }
        Advance();
    });
}

AReference<AClassifier> ABatchSaver::MatchingClassifier(const AClassifier& imported)
{
    const auto importedRoots = Roots(imported);
    auto sameTrees = [&](const AClassifier& stored) {
        const auto storedRoots = Roots(stored);
        for (std::size_t i = 0; i < importedRoots.size(); ++i) {
            const ACategory* a = source_.Categories().Record(importedRoots[i]);
            const ACategory* b = target_.Categories().Record(storedRoots[i]);
            if ((a == nullptr) != (b == nullptr) || (a && source_.Text(a->name) != target_.Text(b->name)))
                return false;
        }
        return true;
    };
    const ASlot<AClassifier>* match = Database::FirstLive(target_.Classifiers(), [&](const AClassifier& stored) {
        return target_.Text(stored.singular) == source_.Text(imported.singular) &&
               target_.Text(stored.plural) == source_.Text(imported.plural) &&
               stored.separateTrees == imported.separateTrees && stored.useInTransfers == imported.useInTransfers &&
               sameTrees(stored);
    });
    return ATableImpl<AClassifier>::RefTo(match);
}

AReference<AClassifier> ABatchSaver::AddClassifier(const AClassifier& imported)
{
    std::u16string singular = source_.Text(imported.singular);
    std::u16string plural = source_.Text(imported.plural);
    auto clashes = [&](const std::u16string& s, const std::u16string& p) {
        return Database::FirstLive(target_.Classifiers(), [&](const AClassifier& stored) {
                   return target_.Text(stored.singular) == s || target_.Text(stored.plural) == p;
               }) != nullptr;
    };
    if (clashes(singular, plural)) {
        // Each try walks the classifiers once; a household has a handful of them.
        for (std::size_t n = 1;; ++n) {
            const std::u16string suffix = u" (" + UtilityClasses::XML::Utf8ToUtf16(std::to_string(n)) + u")";
            if (!clashes(singular + suffix, plural + suffix)) {
                singular += suffix;
                plural += suffix;
                break;
            }
        }
    }
    AClassifier classifier = imported;
    classifier.singular = target_.NewText(singular);
    classifier.plural = target_.NewText(plural);
    AReference<ACategory>* roots[3] = {&classifier.root1, &classifier.root2, &classifier.root3};
    for (AReference<ACategory>* root : roots)
        if (*root) {
            const ACategory& node = *source_.Categories().Record(*root);
            *root = ATableImpl<ACategory>::RefTo(
                target_.Categories().Create(ACategory{target_.NewText(source_.Text(node.name)), {}, {}}));
        }
    return ATableImpl<AClassifier>::RefTo(target_.Classifiers().Create(classifier));
}

void ABatchSaver::TakeComment(AReference<ACategory> imported, AReference<ACategory> stored)
{
    const ACategory& from = *source_.Categories().Record(imported);
    ASlot<ACategory>* to = target_.Categories().Get(stored);
    // A reused category keeps a comment of its own; an empty one takes the imported one.
    if (from.comment && !source_.Text(from.comment).empty() && target_.Text(to->Record().comment).empty())
        target_.Categories().Change(to)->comment = target_.NewText(source_.Text(from.comment));
}

void ABatchSaver::MergeChildren(AReference<ACategory> imported, AReference<ACategory> stored)
{
    for (const AReference<ACategory> child : children_[imported.SlotPosition()]) {
        const std::u16string& name = source_.Text(source_.Categories().Record(child)->name);
        const auto found = storedChildren_.find(ANamedKey{stored.Word(), name});
        AReference<ACategory> storedChild;
        if (found != storedChildren_.end()) {
            storedChild = found->second;
            TakeComment(child, storedChild);
        } else {
            storedChild = AddCategory(child, stored);
        }
        categories_[child.SlotPosition()] = storedChild;
        Advance();
        MergeChildren(child, storedChild);
    }
}

AReference<ACategory> ABatchSaver::AddCategory(AReference<ACategory> imported, AReference<ACategory> storedParent)
{
    const ACategory& node = *source_.Categories().Record(imported);
    const std::u16string& name = source_.Text(node.name);
    const auto stored = ATableImpl<ACategory>::RefTo(
        target_.Categories().Create(ACategory{target_.NewText(name), CopyText(node.comment), storedParent}));
    storedChildren_.emplace(ANamedKey{storedParent.Word(), name}, stored);
    return stored;
}

}  // namespace ExportImport::Private
