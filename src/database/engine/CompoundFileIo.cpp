#include "database/engine/CompoundFileIo.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Database::Engine::Implementation {

namespace {

HRESULT LastError() { return Result::FromErrno(errno); }

// The lock is advisory: it keeps a second copy of this program from saving over
// a file we have open, as the exclusive share mode did on the original platform.
HRESULT LockExclusive(int fd)
{
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        return errno == EWOULDBLOCK ? Result::kStgAccessDenied : LastError();
    }
    return Result::kOk;
}

// Far past the 2 GiB a container can hold, so the lock never covers content.
constexpr off_t kGuardByte = off_t{1} << 40;

int GuardLock(int fd, short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = kGuardByte;
    lock.l_len = 1;
    int rc;
    do rc = fcntl(fd, F_OFD_SETLK, &lock);
    while (rc != 0 && errno == EINTR);
    return rc;
}

}  // namespace

HRESULT HoldReaderLock(int fd)
{
    for (int attempt = 0; attempt < 600; ++attempt) {
        if (GuardLock(fd, F_RDLCK) == 0) return Result::kOk;
        if (errno != EAGAIN && errno != EACCES) return Result::kOk;  // no such locks here
        usleep(5000);
    }
    return Result::kStgAccessDenied;
}

bool TryLockForUpdate(int fd) { return GuardLock(fd, F_WRLCK) == 0; }

void UnlockForUpdate(int fd) { (void)GuardLock(fd, F_UNLCK); }

AFileHandle::~AFileHandle()
{
    if (fd_ >= 0) close(fd_);
}

HRESULT OpenContainerFile(const std::string& path, bool writable, std::shared_ptr<AFileHandle>& handle,
                          std::uint64_t& fileSize)
{
    // O_NONBLOCK so that a FIFO given as a path does not hang the open.
    const int fd = open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (writable && (errno == EACCES || errno == EPERM || errno == EROFS)) return Result::kStgAccessDenied;
        return LastError();
    }
    auto opened = std::make_shared<AFileHandle>(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0) return LastError();
    if (S_ISDIR(info.st_mode)) return Result::FromErrno(EISDIR);
    if (!S_ISREG(info.st_mode)) return Result::kStgInvalidHeader;
    if (writable) {
        const HRESULT hr = LockExclusive(fd);
        if (Result::Failed(hr)) return hr;
    }
    fileSize = static_cast<std::uint64_t>(info.st_size);
    handle = std::move(opened);
    return Result::kOk;
}

HRESULT ReadUpTo(int fd, std::uint64_t offset, void* buffer, std::size_t count, std::size_t* got)
{
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = pread(fd, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    *got = done;
    return Result::kOk;
}

ASequentialWriter::ASequentialWriter(int fd, std::size_t bufferSize) : fd_(fd), buffer_(bufferSize) {}

HRESULT ASequentialWriter::Write(const void* data, std::size_t count)
{
    const auto* in = static_cast<const std::uint8_t*>(data);
    if (count >= buffer_.size()) {
        // Large blocks go straight to the file instead of through the buffer.
        HRESULT hr = Flush();
        if (Result::Succeeded(hr)) hr = WriteDirect(in, count);
        if (Result::Succeeded(hr)) written_ += count;
        return hr;
    }
    while (count > 0) {
        if (used_ == buffer_.size()) {
            const HRESULT hr = Flush();
            if (Result::Failed(hr)) return hr;
        }
        const std::size_t part = std::min(count, buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, in, part);
        used_ += part;
        in += part;
        count -= part;
    }
    return Result::kOk;
}

HRESULT ASequentialWriter::WriteZeros(std::uint64_t count)
{
    while (count > 0) {
        if (used_ == buffer_.size()) {
            const HRESULT hr = Flush();
            if (Result::Failed(hr)) return hr;
        }
        const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer_.size() - used_));
        std::memset(buffer_.data() + used_, 0, part);
        used_ += part;
        count -= part;
    }
    return Result::kOk;
}

HRESULT ASequentialWriter::Flush()
{
    const HRESULT hr = WriteDirect(buffer_.data(), used_);
    if (Result::Failed(hr)) return hr;
    written_ += used_;
    used_ = 0;
    return Result::kOk;
}

HRESULT ASequentialWriter::WriteDirect(const std::uint8_t* data, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = write(fd_, data + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        done += static_cast<std::size_t>(n);
    }
    return Result::kOk;
}

HRESULT AReplacementFile::Begin(const std::string& target, bool targetLockedByUs)
{
    if (!targetLockedByUs) {
        // Replacing a file that another copy of the program holds would pull it
        // out from under that copy's next save.
        const int probe = open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (probe >= 0) {
            const HRESULT hr = LockExclusive(probe);
            close(probe);
            if (Result::Failed(hr)) return hr;
        }
    }
    if (const int rc = file_.Begin(target)) return Result::FromErrno(rc);
    return LockExclusive(file_.Fd());
}

HRESULT AReplacementFile::Install(std::shared_ptr<AFileHandle>& installed)
{
    if (file_.Fd() < 0) return Result::kUnexpected;
    const int rc = file_.Commit();
    if (file_.Committed()) installed = std::make_shared<AFileHandle>(file_.TakeFd());
    return rc == 0 ? Result::kOk : Result::FromErrno(rc);
}

}  // namespace Database::Engine::Implementation
