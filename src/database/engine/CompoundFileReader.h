// Reads the structure of an existing compound file: header, sector tables,
// directory, and where each stream of the root storage is stored. Stream
// content is not read here; it stays in the file until someone asks for it.
#pragma once

#include "core/Result.h"
#include "database/engine/CompoundFileExtents.h"

#include "database/engine/CompoundFileFormat.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Database::Engine::Implementation {

struct AStoredStream {
    std::u16string name;
    AExtentList content;  // content.Length() is the stream's size
};

// Where everything lies, for changing the file in place: the sector numbers of each
// structure and of each stream held in sectors of its own (the small streams share
// the mini stream, which is rewritten as a whole).
struct AContainerLayout {
    bool updatable = false;         // version 3 with nothing but streams at the root
    std::uint32_t sectorCount = 0;  // sectors that begin within the file
    std::vector<std::uint32_t> fat;
    std::vector<std::uint32_t> fatSectors, difatSectors, directory, miniStream, miniFat;
    std::map<std::u16string, std::vector<std::uint32_t>, AEntryNameLess> chains;
};

// Not a compound file: kStgInvalidHeader. Any inconsistency in the container
// (chains that loop, cross or leave the file, a broken directory, sizes the
// file can't hold): kStgDocFileCorrupt. Memory used is bounded by the file size.
// Sub-storages are skipped; only the root's own streams are returned.
[[nodiscard]] HRESULT ReadContainer(int fd, std::uint64_t fileSize, std::vector<AStoredStream>& streams,
                                   AContainerLayout* layout = nullptr);

}  // namespace Database::Engine::Implementation
