#include "PluginStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace CsvExchange {

namespace {
// A document larger than this is refused rather than taking all memory.
constexpr std::uint64_t kMaxSize = std::uint64_t{1} << 31;
}  // namespace

std::uint32_t AMemoryStream::Release()
{
    const std::uint32_t left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT AMemoryStream::Read(void* buffer, std::uint32_t size, std::uint32_t* read)
{
    if (!buffer && size != 0)
        return kInvalidArg;
    const std::uint64_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, available));
    if (count != 0)
        std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    if (read)
        *read = count;
    return kOk;
}

HRESULT AMemoryStream::Write(const void* buffer, std::uint32_t size, std::uint32_t* written)
{
    if (written)
        *written = 0;
    if (!buffer && size != 0)
        return kInvalidArg;
    if (position_ + size > kMaxSize)
        return kWriteFault;
    if (bytes_.size() < position_ + size)
        bytes_.resize(position_ + size);
    if (size != 0)
        std::memcpy(bytes_.data() + position_, buffer, size);
    position_ += size;
    if (written)
        *written = size;
    return kOk;
}

HRESULT AMemoryStream::Seek(std::int64_t move, ESeekOrigin origin, std::uint64_t* newPosition)
{
    std::int64_t base = 0;
    switch (origin) {
    case ESeekOrigin::Set: base = 0; break;
    case ESeekOrigin::Cur: base = static_cast<std::int64_t>(position_); break;
    case ESeekOrigin::End: base = static_cast<std::int64_t>(bytes_.size()); break;
    default: return kInvalidFunction;
    }
    if ((move < 0 && base + move < 0) || (move > 0 && base > std::numeric_limits<std::int64_t>::max() - move))
        return kInvalidFunction;
    position_ = static_cast<std::uint64_t>(base + move);
    if (newPosition)
        *newPosition = position_;
    return kOk;
}

HRESULT AMemoryStream::SetSize(std::uint64_t size)
{
    if (size > kMaxSize)
        return kWriteFault;
    bytes_.resize(size);
    return kOk;
}

HRESULT AMemoryStream::Stat(AStreamStat* stat)
{
    if (!stat)
        return kInvalidArg;
    stat->size = bytes_.size();
    return kOk;
}

}  // namespace CsvExchange
