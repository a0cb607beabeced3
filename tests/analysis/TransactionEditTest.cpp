#include "AnalysisBooks.h"

#include "analysis/TransactionEdit.h"

namespace AnalysisTest {
namespace {

using namespace UserInterface::Transactions;

TEST(TransactionAmounts, TheComputedFieldFollowsTheOtherTwo)
{
    using R = ARateItem;
    const std::optional<AMoney> none;
    const struct {
        AAmountMode mode;
        int computed;
        AThreeRows rows;
        AComputed expected;
    } cases[] = {
        // USD debit 10, RUR credit 300: rate 30 with item 1; 300 and 10 give item 0.
        {AAmountMode::Transfer, 3, {M(10), M(300), none, R::DebitPerCredit}, {M(30), R::CreditPerDebit}},
        {AAmountMode::Transfer, 3, {M(300), M(10), none, R::CreditPerDebit}, {M(30), R::DebitPerCredit}},
        {AAmountMode::Transfer, 3, {M(0), M(10), none}, {M(1), std::nullopt}},
        {AAmountMode::Transfer, 2, {M(20), none, M(30), R::CreditPerDebit}, {M(600), std::nullopt}},
        {AAmountMode::Transfer, 2, {M(20), none, M(4), R::DebitPerCredit}, {M(5), std::nullopt}},
        {AAmountMode::Transfer, 1, {none, M(600), M(30), R::CreditPerDebit}, {M(20), std::nullopt}},
        {AAmountMode::Transfer, 1, {none, M(5), M(4), R::DebitPerCredit}, {M(20), std::nullopt}},
        // Price 12.5 × quantity 3.
        {AAmountMode::Expense, 1, {none, 125000, M(3)}, {375000, std::nullopt}},
        {AAmountMode::Income, 2, {M(30), none, M(4)}, {75000, std::nullopt}},
        {AAmountMode::Income, 3, {M(30), M(0), none}, {0, std::nullopt}},
        // A field that is not a number: 0, or 1.0000 for the rate.
        {AAmountMode::Expense, 1, {none, none, M(3)}, {0, std::nullopt}},
        {AAmountMode::Transfer, 3, {none, M(3), none}, {M(1), std::nullopt}},
        // The product keeps 128 bits: too large an amount is 0, not a wrapped number.
        {AAmountMode::Expense, 1, {none, INT64_MAX / 2, M(3)}, {0, std::nullopt}},
    };
    for (const auto& c : cases) {
        const AComputed got = Recompute(c.mode, c.computed, c.rows);
        EXPECT_EQ(got.value, c.expected.value) << "field " << c.computed;
        EXPECT_EQ(got.item, c.expected.item) << "field " << c.computed;
    }
    EXPECT_EQ(RateOfAmounts(-M(10), M(300))->value, M(30));
    EXPECT_EQ(RateOfAmounts(-M(10), M(300))->item, R::CreditPerDebit);
    EXPECT_FALSE(RateOfAmounts(0, M(1)));
}

class TransactionEdit : public ::testing::Test, public TBooks {
protected:
    TransactionEdit()
    {
        Step([&] {
            card = AddAccount(u"Карта");
            bank = AddFolder(u"Банк", plan);
        });
    }
    ATransactionInput Input(AAmountMode mode, std::optional<AMoney> amount)
    {
        ATransactionInput in;
        in.type = mode;
        in.state = AState::Executed;
        in.date = D(2024, 5, 1);
        in.fields[0] = {true, false, amount};
        in.categories.assign(db.Classifiers().LiveCount(), AReference<ACategory>());
        return in;
    }
    const ATransaction& Last() { return db.Transactions().Live().back()->Record(); }

    AReference<AAccount> card;
    AReference<AAccountFolder> bank;
};

TEST_F(TransactionEdit, ChecksInTheirOrderWithTheControlToFocus)
{
    const auto with = [&](ATransactionInput in, auto change) {
        change(in);
        return CheckInput(db, in);
    };
    using F = AFocus;
    const auto income = Input(AAmountMode::Income, M(100));
    const auto transfer = Input(AAmountMode::Transfer, M(100));
    EXPECT_EQ(CheckInput(db, income), (AInputFailure{444, F::Receiving, {}}));
    EXPECT_EQ(with(income, [&](auto& in) { in.receiving.folder = bank; }), (AInputFailure{443, F::Receiving, u"Банк"}));
    EXPECT_EQ(with(income, [&](auto& in) { in.receiving.account = cash; }), std::nullopt);
    EXPECT_EQ(with(income, [&](auto& in) { in.receiving.account = cash, in.fields[0].value = 0; }),
              (AInputFailure{453, F::Field0, {}}));
    EXPECT_EQ(with(Input(AAmountMode::Expense, M(1)), [](auto&) {}), (AInputFailure{445, F::Giving, {}}));
    // The giving side is checked first.
    EXPECT_EQ(CheckInput(db, transfer), (AInputFailure{447, F::Giving, {}}));
    EXPECT_EQ(with(transfer, [&](auto& in) { in.giving.account = cash; }), (AInputFailure{446, F::Receiving, {}}));
    EXPECT_EQ(with(transfer, [&](auto& in) { in.giving.account = in.receiving.account = cash; }),
              (AInputFailure{448, F::Receiving, {}}));
    EXPECT_EQ(with(transfer, [&](auto& in) { in.giving.account = cash, in.receiving.differs = true; }), std::nullopt);
    EXPECT_EQ(with(transfer,
                   [&](auto& in) {
                       in.giving.account = cash, in.receiving.account = card, in.fields[0].shown = false;
                       in.fields[1] = in.fields[2] = {true, false, M(1)};
                       in.fields[3] = {true, false, std::nullopt};
                   }),
              (AInputFailure{452, F::Field3, {}}));
    for (AMoney balance : {AMoney(0), -M(5)})
        EXPECT_EQ(with(Input(AAmountMode::Balance, balance), [&](auto& in) { in.giving.account = cash; }), std::nullopt);
    // Changing transactions of several types without choosing one skips the account and amount checks.
    EXPECT_EQ(with(income, [](auto& in) { in.type.reset(); }), std::nullopt);
}

TEST_F(TransactionEdit, RecordsAsTheTypeStoresThem)
{
    auto transfer = Input(AAmountMode::Transfer, M(250));
    transfer.giving.account = cash;
    transfer.receiving.account = card;
    transfer.comment = u"В банк";
    ASSERT_TRUE(AddTransaction(db, transfer, u"Добавить операцию"));
    EXPECT_EQ(db.UndoLabel(), u"Добавить операцию");
    EXPECT_EQ(Last().account1, cash);
    EXPECT_EQ(Last().amount1, -M(250));
    EXPECT_EQ(Last().account2, card);
    EXPECT_EQ(Last().amount2, M(250));
    EXPECT_EQ(Last().balance2, M(250));
    EXPECT_EQ(db.Text(Last().comment), u"В банк");

    auto expense = Input(AAmountMode::Expense, std::nullopt);
    expense.giving.account = card;
    expense.threeRows = true;
    expense.fields[1] = {true, false, 375000};
    expense.fields[3] = {true, false, M(3)};
    expense.categories[0] = expenseRoot;
    ASSERT_TRUE(AddTransaction(db, expense, u"Добавить операцию"));
    EXPECT_EQ(Last().amount1, -375000);
    EXPECT_EQ(Last().quantity, M(3));
    ARelation probe;
    probe.transaction = ATableImpl<ATransaction>::RefTo(db.Transactions().Live().back());
    ASSERT_EQ(db.Relations().EqualRange(3, probe).size(), 1u);

    auto balance = Input(AAmountMode::Balance, M(100));
    balance.giving.account = card;
    ASSERT_TRUE(AddTransaction(db, balance, u"Добавить операцию"));
    EXPECT_EQ(Last().balance1, M(100));
    // The correction from 212.50 to 100 is derived by the balances.
    EXPECT_EQ(Last().amount1, M(100) - (M(250) - 375000));
}

TEST_F(TransactionEdit, ChangingSeveralLeavesWhatDiffersAsItWas)
{
    // Planned ones repeating every 3, 4 and 5 days: each keeps its own rule.
    const auto rule = [](int day) {
        return Recurrence::ARule{.active = true, .maskOrSelector = Recurrence::kAllDaysMask,
                                 .interval = static_cast<std::uint8_t>(day)}.Word();
    };
    Step([&] {
        for (int day : {3, 4, 5}) {
            ATransaction t = Single(cash, -M(day), D(2024, 4, day));
            t.executed = 0;
            t.recurrence = rule(day);
            Add(t);
        }
    });
    std::vector<Engine::ARecordId> ids;
    for (auto* slot : db.Transactions().Live())
        ids.push_back(slot->id);
    ATransactionInput in = InputOf(db, ids, false);
    EXPECT_EQ(in.state, AState::Recurring);
    EXPECT_FALSE(in.rule);
    EXPECT_FALSE(in.date);
    EXPECT_TRUE(in.fields[0].differs);
    EXPECT_EQ(in.giving.account, cash);
    in.comment = u"Обед";
    ASSERT_TRUE(ChangeTransactions(db, ids, in, u"Изменить операции"));
    for (int day : {3, 4, 5}) {
        const ATransaction& t = db.Transactions().Find(ids[static_cast<std::size_t>(day - 3)])->Record();
        EXPECT_EQ(t.date, D(2024, 4, day));
        EXPECT_EQ(t.amount1, -M(day));
        EXPECT_EQ(db.Text(t.comment), u"Обед");
        EXPECT_EQ(t.recurrence, rule(day));
    }
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(db.Text(db.Transactions().Find(ids[0])->Record().comment), u"");
}

TEST_F(TransactionEdit, ANewTransactionStartsWithTheFiltersOnlyAccount)
{
    UserInterface::Filters::ATransactionPageFilter filter;
    EXPECT_EQ(AccountForAdding(db, nullptr), AReference<AAccount>());  // two accounts: the user chooses
    EXPECT_EQ(AccountForAdding(db, &filter), AReference<AAccount>());
    filter.accounts = UserInterface::Filters::AAccountSelection({card});
    EXPECT_EQ(AccountForAdding(db, &filter), card);
    filter.accounts = UserInterface::Filters::AAccountSelection({card, cash});
    EXPECT_EQ(AccountForAdding(db, &filter), AReference<AAccount>());
    Step([&] { Database::Delete(db, db.Accounts().Get(card)); });
    EXPECT_EQ(AccountForAdding(db, &filter), cash);  // the file's only account
}

}  // namespace
}  // namespace AnalysisTest
