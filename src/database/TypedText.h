// Names and comments as the dialogs hand them to the model: how typed text is normalised,
// and how it is written into the text record a field names.
#pragma once

#include "database/Database.h"

#include <string>
#include <string_view>

namespace Database {

// A typed name or comment as it is checked and stored: at most 1024 characters, blanks collapsed.
std::u16string TypedText(std::u16string_view typed);

// Writes `text` into the text record `ref` names, or gives the field a new record. Inside a
// step; whether anything changed.
bool SetText(ADatabase& db, AReference<AString>& ref, std::u16string_view text);

}  // namespace Database
