// Reading and writing record bodies field by field.
//
// Every record type lists its stored fields once, in stored order:
//     template <class R, class V> static void Fields(R& r, V& v) { v(r.name); v(r.flag); v.Pad(3); }
// and the visitors below give it its stored layout (little-endian, packed), its
// stored size, and the walk over its references.
#pragma once

#include "database/engine/Reference.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace Database::Engine {

template <class T>
struct IsReference : std::false_type {};
template <class T>
struct IsReference<AReference<T>> : std::true_type {};

// The table that a reference field points into.
template <class R>
struct TargetTable;
template <class X>
struct TargetTable<AReference<X>> {
    static constexpr ATableId kId = X::kTableId;
};

// Counts the stored bytes of the fixed part of a record.
struct AFieldSizer {
    std::size_t size = 0;
    template <class F>
    void operator()(const F&)
    {
        if constexpr (IsReference<F>::value)
            size += 4;
        else
            size += sizeof(F);
    }
    void Pad(std::size_t n) { size += n; }
};

// A reference field found damaged: its place among the record's references and the word.
struct ADamagedWord {
    std::uint32_t ordinal;
    std::uint32_t word;
};

// Reads fixed fields from a stored body; a shorter body leaves the missing tail zero. An
// even reference word is read as the damaged mark and, when `damaged` is given, noted there.
class AFieldReader {
public:
    AFieldReader(const std::uint8_t* data, std::size_t size, std::vector<ADamagedWord>* damaged = nullptr)
        : data_(data), size_(size), damaged_(damaged)
    {
    }

    template <class F>
    void operator()(F& field)
    {
        if constexpr (IsReference<F>::value) {
            std::uint32_t word = 0;
            Take<4>(&word);
            const std::uint32_t ordinal = references_++;
            if (word != 0 && (word & 1) == 0) {
                if (damaged_)
                    damaged_->push_back({ordinal, word});
                word = kDamagedReferenceWord;
            }
            field = F::FromWord(word);
        } else {
            static_assert(std::is_integral_v<F>);
            F value{};
            Take<sizeof(F)>(&value);
            field = value;
        }
    }
    void Pad(std::size_t n) { position_ += n; }
    std::size_t Position() const { return position_; }

private:
    // The size is known where each field is read, so a whole field is one load.
    template <std::size_t N>
    void Take(void* out)
    {
        if (position_ + N <= size_) {
            std::memcpy(out, data_ + position_, N);
        } else {
            std::memset(out, 0, N);
            if (position_ < size_)
                std::memcpy(out, data_ + position_, size_ - position_);
        }
        position_ += N;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::vector<ADamagedWord>* damaged_;
    std::uint32_t references_ = 0;
    std::size_t position_ = 0;
};

// Writes fixed fields into room already made for them (the record's stored size), so
// that a record costs one resize of the buffer and not one insert per field; references
// must already be identifiers. Fields beyond the room are not written, and Filled()
// says whether the fields took exactly the room.
class AFieldWriter {
public:
    AFieldWriter(std::uint8_t* at, std::uint8_t* end) : at_(at), end_(end) {}

    template <class F>
    void operator()(const F& field)
    {
        if constexpr (IsReference<F>::value) {
            std::uint32_t word = field.Word();
            Put(&word, 4);
        } else {
            static_assert(std::is_integral_v<F>);
            Put(&field, sizeof(F));
        }
    }
    void Pad(std::size_t n)
    {
        if (Fits(n)) {
            std::memset(at_, 0, n);
            at_ += n;
        }
    }
    bool Filled() const { return !overrun_ && at_ == end_; }

private:
    bool Fits(std::size_t n)
    {
        overrun_ = overrun_ || n > static_cast<std::size_t>(end_ - at_);
        return !overrun_;
    }
    void Put(const void* p, std::size_t n)
    {
        if (Fits(n)) {
            std::memcpy(at_, p, n);
            at_ += n;
        }
    }
    std::uint8_t* at_;
    std::uint8_t* end_;
    bool overrun_ = false;
};

// Calls fn(reference) for every reference field; ignores the rest.
template <class Fn>
struct AReferenceWalker {
    Fn fn;
    template <class F>
    void operator()(F& field)
    {
        if constexpr (IsReference<std::remove_const_t<F>>::value)
            fn(field);
    }
    void Pad(std::size_t) {}
};
template <class Fn>
AReferenceWalker(Fn) -> AReferenceWalker<Fn>;

template <class T>
std::size_t StoredFixedSize()
{
    AFieldSizer sizer;
    T record{};
    T::Fields(record, sizer);
    return sizer.size;
}

}  // namespace Database::Engine

namespace Database::Engine {

// A bounds-checked reader over bytes: every read checks what remains, and a
// failed read leaves the cursor failed for good.
class AByteCursor {
public:
    AByteCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return size_ - position_; }
    bool Failed() const { return failed_; }
    const std::uint8_t* Here() const { return data_ + position_; }

    [[nodiscard]] bool Read(void* out, std::size_t n)
    {
        if (failed_ || n > Remaining())
            return failed_ = true, false;
        if (n != 0)
            std::memcpy(out, data_ + position_, n);
        position_ += n;
        return true;
    }
    template <class I>
    [[nodiscard]] bool ReadInt(I& value)
    {
        return Read(&value, sizeof(I));
    }
    [[nodiscard]] bool Skip(std::size_t n)
    {
        if (failed_ || n > Remaining())
            return failed_ = true, false;
        position_ += n;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace Database::Engine
