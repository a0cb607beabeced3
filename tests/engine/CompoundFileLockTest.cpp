// The advisory lock of a writable compound file: a second writer is refused,
// readers are not, and the lock follows the file through commits.
#include "CompoundFileTestSupport.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace CompoundFileTest {
namespace {

class CompoundFileLock : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WriteContainerFile(path_, {{u"s", Pattern(5000, 1)}}), Result::kOk); }

    HRESULT OpenWritable(std::unique_ptr<ACompoundFile>& file) const { return ACompoundFile::Open(path_, true, file); }

    AScratchFolder folder_;
    const std::string path_ = folder_ / "locked.fend";
};

TEST_F(CompoundFileLock, SecondWriterIsRefusedAndReaderIsNot)
{
    std::unique_ptr<ACompoundFile> first;
    ASSERT_EQ(OpenWritable(first), Result::kOk);
    EXPECT_TRUE(first->Writable());

    std::unique_ptr<ACompoundFile> second;
    EXPECT_EQ(OpenWritable(second), Result::kStgAccessDenied);
    EXPECT_EQ(second, nullptr);
    ASSERT_EQ(ACompoundFile::Open(path_, false, second), Result::kOk);
    EXPECT_FALSE(second->Writable());
    EXPECT_EQ(StreamContent(*second, u"s"), Pattern(5000, 1));

    first.reset();
    std::unique_ptr<ACompoundFile> third;
    EXPECT_EQ(OpenWritable(third), Result::kOk) << "closing releases the lock";
}

TEST_F(CompoundFileLock, LockFollowsTheFileThroughCommit)
{
    std::unique_ptr<ACompoundFile> first;
    ASSERT_EQ(OpenWritable(first), Result::kOk);
    ACompoundStream* stream = nullptr;
    ASSERT_EQ(first->OpenStream(u"s", &stream), Result::kOk);
    ASSERT_EQ(stream->WriteAt(0, "changed", 7), Result::kOk);
    ASSERT_EQ(first->Commit(), Result::kOk);

    std::unique_ptr<ACompoundFile> second;
    EXPECT_EQ(OpenWritable(second), Result::kStgAccessDenied);
    // A reader that opened before the commit keeps seeing the old content.
    std::unique_ptr<ACompoundFile> reader;
    ASSERT_EQ(ACompoundFile::Open(path_, false, reader), Result::kOk);
    ASSERT_EQ(stream->WriteAt(0, "again!!", 7), Result::kOk);
    ASSERT_EQ(first->Commit(), Result::kOk);
    const Bytes seen = StreamContent(*reader, u"s");
    EXPECT_EQ(std::string(seen.begin(), seen.begin() + 7), "changed");
}

TEST_F(CompoundFileLock, CreatedFileCommitsOnlyOverAnUnlockedFile)
{
    std::unique_ptr<ACompoundFile> holder;
    ASSERT_EQ(OpenWritable(holder), Result::kOk);
    const Bytes before = ReadFileBytes(path_);

    std::unique_ptr<ACompoundFile> created;
    ASSERT_EQ(ACompoundFile::Create(path_, created), Result::kOk);
    EXPECT_TRUE(created->Writable());
    ACompoundStream* stream = nullptr;
    ASSERT_EQ(created->CreateStream(u"new", &stream), Result::kOk);
    EXPECT_EQ(created->Commit(), Result::kStgAccessDenied);
    EXPECT_EQ(ReadFileBytes(path_), before);
    EXPECT_EQ(folder_.EntryCount(), 1u);

    holder.reset();
    ASSERT_EQ(created->Commit(), Result::kOk);
    std::unique_ptr<ACompoundFile> other;
    EXPECT_EQ(OpenWritable(other), Result::kStgAccessDenied) << "a committed created file is locked";
    created.reset();
    ASSERT_EQ(OpenWritable(other), Result::kOk);
    EXPECT_EQ(other->StreamNames(), std::vector<std::u16string>{u"new"});
}

// Runs the check as it stands for an ordinary user; root, whom permissions do
// not stop, runs it in a child that has given up its privileges.
TEST_F(CompoundFileLock, FileWithoutWritePermissionOpensOnlyForReading)
{
    ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
    ASSERT_EQ(chmod(folder_.Path().c_str(), 0755), 0);
    const auto check = [this]() {
        std::unique_ptr<ACompoundFile> file;
        const bool refused = OpenWritable(file) == Result::kStgAccessDenied;
        const bool readable = ACompoundFile::Open(path_, false, file) == Result::kOk && file->HasStream(u"s");
        return refused && readable;
    };
    if (geteuid() != 0) {
        EXPECT_TRUE(check());
        return;
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
        _exit(!dropped ? 2 : check() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not refused or not readable, 2: could not drop privileges";
}

}  // namespace
}  // namespace CompoundFileTest
