// A table of records of one type, with its sorted indexes.
#pragma once

#include "database/engine/FieldIO.h"
#include "database/engine/IndexKey.h"
#include "database/engine/SlotStore.h"
#include "database/engine/TableBase.h"

#include <algorithm>
#include <functional>
#include <span>
#include <utility>

namespace Database::Engine {

// What a record type provides:
//   static constexpr ATableId kTableId;          its table
//   static constexpr std::uint32_t kStoredSize;  stored body size, 0 when the body carries its length
//   static constexpr int kIndexCount;            2 + the number of key indexes
//   static constexpr std::uint32_t kUniqueIndexes = bit n for each unique index n >= 2
//   template <class R, class V> static void Fields(R&, V&);   stored fields in order
//   static int Compare(const T&, const T&, int key);           for key indexes
// Variable types also provide ReadBody(T&, AByteCursor&) -> bool and
// WriteBody(const T&, std::vector<std::uint8_t>&), and list only their fixed
// fields in Fields. A type that keeps the change counter has TakeChangeCounter.
template <class T>
class ATableImpl final : public ATableBase {
public:
    using Slot = ASlot<T>;
    using Index = std::vector<Slot*>;

    explicit ATableImpl(ADBEngine& engine)
        : ATableBase(engine, T::kTableId, T::kStoredSize, T::kIndexCount),
          indexes_(static_cast<std::size_t>(T::kIndexCount - 1))
    {
    }

    // ---- records ----
    std::size_t SlotCount() const override { return slots_.size(); }
    Slot& SlotAt(std::size_t position) override { return slots_[position]; }
    const Slot& SlotAt(std::size_t position) const { return slots_[position]; }
    std::size_t LiveCount() const override { return indexes_[0].size(); }

    Slot* Find(ARecordId id) { return static_cast<Slot*>(FindSlot(id)); }
    Slot* Get(AReference<T> ref)
    {
        return ref.IsResolved() && ref.SlotPosition() < slots_.size() ? &slots_[ref.SlotPosition()] : nullptr;
    }
    const T* Record(AReference<T> ref)
    {
        Slot* slot = Get(ref);
        return slot && slot->Exists() ? &slot->Record() : nullptr;
    }
    static AReference<T> RefTo(const ARecordBase* slot)
    {
        return slot ? AReference<T>::FromSlot(slot->position) : AReference<T>();
    }

    // Creates a record inside the open step; it gets the next identifier.
    Slot* Create(const T& value)
    {
        if (!FD_VERIFY(StepIsOpen()))
            return nullptr;
        Slot& slot = slots_.emplace_back();
        slot.id = header_.nextId;
        header_.nextId += 2;
        slot.position = static_cast<std::uint32_t>(slots_.size() - 1);
        slot.table = this;
        slot.first = value;
        slot.current = 0;
        slot.stamp = Now();
        TakeCounter(slot.first);
        slot.role = ARecordBase::AStepRole::Inserted;
        NoteInStep(slot);
        return &slot;
    }

    // Opens a live record for change inside the open step; change it in place.
    T* Change(Slot* slot)
    {
        if (!FD_VERIFY(slot && StepIsOpen() && slot->Exists() && slot->role != ARecordBase::AStepRole::Deleted))
            return nullptr;
        if (slot->role == ARecordBase::AStepRole::None) {
            slot->PushVersion(slot->Record(), slot->stamp, false);
            TakeCounter(slot->Record());
            slot->role = ARecordBase::AStepRole::Changed;
            NoteInStep(*slot);
        }
        return &slot->Record();
    }

    void Delete(Slot* slot)
    {
        if (!FD_VERIFY(slot && StepIsOpen() && slot->Exists() && slot->role == ARecordBase::AStepRole::None))
            return;
        slot->PushVersion(slot->Record(), Now(), true);
        slot->role = ARecordBase::AStepRole::Deleted;
        NoteInStep(*slot);
    }

    // ---- while a file is read, before references are resolved ----
    // Adds a record that the file implies (a conversion of an older layout).
    Slot& AddLoaded(const T& value, ARecordId id, AFileTime stamp)
    {
        Slot& slot = slots_.emplace_back();
        slot.id = id;
        slot.position = static_cast<std::uint32_t>(slots_.size() - 1);
        slot.table = this;
        slot.first = value;
        slot.current = 0;
        slot.stamp = stamp;
        header_.nextId = std::max(header_.nextId, id + 2);
        NoteUnsaved(slot);
        return slot;
    }
    ARecordId TakeNextId()
    {
        const ARecordId id = header_.nextId;
        header_.nextId += 2;
        return id;
    }
    template <class Predicate>
    void EraseLoadedIf(Predicate predicate)
    {
        erase_if(slots_, [&](Slot& slot) { return predicate(slot); });
        for (std::size_t i = 0; i < slots_.size(); ++i)
            slots_[i].position = static_cast<std::uint32_t>(i);
        ForgetUnsaved();
    }

    // ---- indexes: 1 = live records by identifier, 2.. = by key ----
    const Index& Live() const { return indexes_[0]; }
    const Index& IndexAt(int n) const { return indexes_[static_cast<std::size_t>(n - 1)]; }

    // The live records whose key n equals the probe's.
    std::span<Slot* const> EqualRange(int n, const T& probe) const
    {
        const Index& index = IndexAt(n);
        auto range = std::equal_range(index.begin(), index.end(), &probe, KeyOnly{n});
        return {range.first, range.second};
    }

    // ---- engine operations ----
    void StepVersion(ARecordBase& base, int direction) override
    {
        Slot& slot = static_cast<Slot&>(base);
        slot.MoveTo(slot.current + direction);
        NoteUnsaved(slot);
    }

    void CommitVersion(ARecordBase& base, AFileTime stamp) override
    {
        static_cast<Slot&>(base).StampCurrent(stamp);
    }

    void DropUnreachableVersions(ARecordBase& base) override
    {
        static_cast<Slot&>(base).DropLaterThanCurrent();
        NoteUnsaved(base);
    }
    void TrackUnsavedAfterRead() override
    {
        ForgetUnsaved();
        StartTracking();
        for (const Slot& slot : slots_)
            if (slot.current != slot.saved || slot.filePosition == 0)
                NoteUnsaved(slot);
    }

    void ApplyIndexChange(const AIndexChange& change, const std::function<void()>& stepVersions) override
    {
        std::vector<std::vector<ARecordBase*>> moving(indexes_.size());  // [k]: index k + 1
        for (ARecordBase* base : change.rekeyed)
            for (int n = 2; n < T::kIndexCount; ++n)
                if (KeyMoves(static_cast<Slot&>(*base), n, change.versionsAhead))
                    moving[static_cast<std::size_t>(n - 1)].push_back(base);
        Leave(indexes_[0], change.leaveLive, 0);
        for (int n = 2; n < T::kIndexCount; ++n) {
            Leave(indexes_[static_cast<std::size_t>(n - 1)], change.leaveKeyed, n);
            Leave(indexes_[static_cast<std::size_t>(n - 1)], moving[static_cast<std::size_t>(n - 1)], n);
        }
        stepVersions();
        Enter(indexes_[0], change.enterLive, 0);
        for (int n = 2; n < T::kIndexCount; ++n) {
            Enter(indexes_[static_cast<std::size_t>(n - 1)], change.enterKeyed, n);
            Enter(indexes_[static_cast<std::size_t>(n - 1)], moving[static_cast<std::size_t>(n - 1)], n);
        }
    }

    HRESULT Load(AByteSource& source, std::uint32_t& errors) override;
    void WriteBody(const ARecordBase& slot, std::vector<std::uint8_t>& out) const override;
    void SortSlotsById() override;
    std::uint32_t ResolveReferences() override;
    void BuildIndexes() override;
    std::uint32_t CountIndexErrors() const override;

private:
    // Orders by key n (n >= 2; n = 0 means by identifier alone), then by identifier,
    // so that every slot has one exact place and can be found by binary search.
    struct ByKeyThenId {
        int n;
        bool operator()(const Slot* a, const Slot* b) const
        {
            if (n >= 2) {
                int c = T::Compare(a->IndexedRecord(), b->IndexedRecord(), n);
                if (c != 0)
                    return c < 0;
            }
            return a->id < b->id;
        }
    };
    struct KeyOnly {
        int n;
        bool operator()(const Slot* a, const T* b) const { return T::Compare(a->IndexedRecord(), *b, n) < 0; }
        bool operator()(const T* a, const Slot* b) const { return T::Compare(*a, b->IndexedRecord(), n) < 0; }
    };

    static bool IsUnique(int n) { return n >= 2 && (T::kUniqueIndexes & (1u << n)) != 0; }
    // Each single erase or insertion moves half the index on average; one pass over the
    // whole index (a filter, or a sort of the new slots and a merge) costs about as much
    // as a few of them, whatever the index's size.
    static bool IsBulk(std::size_t changes, std::size_t) { return changes > 16; }
    // Whether key n differs between the two versions of a changed record that a step
    // goes between.
    static bool KeyMoves(const Slot& slot, int n, bool versionsAhead)
    {
        const std::int32_t earlier = versionsAhead ? slot.current : slot.current - 1;
        if (earlier < 0 || earlier + 1 >= slot.VersionCount())
            return true;
        return T::Compare(slot.RecordAt(earlier), slot.RecordAt(earlier + 1), n) != 0;
    }

    struct ALoadedSlotHeader {
        ARecordId id = 0;
        AFileTime stamp = 0;
        bool deleted = false;
    };
    static ALoadedSlotHeader ReadSlotHeader(const std::uint8_t* bytes, std::uint32_t slotHeaderSize);
    void AddReadSlot(T&& record, const ALoadedSlotHeader& header, std::uint32_t filePosition);

    void Leave(Index& index, const std::vector<ARecordBase*>& slots, int n);
    void Enter(Index& index, const std::vector<ARecordBase*>& slots, int n);
    // The slots in index n's order (n = 0: by identifier).
    Index SortedForIndex(const std::vector<ARecordBase*>& slots, int n);
    // Puts slot positions, given in identifier order, into the order of key n.
    void SortPositionsByKey(std::vector<std::uint32_t>& order, int n);
    // The key whose order key n refines by one field in front (0: none), as the record
    // type names it; that key is built first.
    static int RefinedKeyOf(int n);
    // Sorts the order of the refined key stably by key n's field in front.
    void RefineOrder(std::vector<std::uint32_t>& order, int n) const;
    void CheckUniqueAround(const Index& index, typename Index::const_iterator at, int n) const;
    void TakeCounter(T& record)
    {
        ++header_.changeCounter;
        if constexpr (requires(T& r) { r.TakeChangeCounter(std::uint64_t{}); })
            record.TakeChangeCounter(header_.changeCounter);
    }

    ASlotStore<Slot> slots_;
    std::vector<Index> indexes_;  // [0] is index 1, [k] is index k + 1
};

}  // namespace Database::Engine

#include "database/engine/TableImpl.inl"
