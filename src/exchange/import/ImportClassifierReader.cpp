// Classifiers with their category trees.
#include "exchange/import/ImportItemReaders.h"

namespace ExportImport::Private {

namespace {

class AClassifierReader : AItemReader {
public:
    using AItemReader::AItemReader;

    void Read(const XML::AElement& item)
    {
        const auto singular = RequiredText(item, "singular-name", ImportText::kClassifierSingular);
        if (!singular)
            return;
        const auto plural = RequiredText(item, "plural-name", ImportText::kClassifierPlural);
        if (!plural)
            return;
        const std::size_t single = CountChildren(item, "single-tree");
        const std::size_t income = CountChildren(item, "income-tree");
        const std::size_t expense = CountChildren(item, "expense-tree");
        const std::size_t transfer = CountChildren(item, "transfer-tree");
        const bool separate = single == 0;
        const bool wellFormed = single > 0 ? single == 1 && income + expense + transfer == 0
                                           : income == 1 && expense == 1 && transfer <= 1;
        if (!wellFormed) {
            Fail(ImportText::kClassifierBadTrees, &item);
            return;
        }
        if (context_.batch.HasClassifier(*singular, *plural)) {
            Fail(ImportText::kClassifierTwice, &item);
            return;
        }
        const XML::AElement* trees[3] = {};
        if (separate) {
            trees[0] = item.FirstElement("income-tree");
            trees[1] = item.FirstElement("expense-tree");
            trees[2] = item.FirstElement("transfer-tree");
        } else {
            trees[0] = item.FirstElement("single-tree");
        }
        const XML::AElement* roots[3] = {};
        for (int i = 0; i < 3; ++i)
            if (trees[i] && !(roots[i] = RootOf(*trees[i])))
                return;
        for (const XML::AElement* root : roots)
            if (root && !CheckCategory(*root))
                return;

        AClassifier classifier;
        AImportBatch& batch = context_.batch;
        classifier.singular = batch.Db().NewText(*singular);
        classifier.plural = batch.Db().NewText(*plural);
        classifier.separateTrees = separate ? 1 : 0;
        classifier.useInTransfers = (separate ? trees[2] != nullptr : HasFlag(item, "use-in-transfers")) ? 1 : 0;
        AReference<ACategory>* rootRefs[3] = {&classifier.root1, &classifier.root2, &classifier.root3};
        for (int i = 0; i < 3; ++i)
            if (roots[i])
                *rootRefs[i] = AddCategory(*roots[i], {});
        batch.AddClassifier(classifier);
    }

private:
    // A tree holds exactly one category, its root node.
    const XML::AElement* RootOf(const XML::AElement& tree)
    {
        if (CountChildren(tree, "category") != 1) {
            Fail(ImportText::kClassifierBadTrees, &tree);
            return nullptr;
        }
        return tree.FirstElement("category");
    }

    bool CheckCategory(const XML::AElement& category)
    {
        if (!RequiredText(category, "name", ImportText::kCategoryName) ||
            !OptionalText(category, "comment", ImportText::kCategoryComment))
            return false;
        for (const XML::AElement* child = category.FirstElement("category"); child;
             child = XML::ANodeContainer::NextElement(child, "category"))
            if (!CheckCategory(*child))
                return false;
        return true;
    }

    // After CheckCategory accepted the tree.
    AReference<ACategory> AddCategory(const XML::AElement& category, AReference<ACategory> parent)
    {
        const AReference<ACategory> ref =
            context_.batch.AddCategory(parent, FindChild(category, "name").text, FindChild(category, "comment").text);
        for (const XML::AElement* child = category.FirstElement("category"); child;
             child = XML::ANodeContainer::NextElement(child, "category"))
            AddCategory(*child, ref);
        return ref;
    }
};

}  // namespace

void ReadClassifierItem(AImportReadContext& context, const XML::AElement& item)
{
    AClassifierReader(context).Read(item);
}

}  // namespace ExportImport::Private
