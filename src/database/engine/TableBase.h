// The type-independent part of a record table.
#pragma once

#include "core/Result.h"
#include "database/engine/ByteSource.h"
#include "database/engine/Record.h"

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace Database::Engine {

class ADBEngine;

// The table header as kept in the table's stream.
struct ATableHeader {
    static constexpr std::uint32_t kHeaderSize = 24;
    static constexpr std::uint32_t kSlotHeaderSize = 16;

    std::uint32_t headerSize = kHeaderSize;
    std::uint32_t slotHeaderSize = kSlotHeaderSize;
    std::uint32_t recordSize = 0;      // stored body size R; 0 for variable tables
    ARecordId nextId = 1;
    std::uint64_t changeCounter = 1;
};

class ATableBase {
public:
    ATableBase(ADBEngine& engine, ATableId id, std::uint32_t recordSize, int indexCount)
        : engine_(engine), id_(id), recordSize_(recordSize), indexCount_(indexCount)
    {
        header_.recordSize = recordSize;
    }
    virtual ~ATableBase() = default;
    ATableBase(const ATableBase&) = delete;
    ATableBase& operator=(const ATableBase&) = delete;

    ATableId Id() const { return id_; }
    ADBEngine& Engine() const { return engine_; }
    // Our stored body size; 0 for the tables whose bodies carry their own length.
    std::uint32_t RecordSize() const { return recordSize_; }
    bool FixedSize() const { return recordSize_ != 0; }
    int IndexCount() const { return indexCount_; }
    ATableHeader& Header() { return header_; }
    const ATableHeader& Header() const { return header_; }

    // Every slot, deleted ones included, in identifier order (index 0).
    virtual std::size_t SlotCount() const = 0;
    virtual ARecordBase& SlotAt(std::size_t position) = 0;
    // Live records (index 1).
    virtual std::size_t LiveCount() const = 0;
    ARecordBase* FindSlot(ARecordId id);

    // --- used by the engine's steps ---
    // Keeps the indexes in step with the slots of one step of this table. The
    // versions are moved by stepVersions between taking slots out and putting
    // them back, so that each index is searched with the keys it was sorted by.
    struct AIndexChange {
        std::vector<ARecordBase*> leaveLive, leaveKeyed;   // taken out first
        std::vector<ARecordBase*> enterLive, enterKeyed;   // put in afterwards
        // Changed records: they stay in index 1, and move in an index n only when key n
        // differs between the two versions the step goes between (most changes, such
        // as a recalculated balance, move in none).
        std::vector<ARecordBase*> rekeyed;
        // Redo: those two versions are the current one and the next; commit and undo:
        // the previous one and the current.
        bool versionsAhead = false;
    };
    virtual void ApplyIndexChange(const AIndexChange& change, const std::function<void()>& stepVersions) = 0;
    virtual void StepVersion(ARecordBase& slot, int direction) = 0;
    virtual void CommitVersion(ARecordBase& slot, AFileTime stamp) = 0;
    // Forgets the versions after the current one (a rolled-back change).
    virtual void DropUnreachableVersions(ARecordBase& slot) = 0;

    // --- used by loading and saving ---
    // Parses the logical content of the table stream. Damaged content fails with
    // kStgDocFileCorrupt, a failed read with its code; bodies that a variable type
    // refuses count as errors.
    [[nodiscard]] virtual HRESULT Load(AByteSource& source, std::uint32_t& errors) = 0;
    // The stored body of the slot's current version, references as identifiers.
    virtual void WriteBody(const ARecordBase& slot, std::vector<std::uint8_t>& out) const = 0;
    // Sorts index 0 by identifier if a file held them out of order; only before resolving.
    virtual void SortSlotsById() = 0;
    // Turns identifiers into references; answers how many named no live record.
    virtual std::uint32_t ResolveReferences() = 0;
    virtual void BuildIndexes() = 0;
    // Neighbours with equal identifiers, and with equal keys in unique indexes.
    virtual std::uint32_t CountIndexErrors() const = 0;
    void Renumber();
    ARecordId IdOfSlotPosition(std::uint32_t position) { return SlotAt(position).id; }
    // Which slots may differ from what the file holds, so that a save of a few changes
    // need not look at every slot: those that a step, an undo or a redo touched since
    // the table was read or saved. Until then (a new table, one whose slots were
    // renumbered or reordered) every slot counts.
    bool TracksUnsaved() const { return tracking_; }
    // The positions of those slots, in order, each once.
    std::vector<std::uint32_t> UnsavedPositions();
    // After the table is read: lists the slots the file does not hold as they are.
    virtual void TrackUnsavedAfterRead() = 0;
    // After a successful save that wrote the given slots (all of them when not tracking):
    // their current versions are the saved ones, and tracking starts anew.
    void MarkSaved(const std::vector<std::uint32_t>& written);

protected:
    bool StepIsOpen() const;
    AFileTime Now() const;
    // Puts the slot into the open step's list that matches its role.
    void NoteInStep(ARecordBase& slot);
    void NoteUnsaved(const ARecordBase& slot)
    {
        if (tracking_) unsaved_.push_back(slot.position);
    }
    void ForgetUnsaved()
    {
        tracking_ = false;
        unsaved_.clear();
    }
    void StartTracking() { tracking_ = true; }
    ATableBase& TableOf(ATableId id) const;

    // The word a damaged reference field held in the file, to write back as it was.
    static std::uint64_t DamagedKey(ARecordId id, std::uint32_t ordinal) { return std::uint64_t{id} << 8 | ordinal; }
    std::uint32_t DamagedWord(ARecordId id, std::uint32_t ordinal) const;

    ADBEngine& engine_;
    ATableId id_;
    std::uint32_t recordSize_;
    int indexCount_;
    ATableHeader header_;
    std::unordered_map<std::uint64_t, std::uint32_t> damagedWords_;  // by DamagedKey

private:
    bool tracking_ = false;
    std::vector<std::uint32_t> unsaved_;  // slot positions, maybe repeated
};

}  // namespace Database::Engine
