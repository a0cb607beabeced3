// The slot store across its block boundaries: addresses that stay put while it grows,
// a stable sort, erasing by predicate, and every element destroyed exactly once.
#include "database/engine/SlotStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using Database::Engine::ASlotStore;

namespace {

struct TSlot {
    int key = 0;
    int order = 0;
    std::shared_ptr<int> alive;  // counts the elements still constructed
};

constexpr int kBlock = static_cast<int>(ASlotStore<TSlot>::kBlockSize);

TEST(SlotStoreTest, GrowsSortsAndErasesAcrossBlocks)
{
    const auto alive = std::make_shared<int>();
    for (const int count : {0, 1, kBlock - 1, kBlock, kBlock + 1, 3 * kBlock + 7}) {
        SCOPED_TRACE(count);
        {
            ASlotStore<TSlot> store;
            std::vector<const TSlot*> addresses;
            for (int i = 0; i < count; ++i) {
                TSlot& slot = store.emplace_back();
                slot = {i % 5, i, alive};
                addresses.push_back(&slot);
            }
            ASSERT_EQ(store.size(), static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(&store[static_cast<std::size_t>(i)], addresses[static_cast<std::size_t>(i)]);

            std::stable_sort(store.begin(), store.end(), [](const TSlot& a, const TSlot& b) { return a.key < b.key; });
            for (std::size_t i = 1; i < store.size(); ++i)
                ASSERT_TRUE(store[i - 1].key < store[i].key ||
                            (store[i - 1].key == store[i].key && store[i - 1].order < store[i].order));

            erase_if(store, [](const TSlot& slot) { return slot.order % 3 == 0; });
            EXPECT_EQ(store.size(), static_cast<std::size_t>(count - (count + 2) / 3));
            EXPECT_EQ(std::count_if(store.begin(), store.end(), [](const TSlot& slot) { return slot.order % 3 == 0; }), 0);
            EXPECT_TRUE(std::is_sorted(store.begin(), store.end(), [](const TSlot& a, const TSlot& b) { return a.key < b.key; }));
            EXPECT_EQ(alive.use_count(), 1 + static_cast<long>(store.size()));
        }
        EXPECT_EQ(alive.use_count(), 1);
    }
}

}  // namespace
