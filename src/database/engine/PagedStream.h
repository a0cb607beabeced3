// The paged, scrambled form of every stream of the data file.
//
// A stream is a sequence of 4096-byte pages, each a 4-byte seed and up to 4092
// data bytes XOR-ed with a linear congruential sequence started at the seed
// (a seed of 0 means the page is stored in the clear). One page is cached.
#pragma once

#include "core/Result.h"
#include "database/engine/CompoundFile.h"

#include <array>
#include <cstdint>

namespace Database::Engine {

namespace PageScrambler {
// The generator state is one value for the whole process, started from the clock
// and carried on by every page read or written.
std::uint32_t State();
void SetState(std::uint32_t state);
constexpr std::uint32_t Next(std::uint32_t state) { return state * 1664525u + 1013904223u; }
}  // namespace PageScrambler

class APagedStream {
public:
    static constexpr std::uint32_t kPageSize = 4096;
    static constexpr std::uint32_t kDataSize = 4092;

    static std::uint64_t LogicalSize(std::uint64_t physical);
    static std::uint64_t PhysicalSize(std::uint64_t logical);

    APagedStream(ACompoundStream& raw, bool writable);
    APagedStream(const APagedStream&) = delete;
    APagedStream& operator=(const APagedStream&) = delete;

    std::uint64_t Size() const { return size_; }
    // Reads up to count bytes; *read tells how many there were.
    [[nodiscard]] HRESULT Read(std::uint64_t position, void* buffer, std::size_t count, std::size_t* read);
    // Writes at position; writing past the end extends the stream (a gap reads as zeros).
    [[nodiscard]] HRESULT Write(std::uint64_t position, const void* buffer, std::size_t count);
    [[nodiscard]] HRESULT SetSize(std::uint64_t size);
    // Writes the cached page back if it changed. Call before the stream is dropped.
    [[nodiscard]] HRESULT Flush();

private:
    [[nodiscard]] HRESULT MakeCurrent(std::uint64_t page);

    ACompoundStream& raw_;
    bool writable_;
    std::uint64_t size_;
    static constexpr std::uint64_t kNoPage = ~std::uint64_t{0};
    std::uint64_t page_ = kNoPage;
    std::uint32_t valid_ = 0;  // data bytes of the cached page
    bool dirty_ = false;
    std::array<std::uint8_t, kDataSize + 4> data_{};  // clear data, padded to whole words
};

}  // namespace Database::Engine
