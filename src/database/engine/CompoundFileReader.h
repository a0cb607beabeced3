// Reads the structure of an existing compound file: header, sector tables,
// directory, and where each stream of the root storage is stored. Stream
// content is not read here; it stays in the file until someone asks for it.
#pragma once

#include "core/Result.h"
#include "database/engine/CompoundFileExtents.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Database::Engine::Implementation {

struct AStoredStream {
    std::u16string name;
    AExtentList content;  // content.Length() is the stream's size
};

// Not a compound file: kStgInvalidHeader. Any inconsistency in the container
// (chains that loop, cross or leave the file, a broken directory, sizes the
// file can't hold): kStgDocFileCorrupt. Memory used is bounded by the file size.
// Sub-storages are skipped; only the root's own streams are returned.
[[nodiscard]] HRESULT ReadContainer(int fd, std::uint64_t fileSize, std::vector<AStoredStream>& streams);

}  // namespace Database::Engine::Implementation
