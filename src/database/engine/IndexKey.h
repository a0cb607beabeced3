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
    // A text orders by its UTF-16 units: the key holds as many as there is room for from
    // the key's text offset on, padded with zeros (below every unit), then the text's
    // length, which orders a text before a longer one that it begins. A text that goes
    // on beyond the key leaves ties to be sorted by a key from further on.
    void operator()(const std::u16string& text)
    {
        const std::size_t room = (kWords * 32 - used_) / 16;
        if (room < 3) {
            exact_ = false;
            return;
        }
        textUnits_ = room - 2;
        for (std::size_t i = 0; i < textUnits_; ++i)
            Put(textOffset_ + i < text.size() ? text[textOffset_ + i] : 0, 16);
        const bool fits = text.size() <= textOffset_ + textUnits_;
        Put(fits ? static_cast<std::uint32_t>(text.size()) : UINT32_MAX, 32);
        exact_ = exact_ && fits;
        textGoesOn_ = !fits;
    }

    explicit AIndexKey(std::size_t textOffset = 0) : textOffset_(textOffset) {}

    const std::array<std::uint32_t, kWords>& Words() const { return words_; }
    std::size_t WordsUsed() const { return (used_ + 31) / 32; }
    // Whether equal keys mean equal records under the index's order.
    bool Exact() const { return exact_; }
    // Whether a key from further on in the text can tell tied records apart, and how
    // many text units further.
    bool TextGoesOn() const { return textGoesOn_; }
    std::size_t TextUnits() const { return textUnits_; }

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
    std::size_t textOffset_;
    std::size_t used_ = 0;
    std::size_t textUnits_ = 0;
    bool exact_ = true;
    bool textGoesOn_ = false;
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

// A stable radix sort of entries[0, count) from the least significant byte; ties keep
// their order. other is scratch room of at least count entries.
template <std::size_t W>
void RadixSort(AKeyed<W>* entries, std::size_t count, AKeyed<W>* other)
{
    constexpr std::size_t kBytes = 4 * W;
    std::array<std::array<std::uint32_t, 256>, kBytes> counts{};
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t b = 0; b < kBytes; ++b)
            ++counts[b][ByteOf(entries[i], b)];
    AKeyed<W>* from = entries;
    AKeyed<W>* to = other;
    for (std::size_t b = 0; b < kBytes; ++b) {
        auto& bucket = counts[b];
        if (std::find(bucket.begin(), bucket.end(), count) != bucket.end())
            continue;  // every key has the same byte here
        std::uint32_t start = 0;
        for (std::uint32_t& c : bucket) {
            const std::uint32_t n = c;
            c = start;
            start += n;
        }
        for (std::size_t i = 0; i < count; ++i)
            to[bucket[ByteOf(from[i], b)]++] = from[i];
        std::swap(from, to);
    }
    if (from != entries)
        std::copy_n(from, count, entries);
}

// Texts tied further than this are put in order by the full comparison.
inline constexpr std::size_t kMostTextRefined = 64;

// Puts the runs of equal keys within entries[begin, end), packed at textOffset, into
// their full order: by keys from further on in their texts while those can tell them
// apart, otherwise by the full comparison.
template <std::size_t W, class Pack, class FullLess>
void OrderTies(std::vector<AKeyed<W>>& entries, std::vector<AKeyed<W>>& scratch, std::size_t begin, std::size_t end,
               std::size_t textOffset, Pack& pack, FullLess& fullLess)
{
    auto byFullOrder = [&](const AKeyed<W>& a, const AKeyed<W>& b) { return fullLess(a.slot, b.slot); };
    std::size_t i = begin;
    while (i < end) {
        std::size_t runEnd = i + 1;
        while (runEnd < end && entries[runEnd].words == entries[i].words)
            ++runEnd;
        if (runEnd - i > 1) {
            AIndexKey key(textOffset);
            pack(entries[i].slot, key);
            const auto from = entries.begin() + static_cast<std::ptrdiff_t>(i);
            const auto to = entries.begin() + static_cast<std::ptrdiff_t>(runEnd);
            if (key.Exact()) {
                // equal records: their order is their slots' order already
            } else if (key.TextGoesOn() && textOffset < kMostTextRefined) {
                const std::size_t further = textOffset + key.TextUnits();
                for (std::size_t k = i; k < runEnd; ++k) {
                    AIndexKey next(further);
                    pack(entries[k].slot, next);
                    std::copy_n(next.Words().begin(), W, entries[k].words.begin());
                }
                // A radix pass costs its buckets whatever the run's length.
                if (runEnd - i < 64)
                    std::sort(from, to, [](const AKeyed<W>& a, const AKeyed<W>& b) {
                        return a.words != b.words ? a.words < b.words : a.slot < b.slot;
                    });
                else
                    RadixSort(entries.data() + i, runEnd - i, scratch.data());
                OrderTies(entries, scratch, i, runEnd, further, pack, fullLess);
            } else if (!std::is_sorted(from, to, byFullOrder)) {
                std::sort(from, to, byFullOrder);
            }
        }
        i = runEnd;
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
    std::vector<AKeyed<W>> scratch(sorted && exact ? 0 : entries.size());
    if (!sorted)
        RadixSort(entries.data(), entries.size(), scratch.data());
    if (!exact)
        OrderTies(entries, scratch, 0, entries.size(), 0, pack, fullLess);
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

// Sorts slot numbers stably by one word of each, wordOf[slot]: equal words keep the given
// order, so an order already sorted by later fields is refined by an earlier one.
inline void StableSortByWord(std::vector<std::uint32_t>& slots, const std::vector<std::uint32_t>& wordOf)
{
    using namespace IndexKeySort;
    std::vector<AKeyed<1>> entries(slots.size()), scratch(slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i)
        entries[i] = {{wordOf[slots[i]]}, slots[i]};
    RadixSort(entries.data(), entries.size(), scratch.data());
    for (std::size_t i = 0; i < slots.size(); ++i)
        slots[i] = entries[i].slot;
}

}  // namespace Database::Engine
