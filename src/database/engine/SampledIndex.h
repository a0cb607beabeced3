// Searches of one key index for many probes in no particular order, as an export makes
// when it looks up each transaction's relations.
//
// A binary search of the index reads about twenty records scattered over the table, most
// of them out of the cache in a large file. Here every 64th record's key is copied into a
// small array that stays in the cache; a search looks there first and then reads only a
// stretch of 64 index entries. The index must not change while this lives.
#pragma once

#include "database/engine/Table.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

namespace Database::Engine {

template <class T>
class ASampledIndex {
public:
    using Slot = typename ATableImpl<T>::Slot;
    static constexpr std::size_t kStride = 64;

    ASampledIndex(const ATableImpl<T>& table, int n) : index_(table.IndexAt(n)), n_(n)
    {
        samples_.reserve(index_.size() / kStride + 1);
        for (std::size_t i = 0; i < index_.size(); i += kStride)
            samples_.push_back(index_[i]->IndexedRecord());
    }

    // The same range as ATableImpl::EqualRange(n, probe).
    std::span<Slot* const> EqualRange(const T& probe) const
    {
        auto below = [this](const T& a, const T& b) { return T::Compare(a, b, n_) < 0; };
        // Entry j * kStride is the first sampled one not below the probe, so the first
        // entry not below it lies after entry (j - 1) * kStride and at j * kStride at most.
        const auto sample = std::lower_bound(samples_.begin(), samples_.end(), probe, below);
        const std::size_t j = static_cast<std::size_t>(sample - samples_.begin());
        const std::size_t from = j == 0 ? 0 : (j - 1) * kStride + 1;
        const std::size_t to = std::min(j * kStride, index_.size());
        const auto first = std::lower_bound(index_.begin() + static_cast<std::ptrdiff_t>(from),
                                            index_.begin() + static_cast<std::ptrdiff_t>(to), probe,
                                            [&](const Slot* slot, const T& b) { return below(slot->IndexedRecord(), b); });
        auto last = first;
        while (last != index_.end() && T::Compare((*last)->IndexedRecord(), probe, n_) == 0)
            ++last;
        return {first, last};
    }

private:
    const typename ATableImpl<T>::Index& index_;
    int n_;
    std::vector<T> samples_;
};

}  // namespace Database::Engine
