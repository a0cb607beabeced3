// Writes a complete version-3 compound file (512-byte sectors) holding the
// given streams at its root.
#pragma once

#include "core/Result.h"
#include "database/engine/CompoundFile.h"
#include "database/engine/CompoundFileExtents.h"

#include <string>
#include <vector>

namespace Database::Engine::Implementation {

struct AStreamToWrite {
    std::u16string name;      // a valid entry name, unique among the streams
    ACompoundStream* source;  // the content is read from here
};

// Writes the container from the start of the empty file fd. written receives,
// for each stream in the order given, where its content now lies in that file.
[[nodiscard]] HRESULT WriteContainer(int fd, const std::vector<AStreamToWrite>& streams,
                                     std::vector<AExtentList>& written);

}  // namespace Database::Engine::Implementation
