// A slot keeps its first version in itself and the later ones apart: the values, the
// stamp and the deleted flag of each version through undo, redo, a new branch and a
// rolled-back change, and what a save then writes.
#include "TestRecords.h"

#include <functional>

using namespace TestRecords;

namespace {

Dates::ALocalTime AtMinute(int minute) { return Dates::ALocalTime{45000, minute * 60'000}; }

}  // namespace

TEST(SlotVersions, ValuesStampAndDeletionFollowEveryStepBackAndForth)
{
    int minute = 1;
    TEngine db([&minute] { return AtMinute(minute); });
    auto change = [&](std::int32_t value) {
        return [&db, &minute, value, step = minute] {
            minute = step;
            Step(db, [&] { db.Items().Change(&db.Items().SlotAt(0))->value = value; });
        };
    };
    Step(db, [&] { AddItem(db, 1); });
    ASlot<TItem>& slot = db.Items().SlotAt(0);
    minute = 2;
    change(2)();
    minute = 3;
    Step(db, [&] { db.Items().Delete(&slot); });

    auto undo = [&] { ASSERT_TRUE(db.Undo()); };
    auto redo = [&] { ASSERT_TRUE(db.Redo()); };
    auto rolledBack = [&] {
        db.BeginStep();
        db.Items().Change(&slot)->value = 99;
        db.RollBack();
    };
    minute = 4;
    const auto changeTo7 = change(7);
    const struct {
        const char* what;
        std::function<void()> act;
        bool exists;
        std::int32_t value;
        int stampMinute;
        std::int32_t versions;
    } steps[] = {
        {"undo the deletion", undo, true, 2, 2, 3},
        {"undo the change", undo, true, 1, 1, 3},
        {"undo the creation", undo, false, 1, 1, 3},
        {"redo the creation", redo, true, 1, 1, 3},
        {"redo the change", redo, true, 2, 2, 3},
        {"redo the deletion", redo, false, 2, 3, 3},
        {"undo twice", [&] { undo(), undo(); }, true, 1, 1, 3},
        {"a change rolled back drops the redo versions", rolledBack, true, 1, 1, 1},
        {"a new change", changeTo7, true, 7, 4, 2},
        {"undo the new change", undo, true, 1, 1, 2},
        {"redo it", redo, true, 7, 4, 2},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(slot.Exists(), step.exists) << step.what;
        EXPECT_EQ(slot.Record().value, step.value) << step.what;
        EXPECT_EQ(slot.stamp, Dates::ToFileTime(AtMinute(step.stampMinute))) << step.what;
        EXPECT_EQ(slot.VersionCount(), step.versions) << step.what;
    }
}
