#include "TestRecords.h"

#include <algorithm>
#include <random>

using namespace TestRecords;

namespace {

ASlot<TItem>* AddItem(TEngine& db, std::int32_t value, AReference<TItem> parent = {})
{
    TItem item;
    item.value = value;
    item.parent = parent;
    return db.Items().Create(item);
}

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

}  // namespace

TEST(EngineSteps, IdentifiersAreOddAndNeverReused)
{
    TEngine db;
    db.BeginStep();
    EXPECT_EQ(AddItem(db, 10)->id, 1u);
    auto* second = AddItem(db, 20);
    EXPECT_EQ(second->id, 3u);
    db.CommitStep();
    db.BeginStep();
    db.Items().Delete(second);
    db.CommitStep();
    db.BeginStep();
    EXPECT_EQ(AddItem(db, 30)->id, 5u);
    db.CommitStep();
    // Undoing an insertion does not give its identifier back either.
    ASSERT_TRUE(db.Undo());
    db.BeginStep();
    EXPECT_EQ(AddItem(db, 40)->id, 7u);
    db.CommitStep();
    EXPECT_EQ(db.Items().Find(3)->id, 3u);
    EXPECT_TRUE(db.Items().Find(3)->deleted);
    EXPECT_EQ(db.Items().Find(2), nullptr);
}

TEST(EngineSteps, EmptyStepLeavesNoTraceAndNoModification)
{
    TEngine db;
    db.BeginStep();
    db.LabelStep(u"nothing");
    db.CommitStep();
    EXPECT_FALSE(db.Modified());
    EXPECT_FALSE(db.CanUndo());
    EXPECT_FALSE(db.UndoLabel().has_value());
    EXPECT_EQ(db.afterChangeCalls, 0);
}

TEST(EngineSteps, UndoOfInsertionLeavesEveryIndexAndRedoBringsItBack)
{
    TEngine db;
    db.BeginStep();
    AddItem(db, 5);
    db.CommitStep();
    db.BeginStep();
    auto* slot = AddItem(db, 7);
    db.LabelStep(u"Добавить");
    db.CommitStep();
    ASSERT_EQ(db.UndoLabel(), std::u16string(u"Добавить"));
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(LiveIds(db), std::vector<ARecordId>{1});
    EXPECT_EQ(ValuesByKey(db, 2), std::vector<std::int32_t>{5});
    EXPECT_EQ(ValuesByKey(db, 3), std::vector<std::int32_t>{5});
    EXPECT_FALSE(slot->Exists());
    EXPECT_EQ(db.RedoLabel(), std::u16string(u"Добавить"));
    ASSERT_TRUE(db.Redo());
    EXPECT_EQ(LiveIds(db), (std::vector<ARecordId>{1, 3}));
    EXPECT_EQ(ValuesByKey(db, 2), (std::vector<std::int32_t>{5, 7}));
    EXPECT_EQ(slot->id, 3u);
    EXPECT_TRUE(slot->Exists());
}

TEST(EngineSteps, NewStepAfterUndoEndsRedo)
{
    TEngine db;
    db.BeginStep();
    AddItem(db, 1);
    db.CommitStep();
    db.BeginStep();
    AddItem(db, 2);
    db.CommitStep();
    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(db.CanRedo());
    db.BeginStep();
    EXPECT_FALSE(db.CanRedo());  // nothing can be redone while a step is open
    AddItem(db, 3);
    db.CommitStep();
    EXPECT_FALSE(db.CanRedo());
    EXPECT_FALSE(db.Redo());
    EXPECT_EQ(ValuesByKey(db, 2), (std::vector<std::int32_t>{1, 3}));
}

TEST(EngineSteps, ChangedRecordsMoveInKeyIndexesAndKeepOldPlaceUntilCommit)
{
    TEngine db;
    db.BeginStep();
    auto* a = AddItem(db, 10);
    auto* b = AddItem(db, 20);
    auto* c = AddItem(db, 30);
    db.CommitStep();

    db.BeginStep();
    db.Items().Change(a)->value = 40;
    db.Items().Change(c)->value = 5;
    // Inside the step the indexes still show the committed order.
    EXPECT_EQ(db.Items().IndexAt(2).front(), a);
    db.Items().Delete(b);
    EXPECT_EQ(db.Items().Live().size(), 3u);  // deleted records leave on commit
    EXPECT_TRUE(b->deleted);
    db.CommitStep();
    EXPECT_EQ(ValuesByKey(db, 2), (std::vector<std::int32_t>{5, 40}));
    EXPECT_EQ(LiveIds(db), (std::vector<ARecordId>{1, 5}));

    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(ValuesByKey(db, 2), (std::vector<std::int32_t>{10, 20, 30}));
    ASSERT_TRUE(db.Redo());
    EXPECT_EQ(ValuesByKey(db, 2), (std::vector<std::int32_t>{5, 40}));
}

TEST(EngineSteps, ChangeHandsTheChangeCounterOnceEachStep)
{
    TEngine db;
    db.BeginStep();
    auto* a = AddItem(db, 1);
    const std::uint64_t created = a->Record().changeStamp;
    db.Items().Change(a)->value = 2;  // changing a record made in this step is no new version
    EXPECT_EQ(a->Record().changeStamp, created);
    db.CommitStep();
    EXPECT_EQ(a->VersionCount(), 1);
    db.BeginStep();
    db.Items().Change(a)->value = 3;
    db.Items().Change(a)->flag = 1;
    db.CommitStep();
    EXPECT_EQ(a->VersionCount(), 2);
    EXPECT_EQ(a->Record().changeStamp, created + 1);
    EXPECT_EQ(db.Items().Header().changeCounter, created + 1);
}

TEST(EngineSteps, SubscribersHearEachListInItsPlace)
{
    TEngine db;
    TRecorder recorder(db);
    db.BeginStep();
    auto* a = AddItem(db, 1);
    auto* b = AddItem(db, 2);
    db.CommitStep();
    db.BeginStep();
    db.Items().Change(a)->value = 9;
    db.Items().Delete(b);
    auto* c = AddItem(db, 3);
    db.CommitStep();
    db.Undo();
    db.Redo();
    ASSERT_EQ(recorder.calls.size(), 4u);
    EXPECT_EQ(recorder.calls[0].added, (std::vector<ARecordId>{1, 3}));
    EXPECT_EQ(recorder.calls[1].changed, std::vector<ARecordId>{a->id});
    EXPECT_EQ(recorder.calls[1].removed, std::vector<ARecordId>{b->id});
    EXPECT_EQ(recorder.calls[1].added, std::vector<ARecordId>{c->id});
    // Undo tells the inserted ones as removed and the deleted ones as added.
    EXPECT_EQ(recorder.calls[2].removed, std::vector<ARecordId>{c->id});
    EXPECT_EQ(recorder.calls[2].added, std::vector<ARecordId>{b->id});
    EXPECT_EQ(recorder.calls[3].removed, std::vector<ARecordId>{b->id});
    EXPECT_EQ(recorder.calls[3].added, std::vector<ARecordId>{c->id});
    EXPECT_EQ(db.afterChangeCalls, 4);
}

TEST(EngineSteps, SubscriberLeavesItsDatabaseWhenDestroyed)
{
    TEngine db;
    {
        TRecorder gone(db);
    }
    TRecorder stays(db);
    db.BeginStep();
    AddItem(db, 1);
    db.CommitStep();
    EXPECT_EQ(stays.calls.size(), 1u);
}

TEST(EngineSteps, RollBackOfChangesRestoresRecordsAndIndexes)
{
    TEngine db;
    db.BeginStep();
    auto* a = AddItem(db, 1);
    auto* b = AddItem(db, 2);
    db.CommitStep();
    db.BeginStep();
    db.Items().Change(a)->value = 50;
    db.Items().Delete(b);
    auto* c = AddItem(db, 3);
    db.RollBack();
    EXPECT_FALSE(db.StepOpen());
    EXPECT_EQ(a->Record().value, 1);
    EXPECT_TRUE(b->Exists());
    EXPECT_FALSE(c->Exists());
    EXPECT_EQ(ValuesByKey(db, 2), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(LiveIds(db), (std::vector<ARecordId>{1, 3}));
    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(LiveIds(db).empty());
}

TEST(EngineSteps, DuplicateUniqueKeyIsABrokenInvariant)
{
    TAssertionGuard guard;
    TEngine db;
    db.BeginStep();
    AddItem(db, 1);
    AddItem(db, 1);
    db.CommitStep();
    EXPECT_EQ(guard.failures, 1);
    EXPECT_EQ(db.ConsistencyErrors(), 1u);
}

TEST(EngineSteps, MisuseIsReportedAndRefused)
{
    TAssertionGuard guard;
    TEngine db;
    EXPECT_EQ(AddItem(db, 1), nullptr);  // no open step
    db.BeginStep();
    auto* a = AddItem(db, 1);
    db.CommitStep();
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
    bulk.BeginStep();
    for (int i = 0; i < 600; ++i)
        bulkSlots.push_back(AddItem(bulk, i * 2));
    bulk.CommitStep();
    for (int i = 0; i < 600; ++i) {
        single.BeginStep();
        singleSlots.push_back(AddItem(single, i * 2));
        single.CommitStep();
    }
    std::vector<int> order(600);
    for (int i = 0; i < 600; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), random);
    bulk.BeginStep();
    for (int k = 0; k < 300; ++k) {
        const auto i = static_cast<std::size_t>(order[static_cast<std::size_t>(k)]);
        const std::int32_t value = 100000 - static_cast<std::int32_t>(i);
        auto parent = ATableImpl<TItem>::RefTo(bulkSlots[i / 2]);
        if (k % 3 == 0) {
            bulk.Items().Delete(bulkSlots[i]);
            single.BeginStep();
            single.Items().Delete(singleSlots[i]);
            single.CommitStep();
            continue;
        }
        TItem* b = bulk.Items().Change(bulkSlots[i]);
        b->value = value;
        b->parent = parent;
        single.BeginStep();
        TItem* s = single.Items().Change(singleSlots[i]);
        s->value = value;
        s->parent = ATableImpl<TItem>::RefTo(singleSlots[i / 2]);
        single.CommitStep();
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
    db.BeginStep();
    auto* root = AddItem(db, 1);
    for (int i = 0; i < 5; ++i)
        AddItem(db, 10 + i, ATableImpl<TItem>::RefTo(root));
    AddItem(db, 99);
    db.CommitStep();
    TItem probe;
    probe.parent = ATableImpl<TItem>::RefTo(root);
    EXPECT_EQ(db.Items().EqualRange(3, probe).size(), 5u);
    probe.value = 99;
    ASSERT_EQ(db.Items().EqualRange(2, probe).size(), 1u);
    EXPECT_EQ(db.Items().EqualRange(2, probe)[0]->id, 13u);
}
