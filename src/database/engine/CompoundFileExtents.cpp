#include "database/engine/CompoundFileExtents.h"

#include "core/Assert.h"
#include "database/engine/CompoundFileIo.h"

#include <algorithm>

namespace Database::Engine::Implementation {

void AExtentList::Append(std::uint64_t fileOffset, std::uint64_t length)
{
    if (length == 0) return;
    if (!runs_.empty() && runs_.back().offset + runs_.back().length == fileOffset) {
        runs_.back().length += length;
    } else {
        runs_.push_back({length_, fileOffset, length});
    }
    length_ += length;
}

void AExtentList::Truncate(std::uint64_t length)
{
    if (length >= length_) return;
    while (!runs_.empty() && runs_.back().logical >= length) runs_.pop_back();
    if (!runs_.empty()) runs_.back().length = length - runs_.back().logical;
    length_ = length;
}

std::uint64_t AExtentList::FileEnd() const
{
    std::uint64_t end = 0;
    for (const ARun& run : runs_) end = std::max(end, run.offset + run.length);
    return end;
}

std::vector<AExtentList::ARun>::const_iterator AExtentList::RunAt(std::uint64_t position) const
{
    // The first run that ends after position.
    return std::upper_bound(runs_.begin(), runs_.end(), position,
                            [](std::uint64_t pos, const ARun& r) { return pos < r.logical + r.length; });
}

bool AExtentList::Locate(std::uint64_t position, std::uint64_t& fileOffset, std::uint64_t& contiguous) const
{
    const auto run = RunAt(position);
    if (run == runs_.end()) return false;
    fileOffset = run->offset + (position - run->logical);
    contiguous = run->logical + run->length - position;
    return true;
}

HRESULT AExtentList::Read(int fd, std::uint64_t position, void* buffer, std::size_t count) const
{
    if (!FD_VERIFY(position <= length_ && count <= length_ - position)) return Result::kUnexpected;
    auto* out = static_cast<std::uint8_t*>(buffer);
    auto run = RunAt(position);
    while (count > 0) {
        if (!FD_VERIFY(run != runs_.end())) return Result::kUnexpected;
        const std::uint64_t within = position - run->logical;
        const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(count, run->length - within));
        std::size_t got = 0;
        const HRESULT hr = ReadUpTo(fd, run->offset + within, out, part, &got);
        if (Result::Failed(hr)) return hr;
        if (got != part) return Result::kStgReadFault;
        out += part;
        position += part;
        count -= part;
        ++run;
    }
    return Result::kOk;
}

}  // namespace Database::Engine::Implementation
