// A growable stream over bytes in memory.
#pragma once
#include "core/Streams.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace UtilityClasses::Streams {

class AMemoryStream final : public Implementation::ARefCounted<IStream> {
public:
    // Beyond this size writes fail with kStgMediumFull instead of eating all memory.
    static constexpr std::uint64_t kDefaultMaxSize = std::uint64_t{1} << 31;

    // A new stream positioned at its start, holding a copy of the initial bytes.
    static ARefPtr<AMemoryStream> Create(std::string_view initial = {}, std::uint64_t maxSize = kDefaultMaxSize);

    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* read) override;
    HRESULT Write(const void* buffer, std::uint32_t size, std::uint32_t* written) override;
    HRESULT Seek(std::int64_t move, ESeekOrigin origin, std::uint64_t* newPosition) override;
    HRESULT SetSize(std::uint64_t size) override;
    HRESULT Commit() override;
    HRESULT Stat(AStreamStat* stat) override;

    std::string_view Bytes() const { return m_bytes; }
    std::uint64_t Position() const { return m_position; }

private:
    AMemoryStream(std::string_view initial, std::uint64_t maxSize);

    std::string m_bytes;
    std::uint64_t m_position = 0;
    std::uint64_t m_maxSize;
};

}  // namespace UtilityClasses::Streams
