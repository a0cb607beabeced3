#include "database/engine/ByteSource.h"

#include <algorithm>
#include <cstring>

namespace Database::Engine {

const std::uint8_t* AByteSource::Take(std::size_t n)
{
    if (Result::Failed(failure_))
        return nullptr;
    if (n > Remaining()) {
        failure_ = Result::kStgDocFileCorrupt;
        return nullptr;
    }
    static constexpr std::uint8_t kNothing[1] = {};
    if (n == 0)
        return kNothing;  // even before anything was read
    if (filled_ - used_ < n && !Fill(n))
        return nullptr;
    const std::uint8_t* piece = window_.data() + used_;
    used_ += n;
    return piece;
}

bool AByteSource::Fill(std::size_t n)
{
    // The unread rest moves to the front; the window grows only for a piece larger than it.
    const std::size_t unread = filled_ - used_;
    if (unread != 0)
        std::memmove(window_.data(), window_.data() + used_, unread);
    windowStart_ += used_;
    used_ = 0;
    filled_ = unread;
    const std::uint64_t unreadInStream = size_ - windowStart_ - filled_;
    const std::size_t capacity = std::max(n, kWindow);
    if (window_.size() < capacity)
        window_.resize(capacity);
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(capacity - filled_, unreadInStream));
    std::size_t got = 0;
    if (HRESULT hr = reader_(windowStart_ + filled_, window_.data() + filled_, wanted, &got); Result::Failed(hr)) {
        failure_ = hr;
        return false;
    }
    filled_ += std::min(got, wanted);
    if (filled_ < n) {  // the stream ended before its stated size
        failure_ = Result::kStgDocFileCorrupt;
        return false;
    }
    return true;
}

}  // namespace Database::Engine
