#include "core/FileSystem.h"

#include "core/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Files {

namespace {

// Closes the descriptor on every path out of a function.
class AFd {
public:
    explicit AFd(int fd) : fd_(fd) {}
    AFd(const AFd&) = delete;
    AFd& operator=(const AFd&) = delete;
    ~AFd() { Close(); }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Close()
    {
        if (fd_ < 0)
            return 0;
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0 ? 0 : errno;
    }

private:
    int fd_;
};

int WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

int CopyContent(int from, int to)
{
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
        if (int rc = WriteAll(to, buffer, static_cast<std::size_t>(n)))
            return rc;
    }
}

}  // namespace

int ALocalFileSystem::ReadFile(const std::string& path, std::string& out, std::size_t limit)
{
    out.clear();
    AFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid())
        return errno;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (info.st_size > 0 && static_cast<std::size_t>(info.st_size) > limit)
        return EFBIG;
    // The size may change under us (or be unknown for special files): read to the end,
    // but never past the limit.
    char buffer[16 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int rc = errno;
            out.clear();
            return rc;
        }
        if (n == 0)
            return 0;
        if (out.size() + static_cast<std::size_t>(n) > limit) {
            out.clear();
            return EFBIG;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

int ALocalFileSystem::WriteFileAtomic(const std::string& path, std::string_view data)
{
    // Settings and backups are the user's own: a new file is readable by them alone.
    AAtomicFile file;
    if (int rc = file.Begin(path, 0600))
        return rc;
    if (int rc = file.Write(data.data(), data.size()))
        return rc;
    return file.Commit();
}

int ALocalFileSystem::CreateNewFile(const std::string& path, std::string_view data)
{
    AFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd.Valid())
        return errno;
    int rc = WriteAll(fd.Get(), data.data(), data.size());
    if (rc == 0)
        rc = fd.Close();
    if (rc != 0)
        ::unlink(path.c_str());
    return rc;
}

int ALocalFileSystem::CreateTempFile(const std::string& folder, std::string& created)
{
    std::string path = JoinPath(folder, ".fendral-probe-XXXXXX");
    AFd fd(::mkostemp(path.data(), O_CLOEXEC));
    if (!fd.Valid())
        return errno;
    if (int rc = fd.Close()) {
        ::unlink(path.c_str());
        return rc;
    }
    created = path;
    return 0;
}

int ALocalFileSystem::CopyFile(const std::string& from, const std::string& to)
{
    AFd source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.Valid())
        return errno;
    struct stat info {};
    if (::fstat(source.Get(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    AAtomicFile copy;
    if (int rc = copy.Begin(to, info.st_mode & 07777))
        return rc;
    // A copy has the permissions of its source, also over an older copy.
    if (::fchmod(copy.Fd(), info.st_mode & 07777) != 0)
        return errno;
    if (int rc = CopyContent(source.Get(), copy.Fd()))
        return rc;
    return copy.Commit();
}

int ALocalFileSystem::Rename(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int ALocalFileSystem::RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int ALocalFileSystem::MakeFolder(const std::string& path)
{
    return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno;
}

int ALocalFileSystem::ListFiles(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return errno;
    const int dirFd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr)
            break;
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            regular = ::fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (regular)
            names.push_back(name);
    }
    const int rc = errno;
    ::closedir(dir);
    return rc;
}

AFileKind ALocalFileSystem::Kind(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return AFileKind::None;
    if (S_ISREG(info.st_mode))
        return AFileKind::File;
    if (S_ISDIR(info.st_mode))
        return AFileKind::Folder;
    return AFileKind::Other;
}

int ALocalFileSystem::CheckOpen(const std::string& path, bool forWriting)
{
    AFd fd(::open(path.c_str(), (forWriting ? O_RDWR : O_RDONLY) | O_CLOEXEC));
    if (!fd.Valid())
        return errno;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        return errno;
    return S_ISDIR(info.st_mode) ? EISDIR : 0;
}

int MakeFolders(AFileSystem& fs, const std::string& path)
{
    if (path.empty())
        return ENOENT;
    if (fs.Kind(path) == AFileKind::Folder)
        return 0;
    // Walk down from the root, creating each level that is missing.
    std::size_t pos = 0;
    for (;;) {
        pos = path.find('/', pos + 1);
        const std::string level = path.substr(0, pos);
        if (!level.empty() && level.back() != '/') {
            const int rc = fs.MakeFolder(level);
            if (rc != 0 && rc != EEXIST)
                return rc;
            if (rc == EEXIST && fs.Kind(level) != AFileKind::Folder)
                return ENOTDIR;
        }
        if (pos == std::string::npos)
            return 0;
    }
}

std::string ParentFolder(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

std::string FileNameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += name;
    return path;
}

bool IsAbsolutePath(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::string ResolvePath(std::string_view base, std::string_view path)
{
    return IsAbsolutePath(path) ? std::string(path) : JoinPath(base, path);
}

bool SamePath(std::string_view a, std::string_view b)
{
    if (a == b)
        return true;
    // Two names of one existing file: through links, "..", or hard links.
    std::error_code error;
    if (std::filesystem::equivalent(std::filesystem::path(a), std::filesystem::path(b), error))
        return true;
    // Files that do not exist yet are told apart by their names alone, letter case kept.
    const auto normal = [&error](std::string_view path) {
        return std::filesystem::absolute(std::filesystem::path(path), error).lexically_normal();
    };
    return normal(a) == normal(b);
}

}  // namespace Files
