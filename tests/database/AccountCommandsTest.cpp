#include "RulesTestSupport.h"

#include "core/LocaleInfo.h"
#include "database/AccountCommands.h"
#include "database/FolderCommands.h"

#include <limits>

using namespace RulesTest;

namespace {

// plan "Все счета" > banks > savings; a second plan "Личный"; cash in RUR; card in banks.
class AccountCommands : public ::testing::Test {
protected:
    AccountCommands()
    {
        books.Step([&] {
            books.db.Settings().Change(books.db.Settings().Live().front())->accountFolders = 1;
            banks = books.AddFolder(u"Банки", books.plan);
            savings = books.AddFolder(u"Вклады", banks);
            usd = books.AddCurrency(u"USD");
            card = books.AddAccount(u"Карта", books.rur, 0, banks);
        });
        second = AddFolder({u"Личный", u"", {}});
    }
    AReference<AAccountFolder> AddFolder(const AFolderInput& input)
    {
        return Database::AddFolder(books.db, input, u"папка");
    }
    ASlot<AAccount>& Slot(AReference<AAccount> a) { return *books.SlotOf(a); }
    std::vector<AReference<AAccountFolder>> FoldersOf(AReference<AAccount> account)
    {
        std::vector<AReference<AAccountFolder>> folders;
        for (auto* p : books.db.Placements().Live())
            if (p->Record().account == account)
                folders.push_back(p->Record().folder);
        return folders;
    }

    TBooks books;
    AReference<AAccountFolder> banks, savings, second;
    AReference<ACurrency> usd;
    AReference<AAccount> card;
};

TEST_F(AccountCommands, ANewAccountIsPlacedInItsFolderAndAtTheTopOfEveryOtherPlan)
{
    const auto account =
        AddAccount(books.db, {u" Новый  счёт ", usd, M(7), u"", savings}, u"Добавить счёт");
    const AAccount& record = books.db.Accounts().Get(account)->Record();
    EXPECT_EQ(books.db.Text(record.name), u"Новый счёт");
    EXPECT_TRUE(record.comment.IsNull());  // no comment typed, no text
    EXPECT_EQ(record.initialBalance, M(7));
    EXPECT_EQ(FoldersOf(account), (std::vector{savings, second}));
    EXPECT_EQ(books.db.UndoLabel(), u"Добавить счёт");

    // Without folders the account goes directly under every plan.
    books.Step([&] { books.db.Settings().Change(books.db.Settings().Live().front())->accountFolders = 0; });
    const auto plain = AddAccount(books.db, {u"Второй", usd, 0, u"заметка", savings}, u"Добавить счёт");
    EXPECT_EQ(FoldersOf(plain), (std::vector{books.plan, second}));
    EXPECT_EQ(books.db.Text(books.db.Accounts().Get(plain)->Record().comment), u"заметка");
}

TEST_F(AccountCommands, ChangingWritesWhatDiffersInOneStepAndNothingWithoutAChange)
{
    const AAccount& stored = Slot(card).Record();
    const AAccountInput same{u"Карта", {}, stored.initialBalance, u"comment of Карта", banks};
    EXPECT_EQ(CheckChangedAccount(books.db, Slot(card), same), std::nullopt);  // its own name is no clash
    const auto before = books.db.UndoLabel();
    EXPECT_EQ(ChangeAccount(books.db, Slot(card), books.plan, same, u"Изменить счёт"), AChangeOutcome::Unchanged);
    EXPECT_EQ(books.db.UndoLabel(), before);

    AAccountInput comment = same;
    comment.comment = u"";
    const auto commentText = stored.comment;
    EXPECT_EQ(ChangeAccount(books.db, Slot(card), books.plan, comment, u"Изменить счёт"), AChangeOutcome::Changed);
    EXPECT_EQ(books.db.UndoLabel(), u"Изменить счёт");
    EXPECT_EQ(Slot(card).Record().comment, commentText);  // an emptied comment keeps its text record
    EXPECT_EQ(books.db.Text(commentText), u"");

    AAccountInput renamed = same;
    renamed.name = u"Наличные";
    EXPECT_EQ(CheckChangedAccount(books.db, Slot(card), renamed), (AAccountFailure{353, AAccountField::Name}));
    renamed.initialBalance.reset();
    renamed.name = u"Кошелёк";
    EXPECT_EQ(CheckChangedAccount(books.db, Slot(card), renamed), (AAccountFailure{352, AAccountField::InitialBalance}));
}

TEST_F(AccountCommands, AnInitialBalanceThatWouldTakeABalanceOutOfRangeIsRefusedWhole)
{
    books.Step([&] { books.Add(TBooks::Single(card, M(10), 46000)); });
    const AAccountInput huge{u"Карта", {}, std::numeric_limits<AMoney>::max(), u"", banks};
    EXPECT_EQ(ChangeAccount(books.db, Slot(card), books.plan, huge, u"x"), AChangeOutcome::BalanceOutOfRange);
    EXPECT_EQ(Slot(card).Record().initialBalance, 0);
    EXPECT_EQ(books.db.Text(Slot(card).Record().comment), u"comment of Карта");
    EXPECT_FALSE(books.db.StepOpen());
    ExpectConsistentBalances(books.db);
}

TEST_F(AccountCommands, MovingChangesOnlyThePlacementOfTheCurrentPlan)
{
    ASSERT_EQ(FolderInPlan(books.db, card, books.plan), banks);
    EXPECT_EQ(MoveAccount(books.db, Slot(card), books.plan, savings, u"Переместить счёт"), AChangeOutcome::Changed);
    EXPECT_EQ(FolderInPlan(books.db, card, books.plan), savings);
    EXPECT_EQ(FolderInPlan(books.db, card, second), second);
    EXPECT_EQ(books.db.UndoLabel(), u"Переместить счёт");
}

TEST_F(AccountCommands, DeletingAccountsCountsTheirTransactionsOnceAndTakesThem)
{
    books.Step([&] {
        books.Add(TBooks::Single(card, M(1), 46000));
        books.Add(TBooks::Single(card, M(2), 46000));
        books.Add(TBooks::Transfer(books.cash, M(3), card, M(3), 46000));
    });
    EXPECT_EQ(CountTransactionsOf(books.db, {card}), 3u);
    EXPECT_EQ(CountTransactionsOf(books.db, {card, books.cash}), 3u);
    EXPECT_EQ(CountTransactionsOf(books.db, {books.cash}), 1u);
    DeleteAccounts(books.db, {card}, u"Удалить счёт");
    EXPECT_FALSE(books.Live(card));
    ASSERT_EQ(books.db.Transactions().LiveCount(), 1u);  // the transfer, single-sided on cash
    EXPECT_EQ(books.db.Transactions().Live().front()->Record().account1, books.cash);
    EXPECT_TRUE(FoldersOf(card).empty());
    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(books.db.Transactions().LiveCount(), 3u);
    EXPECT_EQ(FoldersOf(card).size(), 2u);
}

TEST_F(AccountCommands, FolderChecks)
{
    const struct {
        std::u16string name;
        AReference<AAccountFolder> parent, self;
        std::optional<int> message;
    } cases[] = {
        {u"  ", banks, {}, 738},
        {u"Вклады", banks, {}, 739},
        {u" Вклады", banks, {}, 739},
        {u"Вклады", books.plan, {}, std::nullopt},  // another branch
        {u"Вклады", {}, savings, std::nullopt},     // its own name, parent kept
        {u"Личный", {}, {}, 740},
        {u"Личный", {}, second, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckFolder(books.db, {c.name, u"", c.parent}, c.self), c.message)
            << std::string(c.name.begin(), c.name.end());
}

TEST_F(AccountCommands, ANewPlanHoldsEveryAccountAndAFolderMovesOnlyOutsideItself)
{
    for (auto account : {books.cash, card})
        EXPECT_EQ(FolderInPlan(books.db, account, second), second);
    auto& banksSlot = *books.SlotOf(banks);
    EXPECT_FALSE(ChangeFolder(books.db, banksSlot, {u"Банки", u"note", savings}, u"Переместить папку"));
    EXPECT_TRUE(ChangeFolder(books.db, *books.SlotOf(savings), {u"Вклады", u"note", books.plan}, u"Переместить папку"));
    EXPECT_EQ(books.db.Folders().Get(savings)->Record().parent, books.plan);
    EXPECT_TRUE(ChangeFolder(books.db, banksSlot, {u"Банки 2", u"", {}}, u"Изменить папку"));
    EXPECT_EQ(books.db.Text(banksSlot.Record().name), u"Банки 2");
    EXPECT_EQ(banksSlot.Record().parent, books.plan);
    EXPECT_EQ(books.db.UndoLabel(), u"Изменить папку");
}

TEST_F(AccountCommands, TheFolderQuestionListsWhatGoesWithTheFolder)
{
    UtilityClasses::Strings::AStrings strings{UtilityClasses::Strings::RussianLocale()};
    books.Step([&] { books.AddFolder(u"Кредиты", banks); });
    const AFolderContents contents = ContentsOf(books.db, banks);
    EXPECT_EQ(FolderDeleteQuestion(strings, contents, u"Банки", false),
              u"Папка \"Банки\" содержит:\r\n   • 2 вложенных подпапок;\r\n   • 1 вложенных счетов.\r\n\r\n"
              u"Все эти вложенные объекты будут удалены\r\nвместе с папкой \"Банки\".\r\n\r\nУдалить папку \"Банки\"?");

    books.Step([&] {
        books.db.Folders().Change(books.SlotOf(savings))->locked = 1;
        books.Add(TBooks::Single(card, M(1), 46000));
    });
    ToggleAccountLock(books.db, books.SlotOf(card));
    const AFolderContents locked = ContentsOf(books.db, banks);
    EXPECT_EQ((std::vector<std::size_t>{locked.folders, locked.lockedFolders, locked.accounts, locked.lockedAccounts,
                                        locked.transactions}),
              (std::vector<std::size_t>{1, 1, 0, 1, 1}));
    EXPECT_EQ(FolderDeleteQuestion(strings, locked, u"Банки", true),
              u"Папка \"Банки\" содержит:\r\n   • 1 вложенных подпапок;\r\n   • 1 вложенных заблокированных подпапок;"
              u"\r\n   • 1 вложенных заблокированных счетов.\r\n\r\nВсе эти вложенные объекты будут удалены\r\n"
              u"вместе с папкой \"Банки\".\r\nКроме того, будет удалено 1 операций\r\nпо удаляемым вместе с папкой "
              u"счетам.\r\n\r\nВажно: счета будут удалены во всех планах счетов.\r\n\r\nУдалить папку \"Банки\"?");
    EXPECT_EQ(FolderDeleteQuestion(strings, ContentsOf(books.db, savings), u"Вклады", true),
              u"Удалить папку \"Вклады\"?");
    EXPECT_EQ(PlanDeleteQuestion(strings, u"Личный"),
              u"Вы действительно хотите удалить\r\nплан счетов \"Личный\"?\r\n\r\nСами счета при этом удалены не будут.");
}

TEST_F(AccountCommands, DeletingAFolderTakesItsAccountsAndAPlanOnlyItsFolders)
{
    DeleteFolder(books.db, *books.SlotOf(banks), u"Удалить папку");
    EXPECT_FALSE(books.Live(savings));
    EXPECT_FALSE(books.Live(card));
    EXPECT_EQ(books.db.UndoLabel(), u"Удалить папку");

    DeleteFolder(books.db, *books.SlotOf(books.plan), u"Удалить план счетов");
    EXPECT_FALSE(books.Live(books.plan));
    EXPECT_EQ(FoldersOf(books.cash), (std::vector{second}));
    // The last plan stays.
    EXPECT_FALSE(CanDeletePlan(books.db));
    DeleteFolder(books.db, *books.SlotOf(second), u"Удалить план счетов");
    EXPECT_TRUE(books.Live(second));
}

}  // namespace
