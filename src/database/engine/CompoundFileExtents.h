// Where the stored bytes of a stream lie in its file: runs of consecutive file
// bytes in the stream's order. A stream written by us is one run; a fragmented
// foreign file has one run per stretch of adjacent sectors.
#pragma once

#include "core/Result.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Database::Engine::Implementation {

class AExtentList {
public:
    // Adds the next length bytes of the stream, found at fileOffset; joins the
    // previous run when it ends where this one starts.
    void Append(std::uint64_t fileOffset, std::uint64_t length);
    // Keeps only the first length bytes.
    void Truncate(std::uint64_t length);

    std::uint64_t Length() const { return length_; }
    // The end of the furthest byte in the file (0 for no runs).
    std::uint64_t FileEnd() const;
    std::size_t RunCount() const { return runs_.size(); }
    // Where the byte at position lies and how many bytes follow it in the same
    // run; false when position is not within Length().
    bool Locate(std::uint64_t position, std::uint64_t& fileOffset, std::uint64_t& contiguous) const;

    // Reads count bytes at position, which must lie within Length(). A file that
    // has since become shorter gives kStgReadFault.
    [[nodiscard]] HRESULT Read(int fd, std::uint64_t position, void* buffer, std::size_t count) const;

private:
    struct ARun {
        std::uint64_t logical;
        std::uint64_t offset;
        std::uint64_t length;
    };
    std::vector<ARun>::const_iterator RunAt(std::uint64_t position) const;

    std::vector<ARun> runs_;
    std::uint64_t length_ = 0;
};

}  // namespace Database::Engine::Implementation
