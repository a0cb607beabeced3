// The main window's title (also the notification-area tip) and the message an opened file
// calls for.
#pragma once
#include "core/AStrings.h"
#include "core/Result.h"

#include <string>
#include <string_view>

namespace UserInterface {

// "* " for unsaved changes, the file's name (string 200 for a database without a file),
// " [Только чтение]" for a read-only file, then " - Fendral".
std::u16string WindowTitle(const UtilityClasses::Strings::AStrings& strings, std::u16string_view fileName,
                           bool unsavedChanges, bool readOnly);

// The string-table message that tells the user what opening a file gave; 0 for none.
namespace OpenMessage {
constexpr int kFileNotFound = 489;
constexpr int kSavePrompt = 490;
constexpr int kUntitled = 494;
constexpr int kReadOnly = 495;
constexpr int kReading = 496;
constexpr int kWriting = 497;
constexpr int kUnreadable = 498;
constexpr int kOpenedWithErrors = 499;
constexpr int kNewerVersion = 695;
constexpr int kSaveFailed = 641;
constexpr int kReadOnlyFile = 504;
}  // namespace OpenMessage
int OpenResultMessage(HRESULT result);

}  // namespace UserInterface
