#include "AnalysisBooks.h"

#include "analysis/ChooserTrees.h"

namespace AnalysisTest {
namespace {

using namespace UserInterface::Filters;

using AKind = ATreeNode::AKind;

struct ARow {
    AKind kind;
    std::u16string name;
    int depth;
    bool operator==(const ARow&) const = default;
};

class ChooserTrees : public ::testing::Test, public TBooks {
protected:
    std::vector<ARow> Rows(const std::vector<ATreeNode>& nodes)
    {
        std::vector<ARow> rows;
        for (const ATreeNode& node : nodes) {
            std::u16string name;
            switch (node.kind) {
            case AKind::Folder: name = db.Text(db.Folders().Find(node.id)->Record().name); break;
            case AKind::Account: name = db.Text(db.Accounts().Find(node.id)->Record().name); break;
            case AKind::Category: name = db.Text(db.Categories().Find(node.id)->Record().name); break;
            case AKind::LooseAccounts: break;
            }
            rows.push_back({node.kind, name, node.depth});
        }
        return rows;
    }
};

TEST_F(ChooserTrees, AccountsUnderTheirFoldersThenTheLooseOnes)
{
    Step([&] {
        const auto bank = AddFolder(u"Банк", plan);
        AddAccount(u"Карта", {}, 0, bank);
        const auto closed = AddAccount(u"Старый вклад", {}, 0, bank);
        db.Accounts().Change(db.Accounts().Get(closed))->locked = 1;
        AAccount loose;
        loose.name = db.NewText(u"Без папки");
        loose.currency = rur;
        db.Accounts().Create(loose);
    });
    const std::vector<ARow> all = {
        {AKind::Folder, u"Все счета", 0},       {AKind::Folder, u"Банк", 1},
        {AKind::Account, u"Карта", 2},          {AKind::Account, u"Старый вклад", 2},
        {AKind::Account, u"Наличные", 1},       {AKind::LooseAccounts, u"", 0},
        {AKind::Account, u"Без папки", 1},
    };
    EXPECT_EQ(Rows(AccountTree(db, false)), all);
    std::vector<ARow> open = all;
    open.erase(open.begin() + 3);
    EXPECT_EQ(Rows(AccountTree(db, true)), open);
}

TEST_F(ChooserTrees, AFolderBelowItselfIsListedOnce)
{
    Step([&] { db.Folders().Change(db.Folders().Get(plan))->parent = plan; });
    // No plan is left (the folder has a parent), so only the loose heading remains.
    EXPECT_EQ(Rows(AccountTree(db, false)), (std::vector<ARow>{{AKind::LooseAccounts, u"", 0},
                                                              {AKind::Account, u"Наличные", 1}}));
    Step([&] {
        const auto a = AddFolder(u"A", plan);
        db.Folders().Change(db.Folders().Get(plan))->parent = {};
        db.Folders().Change(db.Folders().Get(a))->parent = a;
    });
    EXPECT_EQ(Rows(AccountTree(db, false)), (std::vector<ARow>{{AKind::Folder, u"Все счета", 0},
                                                              {AKind::Account, u"Наличные", 1}}));
}

TEST_F(ChooserTrees, EveryTreeOfAClassifierFromItsRoot)
{
    Step([&] {
        const auto salary = AddCategory(u"Зарплата", incomeRoot);
        AddCategory(u"Премия", salary);
        AddCategory(u"Еда", expenseRoot);
    });
    EXPECT_EQ(Rows(CategoryTree(db, articles)),
              (std::vector<ARow>{{AKind::Category, u"Все статьи прихода", 0},
                                 {AKind::Category, u"Зарплата", 1},
                                 {AKind::Category, u"Премия", 2},
                                 {AKind::Category, u"Все статьи расхода", 0},
                                 {AKind::Category, u"Еда", 1}}));
    EXPECT_TRUE(CategoryTree(db, {}).empty());
}

}  // namespace
}  // namespace AnalysisTest
