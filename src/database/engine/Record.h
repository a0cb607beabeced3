// What a table keeps for each record: the slot with the record's versions.
#pragma once

#include "core/ADate.h"
#include "database/engine/Reference.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Database::Engine {

class ATableBase;

// The part of a record slot that does not depend on the record type.
struct ARecordBase {
    // What the slot takes part in within the open step.
    enum class AStepRole : std::uint8_t { None, Changed, Inserted, Deleted };
    static constexpr std::int32_t kNeverSaved = -1;
    // The saved version was discarded with a redo branch: whatever is current differs.
    static constexpr std::int32_t kSavedLost = -2;

    ARecordId id = 0;
    std::uint32_t position = 0;        // place of the slot in its table (index 0)
    std::uint32_t filePosition = 0;    // byte offset of the slot in its stream; 0 = never written
    std::int32_t current = -1;         // version index; -1 = the record does not exist yet
    std::int32_t saved = kNeverSaved;  // version written by the last save
    AStepRole role = AStepRole::None;
    bool deleted = false;              // of the current version
    AFileTime stamp = 0;               // of the current version
    ATableBase* table = nullptr;

    bool Editing() const { return role == AStepRole::Changed || role == AStepRole::Inserted; }
    bool Exists() const { return current >= 0 && !deleted; }
};

template <class T>
struct AVersion {
    T record{};
    AFileTime stamp = 0;
    bool deleted = false;
};

// The first version of a record lives in the slot itself, with its stamp in the slot's
// header (a first version is never a deletion). Nearly every record of an opened file
// has that one version only, so the later ones, made by changes in this session, are
// kept apart and cost one pointer where there are none.
template <class T>
struct ASlot : ARecordBase {
    T first{};

    std::int32_t VersionCount() const { return 1 + (history ? static_cast<std::int32_t>(history->later.size()) : 0); }
    const T& RecordAt(std::int32_t i) const { return i == 0 ? first : Later(i).record; }
    T& RecordAt(std::int32_t i) { return i == 0 ? first : history->later[static_cast<std::size_t>(i - 1)].record; }
    // The current values; a slot at version -1 shows its first version.
    const T& Record() const { return RecordAt(current < 0 ? 0 : current); }
    T& Record() { return RecordAt(current < 0 ? 0 : current); }

    // The values the table's indexes were sorted with: a record opened for change
    // in the open step stays where its previous version belongs until commit.
    const T& IndexedRecord() const { return role == AStepRole::Changed ? RecordAt(current - 1) : Record(); }

    void DropLaterThanCurrent()
    {
        if (current + 1 >= VersionCount())
            return;
        if (saved > current)
            saved = kSavedLost;
        if (!history)
            return;  // at version -1 with the first version only: nothing to drop but the save
        history->later.resize(static_cast<std::size_t>(current < 0 ? 0 : current));
        if (history->later.empty()) {
            stamp = history->firstStamp;  // without a history the slot's stamp is the first version's
            history.reset();
        }
    }
    void PushVersion(const T& record, AFileTime when, bool isDeleted)
    {
        DropLaterThanCurrent();
        if (!history) {
            history = std::make_unique<AHistory>();
            history->firstStamp = stamp;
        }
        history->later.push_back({record, when, isDeleted});
        ++current;
        stamp = when;
        deleted = isDeleted;
    }
    void MoveTo(std::int32_t version)
    {
        current = version;
        if (version < 0) {
            deleted = true;
        } else if (version == 0) {
            stamp = history ? history->firstStamp : stamp;
            deleted = false;
        } else {
            stamp = Later(version).stamp;
            deleted = Later(version).deleted;
        }
    }
    // The commit's time becomes the current version's stamp.
    void StampCurrent(AFileTime when)
    {
        stamp = when;
        if (current > 0)
            history->later[static_cast<std::size_t>(current - 1)].stamp = when;
        else if (history)
            history->firstStamp = when;
    }

private:
    struct AHistory {
        AFileTime firstStamp = 0;
        std::vector<AVersion<T>> later;  // version i is later[i - 1]
    };
    const AVersion<T>& Later(std::int32_t i) const { return history->later[static_cast<std::size_t>(i - 1)]; }

    std::unique_ptr<AHistory> history;
};

}  // namespace Database::Engine
