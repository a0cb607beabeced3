// The system's description of a failure code, as a module's failure is shown to the user.
#pragma once
#include "core/Result.h"

#include <string>

namespace ExportImport {

// Empty when the system has no text for the code.
std::u16string SystemErrorText(HRESULT code);

}  // namespace ExportImport
