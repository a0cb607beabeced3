#include "RulesTestSupport.h"

#include "database/Recurrence.h"
#include "database/TransactionCommands.h"

#include <functional>
#include <tuple>

using namespace RulesTest;
using Dates::FromYmd;

namespace {

class TransactionCommands : public TBooks, public ::testing::Test {
protected:
    TransactionCommands()
    {
        Step([&] {
            savings = AddAccount(u"Копилка", rur);
            food = AddClassification().food;
            lunch = Add(Single(cash, -M(300), FromYmd(2025, 3, 1)));
            Relate(lunch, food);
            salary = Add(Single(cash, M(1000), FromYmd(2025, 3, 2)));
            rent = Add(Planned(savings, -M(50), FromYmd(2025, 3, 5)));
            ATransaction monthly = Planned(cash, -M(20), FromYmd(2025, 3, 10));
            Recurrence::ARule rule;
            rule.active = true;
            rule.kind = static_cast<std::uint8_t>(Recurrence::AKind::Monthly);
            rule.interval = 1;
            rule.dayOfMonth = 10;
            monthly.recurrence = rule.Word();
            monthly.recurrenceCount = rule.CountWord();
            phone = Add(monthly);
            future = Add(Planned(cash, -M(5), FromYmd(2025, 4, 20)));
        });
    }
    ATransactionSlots Slots(std::initializer_list<AReference<ATransaction>> refs)
    {
        ATransactionSlots slots;
        for (auto ref : refs)
            slots.push_back(SlotOf(ref));
        return slots;
    }
    // Everything the commands may touch, to compare before and after an undo.
    using ARow = std::tuple<std::uint32_t, ADate, std::int32_t, std::uint8_t, std::uint8_t, AMoney, AMoney,
                            std::uint64_t, std::uint32_t>;
    std::pair<std::vector<ARow>, std::vector<std::pair<std::uint32_t, std::uint32_t>>> Snapshot()
    {
        std::vector<ARow> rows;
        for (const auto* slot : db.Transactions().IndexAt(3)) {
            const ATransaction& t = slot->Record();
            rows.emplace_back(slot->id, t.date, t.time, t.executed, t.locked, t.amount1, t.balance1, t.changeStamp,
                              t.recurrence);
        }
        std::vector<std::pair<std::uint32_t, std::uint32_t>> relations;
        for (const auto* slot : db.Relations().Live())
            relations.emplace_back(slot->Record().category.Word(), slot->Record().transaction.Word());
        return {rows, relations};
    }

    AReference<AAccount> savings;
    AReference<ACategory> food;
    AReference<ATransaction> lunch, salary, rent, phone, future;
};

TEST_F(TransactionCommands, DeletingTwoExecutedTransactionsOfOneAccountRecalculatesItOnce)
{
    const auto accounts = DeleteTransactions(db, Slots({lunch, salary, rent}), u"Удалить операции");
    EXPECT_EQ(accounts, std::vector{cash});  // the planned one of the savings account carries no balance
    for (auto ref : {lunch, salary, rent})
        EXPECT_FALSE(Live(ref));
    for (const auto* relation : db.Relations().Live())
        EXPECT_NE(relation->Record().transaction, lunch);
    EXPECT_EQ(db.UndoLabel(), u"Удалить операции");
    ExpectConsistentBalances(db);
}

TEST_F(TransactionCommands, LockingKeepsTheDayOrderAndSkipsWhatIsAlreadySo)
{
    const auto before = Snapshot().first;
    EXPECT_TRUE(SetTransactionsLocked(db, Slots({lunch, salary}), true, u"Заблокировать"));
    EXPECT_TRUE(AnyLocked(Slots({salary})));
    EXPECT_FALSE(SetTransactionsLocked(db, Slots({lunch, salary}), true, u"Заблокировать"));
    const auto after = Snapshot().first;
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(std::get<0>(after[i]), std::get<0>(before[i]));
        EXPECT_EQ(std::get<7>(after[i]), std::get<7>(before[i])) << "a new stamp would move it within its day";
    }
    EXPECT_TRUE(SetTransactionsLocked(db, Slots({salary}), false, u"Разблокировать"));
    EXPECT_FALSE(Get(salary).locked);
    EXPECT_TRUE(Get(lunch).locked);
}

TEST_F(TransactionCommands, ExecutingARecurringPlannedTransactionMakesTheNextOne)
{
    const std::size_t before = db.Transactions().Live().size();
    EXPECT_EQ(ExecutePlanned(db, Slots({salary, phone}), u"Выполнить операцию"), 1u);
    EXPECT_TRUE(Get(phone).executed);
    ASSERT_EQ(db.Transactions().Live().size(), before + 1);
    const auto made = std::find_if(db.Transactions().Live().begin(), db.Transactions().Live().end(),
                                    [](const auto* slot) { return slot->Record().date == FromYmd(2025, 4, 10); });
    ASSERT_NE(made, db.Transactions().Live().end());
    EXPECT_FALSE((*made)->Record().executed);
    EXPECT_EQ((*made)->Record().amount1, -M(20));
    EXPECT_EQ(Get(phone).balance1, M(1000) - M(300) - M(20));
    ExpectConsistentBalances(db);
}

TEST_F(TransactionCommands, DuePlannedTransactionsAreThoseWhoseDayHasCome)
{
    struct ACase {
        ADate today;
        std::vector<AReference<ATransaction>> due;
    };
    for (const ACase& c : {ACase{FromYmd(2025, 3, 4), {}}, ACase{FromYmd(2025, 3, 5), {rent}},
                           ACase{FromYmd(2025, 4, 30), {rent, phone, future}}}) {
        std::vector<AReference<ATransaction>> due;
        for (auto* slot : DuePlanned(db, c.today))
            due.push_back(ATableImpl<ATransaction>::RefTo(slot));
        EXPECT_EQ(due, c.due) << c.today;
    }
    ASSERT_TRUE(SetTransactionsLocked(db, Slots({rent}), true, u"Заблокировать"));
    EXPECT_TRUE(DuePlanned(db, FromYmd(2025, 3, 5)).empty()) << "a locked one is not executed by itself";
}

TEST_F(TransactionCommands, UndoOfEveryCommandRestoresTheRecordsExactly)
{
    const std::vector<std::function<void()>> commands = {
        [&] { DeleteTransactions(db, Slots({lunch, phone}), u"Удалить операции"); },
        [&] { SetTransactionsLocked(db, Slots({lunch, rent}), true, u"Заблокировать"); },
        [&] { ExecutePlanned(db, Slots({rent, phone, future}), u"Выполнить выбранные операции"); },
    };
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const auto before = Snapshot();
        commands[i]();
        EXPECT_NE(Snapshot(), before) << "command " << i;
        ASSERT_TRUE(db.Undo());
        EXPECT_EQ(Snapshot(), before) << "command " << i;
    }
}

}  // namespace
