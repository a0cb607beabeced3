// Builds expected stored bytes field by field, little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ByteBuilder {
public:
    ByteBuilder& U8(std::uint8_t v) { return Put(v, 1); }
    ByteBuilder& U16(std::uint16_t v) { return Put(v, 2); }
    ByteBuilder& U32(std::uint32_t v) { return Put(v, 4); }
    ByteBuilder& I32(std::int32_t v) { return Put(static_cast<std::uint32_t>(v), 4); }
    ByteBuilder& I64(std::int64_t v) { return Put(static_cast<std::uint64_t>(v), 8); }
    ByteBuilder& Zeros(std::size_t n)
    {
        bytes_.insert(bytes_.end(), n, 0);
        return *this;
    }
    ByteBuilder& Utf16(const std::u16string& text)
    {
        for (char16_t c : text)
            U16(c);
        return *this;
    }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    ByteBuilder& Put(std::uint64_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    std::vector<std::uint8_t> bytes_;
};
