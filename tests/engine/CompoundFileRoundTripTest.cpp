// Writing, committing, reopening and changing compound files.
#include "CompoundFileTestSupport.h"

#include "database/engine/CompoundFileFormat.h"
#include "database/engine/CompoundFileStream.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <random>

namespace CompoundFileTest {
namespace {

using Database::Engine::Implementation::ACompoundStreamImpl;
using Database::Engine::Implementation::Load32;

// Sizes around every boundary of the container: the mini sector, the mini
// stream cutoff, the sector, and a stream big enough that the FAT no longer
// fits the header's 109 entries (109 * 128 sectors is about 6.8 MiB).
AStreamSet BoundaryStreams()
{
    AStreamSet streams;
    const std::pair<const char16_t*, std::size_t> sizes[] = {
        {u"empty", 0},        {u"one", 1},          {u"mini63", 63},     {u"mini64", 64},
        {u"mini65", 65},      {u"below4096", 4095}, {u"at4096", 4096},   {u"above4096", 4097},
        {u"k100", 100 * 1024}, {u"difat", 8u << 20},
    };
    std::uint32_t seed = 1;
    for (const auto& [name, size] : sizes) streams[name] = Pattern(size, seed++);
    return streams;
}

std::uint32_t HeaderField(const std::string& path, std::size_t offset)
{
    const Bytes bytes = ReadFileBytes(path);
    return bytes.size() >= offset + 4 ? Load32(bytes.data() + offset) : 0;
}

HRESULT OpenFile(const std::string& path, bool writable, std::unique_ptr<ACompoundFile>& file)
{
    return ACompoundFile::Open(path, writable, file);
}

TEST(CompoundFileRoundTrip, BoundarySizesSurviveCommitAndReopen)
{
    AScratchFolder folder;
    const std::string path = folder / "boundaries.fend";
    const AStreamSet streams = BoundaryStreams();
    ASSERT_EQ(WriteContainerFile(path, streams), Result::kOk);
    EXPECT_GT(HeaderField(path, 72), 0u) << "the 8 MiB stream should need DIFAT sectors";

    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(OpenFile(path, false, file), Result::kOk);
    EXPECT_FALSE(file->Writable());
    EXPECT_EQ(ContentOf(*file), streams);
    // Shorter names first, then case-blind order.
    const std::vector<std::u16string> expectedOrder = {u"one",    u"k100",   u"difat",  u"empty",     u"at4096",
                                                       u"mini63", u"mini64", u"mini65", u"above4096", u"below4096"};
    EXPECT_EQ(file->StreamNames(), expectedOrder);
}

TEST(CompoundFileRoundTrip, ContentStaysReadableThroughTheSameHandlesAfterCommit)
{
    AScratchFolder folder;
    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(ACompoundFile::Create(folder / "handles.fend", file), Result::kOk);
    ACompoundStream* big = nullptr;
    ACompoundStream* small = nullptr;
    ASSERT_EQ(file->CreateStream(u"Big", &big), Result::kOk);
    ASSERT_EQ(file->CreateStream(u"Small", &small), Result::kOk);
    const Bytes bigContent = Pattern(300000, 7);
    const Bytes smallContent = Pattern(300, 8);
    ASSERT_EQ(big->WriteAt(0, bigContent.data(), bigContent.size()), Result::kOk);
    ASSERT_EQ(small->WriteAt(0, smallContent.data(), smallContent.size()), Result::kOk);
    ASSERT_EQ(file->Commit(), Result::kOk);

    Bytes read;
    ASSERT_EQ(ReadWhole(*big, read), Result::kOk);
    EXPECT_EQ(read, bigContent);
    ASSERT_EQ(ReadWhole(*small, read), Result::kOk);
    EXPECT_EQ(read, smallContent);
    EXPECT_EQ(dynamic_cast<ACompoundStreamImpl&>(*big).ChangedBytes(), 0u) << "commit should clear the overlay";
}

// Changes a stored file in every way a save does, checking the result both in
// the open file and after reopening it.
TEST(CompoundFileRoundTrip, ChangesToStoredStreamsAreCommitted)
{
    AScratchFolder folder;
    const std::string path = folder / "changes.fend";
    AStreamSet expected = BoundaryStreams();
    ASSERT_EQ(WriteContainerFile(path, expected), Result::kOk);

    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(OpenFile(path, true, file), Result::kOk);
    ACompoundStream* stream = nullptr;

    // A few bytes here and there in the big stream, one write across a chunk boundary.
    ASSERT_EQ(file->OpenStream(u"difat", &stream), Result::kOk);
    for (std::uint64_t at : {0ull, 4090ull, 5ull << 20, (8ull << 20) - 3}) {
        const Bytes patch = Pattern(12, static_cast<std::uint32_t>(at));
        const std::size_t count = std::min<std::size_t>(patch.size(), expected[u"difat"].size() - at);
        ASSERT_EQ(stream->WriteAt(at, patch.data(), count), Result::kOk);
        std::copy_n(patch.begin(), count, expected[u"difat"].begin() + static_cast<std::ptrdiff_t>(at));
    }
    EXPECT_LE(dynamic_cast<ACompoundStreamImpl&>(*stream).ChangedBytes(), 5u * 4096);

    // Appending, and sizes that move streams into and out of the mini stream.
    ASSERT_EQ(file->OpenStream(u"k100", &stream), Result::kOk);
    const Bytes tail = Pattern(5000, 99);
    ASSERT_EQ(stream->WriteAt(stream->Size(), tail.data(), tail.size()), Result::kOk);
    expected[u"k100"].insert(expected[u"k100"].end(), tail.begin(), tail.end());
    ASSERT_EQ(file->OpenStream(u"above4096", &stream), Result::kOk);
    ASSERT_EQ(stream->SetSize(10), Result::kOk);
    expected[u"above4096"].resize(10);
    ASSERT_EQ(file->OpenStream(u"below4096", &stream), Result::kOk);
    ASSERT_EQ(stream->SetSize(6000), Result::kOk);
    expected[u"below4096"].resize(6000, 0);

    // Deleting, replacing, adding.
    ASSERT_EQ(file->DeleteStream(u"mini64"), Result::kOk);
    expected.erase(u"mini64");
    ACompoundStream* replaced = nullptr;
    ASSERT_EQ(file->OpenStream(u"at4096", &replaced), Result::kOk);
    ACompoundStream* fresh = nullptr;
    ASSERT_EQ(file->CreateStream(u"AT4096", &fresh), Result::kOk);
    EXPECT_EQ(fresh, replaced) << "replacing keeps the handle";
    EXPECT_EQ(fresh->Size(), 0u);
    const Bytes replacement = Pattern(70, 5);
    ASSERT_EQ(fresh->WriteAt(0, replacement.data(), replacement.size()), Result::kOk);
    expected.erase(u"at4096");
    expected[u"AT4096"] = replacement;
    ASSERT_EQ(file->CreateStream(u"Новый", &stream), Result::kOk);
    expected[u"Новый"] = {};

    EXPECT_EQ(ContentOf(*file), expected);
    ASSERT_EQ(file->Commit(), Result::kOk);
    EXPECT_EQ(ContentOf(*file), expected);
    file.reset();
    ASSERT_EQ(OpenFile(path, false, file), Result::kOk);
    EXPECT_EQ(ContentOf(*file), expected);
}

TEST(CompoundFileRoundTrip, RevertRestoresTheCommittedStreams)
{
    AScratchFolder folder;
    const std::string path = folder / "revert.fend";
    const AStreamSet committed = {
        {u"kept", Pattern(5000, 1)}, {u"deleted", Pattern(10, 2)}, {u"emptied", Pattern(9000, 3)}};
    ASSERT_EQ(WriteContainerFile(path, committed), Result::kOk);

    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(OpenFile(path, true, file), Result::kOk);
    ACompoundStream* kept = nullptr;
    ASSERT_EQ(file->OpenStream(u"kept", &kept), Result::kOk);
    const Bytes patch(100, 0xAB);
    ASSERT_EQ(kept->WriteAt(4990, patch.data(), patch.size()), Result::kOk);
    ASSERT_EQ(file->DeleteStream(u"deleted"), Result::kOk);
    ACompoundStream* stream = nullptr;
    ASSERT_EQ(file->CreateStream(u"emptied", &stream), Result::kOk);
    ASSERT_EQ(file->CreateStream(u"added", &stream), Result::kOk);

    file->Revert();
    EXPECT_EQ(ContentOf(*file), committed);
    EXPECT_EQ(kept->Size(), 5000u) << "handles of committed streams stay valid";
}

// Random writes, size changes and commits against a plain byte vector.
TEST(CompoundFileRoundTrip, OverlayAgreesWithAModelThroughRandomEdits)
{
    AScratchFolder folder;
    const std::string path = folder / "model.fend";
    Bytes model = Pattern(50000, 11);
    ASSERT_EQ(WriteContainerFile(path, {{u"s", model}}), Result::kOk);
    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(OpenFile(path, true, file), Result::kOk);
    ACompoundStream* stream = nullptr;
    ASSERT_EQ(file->OpenStream(u"s", &stream), Result::kOk);

    std::mt19937 random(12345);
    for (int step = 0; step < 600; ++step) {
        const unsigned action = random() % 10;
        if (action < 6) {
            const std::uint64_t at = random() % (model.size() + 9000);
            const Bytes piece = Pattern(1 + random() % 9000, static_cast<std::uint32_t>(step));
            ASSERT_EQ(stream->WriteAt(at, piece.data(), piece.size()), Result::kOk);
            if (model.size() < at + piece.size()) model.resize(at + piece.size(), 0);
            std::copy(piece.begin(), piece.end(), model.begin() + static_cast<std::ptrdiff_t>(at));
        } else if (action < 8) {
            const std::size_t size = random() % 70000;
            ASSERT_EQ(stream->SetSize(size), Result::kOk);
            model.resize(size, 0);
        } else if (action == 8) {
            ASSERT_EQ(file->Commit(), Result::kOk);
        } else {
            const std::uint64_t at = random() % (model.size() + 10);
            Bytes piece(random() % 10000, 0xEE);
            std::size_t read = 0;
            ASSERT_EQ(stream->ReadAt(at, piece.data(), piece.size(), &read), Result::kOk);
            const std::size_t available = at < model.size() ? std::min(piece.size(), model.size() - at) : 0;
            ASSERT_EQ(read, available);
            ASSERT_TRUE(
                std::equal(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(read),
                           model.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(at, model.size()))))
                << "step " << step;
        }
        ASSERT_EQ(stream->Size(), model.size()) << "step " << step;
    }
    ASSERT_EQ(file->Commit(), Result::kOk);
    file.reset();
    ASSERT_EQ(OpenFile(path, false, file), Result::kOk);
    EXPECT_EQ(StreamContent(*file, u"s"), model);
}

TEST(CompoundFileRoundTrip, MisuseGivesItsResultCode)
{
    AScratchFolder folder;
    const std::string path = folder / "misuse.fend";
    ASSERT_EQ(WriteContainerFile(path, {{u"s", Pattern(10, 1)}}), Result::kOk);

    std::unique_ptr<ACompoundFile> writable;
    ASSERT_EQ(OpenFile(path, true, writable), Result::kOk);
    ACompoundStream* stream = nullptr;
    for (const std::u16string& bad : {std::u16string(), std::u16string(32, u'x'), std::u16string(u"a/b"),
                                      std::u16string(u"a\\b"), std::u16string(u"a:b"), std::u16string(u"a!b"),
                                      std::u16string(1, u'\0')}) {
        EXPECT_EQ(writable->CreateStream(bad, &stream), Result::kStgInvalidName);
    }
    EXPECT_EQ(writable->CreateStream(std::u16string(31, u'x'), &stream), Result::kOk);
    EXPECT_EQ(writable->OpenStream(u"missing", &stream), Result::kStgFileNotFound);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(writable->DeleteStream(u"missing"), Result::kStgFileNotFound);
    ASSERT_EQ(writable->OpenStream(u"S", &stream), Result::kOk) << "names are found case-blind";
    EXPECT_EQ(stream->WriteAt(Database::Engine::Implementation::kMaxStreamSize, "x", 1), Result::kStgMediumFull);
    EXPECT_EQ(stream->SetSize(Database::Engine::Implementation::kMaxStreamSize + 1), Result::kStgMediumFull);
    writable.reset();

    std::unique_ptr<ACompoundFile> readOnly;
    ASSERT_EQ(OpenFile(path, false, readOnly), Result::kOk);
    ASSERT_EQ(readOnly->OpenStream(u"s", &stream), Result::kOk);
    EXPECT_EQ(stream->WriteAt(0, "x", 1), Result::kUnexpected);
    EXPECT_EQ(stream->SetSize(0), Result::kUnexpected);
    EXPECT_EQ(readOnly->CreateStream(u"t", &stream), Result::kUnexpected);
    EXPECT_EQ(readOnly->DeleteStream(u"s"), Result::kUnexpected);
    EXPECT_EQ(readOnly->Commit(), Result::kUnexpected);

    std::unique_ptr<ACompoundFile> missing;
    EXPECT_EQ(OpenFile(folder / "nothing-here", false, missing), Result::FromErrno(ENOENT));
    EXPECT_EQ(OpenFile(folder.Path(), false, missing), Result::FromErrno(EISDIR));
}

TEST(CompoundFileRoundTrip, CommitKeepsTheFileModeAndLeavesNoTemporaryFile)
{
    AScratchFolder folder;
    const std::string path = folder / "mode.fend";
    ASSERT_EQ(WriteContainerFile(path, {{u"s", Pattern(10, 1)}}), Result::kOk);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(OpenFile(path, true, file), Result::kOk);
    ASSERT_EQ(file->Commit(), Result::kOk);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.EntryCount(), 1u);
}

// A commit that can't be written leaves the old file and the changes in memory
// as they were, so the caller can try again.
TEST(CompoundFileRoundTrip, FailedCommitLeavesTheOldFileAndTheChanges)
{
    AScratchFolder folder;
    const std::string path = folder / "failing.fend";
    ASSERT_EQ(WriteContainerFile(path, {{u"s", Pattern(5000, 1)}}), Result::kOk);
    const Bytes before = ReadFileBytes(path);

    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(OpenFile(path, true, file), Result::kOk);
    ACompoundStream* stream = nullptr;
    ASSERT_EQ(file->CreateStream(u"big", &stream), Result::kOk);
    const Bytes content = Pattern(2u << 20, 2);
    ASSERT_EQ(stream->WriteAt(0, content.data(), content.size()), Result::kOk);

    // A file size limit makes the write fail with EFBIG part-way.
    rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = 1u << 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const HRESULT failed = file->Commit();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(failed, Result::FromErrno(EFBIG));
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(folder.EntryCount(), 1u) << "the temporary file must be removed";
    EXPECT_EQ(StreamContent(*file, u"big"), content);
    ASSERT_EQ(file->Commit(), Result::kOk);
    file.reset();
    ASSERT_EQ(OpenFile(path, false, file), Result::kOk);
    EXPECT_EQ(StreamContent(*file, u"big"), content);
    EXPECT_EQ(StreamContent(*file, u"s"), Pattern(5000, 1));
}

// The common save: one page of a large table stream changed. The commit copies
// the rest through a buffer; the open file holds only the changed chunk.
TEST(CompoundFileRoundTrip, CommitOfOneChangedPageInALargeStreamIsFast)
{
    AScratchFolder folder;
    const std::string path = folder / "large.fend";
    const Bytes content = Pattern(20u << 20, 3);
    ASSERT_EQ(WriteContainerFile(path, {{u"Stream-00000007", content}, {u"dbHeader", Pattern(40, 4)}}), Result::kOk);

    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(OpenFile(path, true, file), Result::kOk);
    ACompoundStream* stream = nullptr;
    ASSERT_EQ(file->OpenStream(u"Stream-00000007", &stream), Result::kOk);
    const Bytes page = Pattern(4096, 5);
    ASSERT_EQ(stream->WriteAt(7u << 20, page.data(), page.size()), Result::kOk);
    EXPECT_EQ(dynamic_cast<ACompoundStreamImpl&>(*stream).ChangedBytes(), 4096u);

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(file->Commit(), Result::kOk);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    RecordProperty("commit_ms", static_cast<int>(elapsed.count()));
    std::printf("commit of a 20 MiB file with one changed page: %lld ms\n", static_cast<long long>(elapsed.count()));
    EXPECT_LT(elapsed.count(), 5000);

    Bytes expected = content;
    std::copy(page.begin(), page.end(), expected.begin() + (7 << 20));
    Bytes read;
    ASSERT_EQ(ReadWhole(*stream, read), Result::kOk);
    EXPECT_TRUE(read == expected);
}

}  // namespace
}  // namespace CompoundFileTest
