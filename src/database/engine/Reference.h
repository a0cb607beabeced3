// Record identifiers and references between records.
#pragma once

#include "core/Assert.h"

#include <cstdint>

namespace Database::Engine {

using ARecordId = std::uint32_t;   // odd, unique within its table, never reused
using ATableId = std::uint32_t;    // 1..19

// A reference is one 32-bit word with three states, as in the stored form:
//   0             no record
//   odd           an identifier not (yet) resolved to a live record
//   even, not 0   resolved: (slot position + 1) * 2
// A 64-bit pointer does not fit the word, so a resolved reference keeps the
// position of the record's slot in its table instead. Slots never move and are
// never removed while the table lives, so the position stays valid through undo,
// redo and renumbering; writing turns it back into the identifier.
//
// A stored word is an identifier, never a position: an even word in a file is damage. It
// is read as the damaged mark, an identifier that never resolves, so nothing reads through
// it; the table keeps the word it replaced and writes that back.
inline constexpr std::uint32_t kDamagedReferenceWord = 0xFFFFFFFFu;

template <class T>
class AReference {
public:
    constexpr AReference() = default;

    static AReference FromId(ARecordId id)
    {
        AReference r;
        if (FD_VERIFY(id == 0 || (id & 1) != 0))
            r.word_ = id;
        return r;
    }
    static constexpr AReference FromSlot(std::uint32_t position)
    {
        AReference r;
        r.word_ = (position + 1) * 2;
        return r;
    }
    static constexpr AReference FromWord(std::uint32_t word)
    {
        AReference r;
        r.word_ = word;
        return r;
    }

    constexpr bool IsNull() const { return word_ == 0; }
    constexpr bool IsResolved() const { return word_ != 0 && (word_ & 1) == 0; }
    constexpr bool IsUnresolved() const { return (word_ & 1) != 0; }
    constexpr bool IsDamaged() const { return word_ == kDamagedReferenceWord; }
    constexpr explicit operator bool() const { return word_ != 0; }
    constexpr std::uint32_t Word() const { return word_; }
    constexpr std::uint32_t SlotPosition() const { return word_ / 2 - 1; }
    constexpr ARecordId UnresolvedId() const { return word_; }

    constexpr bool operator==(const AReference&) const = default;
    constexpr auto operator<=>(const AReference&) const = default;

private:
    std::uint32_t word_ = 0;
};

}  // namespace Database::Engine
