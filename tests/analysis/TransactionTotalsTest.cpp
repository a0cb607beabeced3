#include "AnalysisBooks.h"

#include "analysis/TransactionTotals.h"

namespace AnalysisTest {
namespace {

using namespace UserInterface::Filters;

// The balance at the end of a day follows the executed transactions of that day and before,
// on either side of a transfer; planned ones never count, executed ones dated later do only
// for the later days. The last day of all gives the file's current balance.
TEST(BalanceAtEndOf, FollowsExecutedTransactionsOnBothSidesUpToTheDay)
{
    TBooks books;
    AReference<AAccount> card, wallet;
    books.Step([&] {
        card = books.AddAccount(u"Карта", {}, M(40));
        wallet = books.AddAccount(u"Кошелёк", {}, M(100));
        books.Add(TBooks::Single(wallet, M(10), D(2024, 5, 1)));
        ATransaction transfer = TBooks::Single(wallet, -M(30), D(2024, 5, 10));
        transfer.account2 = card;
        transfer.amount2 = M(30);
        books.Add(transfer);
        books.Add(TBooks::Planned(wallet, -M(7), D(2024, 5, 12)));
        books.Add(TBooks::Single(card, M(5), D(2024, 6, 1)));  // executed ahead of its day
    });
    struct {
        AReference<AAccount> account;
        ADate date;
        AMoney balance;
    } const cases[] = {
        {wallet, D(2024, 4, 30), M(100)}, {wallet, D(2024, 5, 1), M(110)}, {wallet, D(2024, 5, 10), M(80)},
        {wallet, D(2024, 5, 31), M(80)},  {wallet, Dates::kMaxDate, M(80)}, {card, D(2024, 5, 9), M(40)},
        {card, D(2024, 5, 10), M(70)},    {card, D(2024, 5, 31), M(70)},    {card, Dates::kMaxDate, M(75)},
        {{}, Dates::kMaxDate, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BalanceAtEndOf(books.db, c.account, c.date), c.balance) << c.date;
}

}  // namespace
}  // namespace AnalysisTest
