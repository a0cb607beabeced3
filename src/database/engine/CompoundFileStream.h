// One stream of an open compound file: its stored content stays in the file,
// what was written since the last commit lives in memory as whole chunks over it.
#pragma once

#include "database/engine/CompoundFile.h"
#include "database/engine/CompoundFileExtents.h"
#include "database/engine/CompoundFileIo.h"

#include <cstdint>
#include <map>
#include <memory>

namespace Database::Engine::Implementation {

// Version-3 containers hold streams of up to 2 GiB.
constexpr std::uint64_t kMaxStreamSize = 0x80000000ull;

class ACompoundStreamImpl final : public ACompoundStream {
public:
    explicit ACompoundStreamImpl(bool writable) : writable_(writable) {}

    // Shows the content stored at these places of file, forgetting any changes.
    void Bind(std::shared_ptr<AFileHandle> file, AExtentList content);
    // Makes the stream new and empty.
    void Clear();

    std::uint64_t Size() const override { return size_; }
    [[nodiscard]] HRESULT ReadAt(std::uint64_t position, void* buffer, std::size_t count, std::size_t* read) override;
    [[nodiscard]] HRESULT WriteAt(std::uint64_t position, const void* buffer, std::size_t count) override;
    [[nodiscard]] HRESULT SetSize(std::uint64_t size) override;

    // How many bytes of changes are held in memory.
    std::size_t ChangedBytes() const { return chunks_.size() * kChunkSize; }

    // For writing the changes in place: the stored bytes still shown start the
    // stream, and what else differs from them lies in the changed chunks.
    static constexpr std::size_t kChunkSize = 4096;
    std::uint64_t StoredLength() const { return stored_.Length(); }
    template <typename F> void ForEachChangedChunk(F&& visit) const
    {
        for (const auto& [index, chunk] : chunks_) visit(index);
    }

private:
    using AChunk = std::unique_ptr<std::uint8_t[]>;

    // Fills out with the stored bytes at position, zeros beyond the stored content.
    HRESULT ReadStored(std::uint64_t position, std::uint8_t* out, std::size_t count) const;
    HRESULT ChunkForWriting(std::uint64_t index, std::uint8_t*& chunk);

    const bool writable_;
    std::shared_ptr<AFileHandle> file_;
    // Stored bytes still part of the stream; shrinking the stream cuts them, so
    // growing it again shows zeros.
    AExtentList stored_;
    std::uint64_t size_ = 0;
    // Changed chunks by index; bytes of a chunk beyond size_ are always zero.
    std::map<std::uint64_t, AChunk> chunks_;
};

}  // namespace Database::Engine::Implementation
