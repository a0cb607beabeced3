#include "RulesTestSupport.h"

#include <limits>

using namespace RulesTest;

namespace {

class Balances : public ::testing::Test {
protected:
    Balances()
    {
        books.Step([&] {
            account = books.AddAccount(u"Карта", books.rur, M(100));
            other = books.AddAccount(u"Вклад", books.rur, M(1000));
        });
    }
    std::uint64_t StampOf(AReference<ATransaction> t) { return books.Get(t).changeStamp; }

    TBooks books;
    AReference<AAccount> account, other;
    const ADate day = Dates::FromYmd(2024, 5, 10);
};

}  // namespace

TEST_F(Balances, IncomeExpenseThenAStatedBalanceThenIncome)
{
    AReference<ATransaction> plus50, minus30, stated, plus10;
    books.Step([&] {
        plus50 = books.Add(TBooks::Single(account, M(50), day));
        minus30 = books.Add(TBooks::Single(account, -M(30), day + 1));
    });
    EXPECT_EQ(books.Get(plus50).balance1, M(150));
    EXPECT_EQ(books.Get(minus30).balance1, M(120));
    books.Step([&] { stated = books.Add(TBooks::StatedBalance(account, M(200), day + 2)); });
    EXPECT_EQ(books.Get(stated).amount1, M(80));
    EXPECT_EQ(books.Get(stated).balance1, M(200));
    books.Step([&] { plus10 = books.Add(TBooks::Single(account, M(10), day + 3)); });
    EXPECT_EQ(books.Get(plus10).balance1, M(210));
    ExpectConsistentBalances(books.db);
}

TEST_F(Balances, AnEarlierInsertionShiftsEveryLaterBalanceAndOnlyThose)
{
    AReference<ATransaction> before, later1, later2, otherAccounts;
    books.Step([&] {
        before = books.Add(TBooks::Single(account, M(1), day - 5));
        later1 = books.Add(TBooks::Single(account, M(50), day));
        later2 = books.Add(TBooks::Single(account, -M(30), day + 1));
        otherAccounts = books.Add(TBooks::Single(other, M(7), day + 1));
    });
    const std::uint64_t untouchedStamp = StampOf(before);
    books.db.BeginStep();
    books.Add(TBooks::Single(account, M(5), day - 1));
    const ARecalculation result = ApplyRules(books.db);
    books.db.CommitStep();
    // The new one's own balance and the two after it.
    EXPECT_EQ(result.changedTransactions, 3u);
    EXPECT_EQ(books.Get(before).balance1, M(101));
    EXPECT_EQ(StampOf(before), untouchedStamp);
    EXPECT_EQ(books.Get(later1).balance1, M(156));
    EXPECT_EQ(books.Get(later2).balance1, M(126));
    EXPECT_EQ(books.Get(otherAccounts).balance1, M(1007));
    ExpectConsistentBalances(books.db);

    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(books.Get(later1).balance1, M(151));
    EXPECT_EQ(books.Get(later2).balance1, M(121));
}

TEST_F(Balances, PlannedTransactionsKeepTheirValuesAndDoNotCount)
{
    AReference<ATransaction> planned, after;
    books.Step([&] {
        ATransaction t = TBooks::Single(account, M(500), day);
        t.executed = 0;
        t.balance1 = M(12345);
        planned = books.Add(t);
        after = books.Add(TBooks::Single(account, M(1), day + 1));
    });
    EXPECT_EQ(books.Get(planned).balance1, M(12345));
    EXPECT_EQ(books.Get(after).balance1, M(101));

    // Executing it makes it count.
    books.Step([&] { books.db.Transactions().Change(books.SlotOf(planned))->executed = 1; });
    EXPECT_EQ(books.Get(planned).balance1, M(600));
    EXPECT_EQ(books.Get(after).balance1, M(601));
}

TEST_F(Balances, SameDayOrderIsTimeThenChangeStamp)
{
    AReference<ATransaction> evening, first, second;
    books.Step([&] {
        evening = books.Add(TBooks::Single(account, M(1000), day, 20 * 3600'000));
        first = books.Add(TBooks::Single(account, M(10), day, 9 * 3600'000));
        second = books.Add(TBooks::Single(account, M(20), day, 9 * 3600'000));
    });
    EXPECT_EQ(books.Get(first).balance1, M(110));
    EXPECT_EQ(books.Get(second).balance1, M(130));
    EXPECT_EQ(books.Get(evening).balance1, M(1130));

    // Editing the first one gives it a new stamp: it now comes after the second.
    books.Step([&] { books.db.Transactions().Change(books.SlotOf(first))->amount1 = M(11); });
    EXPECT_EQ(books.Get(second).balance1, M(120));
    EXPECT_EQ(books.Get(first).balance1, M(131));
    ExpectConsistentBalances(books.db);
}

// A rewritten balance used to give the transaction a new change stamp and so move it
// behind the others of its day, after the balances had been computed for the old order.
TEST_F(Balances, RecalculationKeepsEachTransactionsPlaceInItsDay)
{
    AReference<ATransaction> stated, plus10;
    books.Step([&] {
        stated = books.Add(TBooks::StatedBalance(account, M(200), day));
        plus10 = books.Add(TBooks::Single(account, M(10), day));
    });
    const std::uint64_t statedStamp = StampOf(stated);
    books.Step([&] { books.Add(TBooks::Single(account, M(5), day - 1)); });
    EXPECT_EQ(books.Get(stated).amount1, M(95));
    EXPECT_EQ(StampOf(stated), statedStamp);
    EXPECT_EQ(books.Get(plus10).balance1, M(210));
    ExpectConsistentBalances(books.db);
}

TEST_F(Balances, TransfersCarryTheBalanceOfEachSide)
{
    AReference<ATransaction> transfer;
    books.Step([&] { transfer = books.Add(TBooks::Transfer(other, M(300), account, M(300), day)); });
    EXPECT_EQ(books.Get(transfer).balance1, M(700));
    EXPECT_EQ(books.Get(transfer).balance2, M(400));

    // Both sides on one account: out, then in.
    AReference<ATransaction> toItself;
    books.Step([&] { toItself = books.Add(TBooks::Transfer(account, M(40), account, M(40), day + 1)); });
    EXPECT_EQ(books.Get(toItself).balance1, M(360));
    EXPECT_EQ(books.Get(toItself).balance2, M(400));
    ExpectConsistentBalances(books.db);
}

TEST_F(Balances, ATransferWithTheBalanceFlagIsStillATransfer)
{
    AReference<ATransaction> transfer;
    books.Step([&] {
        ATransaction t = TBooks::Transfer(other, M(300), account, M(300), day);
        t.balance = 1;
        transfer = books.Add(t);
    });
    EXPECT_EQ(books.Get(transfer).amount1, -M(300));
    EXPECT_EQ(books.Get(transfer).amount2, M(300));
    EXPECT_EQ(books.Get(transfer).balance2, M(400));
}

TEST_F(Balances, InitialBalanceChangesMovesAccountsAndDeletionsAreFollowed)
{
    AReference<ATransaction> a, b;
    books.Step([&] {
        a = books.Add(TBooks::Single(account, M(50), day));
        b = books.Add(TBooks::Single(account, M(25), day + 1));
    });
    books.Step([&] { books.db.Accounts().Change(books.SlotOf(account))->initialBalance = M(150); });
    EXPECT_EQ(books.Get(a).balance1, M(200));
    EXPECT_EQ(books.Get(b).balance1, M(225));

    // Moving the first one to the other account recalculates both accounts.
    books.Step([&] { books.db.Transactions().Change(books.SlotOf(a))->account1 = other; });
    EXPECT_EQ(books.Get(a).balance1, M(1050));
    EXPECT_EQ(books.Get(b).balance1, M(175));

    books.Step([&] { Delete(books.db, books.SlotOf(a)); });
    EXPECT_EQ(books.Get(b).balance1, M(175));
    ExpectConsistentBalances(books.db);
}

TEST_F(Balances, NothingToChangeMakesNoStep)
{
    AReference<ATransaction> t;
    books.Step([&] { t = books.Add(TBooks::Single(account, M(50), day)); });
    books.db.BeginStep();
    EXPECT_EQ(Recalculate(books.db, account).changedTransactions, 0u);
    books.db.CommitStep();
    // The first undo reverses the insertion: the recalculation left no step behind.
    ASSERT_TRUE(books.db.Undo());
    EXPECT_FALSE(books.Live(t));
}

TEST_F(Balances, ARunningBalanceBeyond64BitsIsReported)
{
    books.Step([&] { books.db.Accounts().Change(books.SlotOf(account))->initialBalance = std::numeric_limits<AMoney>::max() - 5; });
    books.db.BeginStep();
    const auto t = books.Add(TBooks::Single(account, 10, day));
    const ARecalculation result = ApplyRules(books.db);
    EXPECT_TRUE(result.overflowed);
    EXPECT_EQ(books.Get(t).balance1, std::numeric_limits<AMoney>::max());
    books.db.RollBack();
}

TEST_F(Balances, RecalculationNeedsAnOpenStep)
{
    TAssertionCounter assertions;
    Recalculate(books.db, account);
    EXPECT_EQ(assertions.failures, 1);
}

namespace {

// Units come in with executed income and go out with executed expenses; planned ones,
// transfers and balance corrections move none.
TEST_F(Balances, TheHeldQuantityCountsExecutedIncomeLessExecutedExpenses)
{
    const auto withQuantity = [](ATransaction t, AMoney quantity, bool executed = true) {
        t.quantity = quantity;
        t.executed = executed;
        return t;
    };
    books.Step([&] {
        books.Add(withQuantity(TBooks::Single(account, M(50), day), M(3)));
        books.Add(withQuantity(TBooks::Single(account, -M(20), day + 1), M(1)));
        books.Add(withQuantity(TBooks::Single(account, M(5), day + 2), M(7), false));
        books.Add(withQuantity(TBooks::Transfer(account, -M(1), other, M(1), day + 3), M(9)));
    });
    EXPECT_EQ(HeldQuantity(books.db, account), M(2));
}

}  // namespace
