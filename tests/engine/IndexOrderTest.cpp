// Key indexes built when a file is opened: the run-merging sort against a plain sort
// on every shape of input, and the indexes of a reopened table against a fresh sort.
#include "TestRecords.h"

#include "database/engine/IndexOrder.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <unistd.h>

using namespace TestRecords;

namespace {

// An item as an index holds it: a key and the identifier that breaks ties.
struct TKeyed {
    int key;
    int id;
    bool operator==(const TKeyed&) const = default;
};
bool KeyThenId(const TKeyed& a, const TKeyed& b) { return a.key != b.key ? a.key < b.key : a.id < b.id; }

// Keys in identifier order, as a file lists its records.
std::vector<TKeyed> InIdOrder(std::size_t count, const std::function<int(std::size_t, std::mt19937&)>& key)
{
    std::mt19937 random(static_cast<unsigned>(count) * 7 + 1);
    std::vector<TKeyed> items;
    for (std::size_t i = 0; i < count; ++i)
        items.push_back({key(i, random), static_cast<int>(i) * 2 + 1});
    return items;
}

struct TShape {
    const char* name;
    std::size_t count;
    std::function<int(std::size_t, std::mt19937&)> key;
};

}  // namespace

TEST(IndexOrder, EveryShapeOfInputEndsAsAPlainSortWouldOrderIt)
{
    const TShape shapes[] = {
        {"empty", 0, [](std::size_t, std::mt19937&) { return 0; }},
        {"one", 1, [](std::size_t, std::mt19937&) { return 5; }},
        {"two out of order", 2, [](std::size_t i, std::mt19937&) { return 1 - static_cast<int>(i); }},
        {"ascending", 3000, [](std::size_t i, std::mt19937&) { return static_cast<int>(i / 3); }},
        {"all equal", 500, [](std::size_t, std::mt19937&) { return 7; }},
        {"three values", 3000, [](std::size_t, std::mt19937& r) { return static_cast<int>(r() % 3); }},
        {"fifty values", 5000, [](std::size_t, std::mt19937& r) { return static_cast<int>(r() % 50); }},
        {"sorted with outliers", 4000,
         [](std::size_t i, std::mt19937& r) { return i % 10 == 0 ? static_cast<int>(r() % 4000) : static_cast<int>(i); }},
        {"sawtooth", 4000, [](std::size_t i, std::mt19937&) { return static_cast<int>(i % 97); }},
        {"descending below the run limit", IndexOrder::kMaxRuns,
         [](std::size_t i, std::mt19937&) { return -static_cast<int>(i); }},
        {"descending above the run limit", IndexOrder::kMaxRuns + 1,
         [](std::size_t i, std::mt19937&) { return -static_cast<int>(i); }},
        {"random", 20000, [](std::size_t, std::mt19937& r) { return static_cast<int>(r()); }},
    };
    for (const TShape& shape : shapes) {
        std::vector<TKeyed> items = InIdOrder(shape.count, shape.key);
        std::vector<TKeyed> expected = items;
        std::sort(expected.begin(), expected.end(), KeyThenId);
        SortIndexOrder(items, KeyThenId);
        EXPECT_EQ(items, expected) << shape.name;
    }
}

TEST(IndexOrder, ItemsEqualByTheOrderKeepEveryItemAndEndSorted)
{
    // Without the identifier as a tie-break the order is only weak.
    auto byKey = [](const TKeyed& a, const TKeyed& b) { return a.key < b.key; };
    for (const unsigned values : {1u, 4u, 200u}) {
        std::vector<TKeyed> items =
            InIdOrder(3000, [values](std::size_t, std::mt19937& r) { return static_cast<int>(r() % values); });
        std::vector<TKeyed> before = items;
        SortIndexOrder(items, byKey);
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), byKey)) << values;
        std::sort(items.begin(), items.end(), KeyThenId);
        std::sort(before.begin(), before.end(), KeyThenId);
        EXPECT_EQ(items, before) << values;
    }
}

namespace {

class IndexesOfAReopenedTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/fendral-index-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Saves db, opens the file into a new engine and checks its indexes.
    void ExpectIndexesAfterReopen(TEngine& db, const std::string& where)
    {
        const std::string path = folder_ + "/items.fend";
        ASSERT_EQ(db.SaveAs(path), Result::kOk) << where;
        TEngine reopened;
        ASSERT_EQ(reopened.Open(path), Result::kOk) << where;
        auto& table = reopened.Items();
        std::vector<ASlot<TItem>*> live;
        for (std::size_t i = 0; i < table.SlotCount(); ++i)
            if (table.SlotAt(i).Exists())
                live.push_back(&table.SlotAt(i));
        EXPECT_EQ(live.size(), db.Items().LiveCount()) << where;
        EXPECT_EQ(std::vector<ASlot<TItem>*>(table.Live().begin(), table.Live().end()), live) << where;
        for (int n = 2; n < TItem::kIndexCount; ++n) {
            auto expected = live;
            std::sort(expected.begin(), expected.end(), [n](auto* a, auto* b) {
                const int c = TItem::Compare(a->Record(), b->Record(), n);
                return c != 0 ? c < 0 : a->id < b->id;
            });
            const auto& index = table.IndexAt(n);
            EXPECT_EQ(std::vector<ASlot<TItem>*>(index.begin(), index.end()), expected) << where << " index " << n;
        }
        EXPECT_EQ(reopened.LoadErrors(), 0u) << where;
    }

    std::string folder_;
};

}  // namespace

TEST_F(IndexesOfAReopenedTable, AreTheLiveRecordsSortedAfreshWhateverTheKeysFollow)
{
    // Values (unique key 2) ascending, descending and shuffled against the identifiers;
    // parents (key 3) shared by many records, or none.
    for (const int pattern : {0, 1, 2}) {
        TEngine db;
        std::mt19937 random(static_cast<unsigned>(pattern) + 3);
        std::vector<int> values(3000);
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = static_cast<int>(i) * 3 - 4000;
        if (pattern == 1)
            std::reverse(values.begin(), values.end());
        if (pattern == 2)
            std::shuffle(values.begin(), values.end(), random);
        db.BeginStep();
        std::vector<ASlot<TItem>*> slots;
        for (const int value : values) {
            TItem item;
            item.value = value;
            if (!slots.empty() && random() % 4 != 0)
                item.parent = ATableImpl<TItem>::RefTo(slots[random() % std::min<std::size_t>(slots.size(), 12)]);
            slots.push_back(db.Items().Create(item));
        }
        db.CommitStep();
        // Deleted records stay in the file as deleted slots and must not reach any index.
        db.BeginStep();
        for (std::size_t i = 40; i < slots.size(); i += 7)
            db.Items().Delete(slots[i]);
        db.CommitStep();
        ExpectIndexesAfterReopen(db, "pattern " + std::to_string(pattern));
    }
}
