#include "ByteBuilder.h"
#include "DataFileHelpers.h"

using namespace DataFileHelpers;
using Engine::StreamNames::Table;

namespace {

constexpr std::size_t kSlotHeader = 16;
constexpr std::size_t kTableHeader = 24;

Engine::ASlot<ATransaction>* TransactionById(ADatabase& db, Engine::ARecordId id)
{
    return db.Transactions().Find(id);
}

void PatchHeaderWord(const std::string& path, std::size_t offsetInBlock, std::uint16_t value)
{
    auto header = ReadStream(path, u"dbHeader");
    const std::size_t at = 1 + header[0] + offsetInBlock;
    header[at] = static_cast<std::uint8_t>(value);
    header[at + 1] = static_cast<std::uint8_t>(value >> 8);
    WriteStream(path, u"dbHeader", header);
}
constexpr std::size_t kWriterBuild = 22;
constexpr std::size_t kLowestReader = 24;

}  // namespace

TEST(DataFile, EveryRecordTypeSurvivesSaveAsAndOpen)
{
    TempFolder folder;
    ADatabase original(FixedClock());
    FillRich(original);
    ASSERT_EQ(original.SaveAs(folder.File("rich.fend")), Result::kOk);
    EXPECT_FALSE(original.Modified());
    EXPECT_EQ(original.FileName().NameWithExtension(), "rich.fend");

    ADatabase loaded(FixedClock());
    ASSERT_EQ(loaded.Open(folder.File("rich.fend")), Result::kOk);
    EXPECT_EQ(loaded.LoadErrors(), 0u);
    EXPECT_FALSE(loaded.Modified());
    EXPECT_FALSE(loaded.CanUndo());
    EXPECT_TRUE(loaded.ReadOnly());  // the first database still holds the file
    ExpectSameContent(original, loaded);
    EXPECT_EQ(loaded.FileHeader().creatorBuild, 235);
    EXPECT_EQ(loaded.FileHeader().lowestReaderBuild, 218);
    EXPECT_EQ(loaded.FileHeader().formatA, 1);
    EXPECT_EQ(loaded.FileHeader().formatB, 2);
    // References were resolved to the records they name.
    const AAccount* account = loaded.Accounts().Record(TransactionById(loaded, 1)->Record().account1);
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(loaded.Text(account->name), u"Карта");
    // The header stream holds the signature "Fendral" with its NUL.
    auto header = ReadStream(folder.File("rich.fend"), u"dbHeader");
    ASSERT_EQ(header.size(), 1u + 8 + 28);
    EXPECT_EQ(std::string(header.begin() + 1, header.begin() + 9), std::string("Fendral\0", 8));
}

TEST(DataFile, SaveInPlaceMarksDeletedSlotsAndAppendsNewOnes)
{
    TempFolder folder;
    const std::string path = SavedFile(folder, "books.fend", true);
    const auto before = ReadStream(path, Table(10));
    const std::size_t slotSize = kSlotHeader + ATransaction::kStoredSize;
    ASSERT_EQ((before.size() - kTableHeader) % slotSize, 0u);

    ADatabase db(FixedClock());
    ASSERT_EQ(db.Open(path), Result::kOk);
    const std::uint32_t deletedPosition = TransactionById(db, 3)->filePosition;
    const std::uint32_t changedPosition = TransactionById(db, 5)->filePosition;
    db.BeginStep();
    db.Transactions().Delete(TransactionById(db, 3));
    db.Relations().Delete(db.Relations().Find(3));
    db.Transactions().Change(TransactionById(db, 5))->amount1 = 777;
    ATransaction fresh;
    fresh.date = 45500;
    fresh.amount1 = 42;
    const Engine::ARecordId freshId = db.Transactions().Create(fresh)->id;
    db.CommitStep();
    EXPECT_TRUE(db.Modified());
    ASSERT_EQ(db.Save(), Result::kOk);
    EXPECT_FALSE(db.Modified());

    const auto after = ReadStream(path, Table(10));
    ASSERT_EQ(after.size(), before.size() + slotSize);
    EXPECT_EQ(Word32(after, deletedPosition), 3u);
    EXPECT_EQ(after[deletedPosition + 12], 1);  // marked deleted in its own place
    EXPECT_EQ(Word32(after, changedPosition), 5u);
    EXPECT_EQ(after[changedPosition + 12], 0);
    EXPECT_EQ(Word32(after, before.size()), freshId);  // appended
    EXPECT_TRUE(std::equal(before.begin() + kTableHeader, before.begin() + deletedPosition, after.begin() + kTableHeader));

    ADatabase reopened(FixedClock());
    ASSERT_EQ(reopened.Open(path), Result::kOk);
    EXPECT_EQ(TransactionById(reopened, 3), nullptr);
    EXPECT_EQ(TransactionById(reopened, 5)->Record().amount1, 777);
    EXPECT_EQ(TransactionById(reopened, freshId)->Record().amount1, 42);
    ExpectSameContent(db, reopened);

    // Save as writes the table anew, without the deleted slot.
    ASSERT_EQ(reopened.SaveAs(folder.File("copy.fend")), Result::kOk);
    EXPECT_EQ(ReadStream(folder.File("copy.fend"), Table(10)).size(),
              kTableHeader + reopened.Transactions().LiveCount() * slotSize);
    EXPECT_EQ(reopened.FileName().NameWithExtension(), "copy.fend");
}

// Slots stored out of identifier order (a foreign or damaged file) are put in order
// before the references are resolved.
TEST(DataFile, SlotsStoredOutOfIdentifierOrderAreSortedOnOpen)
{
    TempFolder folder;
    const std::string path = SavedFile(folder, "sorted.fend", true);
    const std::string reversedPath = folder.File("reversed.fend");
    std::filesystem::copy_file(path, reversedPath);
    const auto table = ReadStream(path, Table(10));
    const std::size_t slotSize = kSlotHeader + ATransaction::kStoredSize;
    std::vector<std::uint8_t> reversed(table.begin(), table.begin() + kTableHeader);
    for (std::size_t end = table.size(); end > kTableHeader; end -= slotSize)
        reversed.insert(reversed.end(), table.begin() + static_cast<std::ptrdiff_t>(end - slotSize),
                        table.begin() + static_cast<std::ptrdiff_t>(end));
    WriteStream(reversedPath, Table(10), reversed);

    ADatabase expected(FixedClock()), db(FixedClock());
    ASSERT_EQ(expected.Open(path), Result::kOk);
    ASSERT_EQ(db.Open(reversedPath), Result::kOk);
    EXPECT_EQ(db.LoadErrors(), 0u);
    ExpectSameContent(expected, db);
}

TEST(DataFile, VariableTablesAreRewrittenFromTheFirstChangeAndCut)
{
    TempFolder folder;
    const std::string path = SavedFile(folder, "texts.fend", true);
    const auto before = ReadStream(path, Table(1));
    ADatabase db(FixedClock());
    ASSERT_EQ(db.Open(path), Result::kOk);
    // Shorten a text in the middle of the table and delete a comment after it.
    auto& strings = db.Strings();
    auto* middle = strings.Live()[strings.LiveCount() / 2];
    auto* commented = TransactionById(db, 61);
    auto* later = strings.Get(commented->Record().comment);
    ASSERT_NE(later, nullptr);
    ASSERT_GT(later->id, middle->id);
    db.BeginStep();
    strings.Change(middle)->text = u"x";
    db.Transactions().Change(commented)->comment = {};
    strings.Delete(later);
    db.CommitStep();
    ASSERT_EQ(db.Save(), Result::kOk);
    const auto after = ReadStream(path, Table(1));
    EXPECT_TRUE(std::equal(before.begin() + kTableHeader, before.begin() + middle->filePosition, after.begin() + kTableHeader));
    EXPECT_LT(after.size(), before.size());

    ADatabase reopened(FixedClock());
    ASSERT_EQ(reopened.Open(path), Result::kOk);
    ExpectSameContent(db, reopened);
    EXPECT_EQ(reopened.Strings().Find(middle->id)->Record().text, u"x");
    EXPECT_EQ(reopened.Strings().Find(later->id), nullptr);
}

TEST(DataFile, LargerStoredRecordSizeIsKeptWithItsExtraBytes)
{
    TempFolder folder;
    const std::string path = SavedFile(folder, "wide.fend");
    // A newer writer's currency records: 16 bytes, the last 4 unknown to us.
    const auto names = ReadStream(path, Table(4));
    ByteBuilder wide;
    wide.U32(24).U32(16).U32(16).U32(5).I64(9);
    wide.U32(1).I64(0).U8(0).Zeros(3).Bytes();
    wide.U32(Word32(names, 24 + 16)).U32(Word32(names, 24 + 20)).U32(2).U32(0xEEEEEEEE);
    wide.U32(3).I64(0).U8(0).Zeros(3);
    wide.U32(Word32(names, 24 + 16)).U32(Word32(names, 24 + 20)).U32(3).U32(0xDDDDDDDD);
    WriteStream(path, Table(4), wide.Bytes());

    ADatabase db(FixedClock());
    ASSERT_EQ(db.Open(path), Result::kOk);
    ASSERT_EQ(db.Currencies().LiveCount(), 2u);
    EXPECT_EQ(db.Currencies().Find(3)->Record().precision, 3u);
    db.BeginStep();
    db.Currencies().Change(db.Currencies().Find(1))->precision = 4;
    db.Currencies().Create(ACurrency{db.NewText(u"Евро"), db.NewText(u"EUR"), 2});
    db.CommitStep();
    ASSERT_EQ(db.Save(), Result::kOk);

    const auto after = ReadStream(path, Table(4));
    ASSERT_EQ(after.size(), 24u + 3 * 32);
    EXPECT_EQ(Word32(after, 8), 16u);                   // R stays
    EXPECT_EQ(Word32(after, 24 + 16 + 8), 4u);          // changed in place
    EXPECT_EQ(Word32(after, 24 + 16 + 12), 0xEEEEEEEE); // its extra bytes kept
    EXPECT_EQ(Word32(after, 24 + 32 + 16 + 12), 0xDDDDDDDD);
    EXPECT_EQ(Word32(after, 24 + 64), 5u);              // appended with the next identifier
    EXPECT_EQ(Word32(after, 24 + 64 + 16 + 12), 0u);    // and padded with zeros to R

    ExpectReopensSame(db, path);
}

TEST(DataFile, FileOfAnOldWriterIsRenumberedAndRewrittenOnSave)
{
    TempFolder folder;
    const std::string path = folder.File("old.fend");
    {
        ADatabase db(FixedClock());
        FillRich(db);
        db.BeginStep();
        AClassifier extra;
        auto* spare = db.Classifiers().Create(extra);  // id 5
        auto* kept = db.Classifiers().Create(extra);   // id 7
        (void)kept;
        db.Classifiers().Delete(db.Classifiers().Find(3));
        db.CommitStep();
        db.BeginStep();
        db.Classifiers().Delete(spare);
        for (Engine::ARecordId id : {1u, 5u}) {
            db.Transactions().Delete(TransactionById(db, id));
            db.Relations().Delete(db.Relations().Find(id));
        }
        db.CommitStep();
        ASSERT_EQ(db.SaveAs(path), Result::kOk);
    }
    PatchHeaderWord(path, kWriterBuild, 217);
    PatchHeaderWord(path, kLowestReader, 200);
    const auto identityBefore = ReadStream(path, u"dbHeader");

    ADatabase db(FixedClock());
    ASSERT_EQ(db.Open(path), Result::kOk);
    EXPECT_TRUE(db.NeedsFullRewrite());
    // Transactions 3, 7, 9, ... became 1, 3, 5, ...; relations follow their transactions.
    EXPECT_EQ(db.Transactions().Live()[0]->id, 1u);
    EXPECT_EQ(db.Transactions().Live()[1]->id, 3u);
    EXPECT_EQ(db.Transactions().Live()[0]->Record().amount1, -20000);  // formerly transaction 3
    EXPECT_EQ(db.Transactions().Header().nextId, 2 * db.Transactions().SlotCount() + 1);
    for (const auto* relation : db.Relations().Live())
        EXPECT_NE(db.Transactions().Record(relation->Record().transaction), nullptr);
    // Classifiers keep theirs: category pages name them by identifier.
    std::vector<Engine::ARecordId> classifierIds;
    for (const auto* slot : db.Classifiers().Live())
        classifierIds.push_back(slot->id);
    EXPECT_EQ(classifierIds, (std::vector<Engine::ARecordId>{1, 7}));

    ASSERT_EQ(db.Save(), Result::kOk);
    EXPECT_FALSE(db.NeedsFullRewrite());
    const auto identityAfter = ReadStream(path, u"dbHeader");
    EXPECT_FALSE(std::equal(identityBefore.begin() + 9, identityBefore.begin() + 25, identityAfter.begin() + 9));
    ADatabase reopened(FixedClock());
    ASSERT_EQ(reopened.Open(path), Result::kOk);
    EXPECT_EQ(reopened.FileHeader().writerBuild, 235);
    EXPECT_EQ(reopened.FileHeader().lowestReaderBuild, 218);
    EXPECT_FALSE(reopened.NeedsFullRewrite());
    ExpectSameContent(db, reopened);
}

TEST(DataFile, TheLowestReaderIsCheckedOnOpenAndRaisedByAnInPlaceSaveThatKeepsTheIdentity)
{
    TempFolder folder;
    const std::string path = SavedFile(folder, "keep.fend");
    PatchHeaderWord(path, kLowestReader, 236);
    {
        ADatabase newer(FixedClock());
        EXPECT_EQ(newer.Open(path), Result::kNewerVersion);
    }
    PatchHeaderWord(path, kLowestReader, 235);
    {
        ADatabase ours(FixedClock());
        EXPECT_EQ(ours.Open(path), Result::kOk);
    }
    PatchHeaderWord(path, kLowestReader, 210);
    const auto before = ReadStream(path, u"dbHeader");
    ADatabase again(FixedClock());
    ASSERT_EQ(again.Open(path), Result::kOk);
    again.BeginStep();
    again.NewText(u"x");
    again.CommitStep();
    ASSERT_EQ(again.Save(), Result::kOk);
    const auto after = ReadStream(path, u"dbHeader");
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 9 + 16, after.begin()));
    EXPECT_EQ(after[9 + 24], 218);
}

// A stored reference is an identifier. One that names no record (999), and an even word,
// which is damage and never a slot position (a small one would name the wrong record, a
// large one lies outside the table), are each counted once, lead nowhere, and are written
// back as they were.
TEST(DataFile, DanglingAndEvenReferencesAreCountedAndWrittenBackAsTheyWere)
{
    for (const std::uint32_t word : {999u, 2u, 0x7FFF'FFFEu}) {
        TempFolder folder;
        const std::string path = SavedFile(folder, "dangling.fend", true);
        auto relations = ReadStream(path, Table(11));
        for (int byte = 0; byte < 4; ++byte)  // the first relation's category
            relations[24 + 16 + static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(word >> (8 * byte));
        WriteStream(path, Table(11), relations);
        ADatabase db(FixedClock());
        EXPECT_EQ(db.Open(path), Result::kOpenedWithErrors) << word;
        EXPECT_EQ(db.LoadErrors(), 1u) << word;
        EXPECT_EQ(db.Categories().Get(db.Relations().Live().front()->Record().category), nullptr) << word;
        ASSERT_EQ(db.SaveAs(folder.File("again.fend")), Result::kOk) << word;
        EXPECT_EQ(Word32(ReadStream(folder.File("again.fend"), Table(11)), 24 + 16), word);
    }
}

// A reference to a record that the file keeps only as deleted leads nowhere either.
TEST(DataFile, AReferenceToADeletedRecordIsCountedAndLeadsNowhere)
{
    TempFolder folder;
    const std::string path = SavedFile(folder, "deleted.fend", true);
    const std::uint32_t category = Word32(ReadStream(path, Table(11)), 24 + 16);
    auto categories = ReadStream(path, Table(8));
    const std::size_t slotSize = 16 + Word32(categories, 8);
    int marked = 0;
    for (std::size_t at = 24; at + slotSize <= categories.size(); at += slotSize)
        if (Word32(categories, at) == category) {
            categories[at + 12] = 1;  // the slot's deleted flag
            ++marked;
        }
    ASSERT_EQ(marked, 1);
    WriteStream(path, Table(8), categories);
    ADatabase db(FixedClock());
    EXPECT_EQ(db.Open(path), Result::kOpenedWithErrors);
    EXPECT_GE(db.LoadErrors(), 1u);
    EXPECT_EQ(db.Categories().Get(db.Relations().Live().front()->Record().category), nullptr);
}

TEST(DataFile, OlderAccountLayoutBecomesAccountsFoldersAndPlacements)
{
    TempFolder folder;
    const std::string path = SavedFile(folder, "folders.fend");
    ByteBuilder accounts;
    accounts.U32(24).U32(16).U32(28).U32(5).I64(3);
    // id 1: a folder (no currency): name 1, parent 0, locked, comment 3
    accounts.U32(1).I64(0).U8(0).Zeros(3);
    accounts.U32(1).U32(0).U32(0).I64(0).U8(0).U8(1).Zeros(2).U32(3);
    // id 3: an account in currency 1 placed in folder 1
    accounts.U32(3).I64(0).U8(0).Zeros(3);
    accounts.U32(5).U32(1).U32(1).I64(250000).U8(0).U8(0).Zeros(2).U32(0);
    WriteStream(path, Table(7), accounts.Bytes());
    const std::vector<std::uint8_t> emptyTable = ByteBuilder().U32(24).U32(16).U32(16).U32(1).I64(1).Bytes();
    WriteStream(path, Table(18), emptyTable);
    WriteStream(path, Table(19), ByteBuilder().U32(24).U32(16).U32(8).U32(1).I64(1).Bytes());

    ADatabase db(FixedClock());
    ASSERT_EQ(db.Open(path), Result::kOk) << db.LoadErrors();
    ASSERT_EQ(db.Accounts().LiveCount(), 1u);
    EXPECT_EQ(db.Accounts().Live()[0]->id, 3u);
    EXPECT_EQ(db.Accounts().Live()[0]->Record().initialBalance, 250000);
    EXPECT_TRUE(db.Accounts().Live()[0]->Record().olderFolder.IsNull());
    ASSERT_EQ(db.Folders().LiveCount(), 1u);
    const auto* folderSlot = db.Folders().Live()[0];
    EXPECT_EQ(folderSlot->id, 1u);
    EXPECT_EQ(folderSlot->Record().locked, 1);
    EXPECT_EQ(db.Strings().Record(folderSlot->Record().comment)->text, db.Text(AReference<AString>::FromSlot(1)));
    ASSERT_EQ(db.Placements().LiveCount(), 1u);
    EXPECT_EQ(db.Placements().Live()[0]->Record().account, ATableImpl<AAccount>::RefTo(db.Accounts().Live()[0]));
    EXPECT_EQ(db.Placements().Live()[0]->Record().folder, ATableImpl<AAccountFolder>::RefTo(folderSlot));
    EXPECT_TRUE(db.NeedsFullRewrite());

    ASSERT_EQ(db.Save(), Result::kOk);
    EXPECT_EQ(ReadStream(path, Table(7)).size(), 24u + 44);
    ExpectReopensSame(db, path);
}

TEST(DataFile, ModifiedFollowsTheSavedStepThroughUndoAndRedo)
{
    TempFolder folder;
    const std::string path = folder.File("modified.fend");
    ADatabase db(FixedClock());
    db.CreateDefaults();
    ASSERT_EQ(db.SaveAs(path), Result::kOk);
    auto* text = db.Strings().Live()[0];
    db.BeginStep();
    db.Strings().Change(text)->text = u"first";
    db.CommitStep();
    ASSERT_EQ(db.Save(), Result::kOk);
    EXPECT_FALSE(db.Modified());
    const std::u16string original = db.Strings().Live()[1]->Record().text;
    const auto savedText = [&](Engine::ARecordId id) {
        ADatabase reopened(FixedClock());
        EXPECT_EQ(reopened.Open(path), Result::kOk);
        return reopened.Strings().Find(id)->Record().text;
    };
    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(db.Modified());
    ASSERT_TRUE(db.Redo());
    EXPECT_FALSE(db.Modified());
    // Saves between undo and redo write what each one brings back, and nothing else.
    ASSERT_TRUE(db.Undo());
    ASSERT_EQ(db.Save(), Result::kOk);
    EXPECT_EQ(savedText(text->id), db.Strings().Find(text->id)->Record().text);
    EXPECT_NE(savedText(text->id), u"first");
    ASSERT_TRUE(db.Redo());
    ASSERT_EQ(db.Save(), Result::kOk);
    EXPECT_EQ(savedText(text->id), u"first");
    EXPECT_EQ(savedText(db.Strings().Live()[1]->id), original);

    // After undoing the saved step, a different step lands on the same step number:
    // it is still a change, and the record must be written again.
    ASSERT_TRUE(db.Undo());
    db.BeginStep();
    db.Strings().Change(text)->text = u"second";
    db.CommitStep();
    EXPECT_TRUE(db.Modified());
    ASSERT_EQ(db.Save(), Result::kOk);
    ADatabase reopened(FixedClock());
    ASSERT_EQ(reopened.Open(path), Result::kOk);
    EXPECT_EQ(reopened.Strings().Find(text->id)->Record().text, u"second");
}

TEST(DataFile, ADatabaseWithoutStorageAndTheSecondOpenOfALockedFileCannotSave)
{
    TempFolder folder;
    const std::string path = folder.File("locked.fend");
    ADatabase first(FixedClock());
    first.CreateDefaults();
    EXPECT_EQ(first.Save(), Result::kUnexpected);
    ASSERT_EQ(first.SaveAs(path), Result::kOk);

    ADatabase second(FixedClock());
    ASSERT_EQ(second.Open(path), Result::kOk);
    EXPECT_TRUE(second.ReadOnly());
    EXPECT_EQ(second.Save(), Result::kUnexpected);
    ASSERT_EQ(second.SaveAs(folder.File("mine.fend")), Result::kOk);
    EXPECT_FALSE(second.ReadOnly());
    EXPECT_EQ(second.Save(), Result::kOk);
}
