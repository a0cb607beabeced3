// The logical content of a stream, handed to a parser in contiguous pieces that are
// read as they are asked for: a table of any size is parsed through one small window
// instead of a copy of its whole stream, which would be memory touched for nothing.
#pragma once

#include "core/Result.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace Database::Engine {

class AByteSource {
public:
    // Reads up to count bytes at position; *got tells how many there were.
    using AReader = std::function<HRESULT(std::uint64_t position, std::uint8_t* out, std::size_t count, std::size_t* got)>;
    static constexpr std::size_t kWindow = 64 * 1024;

    AByteSource(std::uint64_t size, AReader reader) : size_(size), reader_(std::move(reader)) {}

    std::uint64_t Size() const { return size_; }
    // The stream position of the next byte that Take hands out.
    std::uint64_t Position() const { return windowStart_ + used_; }
    std::uint64_t Remaining() const { return size_ - Position(); }
    // The next n bytes, contiguous and valid until the next call; nothing when fewer
    // than n remain or the reading failed, and Failure then tells the code for good.
    [[nodiscard]] const std::uint8_t* Take(std::size_t n);
    HRESULT Failure() const { return failure_; }

private:
    // Makes at least n unread bytes lie in the window.
    bool Fill(std::size_t n);

    std::uint64_t size_;
    AReader reader_;
    std::vector<std::uint8_t> window_;
    std::uint64_t windowStart_ = 0;  // stream position of window_[0]
    std::size_t used_ = 0;           // bytes of the window handed out
    std::size_t filled_ = 0;         // bytes of the window read
    HRESULT failure_ = Result::kOk;
};

}  // namespace Database::Engine
