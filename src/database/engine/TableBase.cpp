#include "database/engine/TableBase.h"

#include "database/engine/dbEngine.h"

#include <algorithm>

namespace Database::Engine {

std::uint32_t ATableBase::DamagedWord(ARecordId id, std::uint32_t ordinal) const
{
    // A damaged mark copied into another record has no word of its own: it stays the mark.
    const auto found = damagedWords_.find(DamagedKey(id, ordinal));
    return found != damagedWords_.end() ? found->second : kDamagedReferenceWord;
}

ARecordBase* ATableBase::FindSlot(ARecordId id)
{
    // Identifiers are given 1, 3, 5, ... and rarely skip, so the record is usually found
    // where its identifier says; a binary search covers tables with gaps.
    const std::size_t guess = id / 2;
    if (guess < SlotCount() && SlotAt(guess).id == id)
        return &SlotAt(guess);
    std::size_t low = 0, high = SlotCount();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (SlotAt(middle).id < id)
            low = middle + 1;
        else
            high = middle;
    }
    return low < SlotCount() && SlotAt(low).id == id ? &SlotAt(low) : nullptr;
}

void ATableBase::Renumber()
{
    ForgetUnsaved();
    ARecordId next = 1;
    for (std::size_t i = 0; i < SlotCount(); ++i, next += 2)
        SlotAt(i).id = next;
    header_.nextId = next;
}

std::vector<std::uint32_t> ATableBase::UnsavedPositions()
{
    std::sort(unsaved_.begin(), unsaved_.end());
    unsaved_.erase(std::unique(unsaved_.begin(), unsaved_.end()), unsaved_.end());
    return unsaved_;
}

void ATableBase::MarkSaved(const std::vector<std::uint32_t>& written)
{
    for (std::uint32_t position : written) {
        ARecordBase& slot = SlotAt(position);
        slot.saved = slot.current;
    }
    unsaved_.clear();
    tracking_ = true;
}

bool ATableBase::StepIsOpen() const { return engine_.StepOpen(); }

AFileTime ATableBase::Now() const { return engine_.Now(); }

void ATableBase::NoteInStep(ARecordBase& slot)
{
    NoteUnsaved(slot);
    engine_.NoteInStep(slot);
}

ATableBase& ATableBase::TableOf(ATableId id) const { return engine_.Table(id); }

}  // namespace Database::Engine
