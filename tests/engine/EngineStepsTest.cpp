#include "TestRecords.h"

#include <algorithm>
#include <random>

using namespace TestRecords;

namespace {

std::vector<std::int32_t> ValuesByKey(TEngine& db, int index)
{
    std::vector<std::int32_t> values;
    for (const auto* slot : db.Items().IndexAt(index))
        values.push_back(slot->Record().value);
    return values;
}

std::vector<ARecordId> LiveIds(TEngine& db)
{
    std::vector<ARecordId> ids;
    for (const auto* slot : db.Items().Live())
        ids.push_back(slot->id);
    return ids;
}

using AValues = std::vector<std::int32_t>;
using AIds = std::vector<ARecordId>;

}  // namespace

TEST(EngineSteps, IdentifiersAreOddAndNeverReused)
{
    TEngine db;
    ASlot<TItem>* second = nullptr;
    Step(db, [&] {
        EXPECT_EQ(AddItem(db, 10)->id, 1u);
        second = AddItem(db, 20);
        EXPECT_EQ(second->id, 3u);
    });
    Step(db, [&] { db.Items().Delete(second); });
    Step(db, [&] { EXPECT_EQ(AddItem(db, 30)->id, 5u); });
    // Undoing an insertion does not give its identifier back either.
    ASSERT_TRUE(db.Undo());
    Step(db, [&] { EXPECT_EQ(AddItem(db, 40)->id, 7u); });
    EXPECT_EQ(db.Items().Find(3)->id, 3u);
    EXPECT_TRUE(db.Items().Find(3)->deleted);
    EXPECT_EQ(db.Items().Find(2), nullptr);
}

TEST(EngineSteps, EmptyStepLeavesNoTraceAndNoModification)
{
    TEngine db;
    Step(db, [&] { db.LabelStep(u"nothing"); });
    EXPECT_FALSE(db.Modified());
    EXPECT_FALSE(db.CanUndo());
    EXPECT_FALSE(db.UndoLabel().has_value());
    EXPECT_EQ(db.afterChangeCalls, 0);
}

TEST(EngineSteps, UndoOfInsertionLeavesEveryIndexRedoBringsItBackAndANewStepEndsRedo)
{
    TEngine db;
    Step(db, [&] { AddItem(db, 5); });
    ASlot<TItem>* slot = nullptr;
    Step(db, [&] {
        slot = AddItem(db, 7);
        db.LabelStep(u"Добавить");
    });
    ASSERT_EQ(db.UndoLabel(), std::u16string(u"Добавить"));
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(LiveIds(db), AIds{1});
    EXPECT_EQ(ValuesByKey(db, 2), AValues{5});
    EXPECT_EQ(ValuesByKey(db, 3), AValues{5});
    EXPECT_FALSE(slot->Exists());
    EXPECT_EQ(db.RedoLabel(), std::u16string(u"Добавить"));
    ASSERT_TRUE(db.Redo());
    EXPECT_EQ(LiveIds(db), (AIds{1, 3}));
    EXPECT_EQ(ValuesByKey(db, 2), (AValues{5, 7}));
    EXPECT_EQ(slot->id, 3u);
    EXPECT_TRUE(slot->Exists());

    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(db.CanRedo());
    db.BeginStep();
    EXPECT_FALSE(db.CanRedo());  // nothing can be redone while a step is open
    AddItem(db, 3);
    db.CommitStep();
    EXPECT_FALSE(db.CanRedo());
    EXPECT_FALSE(db.Redo());
    EXPECT_EQ(ValuesByKey(db, 2), (AValues{3, 5}));
}

TEST(EngineSteps, ChangedRecordsMoveInKeyIndexesAndKeepOldPlaceUntilCommit)
{
    TEngine db;
    ASlot<TItem>*a = nullptr, *b = nullptr, *c = nullptr;
    Step(db, [&] {
        a = AddItem(db, 10);
        b = AddItem(db, 20);
        c = AddItem(db, 30);
    });
    Step(db, [&] {
        db.Items().Change(a)->value = 40;
        db.Items().Change(c)->value = 5;
        // Inside the step the indexes still show the committed order.
        EXPECT_EQ(db.Items().IndexAt(2).front(), a);
        db.Items().Delete(b);
        EXPECT_EQ(db.Items().Live().size(), 3u);  // deleted records leave on commit
        EXPECT_TRUE(b->deleted);
    });
    EXPECT_EQ(ValuesByKey(db, 2), (AValues{5, 40}));
    EXPECT_EQ(LiveIds(db), (AIds{1, 5}));
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(ValuesByKey(db, 2), (AValues{10, 20, 30}));
    ASSERT_TRUE(db.Redo());
    EXPECT_EQ(ValuesByKey(db, 2), (AValues{5, 40}));
}

TEST(EngineSteps, ChangeHandsTheChangeCounterOnceEachStep)
{
    TEngine db;
    ASlot<TItem>* a = nullptr;
    std::uint64_t created = 0;
    Step(db, [&] {
        a = AddItem(db, 1);
        created = a->Record().changeStamp;
        db.Items().Change(a)->value = 2;  // changing a record made in this step is no new version
        EXPECT_EQ(a->Record().changeStamp, created);
    });
    EXPECT_EQ(a->VersionCount(), 1);
    Step(db, [&] {
        db.Items().Change(a)->value = 3;
        db.Items().Change(a)->flag = 1;
    });
    EXPECT_EQ(a->VersionCount(), 2);
    EXPECT_EQ(a->Record().changeStamp, created + 1);
    EXPECT_EQ(db.Items().Header().changeCounter, created + 1);
}

TEST(EngineSteps, SubscribersHearEachListInItsPlaceUntilTheyAreDestroyed)
{
    TEngine db;
    {
        TRecorder gone(db);
    }
    TRecorder recorder(db);
    ASlot<TItem>*a = nullptr, *b = nullptr, *c = nullptr;
    Step(db, [&] {
        a = AddItem(db, 1);
        b = AddItem(db, 2);
    });
    Step(db, [&] {
        db.Items().Change(a)->value = 9;
        db.Items().Delete(b);
        c = AddItem(db, 3);
    });
    db.Undo();
    db.Redo();
    ASSERT_EQ(recorder.calls.size(), 4u);
    EXPECT_EQ(recorder.calls[0].added, (AIds{1, 3}));
    EXPECT_EQ(recorder.calls[1].changed, AIds{a->id});
    EXPECT_EQ(recorder.calls[1].removed, AIds{b->id});
    EXPECT_EQ(recorder.calls[1].added, AIds{c->id});
    // Undo tells the inserted ones as removed and the deleted ones as added.
    EXPECT_EQ(recorder.calls[2].removed, AIds{c->id});
    EXPECT_EQ(recorder.calls[2].added, AIds{b->id});
    EXPECT_EQ(recorder.calls[3].removed, AIds{b->id});
    EXPECT_EQ(recorder.calls[3].added, AIds{c->id});
    EXPECT_EQ(db.afterChangeCalls, 4);
}

TEST(EngineSteps, RollBackOfChangesRestoresRecordsAndIndexes)
{
    TEngine db;
    ASlot<TItem>*a = nullptr, *b = nullptr;
    Step(db, [&] {
        a = AddItem(db, 1);
        b = AddItem(db, 2);
    });
    db.BeginStep();
    db.Items().Change(a)->value = 50;
    db.Items().Delete(b);
    auto* c = AddItem(db, 3);
    db.RollBack();
    EXPECT_FALSE(db.StepOpen());
    EXPECT_EQ(a->Record().value, 1);
    EXPECT_TRUE(b->Exists());
    EXPECT_FALSE(c->Exists());
    EXPECT_EQ(ValuesByKey(db, 2), (AValues{1, 2}));
    EXPECT_EQ(LiveIds(db), (AIds{1, 3}));
    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(LiveIds(db).empty());
}

TEST(EngineSteps, MisuseAndADuplicateUniqueKeyAreReportedAndRefused)
{
    {
        TAssertionGuard guard;
        TEngine db;
        Step(db, [&] {
            AddItem(db, 1);
            AddItem(db, 1);
        });
        EXPECT_EQ(guard.failures, 1);
        EXPECT_EQ(db.ConsistencyErrors(), 1u);
    }
    TAssertionGuard guard;
    TEngine db;
    EXPECT_EQ(AddItem(db, 1), nullptr);  // no open step
    ASlot<TItem>* a = nullptr;
    Step(db, [&] { a = AddItem(db, 1); });
    db.BeginStep();
    db.Items().Delete(a);
    EXPECT_EQ(db.Items().Change(a), nullptr);  // changed while deleted
    db.BeginStep();                            // opened twice
    db.CommitStep();
    EXPECT_EQ(guard.failures, 3);
    EXPECT_FALSE(a->Exists());
}

// Many changes at once take the sorting path; the result must equal one record at a time.
TEST(EngineSteps, BulkAndSingleIndexMaintenanceAgree)
{
    std::mt19937 random(7);
    TEngine bulk, single;
    std::vector<ASlot<TItem>*> bulkSlots, singleSlots;
    Step(bulk, [&] {
        for (int i = 0; i < 600; ++i)
            bulkSlots.push_back(AddItem(bulk, i * 2));
    });
    for (int i = 0; i < 600; ++i)
        Step(single, [&] { singleSlots.push_back(AddItem(single, i * 2)); });
    std::vector<int> order(600);
    for (int i = 0; i < 600; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), random);
    bulk.BeginStep();
    for (int k = 0; k < 300; ++k) {
        const auto i = static_cast<std::size_t>(order[static_cast<std::size_t>(k)]);
        const std::int32_t value = 100000 - static_cast<std::int32_t>(i);
        if (k % 3 == 0) {
            bulk.Items().Delete(bulkSlots[i]);
            Step(single, [&] { single.Items().Delete(singleSlots[i]); });
            continue;
        }
        TItem* b = bulk.Items().Change(bulkSlots[i]);
        b->value = value;
        b->parent = ATableImpl<TItem>::RefTo(bulkSlots[i / 2]);
        Step(single, [&] {
            TItem* s = single.Items().Change(singleSlots[i]);
            s->value = value;
            s->parent = ATableImpl<TItem>::RefTo(singleSlots[i / 2]);
        });
    }
    bulk.CommitStep();
    for (int index = 2; index <= 3; ++index)
        EXPECT_EQ(ValuesByKey(bulk, index), ValuesByKey(single, index)) << index;
    EXPECT_EQ(LiveIds(bulk), LiveIds(single));
    EXPECT_TRUE(std::is_sorted(bulk.Items().IndexAt(3).begin(), bulk.Items().IndexAt(3).end(),
                               [](auto* x, auto* y) { return x->Record().parent.Word() < y->Record().parent.Word(); }));
    bulk.Undo();
    EXPECT_EQ(bulk.Items().LiveCount(), 600u);
    auto values = ValuesByKey(bulk, 2);
    EXPECT_EQ(values.front(), 0);
    EXPECT_EQ(values.back(), 1198);
}

TEST(EngineSteps, EqualRangeFindsRecordsByKey)
{
    TEngine db;
    ASlot<TItem>* root = nullptr;
    Step(db, [&] {
        root = AddItem(db, 1);
        for (int i = 0; i < 5; ++i)
            AddItem(db, 10 + i, ATableImpl<TItem>::RefTo(root));
        AddItem(db, 99);
    });
    TItem probe;
    probe.parent = ATableImpl<TItem>::RefTo(root);
    EXPECT_EQ(db.Items().EqualRange(3, probe).size(), 5u);
    probe.value = 99;
    ASSERT_EQ(db.Items().EqualRange(2, probe).size(), 1u);
    EXPECT_EQ(db.Items().EqualRange(2, probe)[0]->id, 13u);
}
