// Saving in place: only what changed is written, a reader about makes the save write a
// new file, and a save cut short at any call leaves the old content or, through the
// journal, gets it back on the next open.
#include "CompoundFileTestSupport.h"

#include "database/engine/SaveJournal.h"

#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <functional>

namespace CompoundFileTest {
namespace {

using Database::Engine::Implementation::ASaveCalls;
using Database::Engine::Implementation::JournalPathOf;

ino_t InodeOf(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// The streams of a small data file: a large table, a few small ones, an empty one.
AStreamSet Books()
{
    return {{u"dbHeader", Pattern(40, 1)},
            {u"Stream-00000001", Pattern(3000, 2)},
            {u"Stream-00000002", Pattern(200000, 3)},
            {u"Stream-00000003", Pattern(9000, 4)},
            {u"Stream-00000004", {}}};
}

// Applies one change to the open file and to the model of its streams.
struct AChange {
    const char* what;
    std::function<void(ACompoundFile&, AStreamSet&)> apply;
};

void Write(ACompoundFile& file, AStreamSet& model, const std::u16string& name, std::size_t at, const Bytes& bytes)
{
    ACompoundStream* stream = nullptr;
    if (!file.HasStream(name)) {
        ASSERT_EQ(file.CreateStream(name, &stream), Result::kOk);
    }
    ASSERT_EQ(file.OpenStream(name, &stream), Result::kOk);
    ASSERT_EQ(stream->WriteAt(at, bytes.data(), bytes.size()), Result::kOk);
    Bytes& content = model[name];
    if (content.size() < at + bytes.size()) content.resize(at + bytes.size(), 0);
    std::copy(bytes.begin(), bytes.end(), content.begin() + static_cast<std::ptrdiff_t>(at));
}

void Resize(ACompoundFile& file, AStreamSet& model, const std::u16string& name, std::size_t size)
{
    ACompoundStream* stream = nullptr;
    ASSERT_EQ(file.OpenStream(name, &stream), Result::kOk);
    ASSERT_EQ(stream->SetSize(size), Result::kOk);
    model[name].resize(size, 0);
}

const std::vector<AChange>& Changes()
{
    static const std::vector<AChange> changes = {
        {"one record in the large table",
         [](ACompoundFile& f, AStreamSet& m) { Write(f, m, u"Stream-00000002", 70001, Pattern(60, 10)); }},
        {"records far apart and a small table",
         [](ACompoundFile& f, AStreamSet& m) {
             Write(f, m, u"Stream-00000002", 10, Pattern(100, 11));
             Write(f, m, u"Stream-00000002", 150000, Pattern(100, 12));
             Write(f, m, u"Stream-00000001", 2990, Pattern(20, 13));
         }},
        {"the large table grows",
         [](ACompoundFile& f, AStreamSet& m) { Write(f, m, u"Stream-00000002", 200000, Pattern(30000, 14)); }},
        {"the large table shrinks and grows over zeros",
         [](ACompoundFile& f, AStreamSet& m) {
             Resize(f, m, u"Stream-00000002", 180777);
             Resize(f, m, u"Stream-00000002", 190000);
         }},
        {"a small table becomes large", [](ACompoundFile& f, AStreamSet& m) { Write(f, m, u"Stream-00000001", 3000, Pattern(5000, 15)); }},
        {"a large table becomes small", [](ACompoundFile& f, AStreamSet& m) { Resize(f, m, u"Stream-00000003", 100); }},
        {"an empty table is filled", [](ACompoundFile& f, AStreamSet& m) { Write(f, m, u"Stream-00000004", 0, Pattern(700, 16)); }},
        {"new tables, so the directory grows",
         [](ACompoundFile& f, AStreamSet& m) {
             for (char16_t c = u'a'; c <= u'f'; ++c) Write(f, m, std::u16string(u"Stream-0000001") + c, 0, Pattern(c * 50, c));
         }},
        {"a table goes",
         [](ACompoundFile& f, AStreamSet& m) {
             ASSERT_EQ(f.DeleteStream(u"Stream-0000001a"), Result::kOk);
             m.erase(u"Stream-0000001a");
         }},
        {"the large table grows past the header's FAT entries",
         [](ACompoundFile& f, AStreamSet& m) { Write(f, m, u"Stream-00000002", 190000, Pattern(7u << 20, 17)); }},
        {"one record again", [](ACompoundFile& f, AStreamSet& m) { Write(f, m, u"Stream-00000002", 3u << 20, Pattern(8, 18)); }},
    };
    return changes;
}

TEST(CompoundFileInPlace, EachChangeIsSavedInPlaceAndReadsBackAsTheModel)
{
    AScratchFolder folder;
    const std::string path = folder / "books.fend";
    AStreamSet model = Books();
    ASSERT_EQ(WriteContainerFile(path, model), Result::kOk);
    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(ACompoundFile::Open(path, true, file), Result::kOk);
    for (const AChange& change : Changes()) {
        SCOPED_TRACE(change.what);
        const ino_t inode = InodeOf(path);
        const std::size_t sizeBefore = ReadFileBytes(path).size();
        change.apply(*file, model);
        ASSERT_EQ(file->Commit(), Result::kOk);
        EXPECT_EQ(ContentOf(*file), model);
        std::unique_ptr<ACompoundFile> reader;
        ASSERT_EQ(ACompoundFile::Open(path, false, reader), Result::kOk);
        EXPECT_EQ(ContentOf(*reader), model);
        reader.reset();
        // Growing by 7 MiB rewrites most of the file, which a new file does as well.
        if (std::string(change.what).find("header's FAT") == std::string::npos) {
            EXPECT_EQ(InodeOf(path), inode) << "saved in place";
        }
        EXPECT_LE(ReadFileBytes(path).size(), sizeBefore + (8u << 20));
        EXPECT_FALSE(Exists(JournalPathOf(path)));
        EXPECT_EQ(folder.EntryCount(), 1u);
    }
}

TEST(CompoundFileInPlace, WithAReaderAboutTheSaveWritesANewFileThatTheReaderDoesNotSee)
{
    AScratchFolder folder;
    const std::string path = folder / "books.fend";
    AStreamSet model = Books();
    ASSERT_EQ(WriteContainerFile(path, model), Result::kOk);
    const AStreamSet before = model;
    std::unique_ptr<ACompoundFile> writer, reader;
    ASSERT_EQ(ACompoundFile::Open(path, true, writer), Result::kOk);
    ASSERT_EQ(ACompoundFile::Open(path, false, reader), Result::kOk);

    const ino_t inode = InodeOf(path);
    Changes()[1].apply(*writer, model);
    ASSERT_EQ(writer->Commit(), Result::kOk);
    EXPECT_NE(InodeOf(path), inode);
    EXPECT_EQ(ContentOf(*reader), before);

    reader.reset();
    const ino_t replaced = InodeOf(path);
    Changes()[0].apply(*writer, model);
    ASSERT_EQ(writer->Commit(), Result::kOk);
    EXPECT_EQ(InodeOf(path), replaced) << "no reader: in place again";
    ASSERT_EQ(ACompoundFile::Open(path, false, reader), Result::kOk);
    EXPECT_EQ(ContentOf(*reader), model);
}

// Fails the n-th write or flush (counting from 1), or every write from one on.
class AFailingCalls : public ASaveCalls {
public:
    int failWrite = 0, failFlush = 0, failWritesFrom = INT_MAX;

    void Heal() { failWrite = failFlush = 0, failWritesFrom = INT_MAX; }
    ssize_t WriteAt(int fd, const void* data, std::size_t size, std::uint64_t offset) override
    {
        ++writes_;
        if (writes_ == failWrite || writes_ >= failWritesFrom) return errno = EIO, -1;
        return ASaveCalls::WriteAt(fd, data, size, offset);
    }
    int Flush(int fd) override
    {
        if (++flushes_ == failFlush) return errno = EIO, -1;
        return ASaveCalls::Flush(fd);
    }

private:
    int writes_ = 0, flushes_ = 0;
};

// A save's calls: the journal's write and flush, the file's writes (one per run of
// adjacent sectors, three here) and its flush.
TEST(CompoundFileInPlace, ASaveThatFailsAtAnyCallLeavesTheOldContentOrRollsItBackOnOpening)
{
    struct ACase {
        const char* what;
        int failWrite, failFlush, failWritesFrom;
        bool journalLeft;
    };
    const ACase cases[] = {
        {"writing the journal", 1, 0, INT_MAX, false},
        {"flushing the journal", 0, 1, INT_MAX, false},
        {"writing the file", 2, 0, INT_MAX, false},
        {"writing the file half-way", 3, 0, INT_MAX, false},
        {"flushing the file", 0, 2, INT_MAX, false},
        {"writing the file and writing it back", 0, 0, 3, true},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.what);
        AScratchFolder folder;
        const std::string path = folder / "books.fend";
        AStreamSet model = Books();
        ASSERT_EQ(WriteContainerFile(path, model), Result::kOk);
        const AStreamSet before = model;
        const Bytes bytesBefore = ReadFileBytes(path);

        AFailingCalls calls;
        calls.failWrite = c.failWrite;
        calls.failFlush = c.failFlush;
        calls.failWritesFrom = c.failWritesFrom;
        std::unique_ptr<ACompoundFile> file;
        ASSERT_EQ(ACompoundFile::Open(path, true, file, &calls), Result::kOk);
        Changes()[1].apply(*file, model);
        EXPECT_EQ(file->Commit(), Result::FromErrno(EIO));
        EXPECT_EQ(ContentOf(*file), model) << "the changes are still there to save";
        EXPECT_EQ(Exists(JournalPathOf(path)), c.journalLeft);
        if (!c.journalLeft) {
            EXPECT_EQ(ReadFileBytes(path), bytesBefore);
            calls.Heal();
            ASSERT_EQ(file->Commit(), Result::kOk) << "and can be saved once the disk works";
            file.reset();
            ASSERT_EQ(ACompoundFile::Open(path, false, file), Result::kOk);
            EXPECT_EQ(ContentOf(*file), model);
            continue;
        }
        EXPECT_NE(ReadFileBytes(path), bytesBefore) << "the save was cut off half-way";
        file.reset();
        std::unique_ptr<ACompoundFile> reopened;
        EXPECT_EQ(ACompoundFile::Open(path, false, reopened), Result::kSaveInterrupted);
        // Another program holding the file makes this open a read-only one as well.
        const int holder = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
        EXPECT_EQ(ACompoundFile::Open(path, true, reopened), Result::kStgAccessDenied);
        EXPECT_EQ(ACompoundFile::Open(path, false, reopened), Result::kSaveInterrupted);
        close(holder);
        ASSERT_EQ(ACompoundFile::Open(path, true, reopened), Result::kOk);
        EXPECT_EQ(ReadFileBytes(path), bytesBefore);
        EXPECT_EQ(ContentOf(*reopened), before);
        EXPECT_FALSE(Exists(JournalPathOf(path)));
    }
}

// Opens the file and makes a save that fails half-way and cannot write the old bytes
// back, so that its journal stays.
void SaveLeavingAJournal(const std::string& path, AStreamSet& model, AFailingCalls& calls,
                         std::unique_ptr<ACompoundFile>& file)
{
    calls.failWritesFrom = 3;
    ASSERT_EQ(ACompoundFile::Open(path, true, file, &calls), Result::kOk);
    Changes()[1].apply(*file, model);
    ASSERT_EQ(file->Commit(), Result::FromErrno(EIO));
    ASSERT_TRUE(Exists(JournalPathOf(path)));
}

TEST(CompoundFileInPlace, AFailedSaveThatLeftItsJournalIsUndoneByTheNextSave)
{
    AScratchFolder folder;
    const std::string path = folder / "books.fend";
    AStreamSet model = Books();
    ASSERT_EQ(WriteContainerFile(path, model), Result::kOk);
    AFailingCalls calls;
    std::unique_ptr<ACompoundFile> file;
    SaveLeavingAJournal(path, model, calls, file);
    EXPECT_EQ(file->Commit(), Result::FromErrno(EIO)) << "nothing is saved over a half-written file";
    calls.Heal();
    ASSERT_EQ(file->Commit(), Result::kOk);
    EXPECT_FALSE(Exists(JournalPathOf(path)));
    file.reset();
    ASSERT_EQ(ACompoundFile::Open(path, false, file), Result::kOk);
    EXPECT_EQ(ContentOf(*file), model);
}

// Journals that were never finished, or were made for a file since replaced, say
// nothing about the file: they are removed and the file is read as it is.
TEST(CompoundFileInPlace, TornAndForeignJournalsAreRemovedUnread)
{
    AScratchFolder folder;
    const std::string path = folder / "books.fend";
    ASSERT_EQ(WriteContainerFile(path, Books()), Result::kOk);
    const std::string journal = JournalPathOf(path);
    const std::vector<std::pair<const char*, Bytes>> journals = {
        {"empty", {}},
        {"not ours", Pattern(300, 1)},
        {"cut short", {}},  // filled below from a real one
        {"of the file before", {}},
    };
    // A real journal of the current file, left by a save whose writing back failed.
    AStreamSet model = Books();
    AFailingCalls calls;
    {
        std::unique_ptr<ACompoundFile> file;
        SaveLeavingAJournal(path, model, calls, file);
    }
    const Bytes whole = ReadFileBytes(journal);
    ASSERT_GT(whole.size(), 100u);
    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(ACompoundFile::Open(path, true, file), Result::kOk);  // rolled back
    file.reset();
    const Bytes bytes = ReadFileBytes(path);
    for (const auto& [what, content] : journals) {
        SCOPED_TRACE(what);
        Bytes left = content;
        if (std::string(what) == "cut short") left.assign(whole.begin(), whole.end() - 9);
        if (std::string(what) == "of the file before") {
            // The file is replaced by a copy: same bytes, another inode.
            left = whole;
            WriteFileBytes(path + ".copy", bytes);
            ASSERT_EQ(rename((path + ".copy").c_str(), path.c_str()), 0);
        }
        WriteFileBytes(journal, left);
        std::unique_ptr<ACompoundFile> reader;
        ASSERT_EQ(ACompoundFile::Open(path, false, reader), Result::kOk);
        EXPECT_EQ(ContentOf(*reader), Books());
        reader.reset();
        ASSERT_EQ(ACompoundFile::Open(path, true, reader), Result::kOk);
        EXPECT_EQ(ContentOf(*reader), Books());
        EXPECT_FALSE(Exists(journal));
        EXPECT_EQ(ReadFileBytes(path), bytes);
    }
}

}  // namespace
}  // namespace CompoundFileTest
