#include "core/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

namespace Files {

namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FollowLink(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".NAME.xxxxxxxx.tmp": the name a writer gives its new file beside NAME.
bool IsTemporaryOf(const std::string& entry, const std::string& name)
{
    const std::string prefix = "." + name + ".";
    if (entry.size() != prefix.size() + 12 || entry.compare(0, prefix.size(), prefix) != 0 ||
        entry.compare(entry.size() - 4, 4, ".tmp") != 0)
        return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + 8; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(entry[i])))
            return false;
    return true;
}

// New files left beside the target by writers that died: a live writer holds a lock on its
// new file from the moment it made it, and a file that young is left alone anyway.
void RemoveStaleTemporaries(const std::string& target)
{
    constexpr std::time_t kYoung = 60;  // seconds
    const std::string folder = FolderOf(target), name = NameOf(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryOf(entry->d_name, name))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_mtime + kYoung < std::time(nullptr) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace

int AAtomicFileCalls::CreateExclusive(const std::string& path, mode_t mode)
{
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

ssize_t AAtomicFileCalls::Write(int fd, const void* data, std::size_t size)
{
    return ::write(fd, data, size);
}

int AAtomicFileCalls::Flush(int fd)
{
    return ::fsync(fd);
}

int AAtomicFileCalls::Rename(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str());
}

int AAtomicFileCalls::FlushFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot flush a folder; the rename has happened all the same.
    if (rc != 0 && error == EINVAL)
        return 0;
    errno = error;
    return rc;
}

AAtomicFileCalls& SystemFileCalls()
{
    static AAtomicFileCalls calls;
    return calls;
}

AAtomicFile::~AAtomicFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_ && !tempPath_.empty())
        ::unlink(tempPath_.c_str());
}

int AAtomicFile::Begin(const std::string& path, mode_t newFileMode)
{
    if (fd_ >= 0 || committed_)
        return EALREADY;
    if (path.empty())
        return ENOENT;
    target_ = FollowLink(path);
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return EISDIR;

    // A dot name beside the target keeps the rename on one file system and out of sight.
    const std::string folder = FolderOf(target_);
    const std::string name = target_.substr(target_.rfind('/') == std::string::npos ? 0 : target_.rfind('/') + 1);
    std::random_device random;
    for (int attempt = 0; attempt < 32; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        std::string candidate = folder + "/." + name + suffix;
        const int fd = calls_.CreateExclusive(candidate, newFileMode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        fd_ = fd;
        tempPath_ = std::move(candidate);
        // Held while the file is written: the sign that it is not left over from a crash.
        (void)::flock(fd_, LOCK_EX | LOCK_NB);
        // The replacement keeps the permissions the user gave the old file.
        if (exists && ::fchmod(fd_, existing.st_mode & 07777) != 0)
            return errno;
        return 0;
    }
    return EEXIST;
}

int AAtomicFile::Write(const void* data, std::size_t size)
{
    if (fd_ < 0 || committed_)
        return EBADF;
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = calls_.Write(fd_, bytes, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

int AAtomicFile::Commit()
{
    if (fd_ < 0 || committed_)
        return EBADF;
    if (calls_.Flush(fd_) != 0)
        return errno;
    if (calls_.Rename(tempPath_, target_) != 0)
        return errno;
    committed_ = true;
    tempPath_.clear();
    const int flushed = calls_.FlushFolder(FolderOf(target_)) == 0 ? 0 : errno;
    RemoveStaleTemporaries(target_);
    return flushed;
}

int AAtomicFile::TakeFd()
{
    if (!committed_)
        return -1;
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

}  // namespace Files
