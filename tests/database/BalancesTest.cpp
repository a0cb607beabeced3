#include "RulesTestSupport.h"

#include <limits>

using namespace RulesTest;

namespace {

using V = std::vector<AMoney>;

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
    AReference<ATransaction> AddOne(AReference<AAccount> to, AMoney amount, ADate date)
    {
        AReference<ATransaction> t;
        books.Step([&] { t = books.Add(TBooks::Single(to, amount, date)); });
        return t;
    }

    TBooks books;
    AReference<AAccount> account, other;
    const ADate day = Dates::FromYmd(2024, 5, 10);
};

}  // namespace

TEST_F(Balances, IncomeExpenseThenAStatedBalanceThenIncome)
{
    AReference<ATransaction> plus50, minus30, stated;
    books.Step([&] {
        plus50 = books.Add(TBooks::Single(account, M(50), day));
        minus30 = books.Add(TBooks::Single(account, -M(30), day + 1));
    });
    EXPECT_EQ(books.Balances({plus50, minus30}), (V{M(150), M(120)}));
    books.Step([&] { stated = books.Add(TBooks::StatedBalance(account, M(200), day + 2)); });
    EXPECT_EQ(books.Get(stated).amount1, M(80));
    EXPECT_EQ(books.Get(stated).balance1, M(200));
    EXPECT_EQ(books.Get(AddOne(account, M(10), day + 3)).balance1, M(210));
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
    EXPECT_EQ(books.Balances({before, later1, later2, otherAccounts}), (V{M(101), M(156), M(126), M(1007)}));
    EXPECT_EQ(StampOf(before), untouchedStamp);
    ExpectConsistentBalances(books.db);

    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(books.Balances({later1, later2}), (V{M(151), M(121)}));
}

TEST_F(Balances, PlannedTransactionsKeepTheirValuesAndDoNotCount)
{
    AReference<ATransaction> planned, after;
    books.Step([&] {
        ATransaction t = TBooks::Planned(account, M(500), day);
        t.balance1 = M(12345);
        planned = books.Add(t);
        after = books.Add(TBooks::Single(account, M(1), day + 1));
    });
    EXPECT_EQ(books.Balances({planned, after}), (V{M(12345), M(101)}));
    // Executing it makes it count.
    books.Step([&] { books.db.Transactions().Change(books.SlotOf(planned))->executed = 1; });
    EXPECT_EQ(books.Balances({planned, after}), (V{M(600), M(601)}));
}

TEST_F(Balances, SameDayOrderIsTimeThenChangeStamp)
{
    AReference<ATransaction> evening, first, second;
    books.Step([&] {
        evening = books.Add(TBooks::Single(account, M(1000), day, 20 * 3600'000));
        first = books.Add(TBooks::Single(account, M(10), day, 9 * 3600'000));
        second = books.Add(TBooks::Single(account, M(20), day, 9 * 3600'000));
    });
    EXPECT_EQ(books.Balances({first, second, evening}), (V{M(110), M(130), M(1130)}));
    // Editing the first one gives it a new stamp: it now comes after the second.
    books.Step([&] { books.db.Transactions().Change(books.SlotOf(first))->amount1 = M(11); });
    EXPECT_EQ(books.Balances({second, first}), (V{M(120), M(131)}));
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
    AddOne(account, M(5), day - 1);
    EXPECT_EQ(books.Get(stated).amount1, M(95));
    EXPECT_EQ(StampOf(stated), statedStamp);
    EXPECT_EQ(books.Get(plus10).balance1, M(210));
    ExpectConsistentBalances(books.db);
}

// Each side carries its own balance, also when both sides are one account (out, then in)
// and when a foreign file set the balance flag on a transfer.
TEST_F(Balances, TransfersCarryTheBalanceOfEachSide)
{
    AReference<ATransaction> transfer, toItself, flagged;
    books.Step([&] { transfer = books.Add(TBooks::Transfer(other, M(300), account, M(300), day)); });
    EXPECT_EQ(books.Get(transfer).balance1, M(700));
    EXPECT_EQ(books.Get(transfer).balance2, M(400));
    books.Step([&] { toItself = books.Add(TBooks::Transfer(account, M(40), account, M(40), day + 1)); });
    EXPECT_EQ(books.Get(toItself).balance1, M(360));
    EXPECT_EQ(books.Get(toItself).balance2, M(400));
    books.Step([&] {
        ATransaction t = TBooks::Transfer(other, M(5), account, M(5), day + 2);
        t.balance = 1;
        flagged = books.Add(t);
    });
    EXPECT_EQ(books.Get(flagged).amount1, -M(5));
    EXPECT_EQ(books.Get(flagged).amount2, M(5));
    EXPECT_EQ(books.Get(flagged).balance2, M(405));
    ExpectConsistentBalances(books.db);
}

TEST_F(Balances, InitialBalanceChangesMovesAccountsAndDeletionsAreFollowed)
{
    AReference<ATransaction> a, b;
    books.Step([&] {
        a = books.Add(TBooks::Single(account, M(50), day));
        b = books.Add(TBooks::Single(account, M(25), day + 1));
    });
    books.Step([&] { books.db.Accounts().Change(books.SlotOf(account))->initialBalance = M(150); });
    EXPECT_EQ(books.Balances({a, b}), (V{M(200), M(225)}));
    // Moving the first one to the other account recalculates both accounts.
    books.Step([&] { books.db.Transactions().Change(books.SlotOf(a))->account1 = other; });
    EXPECT_EQ(books.Balances({a, b}), (V{M(1050), M(175)}));
    books.Step([&] { Delete(books.db, books.SlotOf(a)); });
    EXPECT_EQ(books.Get(b).balance1, M(175));
    ExpectConsistentBalances(books.db);
}

TEST_F(Balances, NothingToChangeMakesNoStepAndRecalculationNeedsAnOpenStep)
{
    const auto t = AddOne(account, M(50), day);
    books.db.BeginStep();
    EXPECT_EQ(Recalculate(books.db, account).changedTransactions, 0u);
    books.db.CommitStep();
    // The first undo reverses the insertion: the recalculation left no step behind.
    ASSERT_TRUE(books.db.Undo());
    EXPECT_FALSE(books.Live(t));

    TAssertionCounter assertions;
    Recalculate(books.db, account);
    EXPECT_EQ(assertions.failures, 1);
}

TEST_F(Balances, ARunningBalanceBeyond64BitsIsReported)
{
    books.Step([&] { books.db.Accounts().Change(books.SlotOf(account))->initialBalance = std::numeric_limits<AMoney>::max() - 5; });
    books.db.BeginStep();
    const auto t = books.Add(TBooks::Single(account, 10, day));
    EXPECT_TRUE(ApplyRules(books.db).overflowed);
    EXPECT_EQ(books.Get(t).balance1, std::numeric_limits<AMoney>::max());
    books.db.RollBack();
}

// Units come in with executed income and go out with executed expenses; planned ones,
// transfers and balance corrections move none.
TEST_F(Balances, TheHeldQuantityCountsExecutedIncomeLessExecutedExpenses)
{
    const auto withQuantity = [](ATransaction t, AMoney quantity) {
        t.quantity = quantity;
        return t;
    };
    books.Step([&] {
        books.Add(withQuantity(TBooks::Single(account, M(50), day), M(3)));
        books.Add(withQuantity(TBooks::Single(account, -M(20), day + 1), M(1)));
        books.Add(withQuantity(TBooks::Planned(account, M(5), day + 2), M(7)));
        books.Add(withQuantity(TBooks::Transfer(account, -M(1), other, M(1), day + 3), M(9)));
    });
    EXPECT_EQ(HeldQuantity(books.db, account), M(2));
}
