#include "RulesTestSupport.h"

#include "database/CategoryCommands.h"
#include "database/ClassifierCommands.h"
#include "database/DataFileSettings.h"

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

TEST_F(CategoryCommands, NamesAreCheckedAfterTheirBlanksCollapse)
{
    const struct {
        std::u16string typed;
        AReference<ACategory> parent, self;
        std::optional<int> message;
    } cases[] = {
        {u"   ", c.food, {}, 407},
        {u"Хлеб\\Булки", c.food, {}, 408},
        {u"  Хлеб ", c.food, {}, 409},
        {u"Хлеб", expenseRoot, {}, std::nullopt},  // another parent
        {u"Хлеб", c.food, bread, std::nullopt},    // its own name
        {u"хлеб", c.food, {}, std::nullopt},       // letter case counts
    };
    for (const auto& k : cases)
        EXPECT_EQ(CheckCategoryName(db, TypedText(k.typed), k.parent, k.self), k.message)
            << std::string(k.typed.begin(), k.typed.end());
    EXPECT_EQ(TypedText(std::u16string(2000, u'x')).size(), 1024u);
}

TEST_F(CategoryCommands, AParentComesFromTheSameTreeAndNotFromBelow)
{
    EXPECT_FALSE(CanBeParentOf(db, bread, bread));
    EXPECT_FALSE(CanBeParentOf(db, rye, bread));
    EXPECT_FALSE(CanBeParentOf(db, incomeRoot, bread));
    EXPECT_FALSE(CanBeParentOf(db, c.bank, bread));
    EXPECT_TRUE(CanBeParentOf(db, expenseRoot, rye));
    EXPECT_TRUE(CanBeParentOf(db, c.food, rye));
}

TEST_F(CategoryCommands, EachChangeIsOneNamedStepAndNoChangeIsNone)
{
    const auto added = Database::AddCategory(db, c.food, u"Сыр", u"", u"Статья - добавить");
    ASSERT_TRUE(Live(added));
    EXPECT_EQ(db.Categories().Record(added)->parent, c.food);
    EXPECT_FALSE(db.Categories().Record(added)->comment.IsNull());
    EXPECT_EQ(db.UndoLabel(), u"Статья - добавить");

    EXPECT_FALSE(ChangeCategory(db, added, u"Сыр", u"", c.food, u"x"));
    EXPECT_EQ(db.UndoLabel(), u"Статья - добавить");
    // Another tree is not a parent: the rest of the change is made.
    EXPECT_TRUE(ChangeCategory(db, rye, u"Бородинский", u"тёмный", incomeRoot, u"Статья - изменить"));
    EXPECT_EQ(db.Text(db.Categories().Record(rye)->name), u"Бородинский");
    EXPECT_EQ(db.Categories().Record(rye)->parent, bread);
    EXPECT_TRUE(ChangeCategory(db, rye, u"Бородинский", u"тёмный", c.food, u"Статья - переместить"));
    EXPECT_EQ(db.Categories().Record(rye)->parent, c.food);
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(db.Categories().Record(rye)->parent, bread);
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

TEST_F(CategoryCommands, AClassifierIsCheckedAddedRenamedAndDeletedWhole)
{
    const auto agents = ATableImpl<AClassifier>::RefTo(db.Classifiers().Live().back());
    const struct {
        AClassifierInput input;
        AReference<AClassifier> self;
        std::optional<int> message;
    } cases[] = {
        {{u" ", u"Проекты"}, {}, 396},
        {{u"Проект", u""}, {}, 396},
        {{u"Про\\ект", u"Проекты"}, {}, 408},
        {{u"Агент", u"Проекты"}, {}, 393},
        {{u"Проект", u" Агенты"}, {}, 394},
        {{u"Агент", u"Агенты"}, agents, std::nullopt},
    };
    for (const auto& k : cases)
        EXPECT_EQ(CheckClassifierInput(db, k.input, k.self), k.message);

    const auto projects = AddClassifier(db, {u"Проект", u"Проекты", true, true}, {u"Приход", u"Расход", u"Перевод"}, u"Добавить классификатор");
    const AClassifier& added = *db.Classifiers().Record(projects);
    EXPECT_EQ(db.Text(db.Categories().Record(added.root2)->name), u"Проекты: Расход");
    EXPECT_FALSE(added.root3.IsNull());
    const auto single = AddClassifier(db, {u"Место", u"Места", false, false}, {}, u"Добавить классификатор");
    EXPECT_EQ(db.Text(db.Categories().Record(db.Classifiers().Record(single)->root1)->name), u"Места");
    EXPECT_TRUE(db.Classifiers().Record(single)->root2.IsNull());

    EXPECT_FALSE(RenameClassifier(db, agents, {u"Агент ", u"Агенты"}, u"x"));
    EXPECT_TRUE(RenameClassifier(db, agents, {u"Контрагент", u"Контрагенты"}, u"Изменить классификатор"));
    EXPECT_EQ(db.Text(db.Classifiers().Record(agents)->plural), u"Контрагенты");

    const AClassifierContents contents = ContentsOf(db, agents);
    EXPECT_EQ(std::tuple(contents.categories, contents.transactions, contents.seriesFilters), std::tuple(1u, 1u, 1u));
    const auto categories = db.Categories().LiveCount(), relations = db.Relations().LiveCount();
    ASSERT_TRUE(DeleteClassifier(db, agents, u"Удалить классификатор"));
    EXPECT_FALSE(Live(c.bank));
    EXPECT_EQ(db.Categories().LiveCount(), categories - 2);
    EXPECT_EQ(db.Relations().LiveCount(), relations - 1);
    EXPECT_EQ(db.SeriesNodes().LiveCount(), 1u);
    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(Live(agents) && Live(c.bank));
    EXPECT_EQ(db.Relations().LiveCount(), relations);
    EXPECT_EQ(db.SeriesNodes().LiveCount(), 2u);
}

TEST_F(CategoryCommands, TheFileSwitchesChangeInOneStep)
{
    ADataFileSwitches switches = SwitchesOf(db);
    EXPECT_FALSE(ChangeDataFileSwitches(db, switches, u"x"));
    switches.times = true;
    switches.extraComments[2] = true;
    switches.captions[2] = u"  Чек  номер ";
    ASSERT_TRUE(ChangeDataFileSwitches(db, switches, u"Настройки файла данных"));
    const ADBSettings& s = db.Settings().Live().front()->Record();
    EXPECT_TRUE(s.times && s.extraCommentInUse[2] && !s.quantities);
    EXPECT_EQ(db.Text(s.extraCommentCaption[2]), u"Чек номер");
    EXPECT_EQ(db.UndoLabel(), u"Настройки файла данных");
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(SwitchesOf(db), ADataFileSwitches{});
}

}  // namespace
