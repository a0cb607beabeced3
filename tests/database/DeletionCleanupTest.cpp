#include "RulesTestSupport.h"

#include <map>
#include <random>
#include <vector>

using namespace RulesTest;

namespace {

using ASnapshot = std::map<std::pair<Engine::ATableId, Engine::ARecordId>, std::vector<std::uint8_t>>;

// Every live record of every table as stored bytes: equal snapshots, equal books.
ASnapshot Snapshot(ADatabase& db)
{
    ASnapshot snapshot;
    for (Engine::ATableId id = 1; id <= Engine::ADBEngine::kTableCount; ++id) {
        Engine::ATableBase& table = db.Table(id);
        for (std::size_t i = 0; i < table.SlotCount(); ++i) {
            const Engine::ARecordBase& slot = table.SlotAt(i);
            if (slot.Exists())
                table.WriteBody(slot, snapshot[{id, slot.id}]);
        }
    }
    return snapshot;
}

// Books with a second currency, transfers across it, rates, a budget, a series, a
// transfer tree in the default classifier and a second classifier of agents.
class DeletionCleanup : public ::testing::Test {
protected:
    DeletionCleanup()
    {
        books.Step([&] {
            usd = books.AddCurrency(u"USD");
            eur = books.AddCurrency(u"EUR");
            u1 = books.AddAccount(u"U1", usd, M(1000));
            u2 = books.AddAccount(u"U2", usd);
            r = books.AddAccount(u"R", books.rur, M(100));
            const auto classification = books.AddClassification();
            exchange = classification.exchange;
            food = classification.food;
            bank = classification.bank;

            ATransaction spent = TBooks::Single(u1, -M(10), day);
            spent.comment = books.db.NewText(u"обед");
            spent.extraComment[2] = books.db.NewText(u"чек");
            singleOnU1 = books.Add(spent);
            books.Relate(singleOnU1, food);
            u1ToR = books.Add(TBooks::Transfer(u1, M(20), r, M(1800), day + 1));
            books.Relate(u1ToR, exchange);
            books.Relate(u1ToR, bank);
            rToU2 = books.Add(TBooks::Transfer(r, M(900), u2, M(10), day + 2));
            u1ToU2 = books.Add(TBooks::Transfer(u1, M(5), u2, M(5), day + 3));
            singleOnR = books.Add(TBooks::Single(r, M(1), day + 4));

            const auto usdRub = ATableImpl<ARateHeader>::RefTo(books.db.RateHeaders().Create({books.rur, usd}));
            usdRate = ATableImpl<ARateValue>::RefTo(books.db.RateValues().Create({usdRub, day, M(90), M(1)}));
            books.db.RateValues().Create({usdRub, day + 1, M(91), M(1)});
            const auto eurRub = ATableImpl<ARateHeader>::RefTo(books.db.RateHeaders().Create({eur, books.rur}));
            eurRate = ATableImpl<ARateValue>::RefTo(books.db.RateValues().Create({eurRub, day, M(1), M(100)}));

            const auto item = ATableImpl<ABudgetItem>::RefTo(
                books.db.BudgetItems().Create(ABudgetItem{books.db.NewText(u"Еда"), {}, {}}));
            ABudgetLimit limit;
            limit.item = item;
            limit.year = 2024;
            limit.currency = usd;
            usdLimit = ATableImpl<ABudgetLimit>::RefTo(books.db.BudgetLimits().Create(limit));
            limit.currency = books.rur;
            limit.year = 2025;
            rurLimit = ATableImpl<ABudgetLimit>::RefTo(books.db.BudgetLimits().Create(limit));

            ASeries series;
            series.name = books.db.NewText(u"Серия");
            const auto seriesRef = ATableImpl<ASeries>::RefTo(books.db.Series().Create(series));
            u1Filter = ATableImpl<ASeriesAccountFilter>::RefTo(books.db.SeriesAccounts().Create({seriesRef, u1}));
            rFilter = ATableImpl<ASeriesAccountFilter>::RefTo(books.db.SeriesAccounts().Create({seriesRef, r}));
            foodFilter = ATableImpl<ASeriesNodeFilter>::RefTo(books.db.SeriesNodes().Create({seriesRef, food}));
        });
    }

    std::size_t RelationsOf(AReference<ATransaction> t)
    {
        std::size_t n = 0;
        for (const auto* relation : books.db.Relations().Live())
            n += relation->Record().transaction == t;
        return n;
    }
    bool Related(AReference<ATransaction> t, AReference<ACategory> c)
    {
        for (const auto* relation : books.db.Relations().Live())
            if (relation->Record().transaction == t && relation->Record().category == c)
                return true;
        return false;
    }

    TBooks books;
    const ADate day = Dates::FromYmd(2024, 6, 1);
    AReference<ACurrency> usd, eur;
    AReference<AAccount> u1, u2, r;
    AReference<ACategory> exchange, food, bank;
    AReference<ATransaction> singleOnU1, u1ToR, rToU2, u1ToU2, singleOnR;
    AReference<ARateValue> usdRate, eurRate;
    AReference<ABudgetLimit> usdLimit, rurLimit;
    AReference<ASeriesAccountFilter> u1Filter, rFilter;
    AReference<ASeriesNodeFilter> foodFilter;
};

}  // namespace

TEST_F(DeletionCleanup, ACurrencyTakesItsAccountsRatesLimitsAndTransactionsAndOneUndoBringsAllBack)
{
    const ASnapshot before = Snapshot(books.db);
    const AAccount u1Record = books.db.Accounts().Get(u1)->Record();
    const ATransaction spent = books.Get(singleOnU1);
    books.db.BeginStep();
    books.db.LabelStep(u"Удалить валюту");
    Delete(books.db, books.SlotOf(usd));
    CommitWithRules(books.db);

    books.ExpectLive(false, usd, u1, u2, usdRate, usdLimit, u1Filter, singleOnU1, u1ToU2);
    books.ExpectLive(false, u1Record.name, u1Record.comment, spent.comment, spent.extraComment[2]);
    books.ExpectLive(true, r, eurRate, rurLimit, rFilter, foodFilter);
    for (const auto* placement : books.db.Placements().Live())
        EXPECT_TRUE(books.Live(placement->Record().account));
    EXPECT_EQ(books.db.RateHeaders().LiveCount(), 1u);
    EXPECT_EQ(RelationsOf(singleOnU1), 0u);
    ASSERT_TRUE(books.Live(u1ToR));
    ASSERT_TRUE(books.Live(rToU2));
    EXPECT_EQ(books.Get(u1ToR).account1, r);
    EXPECT_EQ(books.Get(rToU2).account1, r);
    EXPECT_TRUE(books.Get(u1ToR).account2.IsNull());
    EXPECT_TRUE(books.Get(rToU2).account2.IsNull());
    // R: 100 + 1800 - 900 + 1.
    EXPECT_EQ(books.Get(singleOnR).balance1, M(1001));

    const ASnapshot after = Snapshot(books.db);
    EXPECT_EQ(books.db.UndoLabel(), u"Удалить валюту");
    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(Snapshot(books.db), before);
    ASSERT_TRUE(books.db.Redo());
    EXPECT_EQ(Snapshot(books.db), after);
}

TEST_F(DeletionCleanup, TheTransferThatLosesOneAccountMovesToTheSurvivingSide)
{
    const ATransaction original = books.Get(u1ToR);
    const struct {
        const char* deleted;
        AReference<AAccount> account;
        AMoney amount, balance;
    } cases[] = {
        // Side 1 gone: side 2 moves into side 1 with the same amount and sign.
        {"side 1", u1, original.amount2, original.balance2},
        {"side 2", r, original.amount1, original.balance1},
    };
    for (const auto& c : cases) {
        books.Step([&] { Delete(books.db, books.SlotOf(c.account)); });
        const ATransaction& t = books.Get(u1ToR);
        EXPECT_EQ(t.account1, c.account == u1 ? r : u1) << c.deleted;
        EXPECT_EQ(t.amount1, c.amount) << c.deleted;
        EXPECT_EQ(t.balance1, c.balance) << c.deleted;
        EXPECT_TRUE(t.account2.IsNull()) << c.deleted;
        EXPECT_EQ(t.amount2, 0) << c.deleted;
        EXPECT_EQ(t.balance2, 0) << c.deleted;
        EXPECT_EQ(t.changeStamp, original.changeStamp) << c.deleted;
        EXPECT_EQ(t.Kind(), c.amount < 0 ? ATransactionKind::Expense : ATransactionKind::Income) << c.deleted;
        ASSERT_TRUE(books.db.Undo());
    }
}

// A transfer whose balance flag was set (a foreign or damaged file) kept the flag when it
// became single-sided, so it turned into a stated balance: an earlier transaction then
// rewrote its amount instead of shifting its balance.
TEST_F(DeletionCleanup, ATransferWithTheBalanceFlagStaysAnAmountWhenItLosesASide)
{
    AReference<ATransaction> flagged, later;
    books.Step([&] {
        ATransaction t = TBooks::Transfer(u1, M(2), r, M(180), day + 10);
        t.balance = 1;
        flagged = books.Add(t);
        later = books.Add(TBooks::Single(r, M(3), day + 11));
    });
    books.Step([&] { Delete(books.db, books.SlotOf(u1)); });
    ASSERT_TRUE(books.Live(flagged));
    EXPECT_EQ(books.Get(flagged).Kind(), ATransactionKind::Income);
    const AMoney balanceBefore = books.Get(flagged).balance1;

    books.Step([&] { books.Add(TBooks::Single(r, M(7), day - 1)); });
    EXPECT_EQ(books.Get(flagged).amount1, M(180));
    EXPECT_EQ(books.Get(flagged).balance1, balanceBefore + M(7));
    EXPECT_EQ(books.Get(later).balance1, balanceBefore + M(10));
    ExpectConsistentBalances(books.db);
}

TEST_F(DeletionCleanup, TransferTreeCategoriesGoWhileOtherClassifiersStay)
{
    ASSERT_TRUE(Related(u1ToR, exchange));
    books.Step([&] { Delete(books.db, books.SlotOf(u1)); });
    EXPECT_FALSE(Related(u1ToR, exchange));
    EXPECT_TRUE(Related(u1ToR, bank));
    EXPECT_TRUE(books.Live(exchange));
}

TEST_F(DeletionCleanup, ATransferChangedInTheSameStepIsFoundByItsNewAccount)
{
    AReference<AAccount> u3;
    books.Step([&] { u3 = books.AddAccount(u"U3", usd); });
    books.db.BeginStep();
    books.db.Transactions().Change(books.SlotOf(rToU2))->account2 = u3;
    Delete(books.db, books.SlotOf(u3));
    CommitWithRules(books.db);
    EXPECT_TRUE(books.Get(rToU2).account2.IsNull());
    EXPECT_EQ(books.Get(rToU2).account1, r);
}

TEST_F(DeletionCleanup, ADeletedTransactionTakesItsTextsAndRelationsAndTheBalancesFollow)
{
    const ATransaction spent = books.Get(singleOnU1);
    books.Step([&] { Delete(books.db, books.SlotOf(singleOnU1)); });
    books.ExpectLive(false, spent.comment, spent.extraComment[2]);
    EXPECT_EQ(RelationsOf(singleOnU1), 0u);
    EXPECT_EQ(books.Get(u1ToR).balance1, M(980));
}

TEST_F(DeletionCleanup, ACategoryTakesItsSubtreeRelationsAndSeriesNodes)
{
    AReference<ACategory> child, grandchild;
    books.Step([&] {
        child = books.AddCategory(u"Овощи", food);
        grandchild = books.AddCategory(u"Морковь", child);
        books.Relate(singleOnR, grandchild);
    });
    books.Step([&] { Delete(books.db, books.SlotOf(food)); });
    books.ExpectLive(false, child, grandchild);
    EXPECT_FALSE(books.Live(foodFilter));
    EXPECT_EQ(RelationsOf(singleOnR) + RelationsOf(singleOnU1), 0u);
    books.ExpectLive(true, singleOnU1);
    EXPECT_TRUE(books.Live(books.expenseRoot));
}

TEST_F(DeletionCleanup, AClassifierTakesItsTreesAndItsCategoriesPages)
{
    auto* agents = books.db.Classifiers().Live().back();
    const std::uint32_t pageType = APageInfo::kCategoriesBase + agents->id;
    books.Step([&] {
        APageInfo page;
        page.type = pageType;
        page.name = books.db.NewText(u"Агенты");
        page.position = 40;
        books.db.Pages().Create(page);
    });
    books.Step([&] { Delete(books.db, agents); });
    EXPECT_FALSE(books.Live(bank));
    EXPECT_FALSE(Related(u1ToR, bank));
    for (const auto* page : books.db.Pages().Live())
        EXPECT_NE(page->Record().type, pageType);
    EXPECT_EQ(books.db.Classifiers().LiveCount(), 1u);
}

TEST_F(DeletionCleanup, AFolderTakesItsSubfoldersAndTheirAccountsAPlanKeepsTheAccounts)
{
    AReference<AAccountFolder> folder, sub, secondPlan;
    AReference<AAccount> inSub;
    books.Step([&] {
        folder = books.AddFolder(u"Банки", books.plan);
        sub = books.AddFolder(u"Сбер", folder);
        inSub = books.AddAccount(u"Карта", books.rur, 0, sub);
        books.Add(TBooks::Single(inSub, M(3), day));
        secondPlan = books.AddFolder(u"План 2", {});
        books.db.Placements().Create(AAccountPlacement{r, secondPlan});
    });
    books.Step([&] { Delete(books.db, books.SlotOf(folder)); });
    books.ExpectLive(false, folder, sub);
    EXPECT_FALSE(books.Live(inSub));
    EXPECT_EQ(books.db.Transactions().LiveCount(), 5u);

    books.Step([&] { DeleteAccountPlan(books.db, books.SlotOf(secondPlan)); });
    EXPECT_FALSE(books.Live(secondPlan));
    EXPECT_TRUE(books.Live(r));
    for (const auto* placement : books.db.Placements().Live())
        EXPECT_NE(placement->Record().folder, secondPlan);
}

// Each owner deletes exactly its own texts: the text count drops by what it owned.
TEST(TextOwnership, EveryOwnerDeletesItsTextsAndNoOthers)
{
    TBooks books;
    struct AOwner {
        const char* type;
        std::function<void()> remove;
        std::size_t texts;
    };
    std::vector<AOwner> owners;
    books.Step([&] {
        auto text = [&](const char16_t* t) { return books.db.NewText(t); };
        ATransaction t = TBooks::Single(books.cash, M(1), 100);
        t.comment = text(u"c");
        for (auto& extra : t.extraComment)
            extra = text(u"e");
        auto* transaction = books.db.Transactions().Create(t);
        owners.push_back({"transaction", [&, transaction] { Delete(books.db, transaction); }, 5});
        auto* account = books.db.Accounts().Create(AAccount{text(u"a"), books.rur, {}, 0, 0, text(u"c")});
        owners.push_back({"account", [&, account] { Delete(books.db, account); }, 2});
        auto* folder = books.db.Folders().Create(AAccountFolder{text(u"f"), text(u"c"), books.plan, 0});
        owners.push_back({"folder", [&, folder] { Delete(books.db, folder); }, 2});
        auto* category = books.db.Categories().Create(ACategory{text(u"k"), text(u"c"), books.incomeRoot});
        owners.push_back({"category", [&, category] { Delete(books.db, category); }, 2});
        auto* currency = books.db.Currencies().Create(ACurrency{text(u"n"), text(u"X"), 2});
        owners.push_back({"currency", [&, currency] { Delete(books.db, currency); }, 2});
        ASeries series;
        series.name = text(u"s");
        auto* seriesSlot = books.db.Series().Create(series);
        owners.push_back({"series", [&, seriesSlot] { Delete(books.db, seriesSlot); }, 1});
        auto* item = books.db.BudgetItems().Create(ABudgetItem{text(u"b"), {}, {}});
        owners.push_back({"budget item", [&, item] { Delete(books.db, item); }, 1});
        APageInfo page;
        page.name = text(u"p");
        page.position = 50;
        auto* pageSlot = books.db.Pages().Create(page);
        owners.push_back({"page", [&, pageSlot] { Delete(books.db, pageSlot); }, 1});
        auto* user = books.db.Users().Create(AUser{text(u"u"), text(u"pw"), 1});
        owners.push_back({"user", [&, user] { Delete(books.db, user); }, 2});
        auto* classifier = books.db.Classifiers().Create(AClassifier{text(u"o"), text(u"m"), {}, {}, {}, 0, 0});
        owners.push_back({"classifier", [&, classifier] { Delete(books.db, classifier); }, 2});
    });
    auto* settings = books.db.Settings().Live().front();
    books.Step([&] {
        auto* s = books.db.Settings().Change(settings);
        s->extraCommentCaption[0] = books.db.NewText(u"x");
        s->extraCommentCaption[3] = books.db.NewText(u"y");
    });
    owners.push_back({"settings", [&] { Delete(books.db, settings); }, 2});
    for (const AOwner& owner : owners) {
        const std::size_t textsBefore = books.db.Strings().LiveCount();
        books.Step(owner.remove);
        EXPECT_EQ(textsBefore - books.db.Strings().LiveCount(), owner.texts) << owner.type;
    }
}

TEST(TextOwnership, ATextSharedByTwoOwnersInADamagedFileIsDeletedOnce)
{
    TBooks books;
    Engine::ASlot<ACategory>*first = nullptr, *second = nullptr;
    books.Step([&] {
        const auto shared = books.db.NewText(u"общий");
        first = books.db.Categories().Create(ACategory{shared, {}, books.incomeRoot});
        second = books.db.Categories().Create(ACategory{shared, {}, books.incomeRoot});
    });
    TAssertionCounter assertions;
    books.Step([&] {
        Delete(books.db, first);
        Delete(books.db, second);
    });
    EXPECT_EQ(assertions.failures, 0);
    EXPECT_EQ(books.db.Categories().LiveCount(), 2u);
}

// Random books lose some accounts or transactions in one step; every transaction and
// relation must end as the rules say, whichever way the clean-up looked them up (a few
// deleted records are searched in the indexes, many make it walk the table).
TEST(DeletionCleanupRandom, EveryTransactionAndRelationEndsAsTheRulesSay)
{
    struct AScenario {
        unsigned seed;
        int accountsToDelete;
        int transactionsToDelete;
    };
    for (const AScenario scenario : {AScenario{1, 1, 0}, AScenario{2, 4, 0}, AScenario{3, 0, 3}, AScenario{4, 2, 2}}) {
        TBooks books;
        std::mt19937 random(scenario.seed);
        std::vector<AReference<AAccount>> accounts;
        AReference<ACategory> food, exchange, bank;
        std::vector<AReference<ATransaction>> transactions;
        books.Step([&] {
            for (int i = 0; i < 6; ++i)
                accounts.push_back(books.AddAccount(u"A" + std::u16string(1, char16_t(u'0' + i)), books.rur, M(i)));
            const auto classification = books.AddClassification();
            exchange = classification.exchange;
            food = classification.food;
            bank = classification.bank;
            const AReference<ACategory> categories[] = {food, exchange, bank};
            for (int i = 0; i < 300; ++i) {
                ATransaction t = TBooks::Single(accounts[random() % 6], M(static_cast<std::int64_t>(random() % 50)) - M(25),
                                                Dates::FromYmd(2024, 1, 1) + static_cast<ADate>(random() % 30));
                if (random() % 2) {
                    t.account2 = accounts[random() % 6];
                    t.amount2 = M(static_cast<std::int64_t>(random() % 50));
                }
                t.comment = random() % 3 ? AReference<AString>{} : books.db.NewText(u"заметка");
                transactions.push_back(books.Add(t));
                for (const auto& category : categories)
                    if (random() % 3 == 0)
                        books.Relate(transactions.back(), category);
            }
        });
        std::map<std::uint32_t, ATransaction> before;
        for (const auto& t : transactions)
            before[t.Word()] = books.Get(t);
        std::vector<std::pair<AReference<ATransaction>, AReference<ACategory>>> relationsBefore;
        for (const auto* relation : books.db.Relations().Live())
            relationsBefore.emplace_back(relation->Record().transaction, relation->Record().category);

        std::vector<AReference<AAccount>> doomedAccounts;
        std::vector<AReference<ATransaction>> doomedTransactions;
        std::shuffle(accounts.begin(), accounts.end(), random);
        doomedAccounts.assign(accounts.begin(), accounts.begin() + scenario.accountsToDelete);
        for (int i = 0; i < scenario.transactionsToDelete; ++i)
            doomedTransactions.push_back(transactions[random() % transactions.size()]);
        books.Step([&] {
            for (const auto& account : doomedAccounts)
                Delete(books.db, books.SlotOf(account));
            for (const auto& t : doomedTransactions)
                if (books.Live(t))
                    Delete(books.db, books.SlotOf(t));
        });

        auto doomed = [&](AReference<AAccount> a) {
            return std::find(doomedAccounts.begin(), doomedAccounts.end(), a) != doomedAccounts.end();
        };
        std::map<std::uint32_t, bool> converted;
        for (const auto& ref : transactions) {
            const ATransaction& was = before[ref.Word()];
            const bool gone1 = doomed(was.account1), gone2 = !was.account2.IsNull() && doomed(was.account2);
            const bool deletedByHand =
                std::find(doomedTransactions.begin(), doomedTransactions.end(), ref) != doomedTransactions.end();
            const bool shouldLive = !deletedByHand && !(gone1 && (was.account2.IsNull() || gone2));
            const std::string where = "seed " + std::to_string(scenario.seed) + " transaction " +
                                      std::to_string(books.SlotOf(ref)->id);
            ASSERT_EQ(books.Live(ref), shouldLive) << where;
            if (!shouldLive) {
                EXPECT_FALSE(books.Live(was.comment)) << where;
                continue;
            }
            const ATransaction& now = books.Get(ref);
            converted[ref.Word()] = gone1 != gone2;
            if (gone1 == gone2) {
                EXPECT_EQ(now.account1, was.account1) << where;
                EXPECT_EQ(now.account2, was.account2) << where;
                continue;
            }
            EXPECT_EQ(now.account1, gone1 ? was.account2 : was.account1) << where;
            EXPECT_EQ(now.amount1, gone1 ? was.amount2 : was.amount1) << where;
            EXPECT_TRUE(now.account2.IsNull()) << where;
        }
        std::size_t expectedRelations = 0;
        for (const auto& [transaction, category] : relationsBefore)
            expectedRelations += books.Live(transaction) && !(converted[transaction.Word()] && category == exchange);
        std::size_t liveRelations = 0;
        for (const auto* relation : books.db.Relations().Live()) {
            ++liveRelations;
            const auto t = relation->Record().transaction;
            EXPECT_TRUE(books.Live(t));
            EXPECT_FALSE(converted[t.Word()] && relation->Record().category == exchange);
        }
        EXPECT_EQ(liveRelations, expectedRelations) << "seed " << scenario.seed;
        ExpectConsistentBalances(books.db, "seed " + std::to_string(scenario.seed));
    }
}
