// The classifiers page (the list of classifiers) and a categories page (the category trees of
// one classifier: one tree, or the income, expense and transfer trees).
#include "ui/PageFactory.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"

#include <set>
#include <vector>

namespace UserInterface {

namespace {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;

class ACategoriesPage final : public ARecordListPage {
public:
    ACategoriesPage(const AProgramContext& context, ADatabase& db, std::uint32_t classifierId)
        : ARecordListPage(context, db, true, {ACategory::kTableId, AClassifier::kTableId, AString::kTableId}),
          classifierId_(classifierId)
    {
        Mode().AddTitledColumn(73, 280, false);
        Mode().AddTitledColumn(79, 300);
    }

protected:
    void Fill(AReportItemImpl& root) override
    {
        auto* classifier = db_.Classifiers().Find(classifierId_);
        if (!classifier || !classifier->Exists())
            return;
        std::set<std::uint32_t> visited;
        const AClassifier& record = classifier->Record();
        for (auto ref : {record.root1, record.root2, record.root3})
            if (auto* slot = db_.Categories().Get(ref); slot && slot->Exists())
                AddCategory(root, *slot, visited);
    }

private:
    void AddCategory(AReportItemImpl& parent, Engine::ASlot<ACategory>& slot, std::set<std::uint32_t>& visited)
    {
        // A damaged file may hang a category below itself.
        if (!visited.insert(slot.id).second)
            return;
        const ACategory& category = slot.Record();
        auto* item = parent.AddChild(std::make_unique<ATextItem>(
            slot.id, std::vector<std::u16string>{db_.Text(category.name), db_.Text(category.comment)},
            category.parent.IsNull()));
        ACategory probe;
        probe.parent = Engine::ATableImpl<ACategory>::RefTo(&slot);
        for (auto* child : db_.Categories().EqualRange(2, probe))
            AddCategory(*item, *child, visited);
    }

    std::uint32_t classifierId_;
};

class AClassifiersPage final : public ARecordListPage {
public:
    AClassifiersPage(const AProgramContext& context, ADatabase& db)
        : ARecordListPage(context, db, false, {AClassifier::kTableId, AString::kTableId})
    {
        Mode().AddTitledColumn(80, 260, false);
        Mode().AddTitledColumn(398, 260);
    }

protected:
    void Fill(AReportItemImpl& root) override
    {
        for (auto* slot : db_.Classifiers().Live())
            root.AddChild(std::make_unique<ATextItem>(
                slot->id, std::vector<std::u16string>{db_.Text(slot->Record().plural), db_.Text(slot->Record().singular)}));
    }
};

}  // namespace

std::unique_ptr<AAbstractPage> CreateCategoriesPage(const AProgramContext& context, ADatabase& db,
                                                    std::uint32_t classifierId)
{
    return std::make_unique<ACategoriesPage>(context, db, classifierId);
}

std::unique_ptr<AAbstractPage> CreateClassifiersPage(const AProgramContext& context, ADatabase& db)
{
    return std::make_unique<AClassifiersPage>(context, db);
}

}  // namespace UserInterface
