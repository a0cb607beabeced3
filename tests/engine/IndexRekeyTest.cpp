// Changed records move in a key index only when that key changed; whatever moves or
// stays, every index must equal the live records sorted afresh, after commits, undos
// and redos, in single-slot and bulk maintenance alike.
#include "TestRecords.h"

#include <algorithm>
#include <random>

using namespace TestRecords;

namespace {

// Index n must hold exactly the live records, ordered by key n, then identifier.
void ExpectIndexesAsIfRebuilt(TEngine& db, const std::string& where)
{
    std::vector<ASlot<TItem>*> live;
    for (std::size_t i = 0; i < db.Items().SlotCount(); ++i)
        if (db.Items().SlotAt(i).Exists())
            live.push_back(&db.Items().SlotAt(i));
    EXPECT_EQ(std::vector<ASlot<TItem>*>(db.Items().Live().begin(), db.Items().Live().end()), live) << where;
    for (int n = 2; n <= 3; ++n) {
        auto expected = live;
        std::sort(expected.begin(), expected.end(), [n](auto* a, auto* b) {
            const int c = TItem::Compare(a->Record(), b->Record(), n);
            return c != 0 ? c < 0 : a->id < b->id;
        });
        const auto& index = db.Items().IndexAt(n);
        EXPECT_EQ(std::vector<ASlot<TItem>*>(index.begin(), index.end()), expected) << where << " index " << n;
    }
}

}  // namespace

TEST(IndexRekey, ChangesOfOneKeyOtherKeysOrNoKeyKeepEveryIndexExact)
{
    for (const int changesPerStep : {3, 40}) {  // single-slot and bulk maintenance
        std::mt19937 random(11);
        TEngine db;
        std::vector<ASlot<TItem>*> slots;
        Step(db, [&] {
            for (int i = 0; i < 200; ++i)
                slots.push_back(AddItem(db, i * 10));
        });
        int nextValue = 1;
        for (int step = 0; step < 30; ++step) {
            db.BeginStep();
            std::vector<ASlot<TItem>*> touched;
            for (int k = 0; k < changesPerStep; ++k) {
                ASlot<TItem>* slot = slots[random() % slots.size()];
                if (std::find(touched.begin(), touched.end(), slot) != touched.end() || !slot->Exists())
                    continue;
                touched.push_back(slot);
                TItem* item = db.Items().Change(slot);
                switch (random() % 4) {
                case 0: item->value = 5000 + nextValue++ * 7 % 3001 * 2 + 1; break;  // key 2 only
                case 1: item->parent = ATableImpl<TItem>::RefTo(slots[random() % 20]); break;  // key 3 only
                case 2: item->flag ^= 1; break;  // no key
                default:
                    item->value = -nextValue++;
                    item->parent = {};
                    break;
                }
            }
            db.CommitStep();
            ExpectIndexesAsIfRebuilt(db, "step " + std::to_string(step));
        }
        for (int step = 0; db.Undo(); ++step)
            ExpectIndexesAsIfRebuilt(db, "undo " + std::to_string(step));
        for (int step = 0; db.Redo(); ++step)
            ExpectIndexesAsIfRebuilt(db, "redo " + std::to_string(step));
        if (::testing::Test::HasFailure())
            return;
    }
}
