// The per-user folders of the freedesktop.org base directory rules. The caller hands in the
// environment values so that tests never depend on the machine's.
#pragma once
#include <string>

namespace Files {

// $XDG_CONFIG_HOME, or ~/.config when it is unset, empty or not absolute; "" without a home.
std::string UserConfigFolder(const char* xdgConfigHome, const char* home);
// $XDG_DATA_HOME, or ~/.local/share on the same terms.
std::string UserDataFolder(const char* xdgDataHome, const char* home);

}  // namespace Files
