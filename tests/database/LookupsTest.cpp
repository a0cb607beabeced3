#include "RulesTestSupport.h"

using namespace RulesTest;

TEST(Lookups, RootAndClassifierOfACategory)
{
    TBooks books;
    AReference<ACategory> a, b, c, orphanRoot, orphanChild;
    books.Step([&] {
        a = books.AddCategory(u"a", books.expenseRoot);
        b = books.AddCategory(u"b", a);
        c = books.AddCategory(u"c", b);
        orphanRoot = books.AddCategory(u"ничей", {});
        orphanChild = books.AddCategory(u"лист", orphanRoot);
    });
    const auto* articles = books.db.Classifiers().Live().front();
    EXPECT_EQ(RootOf(books.db, c), books.SlotOf(books.expenseRoot));
    EXPECT_EQ(RootOf(books.db, books.incomeRoot), books.SlotOf(books.incomeRoot));
    EXPECT_EQ(ClassifierOf(books.db, c), articles);
    EXPECT_EQ(ClassifierOf(books.db, books.incomeRoot), articles);
    EXPECT_EQ(ClassifierOf(books.db, orphanChild), nullptr);
    EXPECT_EQ(RootOf(books.db, {}), nullptr);
    EXPECT_FALSE(InTransferTree(books.db, c));

    // A parent chain that loops answers nothing instead of hanging.
    books.Step([&] { books.db.Categories().Change(books.SlotOf(a))->parent = c; });
    EXPECT_EQ(RootOf(books.db, b), nullptr);
    EXPECT_EQ(ClassifierOf(books.db, b), nullptr);
}

TEST(Lookups, CurrencyByCodeIsExactAndSeesTheOpenStep)
{
    TBooks books;
    EXPECT_EQ(CurrencyByCode(books.db, u"RUR"), books.SlotOf(books.rur));
    EXPECT_EQ(CurrencyByCode(books.db, u"rur"), nullptr);
    EXPECT_EQ(CurrencyByCode(books.db, u"RUR "), nullptr);
    books.db.BeginStep();
    const auto usd = books.AddCurrency(u"USD");
    EXPECT_EQ(CurrencyByCode(books.db, u"USD"), books.SlotOf(usd));
    Delete(books.db, books.SlotOf(books.rur));
    EXPECT_EQ(CurrencyByCode(books.db, u"RUR"), nullptr);
    books.db.RollBack();
    EXPECT_EQ(CurrencyByCode(books.db, u"RUR"), books.SlotOf(books.rur));
}

TEST(Lookups, RateHeaderForAPairInEitherOrder)
{
    TBooks books;
    AReference<ACurrency> usd, eur;
    Engine::ASlot<ARateHeader>* header = nullptr;
    books.Step([&] {
        usd = books.AddCurrency(u"USD");
        eur = books.AddCurrency(u"EUR");
        header = books.db.RateHeaders().Create(ARateHeader{usd, books.rur});
    });
    EXPECT_EQ(RateHeaderFor(books.db, usd, books.rur), header);
    EXPECT_EQ(RateHeaderFor(books.db, books.rur, usd), header);
    EXPECT_EQ(RateHeaderFor(books.db, eur, books.rur), nullptr);
    EXPECT_EQ(RateHeaderFor(books.db, usd, usd), nullptr);
}

TEST(Lookups, ClassifierByNamesNeedsBothNames)
{
    TBooks books;
    const auto* articles = books.db.Classifiers().Live().front();
    EXPECT_EQ(ClassifierByNames(books.db, u"Статья", u"Статьи"), articles);
    EXPECT_EQ(ClassifierByNames(books.db, u"Статья", u"Агенты"), nullptr);
    EXPECT_EQ(ClassifierByNames(books.db, u"Статьи", u"Статья"), nullptr);
}

TEST(Lookups, FirstAccountPlanIsTheFirstFolderWithoutParent)
{
    TBooks books;
    books.Step([&] {
        books.AddFolder(u"Папка", books.plan);
        books.AddFolder(u"План 2", {});
    });
    EXPECT_EQ(FirstAccountPlan(books.db), books.SlotOf(books.plan));

    TBooks empty;
    empty.db.BeginStep();
    Delete(empty.db, empty.SlotOf(empty.plan));
    TAssertionCounter assertions;
    EXPECT_EQ(FirstAccountPlan(empty.db), nullptr);
    EXPECT_EQ(assertions.failures, 1);
    empty.db.RollBack();
}

TEST(RuleChecks, EachRuleAnswersItsMessage)
{
    TBooks books;
    AReference<ACurrency> usd;
    AReference<AClassifier> agents;
    AReference<AAccountFolder> second;
    books.Step([&] {
        usd = books.AddCurrency(u"USD");
        agents = ATableImpl<AClassifier>::RefTo(books.db.Classifiers().Create(
            AClassifier{books.db.NewText(u"Агент"), books.db.NewText(u"Агенты"), {}, {}, {}, 0, 0}));
        second = books.AddFolder(u"План 2", {});
        books.AddFolder(u"Папка", books.plan);
    });
    const auto articles = ATableImpl<AClassifier>::RefTo(books.db.Classifiers().Live().front());
    const struct {
        const char* rule;
        std::optional<int> answer, expected;
    } cases[] = {
        {"code taken", CheckCurrencyCode(books.db, u"RUR"), 361},
        {"code of itself", CheckCurrencyCode(books.db, u"USD", usd), std::nullopt},
        {"code free", CheckCurrencyCode(books.db, u"usd"), std::nullopt},
        {"code taken by another", CheckCurrencyCode(books.db, u"RUR", usd), 361},
        {"singular taken", CheckClassifierNames(books.db, u"Статья", u"Новые"), 393},
        {"plural taken", CheckClassifierNames(books.db, u"Новый", u"Агенты"), 394},
        {"both taken: singular first", CheckClassifierNames(books.db, u"Агент", u"Статьи"), 393},
        {"own names", CheckClassifierNames(books.db, u"Агент", u"Агенты", agents), std::nullopt},
        {"another's plural", CheckClassifierNames(books.db, u"Агент", u"Статьи", agents), 394},
        {"names free", CheckClassifierNames(books.db, u"Новый", u"Новые", articles), std::nullopt},
        {"plan name taken", CheckAccountPlanName(books.db, u"Все счета"), 740},
        {"plan renamed to itself", CheckAccountPlanName(books.db, u"План 2", second), std::nullopt},
        {"only plans count", CheckAccountPlanName(books.db, u"Папка"), std::nullopt},
        {"backslash", CheckNoBackslash(u"a\\b"), 408},
        {"no backslash", CheckNoBackslash(u"a/b"), std::nullopt},
        {"rate to itself", CheckRatePair(usd, usd), 597},
        {"rate pair", CheckRatePair(usd, books.rur), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.answer, c.expected) << c.rule;
}
