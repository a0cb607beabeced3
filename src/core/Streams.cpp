#include "core/Streams.h"

#include <algorithm>
#include <limits>

namespace UtilityClasses::Streams {

namespace Implementation {

HRESULT ComputeSeek(std::uint64_t current, std::uint64_t size, std::int64_t move, ESeekOrigin origin,
                    std::uint64_t* result)
{
    std::uint64_t base = 0;
    switch (origin) {
    case ESeekOrigin::Set: base = 0; break;
    case ESeekOrigin::Cur: base = current; break;
    case ESeekOrigin::End: base = size; break;
    default: return Result::kStgInvalidFunction;
    }
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (move < 0) {
        const std::uint64_t back = static_cast<std::uint64_t>(-(move + 1)) + 1;
        if (back > base)
            return Result::kStgInvalidFunction;
        *result = base - back;
    } else {
        if (static_cast<std::uint64_t>(move) > kMax - std::min(base, kMax))
            return Result::kStgInvalidFunction;
        *result = base + static_cast<std::uint64_t>(move);
    }
    return Result::kOk;
}

}  // namespace Implementation

HRESULT GetSize(IStream& stream, std::uint64_t* size)
{
    AStreamStat stat;
    const HRESULT hr = stream.Stat(&stat);
    if (Result::Succeeded(hr))
        *size = stat.size;
    return hr;
}

HRESULT ReadFully(IStream& stream, void* buffer, std::size_t size, std::size_t* read)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t total = 0;
    HRESULT hr = Result::kOk;
    while (total < size) {
        const auto chunk = static_cast<std::uint32_t>(
            std::min<std::size_t>(size - total, std::numeric_limits<std::uint32_t>::max()));
        std::uint32_t got = 0;
        hr = stream.Read(bytes + total, chunk, &got);
        if (Result::Failed(hr) || got == 0)
            break;
        total += std::min<std::size_t>(got, chunk);
    }
    if (read)
        *read = total;
    return Result::Failed(hr) ? hr : Result::kOk;
}

HRESULT WriteAll(IStream& stream, std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto chunk = static_cast<std::uint32_t>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<std::uint32_t>::max()));
        std::uint32_t written = 0;
        const HRESULT hr = stream.Write(bytes.data(), chunk, &written);
        if (Result::Failed(hr))
            return hr;
        if (written == 0)
            return Result::kStgWriteFault;
        bytes.remove_prefix(std::min<std::size_t>(written, chunk));
    }
    return Result::kOk;
}

HRESULT ReadToEnd(IStream& stream, std::string* bytes, std::uint64_t limit)
{
    bytes->clear();
    char block[65536];
    for (;;) {
        std::uint32_t got = 0;
        const HRESULT hr = stream.Read(block, sizeof block, &got);
        if (Result::Failed(hr))
            return hr;
        if (got == 0)
            return Result::kOk;
        got = std::min<std::uint32_t>(got, sizeof block);
        if (bytes->size() + got > limit)
            return Result::kOutOfMemory;
        bytes->append(block, got);
    }
}

}  // namespace UtilityClasses::Streams
