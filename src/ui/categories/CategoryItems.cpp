#include "ui/categories/CategoryItems.h"

#pragma push_macro("slots")
#undef slots
#include "analysis/ChooserTrees.h"
#pragma pop_macro("slots")

#include "ui/RecordListPage.h"

#include <vector>

namespace UserInterface::Categories {

using namespace Database;
using Win32API::VelvixControls::Reports::AReportItemImpl;

void AddCategoryItems(AReportItemImpl& root, ADatabase& db, AReference<AClassifier> classifier, bool withComment,
                      const std::function<bool(AReference<ACategory>)>& offered)
{
    std::vector<AReportItemImpl*> parents{&root};
    int skipBelow = -1;  // the depth of a refused category while its descendants follow
    for (const Filters::ATreeNode& node : Filters::CategoryTree(db, classifier)) {
        if (skipBelow >= 0 && node.depth > skipBelow)
            continue;
        skipBelow = -1;
        auto* slot = db.Categories().Find(node.id);
        const auto ref = Engine::ATableImpl<ACategory>::RefTo(slot);
        const auto depth = static_cast<std::size_t>(node.depth);
        if ((offered && !offered(ref)) || depth >= parents.size()) {
            skipBelow = node.depth;
            continue;
        }
        const ACategory& category = slot->Record();
        std::vector<std::u16string> texts{db.Text(category.name)};
        if (withComment)
            texts.push_back(db.Text(category.comment));
        parents.resize(depth + 1);
        parents.push_back(
            parents[depth]->AddChild(std::make_unique<ATextItem>(slot->id, std::move(texts), category.parent.IsNull())));
    }
}

}  // namespace UserInterface::Categories
