// Where the program's companions lie. In the build folder, and in any copy unpacked into one
// folder, the plug-ins and language files are beside the program. Installed, the plug-ins lie
// under the library folder and the language files under the data folder; both are found
// relative to the program's folder, so an installation under any prefix works and nothing is
// looked up in a fixed place.
#pragma once
#include <string>
#include <string_view>

namespace Files {

class AFileSystem;

struct AProgramLayout {
    std::string programFolder;
    std::string pluginFolder;    // shared libraries "*.so": exchange modules and rate sources
    std::string languageFolder;  // "*.lng"
};

// The installed folders relative to the folder of the installed programs ("../lib/fendral",
// "../share/fendral"), as the build configured them.
struct AInstalledFolders {
    std::string_view plugins;
    std::string_view data;
};
extern const AInstalledFolders kInstalledFolders;

// The installed layout when the data folder exists relative to `programFolder`, otherwise
// everything beside the program.
AProgramLayout ProgramLayoutFor(AFileSystem& fs, const std::string& programFolder,
                                const AInstalledFolders& installed = kInstalledFolders);

// The folder of the running program ("" when the system does not tell).
std::string RunningProgramFolder();

}  // namespace Files
