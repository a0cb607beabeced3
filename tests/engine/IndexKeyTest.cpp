// Key indexes built when a file is opened: the sort by packed keys against a plain sort
// of the records on every shape of input, and the indexes of a reopened table against a
// fresh sort.
#include "TestRecords.h"

#include "database/engine/IndexKey.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <tuple>
#include <unistd.h>

using namespace TestRecords;

namespace {

// A record with a field of each kind a key packs.
struct TKeyed {
    std::int32_t number = 0;
    std::uint64_t stamp = 0;
    std::u16string text;
};

struct TShape {
    const char* name;
    std::size_t count;
    std::function<TKeyed(std::size_t, std::mt19937&)> make;
    bool byText;  // the key is the text, then the number; otherwise the number, then the stamp
};

std::u16string TextOf(std::uint32_t value, std::size_t length)
{
    // Long shared beginnings, units on both sides of the sign bit of a 16-bit unit, and NULs.
    std::u16string text(length, u'ж');
    for (std::size_t i = 0; i < length && value != 0; ++i, value /= 5)
        text[length - 1 - i] = u"\0a\u8000\uFFFFж"[value % 5];
    return text;
}

}  // namespace

TEST(IndexKey, EveryShapeOfInputEndsAsAPlainSortOfTheRecordsWouldOrderIt)
{
    auto number = [](std::int32_t n) { return TKeyed{n, 0, {}}; };
    const TShape shapes[] = {
        {"empty", 0, [&](std::size_t, std::mt19937&) { return number(0); }, false},
        {"one", 1, [&](std::size_t, std::mt19937&) { return number(5); }, false},
        {"ascending", 3000, [&](std::size_t i, std::mt19937&) { return number(static_cast<int>(i / 3)); }, false},
        {"descending", 3000, [&](std::size_t i, std::mt19937&) { return number(-static_cast<int>(i)); }, false},
        {"all equal", 500, [&](std::size_t, std::mt19937&) { return number(7); }, false},
        {"random over the whole range", 20000,
         [](std::size_t, std::mt19937& r) { return TKeyed{static_cast<std::int32_t>(r()), r() % 3, {}}; }, false},
        {"equal numbers, stamps past 32 bits", 5000,
         [](std::size_t, std::mt19937& r) {
             return TKeyed{static_cast<std::int32_t>(r() % 3) - 1, std::uint64_t{r()} << (r() % 40), {}};
         },
         false},
        {"texts longer than the key", 4000,
         [](std::size_t, std::mt19937& r) {
             return TKeyed{static_cast<std::int32_t>(r() % 4), 0, TextOf(r() % 2000, 8 + r() % 20)};
         },
         true},
        {"texts tied beyond where packed keys refine them", 600,
         [](std::size_t, std::mt19937& r) { return TKeyed{0, 0, TextOf(r() % 50, 70 + r() % 20)}; }, true},
        {"short, empty and repeated texts", 3000,
         [](std::size_t, std::mt19937& r) { return TKeyed{0, 0, TextOf(r() % 30, r() % 3)}; }, true},
    };
    for (const TShape& shape : shapes) {
        std::mt19937 random(static_cast<unsigned>(shape.count) + 11);
        std::vector<TKeyed> records;
        for (std::size_t i = 0; i < shape.count; ++i)
            records.push_back(shape.make(i, random));
        auto less = [&](std::uint32_t a, std::uint32_t b) {
            const TKeyed& x = records[a];
            const TKeyed& y = records[b];
            return shape.byText ? std::tie(x.text, x.number, a) < std::tie(y.text, y.number, b)
                                : std::tie(x.number, x.stamp, a) < std::tie(y.number, y.stamp, b);
        };
        std::vector<std::uint32_t> slots(records.size());
        for (std::size_t i = 0; i < slots.size(); ++i)
            slots[i] = static_cast<std::uint32_t>(i);
        std::vector<std::uint32_t> expected = slots;
        std::sort(expected.begin(), expected.end(), less);
        SortByPackedKey(
            slots,
            [&](std::uint32_t at, AIndexKey& key) {
                if (shape.byText)
                    key(records[at].text);
                key(records[at].number);
                key(records[at].stamp);
            },
            less);
        EXPECT_EQ(slots, expected) << shape.name;
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
        std::vector<ASlot<TItem>*> slots;
        Step(db, [&] {
            for (const int value : values) {
                AReference<TItem> parent;
                if (!slots.empty() && random() % 4 != 0)
                    parent = ATableImpl<TItem>::RefTo(slots[random() % std::min<std::size_t>(slots.size(), 12)]);
                slots.push_back(AddItem(db, value, parent));
            }
        });
        // Deleted records stay in the file as deleted slots and must not reach any index.
        Step(db, [&] {
            for (std::size_t i = 40; i < slots.size(); i += 7)
                db.Items().Delete(slots[i]);
        });
        ExpectIndexesAfterReopen(db, "pattern " + std::to_string(pattern));
    }
}
