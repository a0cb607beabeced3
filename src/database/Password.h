// The data-file password: the check when a file is opened and the change operation.
#pragma once

#include "database/Database.h"
#include "database/DatabaseTexts.h"

#include <optional>
#include <string_view>

namespace Database {

// The user whose password guards the file: the last live user record whose number
// is the database's current user. Also works while the file is being read, before
// the indexes are built.
Engine::ASlot<AUser>* PasswordUser(ADatabase& db);
// That user's password; empty when there is no user or no password.
std::u16string PasswordOf(ADatabase& db);

// Passwords compare exactly: case and every character count.
inline bool PasswordMatches(std::u16string_view stored, std::u16string_view typed) { return stored == typed; }

// Shows the prompt until the user cancels or confirms a text that `accept` takes;
// answers that text, or none when cancelled or when there is no prompt.
std::optional<std::u16string> AskPassword(const APasswordPrompt& prompt, const std::string& fileName,
                                          const std::function<bool(const std::u16string&)>& accept);

// The 15-bit check value that previous-generation files keep instead of the
// password (0 = no password): one step of the classic C rand() generator seeded
// with the sum of the UTF-16 code units.
std::uint16_t PasswordCheckValue(std::u16string_view typed);

enum class APasswordChange {
    Changed,
    WrongCurrent,    // message 512; the focus goes back to the current password
    NewDiffers,      // message 513; the focus goes to the new password
    StepOpen,        // another step is open; nothing was changed (a caller's mistake)
};

// The change operation of the password dialog. On success the user's password
// becomes `newPassword` (empty removes the protection) in one committed step
// labelled `label` (the text of string 514), which Undo reverses. A file without a
// user record has no password; setting one gives it the user record a new file has.
APasswordChange ChangePassword(ADatabase& db, std::u16string_view current, std::u16string_view newPassword,
                               std::u16string_view repeated, std::u16string_view label);

}  // namespace Database
