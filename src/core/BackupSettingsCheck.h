// The settings dialog's backup page: what its controls mean and whether they may be applied.
#pragma once
#include "core/MessageRef.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Files { class AFileSystem; }

namespace UserInterface::Settings {

class ASettings;

// The page's controls as the dialog read them.
struct ABackupPageInput {
    bool enabled = false;    // check box 117
    int placeIndex = 0;      // radio 119, 120, 121: beside the file, the trash, a folder
    int periodIndex = 0;     // radio 123..126
    std::string copiesText;  // edit -6
    std::string folderText;  // edit -5
};

// What applying the page stores.
struct ABackupChoice {
    std::int32_t mode = 0;
    std::int32_t period = 0;
    // None when the number could not be read and does not matter for the mode: the stored
    // number is kept then rather than replaced by 0.
    std::optional<std::uint32_t> versions;
    // None when the edit is empty: the stored folder is kept.
    std::optional<std::string> folder;
};

struct ABackupPageCheck {
    std::optional<AMessageRef> refusal;  // the page stays open and shows this
    ABackupChoice choice;
};

// Checks the page: the number of copies for modes that keep copies, and for a folder mode
// that the folder is given, can be created (every missing level in turn) and takes a file.
// A relative folder is taken relative to the program's folder.
ABackupPageCheck CheckBackupPage(const ABackupPageInput& input, Files::AFileSystem& fs,
                                 const std::string& programFolder);

void ApplyBackupChoice(ASettings& settings, const ABackupChoice& choice);

// A whole unsigned number, blanks allowed around it, as a dialog's number edit reads it.
std::optional<std::uint32_t> ParseCopiesText(const std::string& text);

}  // namespace UserInterface::Settings
