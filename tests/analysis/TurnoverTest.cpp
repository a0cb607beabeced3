#include "AnalysisBooks.h"

#include "analysis/Turnover.h"

namespace AnalysisTest {
namespace {

using namespace UserInterface::Reports;
using UserInterface::Filters::AAccountSelection;
using UserInterface::Filters::ADatePeriod;
using UserInterface::Filters::ATransactionKindFlags;

class TurnoverBooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        books.Step([&] {
            card = books.AddAccount(u"Карта");
            deposit = books.AddAccount(u"Вклад");
            food = books.AddCategory(u"Продукты", books.expenseRoot);
            bread = books.AddCategory(u"Хлеб", food);
            salary = books.AddCategory(u"Зарплата", books.incomeRoot);
        });
        p.kind = AReportKind::Turnover;
        p.period = ADatePeriod(D(2024, 1, 1), D(2024, 1, 31), std::nullopt);
        p.currency = books.rur;
        p.accounts = AAccountSelection({books.cash, card});
        p.grouping = books.articles;
    }
    ATurnoverReport Compute() { return ComputeTurnover(books.db, books.strings, p); }
    // The node reached from the root by the names, or -1.
    static int Find(const ATurnoverReport& r, std::vector<std::u16string> path)
    {
        int node = r.root;
        for (const auto& name : path) {
            int next = -1;
            for (int child : r.nodes[static_cast<std::size_t>(node)].children)
                if (r.nodes[static_cast<std::size_t>(child)].name == name)
                    next = child;
            if (next < 0)
                return -1;
            node = next;
        }
        return node;
    }
    static const ATurnoverNode& Node(const ATurnoverReport& r, int index)
    {
        return r.nodes.at(static_cast<std::size_t>(index));
    }

    TBooks books;
    AReference<AAccount> card, deposit;
    AReference<ACategory> food, bread, salary;
    AReportParameters p;
};

TEST_F(TurnoverBooks, ValidationOrderPerKind)
{
    struct ACase {
        std::function<void(AReportParameters&)> change;
        std::optional<int> expected;
    } cases[] = {
        {[](AReportParameters&) {}, std::nullopt},
        {[](AReportParameters& q) { q.period = ADatePeriod(D(2024, 2, 1), D(2024, 1, 1), std::nullopt); q.currency = {}; },
         463},
        {[](AReportParameters& q) { q.currency = {}; q.accounts = {}; }, 464},
        {[](AReportParameters& q) { q.accounts = {}; q.kinds = {false, false, false, false}; }, 465},
        {[](AReportParameters& q) { q.kinds = {false, false, false, false}; q.grouping = {}; }, 466},
        {[](AReportParameters& q) { q.grouping = {}; }, 468},
        {[](AReportParameters& q) { q.kind = AReportKind::Dynamics; q.accounts = {}; q.grouping = {}; }, std::nullopt},
        {[](AReportParameters& q) { q.kind = AReportKind::Dynamics; q.currency = {}; }, 464},
        {[](AReportParameters& q) { q.kind = AReportKind::Balances; q.grouping = {}; q.kinds = {false, false, false, false}; },
         std::nullopt},
        {[](AReportParameters& q) { q.kind = AReportKind::Balances; q.accounts = {}; }, 465},
        {[](AReportParameters& q) { q.kind = AReportKind::Rates; q.currency = {}; }, 469},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        AReportParameters q = p;
        cases[i].change(q);
        EXPECT_EQ(ValidateReport(books.db, q), cases[i].expected) << "case " << i;
    }
}

TEST_F(TurnoverBooks, RatesNeedTwoDifferentCurrenciesWithAStoredRate)
{
    AReference<ACurrency> usd;
    books.Step([&] { usd = books.AddCurrency(u"USD"); });
    p.kind = AReportKind::Rates;
    p.rateCurrency = usd;
    p.rateInCurrency = usd;
    EXPECT_EQ(ValidateReport(books.db, p), 469);
    p.rateInCurrency = books.rur;
    EXPECT_EQ(ValidateReport(books.db, p), 470);
    books.Step([&] { books.AddRate(books.rur, usd, D(2030, 1, 1), M(90), M(1)); });
    EXPECT_EQ(ValidateReport(books.db, p), std::nullopt);  // either way round, any date
}

TEST_F(TurnoverBooks, SeparateTreesAreTheTopsAndSumsRollUp)
{
    books.Step([&] {
        books.Relate(books.Add(TBooks::Single(books.cash, -M(10), D(2024, 1, 5))), bread);
        books.Relate(books.Add(TBooks::Single(card, -M(5), D(2024, 1, 6))), food);
        books.Relate(books.Add(TBooks::Single(card, M(100), D(2024, 1, 7))), salary);
        books.Add(TBooks::Single(books.cash, -M(1), D(2024, 1, 8)));  // no category
        books.Add(TBooks::Single(books.cash, M(2), D(2024, 1, 8)));
        books.Add(TBooks::Single(books.cash, -M(1000), D(2024, 2, 1)));      // outside the period
        books.Add(TBooks::Planned(books.cash, -M(1000), D(2024, 1, 9)));
        books.Add(TBooks::Single(deposit, -M(1000), D(2024, 1, 9)));         // unticked account
    });
    const ATurnoverReport r = Compute();
    ASSERT_GE(r.root, 0);
    EXPECT_TRUE(r.resultRoot);
    EXPECT_EQ(Node(r, r.root).name, u"Финансовый результат");
    EXPECT_EQ(Node(r, r.root).income, M(102));
    EXPECT_EQ(Node(r, r.root).expense, -M(16));
    const int expenses = Find(r, {u"Все статьи расхода"});
    ASSERT_GE(expenses, 0);
    EXPECT_EQ(Node(r, expenses).expense, -M(16));
    EXPECT_EQ(Node(r, Find(r, {u"Все статьи расхода", u"Продукты"})).expense, -M(15));
    EXPECT_EQ(Node(r, Find(r, {u"Все статьи расхода", u"Продукты", u"Хлеб"})).expense, -M(10));
    EXPECT_EQ(Node(r, Find(r, {u"Все статьи расхода", u"Неизвестный расход"})).expense, -M(1));
    EXPECT_EQ(Node(r, Find(r, {u"Все статьи прихода", u"Неизвестный приход"})).income, M(2));
    // Zero nodes are gone: no transfer nodes, no empty categories.
    EXPECT_EQ(Node(r, Find(r, {u"Все статьи прихода"})).children.size(), 2u);

    // Shares: of the parent, and of the node's own top.
    const int breadNode = Find(r, {u"Все статьи расхода", u"Продукты", u"Хлеб"});
    EXPECT_DOUBLE_EQ(ShareOfParent(r, breadNode), 10.0 / 15.0);
    EXPECT_DOUBLE_EQ(ShareOfTotal(r, breadNode), 10.0 / 16.0);
    EXPECT_DOUBLE_EQ(ShareOfTotal(r, expenses), 1.0);
    EXPECT_DOUBLE_EQ(ShareOfParent(r, expenses), 16.0 / 118.0);
    EXPECT_DOUBLE_EQ(ShareOfParent(r, r.root), 1.0);
}

TEST_F(TurnoverBooks, ZeroAmountCountsAsExpenseAndKindFlagsSelect)
{
    books.Step([&] {
        books.Add(TBooks::Single(books.cash, 0, D(2024, 1, 5)));
        books.Add(TBooks::Single(books.cash, M(3), D(2024, 1, 5)));
        books.Add(TBooks::Single(books.cash, -M(4), D(2024, 1, 5)));
    });
    p.kinds = {true, false, true, true};
    ATurnoverReport r = Compute();
    EXPECT_EQ(Node(r, r.root).name, u"Все статьи прихода");  // income only: no "Финансовый результат"
    EXPECT_EQ(Node(r, r.root).income, M(3));
    p.kinds = {false, true, true, true};
    r = Compute();
    EXPECT_EQ(Node(r, r.root).expense, -M(4));
    // A zero expense alone leaves nothing to show.
    books.Step([&] { books.Add(TBooks::Single(card, 0, D(2024, 1, 20))); });
    p.accounts = AAccountSelection({card});
    EXPECT_EQ(Compute().root, -1);
}

TEST_F(TurnoverBooks, TransfersCountOnlyWithExactlyOneSelectedSide)
{
    books.Step([&] {
        books.Add(TBooks::Transfer(books.cash, M(50), card, M(50), D(2024, 1, 3)));   // both ticked
        books.Add(TBooks::Transfer(books.cash, M(20), deposit, M(20), D(2024, 1, 4))); // ticked to unticked
        books.Add(TBooks::Transfer(deposit, M(7), card, M(7), D(2024, 1, 5)));          // arriving
    });
    ATurnoverReport r = Compute();
    EXPECT_EQ(Node(r, Find(r, {u"Все статьи расхода", u"Перевод на счёт \"Вклад\""})).expense, -M(20));
    EXPECT_EQ(Node(r, Find(r, {u"Все статьи прихода", u"Перевод со счёта \"Вклад\""})).income, M(7));
    EXPECT_EQ(Find(r, {u"Все статьи расхода", u"Перевод на счёт \"Карта\""}), -1);
    EXPECT_EQ(Node(r, r.root).expense, -M(20));

    p.kinds = {true, true, true, false};  // "Списания переводом" off
    r = Compute();
    EXPECT_EQ(Node(r, r.root).name, u"Все статьи прихода");
    EXPECT_EQ(Node(r, r.root).income, M(7));
}

TEST_F(TurnoverBooks, TransferNodesFollowTheFolderTreeWhenTheFileUsesFolders)
{
    AReference<AAccount> savings;
    books.Step([&] {
        books.SetSettings([](ADBSettings& s) { s.accountFolders = 1; });
        const auto bank = books.AddFolder(u"Банк", books.plan);
        savings = books.AddAccount(u"Сбережения", {}, 0, bank);
        books.Add(TBooks::Transfer(books.cash, M(9), savings, M(9), D(2024, 1, 3)));
    });
    const ATurnoverReport r = Compute();
    EXPECT_EQ(Node(r, r.root).name, u"Все статьи расхода");
    const int folder = Find(r, {u"Банк"});
    ASSERT_GE(folder, 0);
    EXPECT_EQ(Node(r, folder).link, ATurnoverLink::Folder);
    EXPECT_EQ(Node(r, Find(r, {u"Банк", u"Перевод на счёт \"Сбережения\""})).expense, -M(9));
}

TEST_F(TurnoverBooks, SingleTreeClassifierGetsTwoTopsWithCopies)
{
    AReference<AClassifier> agents;
    books.Step([&] {
        const auto root = books.AddSingleClassifier(u"Агент", u"Агенты", &agents);
        const auto shop = books.AddCategory(u"Магазин", root);
        books.Relate(books.Add(TBooks::Single(books.cash, -M(6), D(2024, 1, 5))), shop);
        books.Relate(books.Add(TBooks::Single(books.cash, M(8), D(2024, 1, 5))), shop);
        books.Relate(books.Add(TBooks::Single(books.cash, M(1), D(2024, 1, 6))), root);
    });
    p.grouping = agents;
    const ATurnoverReport r = Compute();
    EXPECT_EQ(Node(r, Find(r, {u"Все поступления", u"Магазин"})).income, M(8));
    EXPECT_EQ(Node(r, Find(r, {u"Все списания", u"Магазин"})).expense, -M(6));
    EXPECT_EQ(Node(r, Find(r, {u"Все поступления"})).income, M(9));  // the root's own transaction
    EXPECT_EQ(Find(r, {u"Все поступления", u"Неизвестный приход"}), -1);
}

TEST_F(TurnoverBooks, AccountsWithoutConversionPathAreLeftOutWithAMessage)
{
    AReference<ACurrency> usd;
    AReference<AAccount> dollars, euros;
    books.Step([&] {
        usd = books.AddCurrency(u"USD");
        const auto eur = books.AddCurrency(u"EUR");
        dollars = books.AddAccount(u"Доллары", usd);
        euros = books.AddAccount(u"Евро", eur);
        books.AddRate(usd, books.rur, D(2024, 1, 1), M(1), M(90));
        books.AddRate(usd, books.rur, D(2024, 1, 10), M(1), M(100));
        books.Add(TBooks::Single(dollars, -M(2), D(2024, 1, 5)));   // 180 at the rate of its date
        books.Add(TBooks::Single(dollars, -M(1), D(2024, 1, 15)));  // 100
        books.Add(TBooks::Single(euros, -M(1), D(2024, 1, 15)));
    });
    p.accounts = AAccountSelection({dollars, euros});
    const ATurnoverReport r = Compute();
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].Format(books.strings),
              u"Счёт \"Евро - EUR\" не может быть включён в\r\nотчёт: не определён курс пересчёта валют \"EUR\"  и "
              u"\"RUR\".");
    EXPECT_EQ(Node(r, r.root).expense, -M(280));
}

TEST_F(TurnoverBooks, ClosedAccountsAreHiddenOnlyWithTheOption)
{
    books.Step([&] {
        books.db.Accounts().Change(books.db.Accounts().Get(card))->locked = 1;
        books.Add(TBooks::Single(card, -M(3), D(2024, 1, 5)));
    });
    EXPECT_EQ(Node(Compute(), Compute().root).expense, -M(3));
    EXPECT_EQ(ComputeTurnover(books.db, books.strings, p, {true}).root, -1);
}

TEST_F(TurnoverBooks, PageFiltersNarrowTheTransactions)
{
    books.Step([&] {
        const auto t = books.Add(TBooks::Single(books.cash, -M(10), D(2024, 1, 5)));
        books.Relate(t, food);
        ATransaction noted = TBooks::Single(books.cash, -M(4), D(2024, 1, 6));
        noted.comment = books.db.NewText(u"Подарок маме");
        books.Add(noted);
    });
    p.commentText = u"ПОДАРОК";
    EXPECT_EQ(Node(Compute(), Compute().root).expense, -M(4));
    p.commentText.clear();
    p.classifierFilters = {{books.articles, true, food}};
    EXPECT_EQ(Node(Compute(), Compute().root).expense, -M(10));
}

}  // namespace
}  // namespace AnalysisTest
