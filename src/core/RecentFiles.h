// The recently-used data files, "mru0".."mru3" in the option store, most recent first.
#pragma once
#include "core/OptionStore.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace UserInterface::Settings {

constexpr int kRecentFileSlots = 4;

// Entry i (0..4); the fifth is read though never written.
std::optional<std::string> ReadRecentFile(OptionStorage::AOptionStore& store, int index);
// The entries for the File menu, stopping at the first missing one.
std::vector<std::string> RecentFiles(OptionStorage::AOptionStore& store);
// Puts `path` first; an entry naming the same file is dropped, not repeated.
void AddRecentFile(OptionStorage::AOptionStore& store, std::string_view path);
// Moves the later entries up over entry i and deletes the last one moved.
void RemoveRecentFile(OptionStorage::AOptionStore& store, int index);

}  // namespace UserInterface::Settings
