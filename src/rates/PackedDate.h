// Dates as the rate-source plug-ins pass them: year, month and day packed in one word.
#pragma once

#include "core/ADate.h"

#include <fendral/ratesource.h>

#include <optional>

namespace Rates {

APackedDate PackDate(ADate date);
// None for a word that names no calendar date in the program's range (a plug-in's slip).
std::optional<ADate> UnpackDate(APackedDate packed);

}  // namespace Rates
