#include "core/FileStream.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace UtilityClasses;
using namespace UtilityClasses::Streams;

namespace {

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/fendral-streams-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_directory = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_directory); }

    std::string PathOf(const std::string& name) const { return m_directory + "/" + name; }

    static std::string Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    std::size_t EntryCount() const
    {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_directory))
            ++count;
        return count;
    }

    std::string m_directory;
};

}  // namespace

TEST_F(FileStreamTest, OpeningFailuresCarryTheSystemError)
{
    AStreamPtr stream;
    EXPECT_EQ(AFileStream::Open(PathOf("missing"), EFileMode::Read, &stream), Result::kFileNotFound);
    EXPECT_FALSE(stream);
    EXPECT_EQ(AFileStream::Open(PathOf("no/such/dir/file"), EFileMode::Create, &stream), Result::kFileNotFound);
    EXPECT_EQ(AFileStream::Open(PathOf("no/such/dir/file"), EFileMode::CreateAtomic, &stream), Result::kFileNotFound);
    EXPECT_EQ(AFileStream::Open(m_directory, EFileMode::Read, &stream), Result::Code(0x8007010B));
    EXPECT_EQ(AFileStream::Open("", EFileMode::Read, &stream), Result::kFileNotFound);
    EXPECT_EQ(AFileStream::Open(PathOf("x"), EFileMode::Read, nullptr), Result::kStgInvalidPointer);
}

TEST_F(FileStreamTest, ReadOnlyStreamReadsSeeksAndRefusesChanges)
{
    Put(PathOf("in"), "hello world");
    AStreamPtr stream;
    ASSERT_EQ(AFileStream::Open(PathOf("in"), EFileMode::Read, &stream), Result::kOk);
    std::uint64_t size = 0;
    ASSERT_EQ(GetSize(*stream, &size), Result::kOk);
    EXPECT_EQ(size, 11u);
    ASSERT_EQ(stream->Seek(-5, ESeekOrigin::End, nullptr), Result::kOk);
    char buffer[16] = {};
    std::uint32_t read = 0;
    ASSERT_EQ(stream->Read(buffer, sizeof buffer, &read), Result::kOk);
    EXPECT_EQ(std::string(buffer, read), "world");
    ASSERT_EQ(stream->Read(buffer, sizeof buffer, &read), Result::kOk);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(stream->Write("x", 1, nullptr), Result::kStgAccessDenied);
    EXPECT_EQ(stream->SetSize(0), Result::kStgAccessDenied);
    EXPECT_EQ(stream->Seek(-12, ESeekOrigin::End, nullptr), Result::kStgInvalidFunction);
    EXPECT_EQ(stream->Commit(), Result::kOk);
    EXPECT_EQ(Contents(PathOf("in")), "hello world");
}

TEST_F(FileStreamTest, CreateTruncatesWritesHolesAndSetsSize)
{
    Put(PathOf("out"), "old content that is long");
    AStreamPtr stream;
    ASSERT_EQ(AFileStream::Open(PathOf("out"), EFileMode::Create, &stream), Result::kOk);
    ASSERT_EQ(stream->Write("ab", 2, nullptr), Result::kOk);
    ASSERT_EQ(stream->Seek(2, ESeekOrigin::Cur, nullptr), Result::kOk);
    std::uint32_t written = 0;
    ASSERT_EQ(stream->Write("cd", 2, &written), Result::kOk);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(Contents(PathOf("out")), std::string("ab\0\0cd", 6));
    ASSERT_EQ(stream->SetSize(3), Result::kOk);
    ASSERT_EQ(stream->Commit(), Result::kOk);
    EXPECT_EQ(Contents(PathOf("out")), std::string("ab\0", 3));
}

TEST_F(FileStreamTest, AtomicStreamLeavesTheTargetAloneUntilCommit)
{
    Put(PathOf("book"), "the old book");
    ::chmod(PathOf("book").c_str(), 0640);
    AStreamPtr stream;
    ASSERT_EQ(AFileStream::Open(PathOf("book"), EFileMode::CreateAtomic, &stream), Result::kOk);
    ASSERT_EQ(WriteAll(*stream, "the new book"), Result::kOk);
    EXPECT_EQ(Contents(PathOf("book")), "the old book");
    EXPECT_EQ(EntryCount(), 2u);
    ASSERT_EQ(stream->Commit(), Result::kOk);
    EXPECT_EQ(Contents(PathOf("book")), "the new book");
    EXPECT_EQ(EntryCount(), 1u);
    struct stat info {};
    ASSERT_EQ(::stat(PathOf("book").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(stream->Write("x", 1, nullptr), Result::kStgReverted);
    EXPECT_EQ(stream->SetSize(0), Result::kStgReverted);
    EXPECT_EQ(stream->Commit(), Result::kOk);
    EXPECT_EQ(Contents(PathOf("book")), "the new book");
}

TEST_F(FileStreamTest, AtomicStreamReleasedWithoutCommitLeavesNoTrace)
{
    Put(PathOf("book"), "kept");
    {
        AStreamPtr stream;
        ASSERT_EQ(AFileStream::Open(PathOf("book"), EFileMode::CreateAtomic, &stream), Result::kOk);
        ASSERT_EQ(WriteAll(*stream, "half written"), Result::kOk);
    }
    EXPECT_EQ(Contents(PathOf("book")), "kept");
    EXPECT_EQ(EntryCount(), 1u);
    {
        AStreamPtr stream;
        ASSERT_EQ(AFileStream::Open(PathOf("new"), EFileMode::CreateAtomic, &stream), Result::kOk);
        ASSERT_EQ(WriteAll(*stream, "never committed"), Result::kOk);
    }
    EXPECT_FALSE(std::filesystem::exists(PathOf("new")));
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileStreamTest, LargeFileIsReadBackInPiecesOfAnySize)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += static_cast<char>('a' + i % 26);
    AStreamPtr stream;
    ASSERT_EQ(AFileStream::Open(PathOf("big"), EFileMode::Create, &stream), Result::kOk);
    ASSERT_EQ(WriteAll(*stream, text), Result::kOk);
    ASSERT_EQ(stream->Seek(0, ESeekOrigin::Set, nullptr), Result::kOk);
    std::string back;
    for (std::uint32_t piece = 1;; piece = piece % 5000 + 7) {
        char buffer[5100];
        std::uint32_t read = 0;
        ASSERT_EQ(stream->Read(buffer, piece, &read), Result::kOk);
        if (read == 0)
            break;
        back.append(buffer, read);
    }
    EXPECT_EQ(back, text);
}

TEST_F(FileStreamTest, AtomicStreamThroughASymbolicLinkReplacesTheFileItPointsTo)
{
    Put(PathOf("real"), "old");
    ASSERT_EQ(::symlink(PathOf("real").c_str(), PathOf("link").c_str()), 0);
    AStreamPtr stream;
    ASSERT_EQ(AFileStream::Open(PathOf("link"), EFileMode::CreateAtomic, &stream), Result::kOk);
    ASSERT_EQ(WriteAll(*stream, "new"), Result::kOk);
    ASSERT_EQ(stream->Commit(), Result::kOk);
    EXPECT_TRUE(std::filesystem::is_symlink(PathOf("link")));
    EXPECT_EQ(Contents(PathOf("real")), "new");
}
