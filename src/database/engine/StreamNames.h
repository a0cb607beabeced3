// Names inside the data file's compound container.
#pragma once

#include "database/engine/Reference.h"

#include <string>

namespace Database::Engine::StreamNames {

inline const std::u16string kHeader = u"dbHeader";
inline constexpr char kSignature[] = "Fendral";

// "Stream-" and the table id in eight lower-case hexadecimal digits.
inline std::u16string Table(ATableId id)
{
    std::u16string name = u"Stream-";
    for (int shift = 28; shift >= 0; shift -= 4)
        name += u"0123456789abcdef"[(id >> shift) & 0xF];
    return name;
}

}  // namespace Database::Engine::StreamNames
