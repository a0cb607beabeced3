#include "RulesTestSupport.h"

using namespace RulesTest;

namespace {

// plan > banks > savings; accounts: card in banks, deposit and bond in savings, cash in plan.
class Locks : public ::testing::Test {
protected:
    Locks()
    {
        books.Step([&] {
            banks = books.AddFolder(u"Банки", books.plan);
            savings = books.AddFolder(u"Вклады", banks);
            card = books.AddAccount(u"Карта", books.rur, 0, banks);
            deposit = books.AddAccount(u"Депозит", books.rur, 0, savings);
            bond = books.AddAccount(u"Облигации", books.rur, 0, savings);
        });
    }
    bool Locked(AReference<AAccountFolder> f) { return books.db.Folders().Get(f)->Record().locked != 0; }
    bool Locked(AReference<AAccount> a) { return books.db.Accounts().Get(a)->Record().locked != 0; }
    void Toggle(AReference<AAccountFolder> f) { ToggleFolderLock(books.db, books.SlotOf(f), u"папка"); }
    void Toggle(AReference<AAccount> a) { ToggleAccountLock(books.db, books.SlotOf(a), u"счёт"); }
    void SetLockedDirectly(AReference<AAccountFolder> f, bool locked)
    {
        books.Step([&] { books.db.Folders().Change(books.SlotOf(f))->locked = locked; });
    }

    TBooks books;
    AReference<AAccountFolder> banks, savings;
    AReference<AAccount> card, deposit, bond;
};

}  // namespace

TEST_F(Locks, LockingAFolderLocksEverythingBelowItAndNothingAbove)
{
    Toggle(banks);
    EXPECT_TRUE(Locked(banks));
    EXPECT_TRUE(Locked(savings));
    EXPECT_TRUE(Locked(card));
    EXPECT_TRUE(Locked(deposit));
    EXPECT_TRUE(Locked(bond));
    EXPECT_FALSE(Locked(books.plan));
    EXPECT_FALSE(Locked(books.cash));
    EXPECT_EQ(books.db.UndoLabel(), u"папка");
}

TEST_F(Locks, UnlockingAnAccountUnlocksTheFoldersAboveItOnly)
{
    Toggle(books.plan);
    Toggle(deposit);
    EXPECT_FALSE(Locked(deposit));
    EXPECT_FALSE(Locked(savings));
    EXPECT_FALSE(Locked(banks));
    EXPECT_FALSE(Locked(books.plan));
    EXPECT_TRUE(Locked(bond));
    EXPECT_TRUE(Locked(card));
    EXPECT_TRUE(Locked(books.cash));

    // One undo restores the locks as the folder toggle left them.
    ASSERT_TRUE(books.db.Undo());
    for (auto f : {books.plan, banks, savings})
        EXPECT_TRUE(Locked(f));
    EXPECT_TRUE(Locked(deposit));
}

TEST_F(Locks, UnlockingGoesUpOnlyToTheFirstUnlockedFolder)
{
    SetLockedDirectly(books.plan, true);
    SetLockedDirectly(savings, true);
    Toggle(savings);
    EXPECT_FALSE(Locked(savings));
    EXPECT_FALSE(Locked(banks));
    EXPECT_TRUE(Locked(books.plan));

    // An account placed in an unlocked folder unlocks only itself.
    SetLockedDirectly(savings, true);
    books.Step([&] { books.db.Accounts().Change(books.SlotOf(card))->locked = 1; });
    Toggle(card);
    EXPECT_FALSE(Locked(card));
    EXPECT_TRUE(Locked(savings));
    EXPECT_TRUE(Locked(books.plan));
}

TEST_F(Locks, UnlockingAFolderLeavesItsContentsLocked)
{
    Toggle(banks);
    Toggle(banks);
    EXPECT_FALSE(Locked(banks));
    EXPECT_TRUE(Locked(savings));
    EXPECT_TRUE(Locked(card));
}

TEST_F(Locks, AnAccountInTwoPlansUnlocksBothPaths)
{
    AReference<AAccountFolder> other;
    books.Step([&] {
        other = books.AddFolder(u"План 2", {});
        books.db.Placements().Create(AAccountPlacement{deposit, other});
    });
    Toggle(other);
    Toggle(banks);
    Toggle(deposit);
    EXPECT_FALSE(Locked(other));
    EXPECT_FALSE(Locked(savings));
    EXPECT_FALSE(Locked(banks));
}

TEST_F(Locks, LabelIdsFollowWhatTheToggleWillDo)
{
    EXPECT_EQ(AccountLockLabelId(books.db.Accounts().Get(card)->Record()), 731);
    EXPECT_EQ(FolderLockLabelId(books.db.Folders().Get(banks)->Record()), 733);
    Toggle(banks);
    EXPECT_EQ(AccountLockLabelId(books.db.Accounts().Get(card)->Record()), 732);
    EXPECT_EQ(FolderLockLabelId(books.db.Folders().Get(banks)->Record()), 734);
}

TEST_F(Locks, FolderCyclesOfADamagedFileEndTheWalks)
{
    // savings becomes the parent of banks: banks > savings > banks ...
    books.Step([&] { books.db.Folders().Change(books.SlotOf(banks))->parent = savings; });
    Toggle(banks);
    EXPECT_TRUE(Locked(savings));
    EXPECT_TRUE(Locked(deposit));
    Toggle(deposit);
    EXPECT_FALSE(Locked(banks));
    EXPECT_FALSE(Locked(savings));
    Toggle(savings);
    Toggle(savings);
    EXPECT_FALSE(Locked(savings));
}
