// Random small books: the turnover root against a brute-force sum over the filtered
// transactions, and the end of the executed balance line against the stored balances.
#include "AnalysisBooks.h"

#include "analysis/BalanceLines.h"
#include "analysis/Turnover.h"

#include <random>

namespace AnalysisTest {
namespace {

using namespace UserInterface::Reports;
using UserInterface::Filters::AAccountSelection;
using UserInterface::Filters::ADatePeriod;

constexpr AMoney kRate = 90;  // one dollar is worth 90 roubles, on every date

struct ARandomBooks {
    TBooks books;
    std::vector<AReference<AAccount>> accounts;  // the last one is in dollars
    std::vector<AReference<ACategory>> incomeCategories, expenseCategories;

    explicit ARandomBooks(std::mt19937& random)
    {
        books.Step([&] {
            const auto usd = books.AddCurrency(u"USD");
            books.AddRate(usd, books.rur, D(2024, 6, 1), M(1), M(kRate));
            accounts = {books.cash, books.AddAccount(u"Карта", {}, M(50)), books.AddAccount(u"Вклад", {}, M(500)),
                        books.AddAccount(u"Доллары", usd, M(7))};
            incomeCategories = {books.incomeRoot, books.AddCategory(u"Зарплата", books.incomeRoot)};
            expenseCategories = {books.expenseRoot, books.AddCategory(u"Еда", books.expenseRoot)};
            expenseCategories.push_back(books.AddCategory(u"Хлеб", expenseCategories[1]));
        });
        books.Step([&] {
            for (int i = 0; i < 60; ++i)
                AddRandomTransaction(random);
        });
    }

    void AddRandomTransaction(std::mt19937& random)
    {
        auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
        const ADate date = D(2024, 1, 1) + static_cast<ADate>(pick(366));
        const AMoney amount = static_cast<AMoney>(pick(2001)) * 100 - 100'000;  // -10.00..10.00, zero included
        const std::size_t index = pick(accounts.size());
        const auto account = accounts[index];
        ATransaction t;
        switch (pick(5)) {
        case 0: {
            const auto other = accounts[(index + 1 + pick(accounts.size() - 1)) % accounts.size()];
            const AMoney moved = amount < 0 ? -amount : amount;
            t = TBooks::Transfer(account, moved, other, moved, date);
            break;
        }
        case 1: t = TBooks::StatedBalance(account, static_cast<AMoney>(pick(1000)) * 10'000, date); break;
        default: t = TBooks::Single(account, amount, date);
        }
        t.executed = pick(6) != 0;
        t.time = static_cast<std::int32_t>(pick(24)) * 3'600'000;
        const auto ref = books.Add(t);
        if (t.account2.IsNull() && !t.balance && pick(3) != 0) {
            const auto& tree = amount > 0 ? incomeCategories : expenseCategories;
            books.Relate(ref, tree[pick(tree.size())]);
        }
    }

    AMoney InRoubles(AReference<AAccount> account, AMoney amount) const
    {
        return account == accounts.back() ? amount * kRate : amount;
    }
};

TEST(ReportCrossCheck, TurnoverRootEqualsABruteForceSum)
{
    std::mt19937 random(20240515);
    for (int round = 0; round < 40; ++round) {
        ARandomBooks books(random);
        AReportParameters p;
        const ADate start = D(2024, 1, 1) + static_cast<ADate>(random() % 200);
        p.period = ADatePeriod(start, start + static_cast<ADate>(random() % 200), std::nullopt);
        p.currency = books.books.rur;
        p.grouping = books.books.articles;
        std::vector<AReference<AAccount>> ticked;
        for (auto account : books.accounts)
            if (random() % 2)
                ticked.push_back(account);
        if (ticked.empty())
            ticked.push_back(books.accounts[0]);
        p.accounts = AAccountSelection(ticked);
        p.kinds = {random() % 2 != 0, random() % 2 != 0, random() % 2 != 0, random() % 2 != 0};

        AMoney income = 0, expense = 0;
        for (const auto* slot : books.books.db.Transactions().Live()) {
            const ATransaction& t = slot->Record();
            if (!t.executed || t.date < p.period.Start() || t.date > p.period.End())
                continue;
            const bool first = p.accounts.Contains(t.account1);
            if (t.account2.IsNull()) {
                if (!first)
                    continue;
                if (t.amount1 > 0 && p.kinds.income)
                    income += books.InRoubles(t.account1, t.amount1);
                if (t.amount1 <= 0 && p.kinds.expense)
                    expense += books.InRoubles(t.account1, t.amount1);
                continue;
            }
            const bool second = p.accounts.Contains(t.account2);
            if (first == second)
                continue;
            const auto side = first ? t.account1 : t.account2;
            const AMoney amount = first ? t.amount1 : t.amount2;
            if (amount > 0 && p.kinds.transferCredits)
                income += books.InRoubles(side, amount);
            if (amount < 0 && p.kinds.transferDebits)
                expense += books.InRoubles(side, amount);
        }

        const ATurnoverReport r = ComputeTurnover(books.books.db, books.books.strings, p);
        ASSERT_TRUE(r.messages.empty());
        if (r.root < 0) {
            EXPECT_EQ(income, 0) << round;
            EXPECT_EQ(expense, 0) << round;
            continue;
        }
        const ATurnoverNode& root = r.nodes[static_cast<std::size_t>(r.root)];
        EXPECT_EQ(root.income, income) << round;
        EXPECT_EQ(root.expense, expense) << round;
        EXPECT_EQ(r.resultRoot, income != 0 && expense != 0) << round;
    }
}

TEST(ReportCrossCheck, ExecutedBalanceLineEndsOnTheStoredBalances)
{
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        ARandomBooks books(random);
        AReportParameters p;
        p.kind = AReportKind::Balances;
        const ADate start = D(2024, 1, 1) + static_cast<ADate>(random() % 300);
        p.period = ADatePeriod(start, start + static_cast<ADate>(random() % 100), std::nullopt);
        p.currency = books.books.rur;
        std::vector<AReference<AAccount>> ticked;
        for (auto account : books.accounts)
            if (random() % 2)
                ticked.push_back(account);
        if (ticked.empty())
            ticked.push_back(books.accounts.back());
        p.accounts = AAccountSelection(ticked);

        // The stored balance of each ticked account at the end: the side balance of its last
        // executed transaction up to then, in the order of index 3, or its initial balance.
        AMoney expected = 0;
        for (auto account : ticked) {
            AMoney balance = books.books.db.Accounts().Record(account)->initialBalance;
            for (const auto* slot : books.books.db.Transactions().IndexAt(3)) {
                const ATransaction& t = slot->Record();
                if (!t.executed || t.date > p.period.End())
                    continue;
                if (t.account1 == account)
                    balance = t.balance1;
                if (t.account2 == account)
                    balance = t.balance2;
            }
            expected += books.InRoubles(account, balance);
        }
        const ABalanceReport r = ComputeBalances(books.books.db, p);
        ASSERT_FALSE(r.executed.points.empty());
        EXPECT_EQ(r.executed.points.back().value, expected) << round;
        EXPECT_EQ(r.failures, 0u);
    }
}

}  // namespace
}  // namespace AnalysisTest
