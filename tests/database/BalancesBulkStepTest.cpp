// Steps that touch many transactions of many accounts at once (an import, a deletion
// with its clean-up): every touched account is recalculated once over what the step
// gathered, and the balances must equal a recomputation from scratch.
#include "RulesTestSupport.h"

#include <random>
#include <set>

using namespace RulesTest;

namespace {

class BalancesOfBulkSteps : public ::testing::Test {
protected:
    BalancesOfBulkSteps()
    {
        books.Step([&] {
            for (int i = 0; i < 5; ++i)
                accounts.push_back(books.AddAccount(u"Счёт " + std::u16string(1, static_cast<char16_t>(u'А' + i)),
                                                    books.rur, M(100 * i)));
        });
    }

    TBooks books;
    std::vector<AReference<AAccount>> accounts;
    const ADate day = Dates::FromYmd(2024, 5, 10);
};

}  // namespace

// Recalculating the first account rewrites the side-1 balances of committed transfers;
// the second account must still find those transfers in its own walk.
TEST_F(BalancesOfBulkSteps, TransfersRewrittenForOneAccountAreStillRecalculatedForTheOther)
{
    const AReference<AAccount> a = accounts[1], b = accounts[2];
    std::vector<AReference<ATransaction>> transfers;
    books.Step([&] {
        for (int i = 0; i < 4; ++i)
            transfers.push_back(books.Add(TBooks::Transfer(a, M(10), b, M(10), day + 2 + i)));
    });
    for (const bool aFirst : {true, false}) {
        books.Step([&] {
            // Which account the step names first decides which is recalculated first.
            const AReference<AAccount> first = aFirst ? a : b, second = aFirst ? b : a;
            books.Add(TBooks::Single(first, M(7), day));
            books.Add(TBooks::Single(second, -M(3), day + 1));
        });
        ExpectConsistentBalances(books.db, aFirst ? "a first" : "b first");
    }
    EXPECT_EQ(books.Get(transfers.back()).balance1, M(100) + M(7) - M(3) - M(40));
    EXPECT_EQ(books.Get(transfers.back()).balance2, M(200) + M(7) - M(3) + M(40));
}

// Random edits, one to many per step, always leave the stored balances equal to a
// recomputation from scratch; so do undoing and redoing them all.
TEST_F(BalancesOfBulkSteps, RandomEditsAgreeWithARecomputationFromScratch)
{
    for (const int editsPerStep : {1, 4, 60}) {
        std::mt19937 random(static_cast<unsigned>(editsPerStep));
        std::vector<AReference<AAccount>> all = accounts;
        all.push_back(books.cash);
        auto pick = [&](const auto& list) { return list[random() % list.size()]; };
        std::vector<AReference<ATransaction>> live;
        int steps = 0;
        for (int step = 0, stepCount = editsPerStep == 1 ? 200 : 40; step < stepCount; ++step) {
            books.db.BeginStep();
            // A record is changed or deleted once per step.
            std::set<AReference<ATransaction>> touched;
            std::set<AReference<AAccount>> changedAccounts;
            for (int edit = 0; edit < editsPerStep; ++edit) {
                const int what = static_cast<int>(random() % 12);
                const ADate date = day + static_cast<ADate>(random() % 10);
                const AMoney amount = M(static_cast<std::int64_t>(random() % 200)) - M(100);
                if (what < 5 || live.empty()) {
                    ATransaction t = TBooks::Single(pick(all), amount, date, static_cast<std::int32_t>(random() % 3) * 1000);
                    if (what == 1)
                        t = TBooks::StatedBalance(pick(all), amount, date);
                    if (what == 2)
                        t = TBooks::Transfer(pick(all), amount, pick(all), amount, date);  // maybe to itself
                    t.executed = random() % 6 != 0;
                    live.push_back(books.Add(t));
                    touched.insert(live.back());
                    continue;
                }
                const std::size_t k = random() % live.size();
                if (!touched.insert(live[k]).second)
                    continue;
                if (what < 9) {
                    ATransaction* t = books.db.Transactions().Change(books.SlotOf(live[k]));
                    t->amount1 += M(3);
                    t->date = date;
                    if (what == 6)
                        t->account1 = pick(all);
                    if (what == 7)
                        t->executed = !t->executed;
                    if (what == 8 && t->account2)
                        t->account2 = pick(all);
                } else if (what < 11) {
                    Delete(books.db, books.SlotOf(live[k]));
                    live.erase(live.begin() + static_cast<std::ptrdiff_t>(k));
                } else {
                    const AReference<AAccount> account = pick(all);
                    if (changedAccounts.insert(account).second)
                        books.db.Accounts().Change(books.SlotOf(account))->initialBalance += amount;
                }
            }
            const auto named = AccountsTouchedByStep(books.db);
            EXPECT_EQ(std::set<AReference<AAccount>>(named.begin(), named.end()).size(), named.size()) << "listed twice";
            CommitWithRules(books.db);
            ++steps;
            ExpectConsistentBalances(books.db, std::to_string(editsPerStep) + " edits, step " + std::to_string(step));
            if (HasFailure())
                return;
        }
        for (int i = 0; i < steps; ++i)
            ASSERT_TRUE(books.db.Undo());
        ExpectConsistentBalances(books.db, "undone");
        while (books.db.Redo()) {
        }
        ExpectConsistentBalances(books.db, "redone");
    }
}
