#include "database/engine/PagedStream.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace Database::Engine {

namespace PageScrambler {
namespace {
std::uint32_t& StateWord()
{
    static std::uint32_t state = static_cast<std::uint32_t>(std::time(nullptr));
    return state;
}
}  // namespace
std::uint32_t State() { return StateWord(); }
void SetState(std::uint32_t state) { StateWord() = state; }
}  // namespace PageScrambler

namespace {

// XORs the generator sequence started at seed over n data bytes, whole words at a
// time; answers the state after the last word.
std::uint32_t Scramble(std::uint8_t* data, std::uint32_t n, std::uint32_t seed)
{
    std::uint32_t state = seed;
    for (std::uint32_t offset = 0; offset < n; offset += 4) {
        state = PageScrambler::Next(state);
        std::uint32_t word;
        std::memcpy(&word, data + offset, 4);
        word ^= state;
        std::memcpy(data + offset, &word, 4);
    }
    return state;
}

}  // namespace

std::uint64_t APagedStream::LogicalSize(std::uint64_t physical)
{
    const std::uint64_t rest = physical % kPageSize;
    return physical / kPageSize * kDataSize + (rest > 4 ? rest - 4 : 0);
}

std::uint64_t APagedStream::PhysicalSize(std::uint64_t logical)
{
    const std::uint64_t rest = logical % kDataSize;
    return logical / kDataSize * kPageSize + (rest ? rest + 4 : 0);
}

APagedStream::APagedStream(ACompoundStream& raw, bool writable)
    : raw_(raw), writable_(writable), size_(LogicalSize(raw.Size()))
{
}

HRESULT APagedStream::MakeCurrent(std::uint64_t page)
{
    if (page == page_)
        return Result::kOk;
    if (HRESULT hr = Flush(); Result::Failed(hr))
        return hr;
    std::array<std::uint8_t, kPageSize + 4> stored{};
    std::size_t got = 0;
    if (HRESULT hr = raw_.ReadAt(page * kPageSize, stored.data(), kPageSize, &got); Result::Failed(hr))
        return hr;
    page_ = page;
    dirty_ = false;
    valid_ = got > 4 ? static_cast<std::uint32_t>(got - 4) : 0;
    std::uint32_t seed;
    std::memcpy(&seed, stored.data(), 4);
    std::memset(data_.data(), 0, data_.size());
    std::memcpy(data_.data(), stored.data() + 4, valid_);
    if (seed != 0)
        PageScrambler::SetState(Scramble(data_.data(), valid_, seed));
    // Bytes past the valid part came from the XOR of the last word: keep them zero.
    std::memset(data_.data() + valid_, 0, data_.size() - valid_);
    return Result::kOk;
}

HRESULT APagedStream::Flush()
{
    if (!dirty_ || page_ == kNoPage)
        return Result::kOk;
    if (!writable_)
        return Result::kUnexpected;
    std::array<std::uint8_t, kPageSize + 4> stored{};
    // A seed of 0 would read back as a page in the clear, so 0 is never used as one.
    std::uint32_t seed = PageScrambler::State();
    if (seed == 0)
        seed = PageScrambler::Next(seed);
    std::memcpy(stored.data(), &seed, 4);
    std::memcpy(stored.data() + 4, data_.data(), valid_);
    PageScrambler::SetState(Scramble(stored.data() + 4, valid_, seed));
    if (HRESULT hr = raw_.WriteAt(page_ * kPageSize, stored.data(), valid_ + 4); Result::Failed(hr))
        return hr;
    dirty_ = false;
    return Result::kOk;
}

HRESULT APagedStream::Read(std::uint64_t position, void* buffer, std::size_t count, std::size_t* read)
{
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count && position < size_) {
        if (HRESULT hr = MakeCurrent(position / kDataSize); Result::Failed(hr))
            return hr;
        const auto offset = static_cast<std::uint32_t>(position % kDataSize);
        if (offset >= valid_)
            break;
        const std::size_t n = std::min<std::size_t>(count - done, valid_ - offset);
        std::memcpy(out + done, data_.data() + offset, n);
        done += n;
        position += n;
    }
    if (read)
        *read = done;
    return Result::kOk;
}

HRESULT APagedStream::Write(std::uint64_t position, const void* buffer, std::size_t count)
{
    if (!writable_)
        return Result::kUnexpected;
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    if (position > size_) {  // fill the gap first so that every page before stays whole
        static const std::uint8_t zeros[kDataSize] = {};
        while (size_ < position) {
            const std::size_t n = std::min<std::uint64_t>(position - size_, kDataSize);
            if (HRESULT hr = Write(size_, zeros, n); Result::Failed(hr))
                return hr;
        }
    }
    std::size_t done = 0;
    while (done < count) {
        if (HRESULT hr = MakeCurrent(position / kDataSize); Result::Failed(hr))
            return hr;
        const auto offset = static_cast<std::uint32_t>(position % kDataSize);
        const std::size_t n = std::min<std::size_t>(count - done, kDataSize - offset);
        const std::uint32_t end = offset + static_cast<std::uint32_t>(n);
        if (end > valid_ || std::memcmp(data_.data() + offset, in + done, n) != 0) {
            std::memcpy(data_.data() + offset, in + done, n);
            valid_ = std::max(valid_, end);
            dirty_ = true;
        }
        done += n;
        position += n;
        size_ = std::max(size_, position);
    }
    return Result::kOk;
}

HRESULT APagedStream::SetSize(std::uint64_t size)
{
    if (!writable_)
        return Result::kUnexpected;
    if (size > size_) {
        static const std::uint8_t zero = 0;
        return Write(size - 1, &zero, 1);
    }
    if (page_ != kNoPage) {
        const std::uint64_t pageStart = page_ * kDataSize;
        if (pageStart >= size) {
            page_ = kNoPage;  // the cached page is cut away entirely
            dirty_ = false;
        } else if (size - pageStart < valid_) {
            valid_ = static_cast<std::uint32_t>(size - pageStart);
            std::memset(data_.data() + valid_, 0, data_.size() - valid_);
        }
    }
    if (HRESULT hr = raw_.SetSize(PhysicalSize(size)); Result::Failed(hr))
        return hr;
    size_ = size;
    return Result::kOk;
}

}  // namespace Database::Engine
