#include "core/FileStream.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace UtilityClasses::Streams {

namespace {

constexpr std::uint64_t kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());

HRESULT LastError()
{
    return Result::FromErrno(errno);
}

std::string ParentDirectory(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file beside the target, so that the final rename stays on one file system.
int CreateTemporary(const std::string& path, std::string* tempPath)
{
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".~%08x", static_cast<unsigned>(random()));
        std::string candidate = path + suffix;
        const int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *tempPath = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

HRESULT SyncDirectory(const std::string& directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return LastError();
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a directory; the rename itself has happened.
    return rc == 0 || error == EINVAL ? Result::kOk : Result::FromErrno(error);
}

}  // namespace

HRESULT AFileStream::Open(const std::string& path, EFileMode mode, AStreamPtr* stream)
{
    if (!stream)
        return Result::kStgInvalidPointer;
    stream->Reset();
    if (path.empty())
        return Result::FromErrno(ENOENT);

    // Replacing a symbolic link writes the file it points to, not a new file over the link.
    std::string target = path;
    if (mode == EFileMode::CreateAtomic) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return Result::FromErrno(EISDIR);

    int fd = -1;
    std::string tempPath;
    switch (mode) {
    case EFileMode::Read:
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        break;
    case EFileMode::Create:
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        break;
    case EFileMode::CreateAtomic:
        fd = CreateTemporary(target, &tempPath);
        // The replacement keeps the permissions the user gave the old file.
        if (fd >= 0 && exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(tempPath.c_str());
            return Result::FromErrno(error);
        }
        break;
    }
    if (fd < 0)
        return LastError();
    *stream = AStreamPtr::Adopt(new AFileStream(fd, mode, target, std::move(tempPath)));
    return Result::kOk;
}

AFileStream::AFileStream(int descriptor, EFileMode mode, std::string path, std::string tempPath)
    : m_descriptor(descriptor), m_mode(mode), m_path(std::move(path)), m_tempPath(std::move(tempPath))
{
}

AFileStream::~AFileStream()
{
    ::close(m_descriptor);
    if (!m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
}

HRESULT AFileStream::CheckWritable() const
{
    if (m_mode == EFileMode::Read)
        return Result::kStgAccessDenied;
    if (m_committed && m_mode == EFileMode::CreateAtomic)
        return Result::kStgReverted;
    return Result::kOk;
}

HRESULT AFileStream::Read(void* buffer, std::uint32_t size, std::uint32_t* read)
{
    if (read)
        *read = 0;
    if (!buffer && size)
        return Result::kStgInvalidPointer;
    auto* bytes = static_cast<char*>(buffer);
    std::uint32_t total = 0;
    while (total < size && m_position <= kMaxOffset) {
        const ssize_t got = ::pread(m_descriptor, bytes + total, size - total, static_cast<off_t>(m_position));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        if (got == 0)
            break;
        total += static_cast<std::uint32_t>(got);
        m_position += static_cast<std::uint64_t>(got);
    }
    if (read)
        *read = total;
    return Result::kOk;
}

HRESULT AFileStream::Write(const void* buffer, std::uint32_t size, std::uint32_t* written)
{
    if (written)
        *written = 0;
    if (HRESULT hr = CheckWritable(); Result::Failed(hr))
        return hr;
    if (!buffer && size)
        return Result::kStgInvalidPointer;
    if (m_position > kMaxOffset - size)
        return Result::kStgMediumFull;
    const auto* bytes = static_cast<const char*>(buffer);
    std::uint32_t total = 0;
    while (total < size) {
        const ssize_t put = ::pwrite(m_descriptor, bytes + total, size - total, static_cast<off_t>(m_position));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        total += static_cast<std::uint32_t>(put);
        m_position += static_cast<std::uint64_t>(put);
    }
    if (written)
        *written = total;
    return Result::kOk;
}

HRESULT AFileStream::Seek(std::int64_t move, ESeekOrigin origin, std::uint64_t* newPosition)
{
    AStreamStat stat;
    if (origin == ESeekOrigin::End) {
        if (HRESULT hr = Stat(&stat); Result::Failed(hr))
            return hr;
    }
    std::uint64_t target = 0;
    const HRESULT hr = Implementation::ComputeSeek(m_position, stat.size, move, origin, &target);
    if (Result::Failed(hr))
        return hr;
    if (target > kMaxOffset)
        return Result::kStgInvalidFunction;
    m_position = target;
    if (newPosition)
        *newPosition = target;
    return Result::kOk;
}

HRESULT AFileStream::SetSize(std::uint64_t size)
{
    if (HRESULT hr = CheckWritable(); Result::Failed(hr))
        return hr;
    if (size > kMaxOffset)
        return Result::kStgMediumFull;
    while (::ftruncate(m_descriptor, static_cast<off_t>(size)) != 0) {
        if (errno != EINTR)
            return LastError();
    }
    return Result::kOk;
}

HRESULT AFileStream::Commit()
{
    if (m_mode == EFileMode::Read || m_committed)
        return Result::kOk;
    if (::fsync(m_descriptor) != 0)
        return LastError();
    if (m_mode == EFileMode::CreateAtomic) {
        if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
            return LastError();
        m_tempPath.clear();
        m_committed = true;
        return SyncDirectory(ParentDirectory(m_path));
    }
    return Result::kOk;
}

HRESULT AFileStream::Stat(AStreamStat* stat)
{
    if (!stat)
        return Result::kStgInvalidPointer;
    struct stat info {};
    if (::fstat(m_descriptor, &info) != 0)
        return LastError();
    stat->size = static_cast<std::uint64_t>(info.st_size);
    return Result::kOk;
}

}  // namespace UtilityClasses::Streams
