#include "database/engine/dbEngine.h"

#include "database/engine/CompoundFile.h"

#include <algorithm>

namespace Database::Engine {

ADBEngine::ADBEngine(AClock clock) : clock_(std::move(clock)) {}

ADBEngine::~ADBEngine()
{
    for (ANotify* subscriber : subscribers_)
        subscriber->Detach();
}

void ADBEngine::BeginStep()
{
    if (!FD_VERIFY(!stepOpen_))
        return;
    openStep_ = AStep{};
    stepOpen_ = true;
}

void ADBEngine::LabelStep(std::u16string_view label)
{
    if (!FD_VERIFY(stepOpen_))
        return;
    if (label.empty())
        openStep_.label.reset();
    else
        openStep_.label = std::u16string(label);
}

void ADBEngine::NoteInStep(ARecordBase& slot)
{
    switch (slot.role) {
    case ARecordBase::AStepRole::Changed: openStep_.lists[kChanged].push_back(&slot); break;
    case ARecordBase::AStepRole::Deleted: openStep_.lists[kDeleted].push_back(&slot); break;
    case ARecordBase::AStepRole::Inserted: openStep_.lists[kInserted].push_back(&slot); break;
    case ARecordBase::AStepRole::None: FD_VERIFY(false); break;
    }
}

namespace {

// Splits the slots of a step by table: every slot, for stepping its version, and what
// each table's indexes lose, re-sort and gain.
class APerTable {
public:
    APerTable(const ASlotList& leaving, const ASlotList& changed, const ASlotList& entering)
    {
        for (const ASlotList* list : {&changed, &leaving, &entering})
            for (ARecordBase* slot : *list)
                slots[IdOf(slot)].push_back(slot);
        for (ARecordBase* slot : leaving) {
            auto& change = changes[IdOf(slot)];
            change.leaveLive.push_back(slot);
            change.leaveKeyed.push_back(slot);
        }
        for (ARecordBase* slot : changed)
            changes[IdOf(slot)].rekeyed.push_back(slot);
        for (ARecordBase* slot : entering) {
            auto& change = changes[IdOf(slot)];
            change.enterLive.push_back(slot);
            change.enterKeyed.push_back(slot);
        }
    }

    std::array<ATableBase::AIndexChange, ADBEngine::kTableCount + 1> changes;
    std::array<ASlotList, ADBEngine::kTableCount + 1> slots;

private:
    static ATableId IdOf(const ARecordBase* slot) { return slot->table->Id(); }
};

}  // namespace

void ADBEngine::CommitStep()
{
    if (!FD_VERIFY(stepOpen_))
        return;
    AStep& step = openStep_;
    if (step.lists[kChanged].empty() && step.lists[kDeleted].empty() && step.lists[kInserted].empty()) {
        RollBack();
        return;
    }
    const AFileTime stamp = Now();
    APerTable perTable(step.lists[kDeleted], step.lists[kChanged], step.lists[kInserted]);
    for (ATableId id = 1; id <= kTableCount; ++id) {
        if (perTable.slots[id].empty())
            continue;
        ATableBase& table = *tables_[id];
        table.ApplyIndexChange(perTable.changes[id], [&] {
            for (ARecordBase* slot : perTable.slots[id]) {
                table.CommitVersion(*slot, stamp);
                slot->role = ARecordBase::AStepRole::None;
            }
        });
    }
    // A new step ends redo; a save made in the discarded branch no longer matches.
    history_.resize(static_cast<std::size_t>(current_ + 1));
    if (savedStep_ > current_)
        savedStep_ = ARecordBase::kSavedLost;
    history_.push_back(std::move(step));
    openStep_ = AStep{};
    ++current_;
    stepOpen_ = false;
    const AStep& done = history_.back();
    Notify(done.lists[kChanged], done.lists[kDeleted], done.lists[kInserted]);
    AfterChange();
}

void ADBEngine::RollBack()
{
    if (!FD_VERIFY(stepOpen_))
        return;
    // Undo what the open step did, record by record; nothing reached the indexes yet.
    bool touchedHistory = false;
    for (const ASlotList& list : openStep_.lists)
        for (ARecordBase* slot : list) {
            slot->table->StepVersion(*slot, -1);
            slot->table->DropUnreachableVersions(*slot);
            slot->role = ARecordBase::AStepRole::None;
            touchedHistory = true;
        }
    // Opening records for change dropped their redo versions, so redo is gone too.
    if (touchedHistory) {
        history_.resize(static_cast<std::size_t>(current_ + 1));
        if (savedStep_ > current_)
            savedStep_ = ARecordBase::kSavedLost;
    }
    openStep_ = AStep{};
    stepOpen_ = false;
}

void ADBEngine::Replay(AStep& step, int direction)
{
    // Going back, inserted records leave and deleted ones return; forward, the reverse.
    const ASlotList& leaving = direction < 0 ? step.lists[kInserted] : step.lists[kDeleted];
    const ASlotList& entering = direction < 0 ? step.lists[kDeleted] : step.lists[kInserted];
    APerTable perTable(leaving, step.lists[kChanged], entering);
    for (ATableId id = 1; id <= kTableCount; ++id) {
        if (perTable.slots[id].empty())
            continue;
        ATableBase& table = *tables_[id];
        perTable.changes[id].versionsAhead = direction > 0;
        table.ApplyIndexChange(perTable.changes[id], [&] {
            for (ARecordBase* slot : perTable.slots[id])
                table.StepVersion(*slot, direction);
        });
    }
}

bool ADBEngine::Undo()
{
    if (!CanUndo())
        return false;
    AStep& step = history_[static_cast<std::size_t>(current_)];
    Replay(step, -1);
    --current_;
    Notify(step.lists[kChanged], step.lists[kInserted], step.lists[kDeleted]);
    AfterChange();
    return true;
}

bool ADBEngine::Redo()
{
    if (!CanRedo())
        return false;
    ++current_;
    AStep& step = history_[static_cast<std::size_t>(current_)];
    Replay(step, +1);
    Notify(step.lists[kChanged], step.lists[kDeleted], step.lists[kInserted]);
    AfterChange();
    return true;
}

std::optional<std::u16string> ADBEngine::UndoLabel() const
{
    if (!CanUndo())
        return std::nullopt;
    return history_[static_cast<std::size_t>(current_)].label;
}

std::optional<std::u16string> ADBEngine::RedoLabel() const
{
    if (!CanRedo())
        return std::nullopt;
    return history_[static_cast<std::size_t>(current_ + 1)].label;
}

void ADBEngine::ClearHistory()
{
    if (!FD_VERIFY(!stepOpen_))
        return;
    history_.clear();
    current_ = savedStep_ = -1;
    lowestUndoable_ = 0;
}

void ADBEngine::Subscribe(ANotify* subscriber) { subscribers_.push_back(subscriber); }

void ADBEngine::Unsubscribe(ANotify* subscriber) { std::erase(subscribers_, subscriber); }

void ADBEngine::Notify(const ASlotList& changed, const ASlotList& removed, const ASlotList& added)
{
    // A subscriber may unsubscribe (or destroy another) while being told.
    const std::vector<ANotify*> subscribers = subscribers_;
    for (ANotify* subscriber : subscribers)
        if (std::find(subscribers_.begin(), subscribers_.end(), subscriber) != subscribers_.end())
            subscriber->OnChange(changed, removed, added);
}

void ADBEngine::Renumber(ATableId except)
{
    for (ATableId id = 1; id <= kTableCount; ++id)
        if (id != except)
            tables_[id]->Renumber();
    renumbered_ = true;
}

std::uint32_t ADBEngine::ResolveAll()
{
    std::uint32_t failures = 0;
    for (ATableId id = 1; id <= kTableCount; ++id)
        failures += tables_[id]->ResolveReferences();
    return failures;
}

std::uint32_t ADBEngine::ConsistencyErrors()
{
    std::uint32_t errors = 0;
    for (ATableId id = 1; id <= kTableCount; ++id)
        errors += tables_[id]->CountIndexErrors();
    return errors;
}

}  // namespace Database::Engine
