// Sorting the live slots of a table into the order of one key index when a file is read.
//
// Files hold their records in identifier order, and most key orders follow it closely:
// transactions entered day by day are already in date order, and a key with few values
// (an account, a category, a text length) ties by identifier, so the records of each
// value follow one another in it. The items are dealt into runs that are in order, as
// in patience sorting, and the runs are merged: input in order is one run at one
// comparison an item, and a key with k values gives at most k runs, so sorting costs
// about 2 log k comparisons an item instead of log n, mostly between neighbours in
// memory. Input with many runs (keys in no relation to the identifiers) is sorted
// plainly.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Database::Engine {

namespace IndexOrder {

// Beyond this many runs dealing and merging cost as much as a plain sort.
inline constexpr std::size_t kMaxRuns = 1024;

// Moves items into runs[...]: the items of run r are stored contiguously in the
// order of r, runs one after another. runOf gives each item's run, starts the
// offset of every run (and the end).
template <class Item>
void GatherRuns(const std::vector<Item>& items, const std::vector<std::uint16_t>& runOf,
                std::vector<std::size_t>& starts, std::vector<Item>& gathered)
{
    std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
    gathered.resize(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        gathered[next[runOf[i]]++] = items[i];
}

// Merges neighbouring runs pairwise until one is left; the result ends in `items`.
template <class Item, class Less>
void MergeRuns(std::vector<Item>& items, std::vector<Item>& runs, std::vector<std::size_t>& starts, Less less)
{
    // `runs` holds the runs; each round merges them into `items` and swaps the two.
    while (starts.size() > 2) {
        items.resize(runs.size());
        std::vector<std::size_t> merged;
        merged.reserve(starts.size() / 2 + 2);
        std::size_t r = 0;
        for (; r + 2 < starts.size(); r += 2) {
            merged.push_back(starts[r]);
            std::merge(runs.begin() + static_cast<std::ptrdiff_t>(starts[r]),
                       runs.begin() + static_cast<std::ptrdiff_t>(starts[r + 1]),
                       runs.begin() + static_cast<std::ptrdiff_t>(starts[r + 1]),
                       runs.begin() + static_cast<std::ptrdiff_t>(starts[r + 2]),
                       items.begin() + static_cast<std::ptrdiff_t>(starts[r]), less);
        }
        if (r + 1 < starts.size()) {  // an odd run out is copied as it is
            merged.push_back(starts[r]);
            std::copy(runs.begin() + static_cast<std::ptrdiff_t>(starts[r]),
                      runs.begin() + static_cast<std::ptrdiff_t>(starts[r + 1]),
                      items.begin() + static_cast<std::ptrdiff_t>(starts[r]));
        }
        merged.push_back(runs.size());
        starts = std::move(merged);
        items.swap(runs);
    }
    items.swap(runs);
}

}  // namespace IndexOrder

// Sorts items by less, a strict weak order. Items that less holds equivalent may end
// in either order.
template <class Item, class Less>
void SortIndexOrder(std::vector<Item>& items, Less less)
{
    using namespace IndexOrder;
    if (std::is_sorted(items.begin(), items.end(), less))
        return;
    // Each item goes onto the run whose last item is the greatest one not above it, or
    // starts a new run when every run ends above it; so the last items of the runs stay
    // in ascending order and can be searched, and no two runs could have been one.
    struct ATail {
        Item last;
        std::uint16_t run;
    };
    std::vector<ATail> tails;
    std::vector<std::size_t> sizes;
    std::vector<std::uint16_t> runOf(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        auto above = std::upper_bound(tails.begin(), tails.end(), item,
                                      [&](const Item& value, const ATail& tail) { return less(value, tail.last); });
        if (above == tails.begin()) {
            if (tails.size() == kMaxRuns) {
                std::sort(items.begin(), items.end(), less);
                return;
            }
            const auto run = static_cast<std::uint16_t>(sizes.size());
            sizes.push_back(0);
            above = tails.insert(above, ATail{item, run});
        } else {
            --above;
            above->last = item;
        }
        runOf[i] = above->run;
        ++sizes[above->run];
    }
    std::vector<std::size_t> starts(sizes.size() + 1, 0);
    for (std::size_t r = 0; r < sizes.size(); ++r)
        starts[r + 1] = starts[r] + sizes[r];
    std::vector<Item> runs;
    GatherRuns(items, runOf, starts, runs);
    MergeRuns(items, runs, starts, less);
}

}  // namespace Database::Engine
