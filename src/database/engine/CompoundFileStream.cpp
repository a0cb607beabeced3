#include "database/engine/CompoundFileStream.h"

#include <algorithm>
#include <cstring>

namespace Database::Engine::Implementation {

void ACompoundStreamImpl::Bind(std::shared_ptr<AFileHandle> file, AExtentList content)
{
    file_ = std::move(file);
    stored_ = std::move(content);
    size_ = stored_.Length();
    chunks_.clear();
}

void ACompoundStreamImpl::Clear()
{
    file_.reset();
    stored_ = AExtentList();
    size_ = 0;
    chunks_.clear();
}

HRESULT ACompoundStreamImpl::ReadStored(std::uint64_t position, std::uint8_t* out, std::size_t count) const
{
    std::size_t fromFile = 0;
    if (position < stored_.Length()) {
        fromFile = static_cast<std::size_t>(std::min<std::uint64_t>(count, stored_.Length() - position));
        const HRESULT hr = stored_.Read(file_->Fd(), position, out, fromFile);
        if (Result::Failed(hr)) return hr;
    }
    std::memset(out + fromFile, 0, count - fromFile);
    return Result::kOk;
}

HRESULT ACompoundStreamImpl::ReadAt(std::uint64_t position, void* buffer, std::size_t count, std::size_t* read)
{
    *read = 0;
    if (position >= size_) return Result::kOk;
    const std::size_t total = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - position));
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < total) {
        const std::uint64_t at = position + done;
        const std::uint64_t index = at / kChunkSize;
        const auto changed = chunks_.lower_bound(index);
        if (changed != chunks_.end() && changed->first == index) {
            const std::size_t within = static_cast<std::size_t>(at % kChunkSize);
            const std::size_t part = std::min(total - done, kChunkSize - within);
            std::memcpy(out + done, changed->second.get() + within, part);
            done += part;
            continue;
        }
        // Everything up to the next changed chunk comes from the file in one read.
        const std::uint64_t until = changed == chunks_.end() ? position + total : changed->first * kChunkSize;
        const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(total - done, until - at));
        const HRESULT hr = ReadStored(at, out + done, part);
        if (Result::Failed(hr)) return hr;
        done += part;
    }
    *read = total;
    return Result::kOk;
}

HRESULT ACompoundStreamImpl::ChunkForWriting(std::uint64_t index, std::uint8_t*& chunk)
{
    auto& slot = chunks_[index];
    if (!slot) {
        AChunk fresh(new std::uint8_t[kChunkSize]);
        const HRESULT hr = ReadStored(index * kChunkSize, fresh.get(), kChunkSize);
        if (Result::Failed(hr)) {
            chunks_.erase(index);
            return hr;
        }
        slot = std::move(fresh);
    }
    chunk = slot.get();
    return Result::kOk;
}

HRESULT ACompoundStreamImpl::WriteAt(std::uint64_t position, const void* buffer, std::size_t count)
{
    if (!writable_) return Result::kUnexpected;
    if (count == 0) return Result::kOk;
    if (position > kMaxStreamSize || count > kMaxStreamSize - position) return Result::kStgMediumFull;
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const std::uint64_t at = position + done;
        std::uint8_t* chunk = nullptr;
        const HRESULT hr = ChunkForWriting(at / kChunkSize, chunk);
        if (Result::Failed(hr)) return hr;
        const std::size_t within = static_cast<std::size_t>(at % kChunkSize);
        const std::size_t part = std::min(count - done, kChunkSize - within);
        std::memcpy(chunk + within, in + done, part);
        done += part;
    }
    size_ = std::max<std::uint64_t>(size_, position + count);
    return Result::kOk;
}

HRESULT ACompoundStreamImpl::SetSize(std::uint64_t size)
{
    if (!writable_) return Result::kUnexpected;
    if (size > kMaxStreamSize) return Result::kStgMediumFull;
    if (size < size_) {
        stored_.Truncate(size);
        chunks_.erase(chunks_.lower_bound((size + kChunkSize - 1) / kChunkSize), chunks_.end());
        const auto last = chunks_.find(size / kChunkSize);
        if (last != chunks_.end()) {
            const std::size_t within = static_cast<std::size_t>(size % kChunkSize);
            std::memset(last->second.get() + within, 0, kChunkSize - within);
        }
    }
    size_ = size;
    return Result::kOk;
}

}  // namespace Database::Engine::Implementation
