// Key indexes built when a file is opened, sorted by packed keys.
//
// Comparing records through their slots reads memory all over the table at every
// comparison, and how many comparisons a sort makes depends on the order the records
// were entered in. Instead each live record's key is packed into a few words, beside
// its slot number, and these small entries are sorted by a radix sort: a fixed number
// of passes over contiguous memory, whatever the order of the input. A byte that is
// the same in every key costs no pass.
#pragma once

#include "database/engine/Reference.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Database::Engine {

// The key of one record for one index: its fields from the most significant down,
// each as an unsigned number that orders as the field does.
class AIndexKey {
public:
    // The widest key: an account, then a date, a time and a 64-bit change stamp.
    static constexpr std::size_t kWords = 5;

    void operator()(std::int32_t value) { Put(static_cast<std::uint32_t>(value) ^ 0x80000000u, 32); }
    void operator()(std::uint32_t value) { Put(value, 32); }
    void operator()(std::uint64_t value)
    {
        Put(static_cast<std::uint32_t>(value >> 32), 32);
        Put(static_cast<std::uint32_t>(value), 32);
    }
    template <class T>
    void operator()(AReference<T> reference)
    {
        Put(reference.Word(), 32);
    }
    // A text orders by its UTF-16 units; the key holds its first few (the rest of the
    // key padded with zeros, which order below every unit), so equal keys still need
    // the full comparison.
    void operator()(const std::u16string& text)
    {
        for (std::size_t i = 0; used_ < kWords * 32; ++i)
            Put(i < text.size() ? text[i] : 0, 16);
        exact_ = false;
    }

    const std::array<std::uint32_t, kWords>& Words() const { return words_; }
    std::size_t WordsUsed() const { return (used_ + 31) / 32; }
    // Whether equal keys mean equal records under the index's order.
    bool Exact() const { return exact_; }

private:
    void Put(std::uint32_t value, unsigned bits)
    {
        if (used_ + bits > kWords * 32) {
            exact_ = false;  // a key wider than ours is compared in full where it ties
            return;
        }
        // Fields are whole 32-bit words or halves of one, so a field never straddles two words.
        const std::size_t word = used_ / 32;
        const unsigned shift = 32 - bits - used_ % 32;
        words_[word] |= bits == 32 ? value : (value & ((1u << bits) - 1)) << shift;
        used_ += bits;
    }

    std::array<std::uint32_t, kWords> words_{};
    std::size_t used_ = 0;
    bool exact_ = true;
};

namespace IndexKeySort {

template <std::size_t W>
struct AKeyed {
    std::array<std::uint32_t, W> words;
    std::uint32_t slot;
};

// Byte b of the key, counted from the least significant.
template <std::size_t W>
inline std::uint8_t ByteOf(const AKeyed<W>& entry, std::size_t b)
{
    return static_cast<std::uint8_t>(entry.words[W - 1 - b / 4] >> (8 * (b % 4)));
}

// A stable radix sort from the least significant byte; ties keep their order.
template <std::size_t W>
void RadixSort(std::vector<AKeyed<W>>& entries)
{
    constexpr std::size_t kBytes = 4 * W;
    std::vector<std::array<std::uint32_t, 256>> counts(kBytes);
    for (auto& count : counts)
        count.fill(0);
    for (const AKeyed<W>& entry : entries)
        for (std::size_t b = 0; b < kBytes; ++b)
            ++counts[b][ByteOf(entry, b)];
    std::vector<AKeyed<W>> other(entries.size());
    for (std::size_t b = 0; b < kBytes; ++b) {
        auto& count = counts[b];
        if (std::find(count.begin(), count.end(), entries.size()) != count.end())
            continue;  // every key has the same byte here
        std::uint32_t start = 0;
        for (std::uint32_t& c : count) {
            const std::uint32_t n = c;
            c = start;
            start += n;
        }
        for (const AKeyed<W>& entry : entries)
            other[count[ByteOf(entry, b)]++] = entry;
        entries.swap(other);
    }
}

template <std::size_t W, class Pack, class FullLess>
void SortWidth(std::vector<std::uint32_t>& slots, Pack& pack, bool exact, FullLess& fullLess)
{
    std::vector<AKeyed<W>> entries(slots.size());
    bool sorted = true;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        AIndexKey key;
        pack(slots[i], key);
        exact = exact && key.Exact();
        std::copy_n(key.Words().begin(), W, entries[i].words.begin());
        entries[i].slot = slots[i];
        sorted = sorted && (i == 0 || !(entries[i].words < entries[i - 1].words));
    }
    if (!sorted)
        RadixSort(entries);
    // Keys that only begin the record's key are put in full order where they tie.
    std::size_t i = 0;
    while (!exact && i < entries.size()) {
        std::size_t end = i + 1;
        while (end < entries.size() && entries[end].words == entries[i].words)
            ++end;
        auto from = entries.begin() + static_cast<std::ptrdiff_t>(i);
        auto to = entries.begin() + static_cast<std::ptrdiff_t>(end);
        auto byFullOrder = [&](const AKeyed<W>& a, const AKeyed<W>& b) { return fullLess(a.slot, b.slot); };
        // Equal texts tie in slot order already.
        if (end - i > 1 && !std::is_sorted(from, to, byFullOrder))
            std::sort(from, to, byFullOrder);
        i = end;
    }
    for (std::size_t k = 0; k < entries.size(); ++k)
        slots[k] = entries[k].slot;
}

}  // namespace IndexKeySort

// Sorts slot numbers, given in ascending order (which is identifier order), by the
// packed key of their records, ties by slot number. pack(slot, key) packs a record's
// key; fullLess(a, b) orders two slots by the index's whole order, ties by slot
// number, and is asked only where packed keys that are not exact tie.
template <class Pack, class FullLess>
void SortByPackedKey(std::vector<std::uint32_t>& slots, Pack pack, FullLess fullLess)
{
    using namespace IndexKeySort;
    if (slots.size() < 2)
        return;
    AIndexKey first;
    pack(slots[0], first);
    const bool exact = first.Exact();
    switch (first.WordsUsed()) {
    case 0:
    case 1: SortWidth<1>(slots, pack, exact, fullLess); break;
    case 2: SortWidth<2>(slots, pack, exact, fullLess); break;
    case 3: SortWidth<3>(slots, pack, exact, fullLess); break;
    case 4: SortWidth<4>(slots, pack, exact, fullLess); break;
    default: SortWidth<5>(slots, pack, exact, fullLess); break;
    }
}

}  // namespace Database::Engine
