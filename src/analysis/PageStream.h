// The byte form of a page's saved settings: little-endian fields one after the other.
// Reading goes through the engine's bounds-checked cursor; a short or damaged block
// fails cleanly and the page keeps its defaults.
#pragma once

#include "database/Database.h"
#include "database/engine/FieldIO.h"

#include <cstdint>
#include <vector>

namespace UserInterface {

using Database::Engine::AByteCursor;

class APageWriter {
public:
    explicit APageWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void U8(std::uint8_t value) { out_.push_back(value); }
    void Flag(bool value) { U8(value ? 1 : 0); }
    void U16(std::uint16_t value) { Bytes(value, 2); }
    void U32(std::uint32_t value) { Bytes(value, 4); }
    void I32(std::int32_t value) { Bytes(static_cast<std::uint32_t>(value), 4); }
    // A reference is saved as its record's identifier, so it survives a renumbering
    // of slots; 0 for none.
    template <class T>
    void Ref(Database::ADatabase& db, Database::AReference<T> ref)
    {
        const auto* slot = db.Table<T>().Get(ref);
        U32(slot && slot->Exists() ? slot->id : 0);
    }

private:
    void Bytes(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    std::vector<std::uint8_t>& out_;
};

// Reads an identifier saved by APageWriter::Ref; an identifier of no live record reads as none.
template <class T>
[[nodiscard]] bool ReadRef(AByteCursor& cursor, Database::ADatabase& db, Database::AReference<T>& ref)
{
    std::uint32_t id = 0;
    if (!cursor.ReadInt(id))
        return false;
    const auto* slot = id != 0 && (id & 1) != 0 ? db.Table<T>().Find(id) : nullptr;
    ref = slot && slot->Exists() ? Database::Engine::ATableImpl<T>::RefTo(slot) : Database::AReference<T>();
    return true;
}

[[nodiscard]] inline bool ReadFlag(AByteCursor& cursor, bool& value)
{
    std::uint8_t byte = 0;
    if (!cursor.ReadInt(byte))
        return false;
    value = byte != 0;
    return true;
}

}  // namespace UserInterface
