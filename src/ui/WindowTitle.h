// The main window's title (also the notification-area tip).
#pragma once
#include "core/AStrings.h"

#include <string>
#include <string_view>

namespace UserInterface {

// "* " for unsaved changes, the file's name (string 200 for a database without a file),
// " [Только чтение]" for a read-only file, then " - Fendral".
std::u16string WindowTitle(const UtilityClasses::Strings::AStrings& strings, std::u16string_view fileName,
                           bool unsavedChanges, bool readOnly);

}  // namespace UserInterface
