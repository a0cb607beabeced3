#include "database/ClassifierCommands.h"

#include "database/DeleteStep.h"
#include "database/CategoryCommands.h"
#include "database/DatabaseRules.h"
#include "database/engine/StepGuard.h"

#include <set>
#include <vector>

namespace Database {

namespace {

using AClassifierTable = Engine::ATableImpl<AClassifier>;
using ACategoryTable = Engine::ATableImpl<ACategory>;

Engine::ASlot<AClassifier>* LiveClassifier(ADatabase& db, AReference<AClassifier> ref)
{
    Engine::ASlot<AClassifier>* slot = db.Classifiers().Get(ref);
    return slot && slot->Exists() ? slot : nullptr;
}

AClassifierInput Normalised(const AClassifierInput& input)
{
    AClassifierInput out = input;
    out.singular = TypedText(input.singular);
    out.plural = TypedText(input.plural);
    return out;
}

// Every live category of the classifier's trees, roots first; each once.
std::vector<AReference<ACategory>> CategoriesOf(ADatabase& db, const AClassifier& classifier)
{
    std::vector<AReference<ACategory>> nodes;
    std::set<std::uint32_t> seen;
    for (AReference<ACategory> root : {classifier.root1, classifier.root2, classifier.root3})
        if (db.Categories().Record(root) && seen.insert(root.Word()).second)
            nodes.push_back(root);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        ACategory probe;
        probe.parent = nodes[i];
        for (Engine::ASlot<ACategory>* child : db.Categories().EqualRange(2, probe))
            if (child->Exists() && seen.insert(ACategoryTable::RefTo(child).Word()).second)
                nodes.push_back(ACategoryTable::RefTo(child));
    }
    return nodes;
}

// A tree's root: named by the plural name, followed by the tree's name when there are several.
AReference<ACategory> NewRoot(ADatabase& db, const std::u16string& plural, const std::u16string* treeName)
{
    const std::u16string name = treeName ? plural + u": " + *treeName : plural;
    return ACategoryTable::RefTo(db.Categories().Create(ACategory{db.NewText(name), db.NewText(u""), {}}));
}

}  // namespace

std::optional<int> CheckClassifierInput(ADatabase& db, const AClassifierInput& typed, AReference<AClassifier> self)
{
    const AClassifierInput input = Normalised(typed);
    if (input.singular.empty() || input.plural.empty())
        return ClassifierMessage::kNamesMissing;
    for (const auto& name : {input.singular, input.plural})
        if (auto backslash = CheckNoBackslash(name))
            return backslash;
    return CheckClassifierNames(db, input.singular, input.plural, self);
}

AReference<AClassifier> AddClassifier(ADatabase& db, const AClassifierInput& typed,
                                      const std::array<std::u16string, 3>& treeNames, std::u16string_view label)
{
    if (!FD_VERIFY(!db.StepOpen()))
        return {};
    const AClassifierInput input = Normalised(typed);
    Engine::AStepGuard step(db, label);
    AClassifier classifier;
    classifier.singular = db.NewText(input.singular);
    classifier.plural = db.NewText(input.plural);
    classifier.separateTrees = input.separateTrees ? 1 : 0;
    classifier.useInTransfers = input.useInTransfers ? 1 : 0;
    if (input.separateTrees) {
        classifier.root1 = NewRoot(db, input.plural, &treeNames[0]);
        classifier.root2 = NewRoot(db, input.plural, &treeNames[1]);
        if (input.useInTransfers)
            classifier.root3 = NewRoot(db, input.plural, &treeNames[2]);
    } else {
        classifier.root1 = NewRoot(db, input.plural, nullptr);
    }
    const auto ref = AClassifierTable::RefTo(db.Classifiers().Create(classifier));
    db.CommitStep();
    return ref;
}

bool ChangeClassifier(ADatabase& db, AReference<AClassifier> classifier, const AClassifierInput& typed,
                      const std::array<std::u16string, 3>& treeNames, std::u16string_view label)
{
    Engine::ASlot<AClassifier>* slot = LiveClassifier(db, classifier);
    if (!FD_VERIFY(slot && !db.StepOpen()))
        return false;
    const AClassifierInput input = Normalised(typed);
    const AClassifier& record = slot->Record();
    const bool intoTransfers = input.useInTransfers && !record.useInTransfers;
    if (db.Text(record.singular) == input.singular && db.Text(record.plural) == input.plural && !intoTransfers)
        return false;
    Engine::AStepGuard step(db, label);
    // Its categories pages that still carry the old plural name follow the rename; pages the
    // user named otherwise keep their names.
    const std::u16string oldPlural = db.Text(record.plural);
    for (Engine::ASlot<APageInfo>* page : db.Pages().Live())
        if (page->Record().type == APageInfo::kCategoriesBase + slot->id && db.Text(page->Record().name) == oldPlural)
            SetText(db, db.Pages().Change(page)->name, input.plural);
    AClassifier* changed = db.Classifiers().Change(slot);
    SetText(db, changed->singular, input.singular);
    SetText(db, changed->plural, input.plural);
    if (intoTransfers) {
        changed->useInTransfers = 1;
        if (changed->separateTrees && changed->root3.IsNull())
            changed->root3 = NewRoot(db, input.plural, &treeNames[2]);
    }
    db.CommitStep();
    return true;
}

AClassifierContents ContentsOf(ADatabase& db, AReference<AClassifier> classifier)
{
    AClassifierContents contents;
    Engine::ASlot<AClassifier>* slot = LiveClassifier(db, classifier);
    if (!slot)
        return contents;
    const auto categories = CategoriesOf(db, slot->Record());
    std::set<std::uint32_t> transactions, words;
    for (AReference<ACategory> category : categories) {
        words.insert(category.Word());
        if (db.Categories().Record(category)->parent)
            ++contents.categories;
        ARelation probe;
        probe.category = category;
        for (Engine::ASlot<ARelation>* relation : db.Relations().EqualRange(2, probe))
            if (relation->Exists())
                transactions.insert(relation->Record().transaction.Word());
    }
    contents.transactions = transactions.size();
    for (Engine::ASlot<ASeriesNodeFilter>* filter : db.SeriesNodes().Live())
        if (filter->Exists() && words.contains(filter->Record().category.Word()))
            ++contents.seriesFilters;
    return contents;
}

bool DeleteClassifier(ADatabase& db, AReference<AClassifier> classifier, std::u16string_view label)
{
    return DeleteInOneStep(db, classifier, label);
}

}  // namespace Database
