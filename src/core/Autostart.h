// Starting the program with the user's session: an XDG autostart entry
// "<config folder>/autostart/Fendral.desktop" takes the place of a Startup-folder link.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace Files { class AFileSystem; }

namespace UserInterface::Settings {

struct AAutostartEntry {
    std::string programPath;
    // The data file to open; none means the file of the last session.
    std::optional<std::string> dataFile;
    bool operator==(const AAutostartEntry&) const = default;
};

std::string AutostartPath(std::string_view userConfigFolder);

// The entry's text; both paths are quoted so that blanks and shell characters survive.
std::string FormatDesktopEntry(const AAutostartEntry& entry);
// None when the text has no program to run or the entry is marked hidden (switched off).
std::optional<AAutostartEntry> ParseDesktopEntry(std::string_view text);

// None when there is no entry (or it cannot be read).
std::optional<AAutostartEntry> ReadAutostart(Files::AFileSystem& fs, const std::string& path);
// 0 or the errno of the failure; the autostart folder is created when missing.
int WriteAutostart(Files::AFileSystem& fs, const std::string& path, const AAutostartEntry& entry);
// Removing an entry that is not there is no failure.
int RemoveAutostart(Files::AFileSystem& fs, const std::string& path);

}  // namespace UserInterface::Settings
