#include "RulesTestSupport.h"

#include "database/CategoryCommands.h"
#include "database/ClassifierCommands.h"

using namespace RulesTest;

namespace {

class CategoryCommands : public TBooks, public ::testing::Test {
protected:
    CategoryCommands()
    {
        Step([&] {
            c = AddClassification();
            bread = AddCategory(u"Хлеб", c.food);
            rye = AddCategory(u"Ржаной", bread);
            lunch = Add(Single(cash, -M(300), 46000));
            dinner = Add(Single(cash, -M(200), 46001));
            Relate(lunch, bread);
            Relate(lunch, rye);
            Relate(dinner, rye);
            Relate(lunch, c.bank);
            series = ATableImpl<ASeries>::RefTo(db.Series().Create(ASeries{db.NewText(u"Еда")}));
            db.SeriesNodes().Create(ASeriesNodeFilter{series, rye});
            db.SeriesNodes().Create(ASeriesNodeFilter{series, c.bank});
        });
    }
    AClassification c;
    AReference<ACategory> bread, rye;
    AReference<ATransaction> lunch, dinner;
    AReference<ASeries> series;
};

TEST_F(CategoryCommands, TypedTextsAreCutAt1024Characters)
{
    EXPECT_EQ(TypedText(std::u16string(2000, u'x')).size(), 1024u);
}

TEST_F(CategoryCommands, DeletingTakesTheCategoriesBelowTheirRelationsAndFiltersAndUndoBringsThemBack)
{
    EXPECT_EQ(TransactionsLosing(db, bread), 2u);
    EXPECT_EQ(TransactionsLosing(db, rye), 2u);
    EXPECT_EQ(TransactionsLosing(db, c.bank), 1u);
    const auto counts = [&] { return std::tuple{db.Categories().LiveCount(), db.Relations().LiveCount(), db.SeriesNodes().LiveCount()}; };
    const auto before = counts();
    EXPECT_FALSE(DeleteCategory(db, expenseRoot, u"x"));
    ASSERT_TRUE(DeleteCategory(db, bread, u"Статья - удалить"));
    EXPECT_FALSE(Live(rye));
    EXPECT_EQ(counts(), (std::tuple{std::get<0>(before) - 2, std::get<1>(before) - 3, std::get<2>(before) - 1}));
    EXPECT_TRUE(Live(lunch));
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(counts(), before);
}

TEST_F(CategoryCommands, AClassifierOfOneTreeGetsOneRootAndARenameToItsNamesIsNoStep)
{
    const auto places = AddClassifier(db, {u"Место", u"Места", false, true}, {}, u"Добавить классификатор");
    const AClassifier& added = *db.Classifiers().Record(places);
    EXPECT_EQ(db.Text(db.Categories().Record(added.root1)->name), u"Места");
    EXPECT_TRUE(added.root2.IsNull() && added.root3.IsNull() && added.useInTransfers);
    EXPECT_FALSE(RenameClassifier(db, places, {u" Место", u"Места  "}, u"x"));
    EXPECT_EQ(db.UndoLabel(), u"Добавить классификатор");
    const AClassifierContents contents = ContentsOf(db, ATableImpl<AClassifier>::RefTo(db.Classifiers().Live()[1]));
    EXPECT_EQ(std::tuple(contents.categories, contents.transactions, contents.seriesFilters), std::tuple(1u, 1u, 1u));
}

}  // namespace
