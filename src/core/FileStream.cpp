#include "core/FileStream.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace UtilityClasses::Streams {

namespace {

constexpr std::uint64_t kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());

HRESULT LastError()
{
    return Result::FromErrno(errno);
}

}  // namespace

HRESULT AFileStream::Open(const std::string& path, EFileMode mode, AStreamPtr* stream)
{
    if (!stream)
        return Result::kStgInvalidPointer;
    stream->Reset();
    if (path.empty())
        return Result::FromErrno(ENOENT);

    if (mode == EFileMode::CreateAtomic) {
        auto atomic = std::make_unique<Files::AAtomicFile>();
        if (const int rc = atomic->Begin(path))
            return Result::FromErrno(rc);
        const int fd = atomic->Fd();
        *stream = AStreamPtr::Adopt(new AFileStream(fd, mode, std::move(atomic)));
        return Result::kOk;
    }
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
        return Result::FromErrno(EISDIR);
    const int fd = mode == EFileMode::Read ? ::open(path.c_str(), O_RDONLY | O_CLOEXEC)
                                           : ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return LastError();
    *stream = AStreamPtr::Adopt(new AFileStream(fd, mode, nullptr));
    return Result::kOk;
}

AFileStream::AFileStream(int descriptor, EFileMode mode, std::unique_ptr<Files::AAtomicFile> atomic)
    : m_descriptor(descriptor), m_mode(mode), m_atomic(std::move(atomic))
{
}

AFileStream::~AFileStream()
{
    if (m_atomic) {
        // A committed replacement hands its descriptor back; an uncommitted one removes itself.
        if (m_atomic->Committed())
            ::close(m_atomic->TakeFd());
        return;
    }
    ::close(m_descriptor);
}

HRESULT AFileStream::CheckWritable() const
{
    if (m_mode == EFileMode::Read)
        return Result::kStgAccessDenied;
    if (m_atomic && m_atomic->Committed())
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
    if (m_mode == EFileMode::Read || (m_atomic && m_atomic->Committed()))
        return Result::kOk;
    if (m_atomic) {
        const int rc = m_atomic->Commit();
        return rc == 0 ? Result::kOk : Result::FromErrno(rc);
    }
    return ::fsync(m_descriptor) == 0 ? Result::kOk : LastError();
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
