#include "AnalysisBooks.h"

#include "analysis/Filters.h"
#include "analysis/Grouping.h"
#include "core/TextSearch.h"
#include "analysis/TransactionPageFilter.h"

namespace AnalysisTest {
namespace {

using namespace UserInterface::Filters;

std::vector<AReference<ATransaction>> Refs(const ATransactionList& list)
{
    std::vector<AReference<ATransaction>> refs;
    for (const auto* slot : list)
        refs.push_back(ATableImpl<ATransaction>::RefTo(slot));
    return refs;
}

TEST(CaseFolding, LatinCyrillicAndGreekLettersFoldToLowerCase)
{
    EXPECT_EQ(FoldCase(u"ПРОДУКТЫ Ёлка ЇЖАК Straße ÄÖÜ ĲĹŸ ΑΒΓ Ωμέγα"), u"продукты ёлка їжак straße äöü ĳĺÿ αβγ ωμέγα");
    EXPECT_TRUE(ContainsFolded(u"Обед с КОЛЛЕГАМИ", FoldCase(u"коллегами")));
    EXPECT_TRUE(ContainsFolded(u"anything", u""));
    EXPECT_FALSE(ContainsFolded(u"Обед", FoldCase(u"обеды")));
    EXPECT_EQ(FoldCase(u'×'), u'×');
}

class FilterBooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        books.Step([&] {
            second = books.AddAccount(u"Карта");
            food = books.AddCategory(u"Продукты", books.expenseRoot);
            salary = books.AddCategory(u"Зарплата", books.incomeRoot);
            agentsRoot = books.AddSingleClassifier(u"Агент", u"Агенты", &agents);
            shop = books.AddCategory(u"Магазин", agentsRoot);
            t1 = books.Add(TBooks::Single(books.cash, -M(10), D(2024, 1, 5)));
            t2 = books.Add(TBooks::Single(books.cash, -M(20), D(2024, 1, 6)));
            t3 = books.Add(TBooks::Single(books.cash, M(30), D(2024, 2, 7)));
            books.Relate(t1, food);
            books.Relate(t1, shop);
            books.Relate(t2, food);
            books.Relate(t3, salary);
            books.Relate(t3, shop);
        });
    }
    ATransactionList All()
    {
        return TransactionsInPeriod(books.db, ADatePeriod(D(2000, 1, 1), D(2030, 1, 1), std::nullopt), false);
    }

    TBooks books;
    AReference<AAccount> second;
    AReference<ACategory> food, salary, agentsRoot, shop;
    AReference<AClassifier> agents;
    AReference<ATransaction> t1, t2, t3;
};

TEST_F(FilterBooks, PeriodSelectsByDateInDateOrder)
{
    const auto list = TransactionsInPeriod(books.db, ADatePeriod(D(2024, 1, 6), D(2024, 2, 7), std::nullopt), false);
    EXPECT_EQ(Refs(list), (std::vector{t2, t3}));
    EXPECT_TRUE(TransactionsInPeriod(books.db, ADatePeriod(D(2024, 2, 1), D(2024, 1, 1), std::nullopt), false).empty());
}

TEST_F(FilterBooks, PeriodByBudgetDateTakesTransactionsWithoutOne)
{
    books.Step([&] {
        books.SetSettings([](ADBSettings& s) { s.budgetDates = 1; });
        books.db.Transactions().Change(books.db.Transactions().Get(t1))->budgetDate = D(2024, 3, 1);
        books.db.Transactions().Change(books.db.Transactions().Get(t2))->budgetDate = kNoBudgetDate;
    });
    const ADatePeriod march(D(2024, 3, 1), D(2024, 3, 31), APeriodKind::Month, true);
    EXPECT_EQ(Refs(TransactionsInPeriod(books.db, march, true)), (std::vector{t2, t1}));
    // With the file's setting off, dates count.
    EXPECT_TRUE(TransactionsInPeriod(books.db, march, false).empty());
}

TEST_F(FilterBooks, ClassifierSelectionsIntersect)
{
    struct ACase {
        AClassifierSelections selections;
        std::vector<AReference<ATransaction>> kept;
    } cases[] = {
        {{}, {t1, t2, t3}},
        {{{books.articles, true, food}}, {t1, t2}},
        {{{books.articles, false, food}}, {t1, t2, t3}},   // unticked rows don't filter
        {{{books.articles, true, {}}}, {t1, t2, t3}},      // nor rows without a node
        {{{agents, true, shop}}, {t1, t3}},
        {{{books.articles, true, food}, {agents, true, shop}}, {t1}},
        {{{books.articles, true, books.expenseRoot}}, {}},  // the node itself, not below it
    };
    for (const ACase& c : cases) {
        ATransactionList list = All();
        ARemovedSet removed;
        ApplyClassifierTest(books.db, list, c.selections, &removed);
        EXPECT_EQ(Refs(list), c.kept);
        EXPECT_EQ(removed.size() + list.size(), 3u);
    }
}

TEST_F(FilterBooks, CommentTextIgnoresCaseAndLooksAtSwitchedOnNotes)
{
    books.Step([&] {
        ATransaction* a = books.db.Transactions().Change(books.db.Transactions().Get(t1));
        a->comment = books.db.NewText(u"Обед с КОЛЛЕГАМИ");
        ATransaction* b = books.db.Transactions().Change(books.db.Transactions().Get(t2));
        b->extraComment[2] = books.db.NewText(u"коллеги платили");
    });
    ATransactionList list = All();
    ARemovedSet removed;
    ApplyCommentTest(books.db, list, u"коллег", &removed);
    EXPECT_EQ(Refs(list), (std::vector{t1}));  // note 3 is not switched on
    EXPECT_EQ(removed.size(), 2u);

    books.Step([&] { books.SetSettings([](ADBSettings& s) { s.extraCommentInUse[2] = 1; }); });
    list = All();
    ApplyCommentTest(books.db, list, u"КОЛЛЕГ");
    EXPECT_EQ(Refs(list), (std::vector{t1, t2}));
    list = All();
    ApplyCommentTest(books.db, list, u"");
    EXPECT_EQ(list.size(), 3u);
}

TEST_F(FilterBooks, SelectionsSurviveTheirSavedForm)
{
    std::vector<std::uint8_t> bytes;
    UserInterface::APageWriter out(bytes);
    const ATransactionKindFlags flags{true, false, false, true};
    flags.Save(out);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 0, 0, 1}));
    const AAccountSelection accounts({second, books.cash, second}, AAccountScope::TransfersOnly);
    accounts.Save(out, books.db);
    EXPECT_EQ(bytes[4], 0);
    EXPECT_EQ(bytes[5], 1);
    SaveClassifierSelections(out, books.db, {{agents, true, shop}, {books.articles, false, food}});

    AByteCursor in(bytes.data(), bytes.size());
    ATransactionKindFlags readFlags{false, false, false, false};
    AAccountSelection readAccounts;
    AClassifierSelections readSelections;
    ASSERT_TRUE(readFlags.Load(in));
    ASSERT_TRUE(readAccounts.Load(in, books.db));
    ASSERT_TRUE(LoadClassifierSelections(in, books.db, readSelections));
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(readFlags, flags);
    EXPECT_EQ(readAccounts.Accounts(), accounts.Accounts());
    EXPECT_EQ(readAccounts.Accounts().size(), 2u);
    EXPECT_EQ(readAccounts.Scope(), AAccountScope::TransfersOnly);
    ASSERT_EQ(readSelections.size(), 2u);
    EXPECT_EQ(readSelections[0].node, shop);
    EXPECT_FALSE(readSelections[1].ticked);

    // Every shortened form fails cleanly, and a huge declared count allocates nothing.
    for (std::size_t length = 4; length < bytes.size(); ++length) {
        AByteCursor cut(bytes.data(), length);
        ASSERT_TRUE(readFlags.Load(cut));
        AAccountSelection a;
        AClassifierSelections s;
        EXPECT_FALSE(a.Load(cut, books.db) && LoadClassifierSelections(cut, books.db, s)) << length;
    }
    std::vector<std::uint8_t> huge = {1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0};
    AByteCursor hugeIn(huge.data(), huge.size());
    AAccountSelection a;
    EXPECT_FALSE(a.Load(hugeIn, books.db));
}

TEST_F(FilterBooks, AccountsDeletedSinceSavingAreDropped)
{
    std::vector<std::uint8_t> bytes;
    UserInterface::APageWriter out(bytes);
    AAccountSelection({second, books.cash}).Save(out, books.db);
    books.Step([&] { Database::Delete(books.db, books.db.Accounts().Get(second)); });
    AAccountSelection read;
    AByteCursor in(bytes.data(), bytes.size());
    ASSERT_TRUE(read.Load(in, books.db));
    EXPECT_EQ(read.Accounts(), (std::vector{books.cash}));
}

TEST_F(FilterBooks, GroupingChoicesFollowTheFileSettings)
{
    auto captions = [&] {
        std::vector<std::u16string> result;
        for (const auto& choice : GroupByChoices(books.db, books.strings))
            result.push_back(choice.caption);
        return result;
    };
    EXPECT_EQ(captions(), (std::vector<std::u16string>{u"признаку \"Выполнена\"", u"признаку \"Блокирована\"",
                                                       u"признаку \"Повторяется\"", u"полю \"Дата\"",
                                                       u"полю \"Статья\"", u"полю \"Агент\""}));
    books.Step([&] {
        books.SetSettings([](ADBSettings& s) {
            s.times = 1;
            s.budgetDates = 1;
        });
    });
    const auto choices = GroupByChoices(books.db, books.strings);
    ASSERT_EQ(choices.size(), 7u);
    EXPECT_EQ(choices[3].name, u"Дата, время");
    EXPECT_EQ(choices[4].caption, u"полю \"Бюджетная дата\"");
    const auto reportChoices = GroupByChoices(books.db, books.strings, true);
    ASSERT_EQ(reportChoices.size(), 2u);
    EXPECT_EQ(reportChoices[1].classifier, agents);
}

TEST_F(FilterBooks, GroupRowsOfTransactions)
{
    const auto choices = GroupByChoices(books.db, books.strings);
    const auto* slot1 = books.db.Transactions().Get(t1);
    const auto* slot2 = books.db.Transactions().Get(t2);

    const auto dateRows = AGrouper(books.db, books.strings, choices[3]).RowsOf(*slot1);
    ASSERT_EQ(dateRows.size(), 3u);
    EXPECT_EQ(dateRows[0].caption, u"2024 г.");
    EXPECT_EQ(dateRows[1].caption, u"Январь 2024 г.");
    EXPECT_EQ(dateRows[2].caption, u"05 января 2024 г.");

    const AGrouper byAgent(books.db, books.strings, choices[5]);
    EXPECT_EQ(byAgent.RowsOf(*slot1)[0].caption, u"Магазин");
    EXPECT_EQ(byAgent.RowsOf(*slot2)[0].caption, u"Не указано");
    EXPECT_NE(byAgent.RowsOf(*slot1)[0].key, byAgent.RowsOf(*slot2)[0].key);

    const auto executedRows = AGrouper(books.db, books.strings, choices[0]).RowsOf(*slot1);
    EXPECT_EQ(executedRows[0].caption, u"Выполненные операции");
    EXPECT_EQ(AGrouper(books.db, books.strings, choices[2]).RowsOf(*slot1)[0].caption, u"Однократные операции");
}

TEST_F(FilterBooks, TransactionPageFilterListsAndPassesTheSameTransactions)
{
    AReference<ATransaction> transfer;
    books.Step([&] {
        ATransaction t = TBooks::Single(books.cash, -M(5), D(2024, 1, 8));
        t.account2 = second;
        t.amount2 = M(5);
        transfer = books.Add(t);
    });
    const ADatePeriod everything(D(2000, 1, 1), D(2030, 1, 1), std::nullopt);
    struct {
        ADatePeriod period;
        AAccountSelection accounts;
        AClassifierSelections classifiers;
        std::vector<AReference<ATransaction>> expected;
        bool narrows;  // ticked accounts narrow even when every transaction passes them
    } const cases[] = {
        {everything, {}, {}, {t1, t2, transfer, t3}, false},
        {ADatePeriod(D(2024, 1, 6), D(2024, 1, 31), std::nullopt), {}, {}, {t2, transfer}, true},
        {everything, AAccountSelection({second}), {}, {transfer}, true},
        {everything, AAccountSelection({books.cash}), {}, {t1, t2, transfer, t3}, true},
        {everything, AAccountSelection({books.cash}, AAccountScope::TransfersOnly), {}, {}, true},
        {everything, AAccountSelection({books.cash, second}, AAccountScope::TransfersOnly), {}, {transfer}, true},
        {everything, {}, {{agents, true, shop}}, {t1, t3}, true},
        {everything, {}, {{agents, false, shop}}, {t1, t2, transfer, t3}, false},
    };
    for (const auto& c : cases) {
        ATransactionPageFilter filter{c.period, c.accounts, c.classifiers, {}};
        EXPECT_EQ(Refs(filter.Apply(books.db)), c.expected);
        EXPECT_EQ(filter.Narrows(books.db), c.narrows);
        // The dialog's test agrees with the list for every transaction of the file.
        for (const auto* slot : All()) {
            const ATransaction& t = slot->Record();
            ATransactionFacts facts{t.date, t.budgetDate, t.account1, t.account2, {}};
            ARelation probe;
            probe.transaction = ATableImpl<ATransaction>::RefTo(slot);
            for (const auto* relation : books.db.Relations().EqualRange(3, probe))
                facts.categories.push_back(relation->Record().category);
            const bool listed = std::find(c.expected.begin(), c.expected.end(), probe.transaction) != c.expected.end();
            EXPECT_EQ(filter.Passes(books.db, facts), listed);
        }
    }
    ATransactionPageFilter search{everything, {}, {}, u"коллег"};
    EXPECT_TRUE(search.Narrows(books.db));
}

TEST_F(FilterBooks, AllTransactionsKeepsMeaningTheWholeFileAfterAnAdditionOutsideItsDates)
{
    ATransactionPageFilter all;
    all.period.SelectKind(APeriodKind::AllTransactions, TransactionDateRange(books.db, false), TBooks::Today());
    const ADate stored = all.period.End();
    AReference<ATransaction> later;
    books.Step([&] { later = books.Add(TBooks::Single(books.cash, -M(1), stored + 40)); });

    ATransactionFacts facts{stored + 50, 0, books.cash, {}, {}};
    EXPECT_FALSE(all.Narrows(books.db));
    EXPECT_TRUE(all.Passes(books.db, facts));
    const auto listed = Refs(all.Apply(books.db));
    EXPECT_EQ(listed.size(), All().size());
    EXPECT_EQ(listed.back(), later);
    EXPECT_TRUE(all.FollowFile(books.db, TBooks::Today()));
    EXPECT_EQ(all.period.End(), stored + 40);
    EXPECT_FALSE(all.FollowFile(books.db, TBooks::Today()));

    // A period of the same dates picked by hand stays as it was typed.
    ATransactionPageFilter typed{ADatePeriod(all.period.Start(), stored, std::nullopt), {}, {}, {}};
    EXPECT_TRUE(typed.Narrows(books.db));
    EXPECT_FALSE(typed.Passes(books.db, facts));
    EXPECT_FALSE(typed.FollowFile(books.db, TBooks::Today()));
}

TEST_F(FilterBooks, TransactionPageFilterSurvivesItsSavedFormAndRefusesDamage)
{
    const ATransactionPageFilter filter{ADatePeriod(D(2024, 1, 1), D(2024, 1, 31), APeriodKind::Month),
                                        AAccountSelection({second}), {{agents, true, shop}}, u"Обед"};
    std::vector<std::uint8_t> bytes;
    UserInterface::APageWriter out(bytes);
    filter.Save(out, books.db, TBooks::Today(), true);

    ATransactionPageFilter read;
    AByteCursor in(bytes.data(), bytes.size());
    ASSERT_TRUE(read.Load(in, books.db, TBooks::Today()));
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(read.period.Start(), filter.period.Start());
    EXPECT_EQ(read.period.End(), filter.period.End());
    EXPECT_EQ(read.period.Kind(), APeriodKind::Month);
    EXPECT_EQ(read.accounts.Accounts(), filter.accounts.Accounts());
    ASSERT_EQ(read.classifiers.size(), 1u);
    EXPECT_EQ(read.classifiers[0].node, shop);
    EXPECT_EQ(read.comment, u"Обед");
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        AByteCursor cut(bytes.data(), length);
        ATransactionPageFilter kept = read;
        EXPECT_FALSE(kept.Load(cut, books.db, TBooks::Today())) << length;
        EXPECT_EQ(kept.comment, u"Обед") << length;
    }
}

}  // namespace
}  // namespace AnalysisTest
