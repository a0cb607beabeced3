#include "core/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace UtilityClasses::Streams {

ARefPtr<AMemoryStream> AMemoryStream::Create(std::string_view initial, std::uint64_t maxSize)
{
    return ARefPtr<AMemoryStream>::Adopt(new AMemoryStream(initial, maxSize));
}

AMemoryStream::AMemoryStream(std::string_view initial, std::uint64_t maxSize)
    : m_bytes(initial), m_maxSize(std::max<std::uint64_t>(maxSize, initial.size()))
{
}

HRESULT AMemoryStream::Read(void* buffer, std::uint32_t size, std::uint32_t* read)
{
    if (read)
        *read = 0;
    if (!buffer && size)
        return Result::kStgInvalidPointer;
    if (m_position >= m_bytes.size())
        return Result::kOk;
    const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, m_bytes.size() - m_position));
    if (count)
        std::memcpy(buffer, m_bytes.data() + m_position, count);
    m_position += count;
    if (read)
        *read = count;
    return Result::kOk;
}

HRESULT AMemoryStream::Write(const void* buffer, std::uint32_t size, std::uint32_t* written)
{
    if (written)
        *written = 0;
    if (!buffer && size)
        return Result::kStgInvalidPointer;
    if (size == 0)
        return Result::kOk;
    if (m_position > m_maxSize || size > m_maxSize - m_position)
        return Result::kStgMediumFull;
    const std::uint64_t end = m_position + size;
    try {
        // A gap left by seeking past the end reads back as zero bytes.
        if (end > m_bytes.size())
            m_bytes.resize(end, '\0');
    } catch (const std::bad_alloc&) {
        return Result::kOutOfMemory;
    }
    std::memcpy(m_bytes.data() + m_position, buffer, size);
    m_position = end;
    if (written)
        *written = size;
    return Result::kOk;
}

HRESULT AMemoryStream::Seek(std::int64_t move, ESeekOrigin origin, std::uint64_t* newPosition)
{
    std::uint64_t target = 0;
    const HRESULT hr = Implementation::ComputeSeek(m_position, m_bytes.size(), move, origin, &target);
    if (Result::Failed(hr))
        return hr;
    m_position = target;
    if (newPosition)
        *newPosition = target;
    return Result::kOk;
}

HRESULT AMemoryStream::SetSize(std::uint64_t size)
{
    if (size > m_maxSize)
        return Result::kStgMediumFull;
    try {
        m_bytes.resize(size, '\0');
    } catch (const std::bad_alloc&) {
        return Result::kOutOfMemory;
    }
    return Result::kOk;
}

HRESULT AMemoryStream::Commit()
{
    return Result::kOk;
}

HRESULT AMemoryStream::Stat(AStreamStat* stat)
{
    if (!stat)
        return Result::kStgInvalidPointer;
    stat->size = m_bytes.size();
    return Result::kOk;
}

}  // namespace UtilityClasses::Streams
