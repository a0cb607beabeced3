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
    // The locks as a word: plan, banks, savings, then cash, card, deposit, bond; 1 is locked.
    std::string LockWord()
    {
        std::string word;
        for (auto f : {books.plan, banks, savings})
            word += Locked(f) ? '1' : '0';
        word += ' ';
        for (auto a : {books.cash, card, deposit, bond})
            word += Locked(a) ? '1' : '0';
        return word;
    }
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
    EXPECT_EQ(LockWord(), "011 0111");
    EXPECT_EQ(books.db.UndoLabel(), u"папка");
    // Unlocking it again leaves its contents locked.
    Toggle(banks);
    EXPECT_EQ(LockWord(), "001 0111");
}

TEST_F(Locks, UnlockingAnAccountUnlocksTheFoldersAboveItOnly)
{
    Toggle(books.plan);
    Toggle(deposit);
    EXPECT_EQ(LockWord(), "000 1101");
    // One undo restores the locks as the folder toggle left them.
    ASSERT_TRUE(books.db.Undo());
    EXPECT_EQ(LockWord(), "111 1111");
}

TEST_F(Locks, UnlockingGoesUpOnlyToTheFirstUnlockedFolder)
{
    SetLockedDirectly(books.plan, true);
    SetLockedDirectly(savings, true);
    Toggle(savings);
    EXPECT_EQ(LockWord(), "100 0000");

    // An account placed in an unlocked folder unlocks only itself.
    SetLockedDirectly(savings, true);
    books.Step([&] { books.db.Accounts().Change(books.SlotOf(card))->locked = 1; });
    Toggle(card);
    EXPECT_EQ(LockWord(), "101 0000");
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
    EXPECT_EQ(LockWord(), "000 0101");
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
