#include "core/FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
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

// A file beside `target` that becomes `target` by Commit; removed unless committed.
class ATempBeside {
public:
    explicit ATempBeside(const std::string& target)
        : path_(JoinPath(ParentFolder(target).empty() ? "." : ParentFolder(target),
                         "." + FileNameOf(target) + ".XXXXXX")),
          fd_(::mkostemp(path_.data(), O_CLOEXEC))
    {
        error_ = fd_.Valid() ? 0 : errno;
    }
    ATempBeside(const ATempBeside&) = delete;
    ATempBeside& operator=(const ATempBeside&) = delete;
    ~ATempBeside()
    {
        fd_.Close();
        if (!committed_ && error_ == 0)
            ::unlink(path_.c_str());
    }
    int Error() const { return error_; }
    int Fd() const { return fd_.Get(); }
    int Commit(const std::string& target, mode_t mode)
    {
        if (::fchmod(fd_.Get(), mode) != 0 || ::fdatasync(fd_.Get()) != 0)
            return errno;
        if (int rc = fd_.Close())
            return rc;
        if (::rename(path_.c_str(), target.c_str()) != 0)
            return errno;
        committed_ = true;
        return 0;
    }

private:
    std::string path_;
    AFd fd_;
    int error_ = 0;
    bool committed_ = false;
};

// Writes through a symbolic link to the file it names instead of replacing the link.
std::string FollowLink(const std::string& path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    return path;
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
    const std::string target = FollowLink(path);
    mode_t mode = 0600;
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0)
        mode = info.st_mode & 07777;
    ATempBeside temp(target);
    if (temp.Error())
        return temp.Error();
    if (int rc = WriteAll(temp.Fd(), data.data(), data.size()))
        return rc;
    return temp.Commit(target, mode);
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
    ATempBeside temp(to);
    if (temp.Error())
        return temp.Error();
    if (int rc = CopyContent(source.Get(), temp.Fd()))
        return rc;
    return temp.Commit(to, info.st_mode & 07777);
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

}  // namespace Files
