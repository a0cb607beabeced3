// What a table keeps for each record: the slot with the record's versions.
#pragma once

#include "core/ADate.h"
#include "database/engine/Reference.h"

#include <cstdint>
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
    AFileTime stamp = 0;               // of the current version
    bool deleted = false;              // of the current version
    AStepRole role = AStepRole::None;
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

template <class T>
struct ASlot : ARecordBase {
    AVersion<T> first;                 // nearly every record has one version only
    std::vector<AVersion<T>> later;

    std::int32_t VersionCount() const { return 1 + static_cast<std::int32_t>(later.size()); }
    AVersion<T>& Version(std::int32_t i) { return i == 0 ? first : later[static_cast<std::size_t>(i - 1)]; }
    const AVersion<T>& Version(std::int32_t i) const
    {
        return i == 0 ? first : later[static_cast<std::size_t>(i - 1)];
    }
    // The current values; a slot at version -1 shows its first version.
    const T& Record() const { return Version(current < 0 ? 0 : current).record; }
    T& Record() { return Version(current < 0 ? 0 : current).record; }

    // The values the table's indexes were sorted with: a record opened for change
    // in the open step stays where its previous version belongs until commit.
    const T& IndexedRecord() const
    {
        return role == AStepRole::Changed ? Version(current - 1).record : Record();
    }

    void DropLaterThanCurrent()
    {
        if (current + 1 < VersionCount()) {
            later.resize(static_cast<std::size_t>(current < 0 ? 0 : current));
            if (saved > current)
                saved = kSavedLost;
        }
    }
    void PushVersion(const T& record, AFileTime when, bool isDeleted)
    {
        DropLaterThanCurrent();
        later.push_back({record, when, isDeleted});
        ++current;
        stamp = when;
        deleted = isDeleted;
    }
    void MoveTo(std::int32_t version)
    {
        current = version;
        if (version < 0) {
            deleted = true;
        } else {
            stamp = Version(version).stamp;
            deleted = Version(version).deleted;
        }
    }
};

}  // namespace Database::Engine
