#include "core/AtomicFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>

namespace {

enum class ACall { None, Create, Write, Flush, Rename, FlushFolder };

// The real calls, with one of them failing with ENOSPC (or EIO for the folder).
class AFailingCalls final : public Files::AAtomicFileCalls {
public:
    explicit AFailingCalls(ACall failing) : failing_(failing) {}
    int CreateExclusive(const std::string& path, mode_t mode) override
    {
        return Fail(ACall::Create) ? -1 : AAtomicFileCalls::CreateExclusive(path, mode);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override
    {
        // A short first write, which the writer must carry on from.
        if (!shortWriteDone_ && size > 1) {
            shortWriteDone_ = true;
            return AAtomicFileCalls::Write(fd, data, 1);
        }
        return Fail(ACall::Write) ? -1 : AAtomicFileCalls::Write(fd, data, size);
    }
    int Flush(int fd) override { return Fail(ACall::Flush) ? -1 : AAtomicFileCalls::Flush(fd); }
    int Rename(const std::string& from, const std::string& to) override
    {
        return Fail(ACall::Rename) ? -1 : AAtomicFileCalls::Rename(from, to);
    }
    int FlushFolder(const std::string& folder) override
    {
        return Fail(ACall::FlushFolder) ? -1 : AAtomicFileCalls::FlushFolder(folder);
    }

private:
    bool Fail(ACall call)
    {
        if (call != failing_)
            return false;
        errno = call == ACall::FlushFolder ? EIO : ENOSPC;
        return true;
    }
    ACall failing_;
    bool shortWriteDone_ = false;
};

int Replace(const std::string& path, const std::string& content, ACall failing)
{
    AFailingCalls calls(failing);
    Files::AAtomicFile file(calls);
    if (int rc = file.Begin(path))
        return rc;
    if (int rc = file.Write(content.data(), content.size()))
        return rc;
    return file.Commit();
}

TEST(AtomicFile, AFailureAtAnyStepKeepsTheOldContentAndLeavesNoStrayFile)
{
    const struct {
        ACall failing;
        int result;
        const char* content;  // what the target holds afterwards
    } cases[] = {
        {ACall::None, 0, "new content"},
        {ACall::Create, ENOSPC, "old"},
        {ACall::Write, ENOSPC, "old"},
        {ACall::Flush, ENOSPC, "old"},
        {ACall::Rename, ENOSPC, "old"},
        // The rename has happened: the file is new, but the caller hears that it may not last.
        {ACall::FlushFolder, EIO, "new content"},
    };
    for (const auto& c : cases) {
        ATempFolder temp;
        WriteTextFile(temp / "book.fend", "old");
        EXPECT_EQ(Replace(temp / "book.fend", "new content", c.failing), c.result) << int(c.failing);
        EXPECT_EQ(ReadTextFile(temp / "book.fend"), c.content) << int(c.failing);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1) << int(c.failing);
    }
}

TEST(AtomicFile, TheCommittedDescriptorNamesTheTarget)
{
    ATempFolder temp;
    Files::AAtomicFile file;
    ASSERT_EQ(file.Begin(temp / "book.fend"), 0);
    EXPECT_EQ(file.TakeFd(), -1);
    ASSERT_EQ(file.Write("abc", 3), 0);
    ASSERT_EQ(file.Commit(), 0);
    EXPECT_EQ(file.Commit(), EBADF);
    const int fd = file.TakeFd();
    ASSERT_GE(fd, 0);
    struct stat byDescriptor {}, byName {};
    ASSERT_EQ(::fstat(fd, &byDescriptor), 0);
    ASSERT_EQ(::stat((temp / "book.fend").c_str(), &byName), 0);
    EXPECT_EQ(byDescriptor.st_ino, byName.st_ino);
    ::close(fd);
    EXPECT_EQ(Files::AAtomicFile().Begin(temp.Path()), EISDIR);
}

}  // namespace

namespace {

// A file beside `path` as a writer that died `age` seconds ago would have left it; with
// `held`, its writer is still alive and holds its lock.
struct ALeftover {
    std::string path;
    int fd = -1;
};
ALeftover Leftover(const std::string& folder, const std::string& name, int age, bool held)
{
    ALeftover file{folder + "/." + name + "." + (held ? "a" : "d") + std::to_string(1000000 + age) + ".tmp"};
    file.fd = ::open(file.path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    EXPECT_GE(file.fd, 0);
    if (held)
        EXPECT_EQ(::flock(file.fd, LOCK_EX | LOCK_NB), 0);
    const timespec times[2] = {{std::time(nullptr) - age, 0}, {std::time(nullptr) - age, 0}};
    EXPECT_EQ(::futimens(file.fd, times), 0);
    if (!held) {
        ::close(file.fd);
        file.fd = -1;
    }
    return file;
}

}  // namespace

// A save that was killed leaves its new file behind; the next good save of the same file
// removes it, but never one a live writer holds, one just made, or another file's.
TEST(AtomicFile, TheNextSaveRemovesNewFilesThatDeadWritersLeft)
{
    ATempFolder folder;
    const std::string path = folder / "books.fend";
    const ALeftover dead = Leftover(folder.Path(), "books.fend", 3600, false);
    const ALeftover alive = Leftover(folder.Path(), "books.fend", 3600, true);
    const ALeftover young = Leftover(folder.Path(), "books.fend", 1, false);
    const ALeftover other = Leftover(folder.Path(), "other.fend", 3600, false);
    ASSERT_EQ(Replace(path, "new content", ACall::None), 0);
    EXPECT_FALSE(std::filesystem::exists(dead.path));
    for (const ALeftover* kept : {&alive, &young, &other})
        EXPECT_TRUE(std::filesystem::exists(kept->path)) << kept->path;
    ::close(alive.fd);
}
