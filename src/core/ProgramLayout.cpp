#include "core/ProgramLayout.h"

#include "core/FileSystem.h"

#include <filesystem>

#ifndef FENDRAL_INSTALLED_PLUGIN_FOLDER
#define FENDRAL_INSTALLED_PLUGIN_FOLDER "../lib/fendral"
#endif
#ifndef FENDRAL_INSTALLED_DATA_FOLDER
#define FENDRAL_INSTALLED_DATA_FOLDER "../share/fendral"
#endif

namespace Files {

const AInstalledFolders kInstalledFolders{FENDRAL_INSTALLED_PLUGIN_FOLDER, FENDRAL_INSTALLED_DATA_FOLDER};

namespace {

std::string Under(const std::string& folder, std::string_view relative)
{
    return (std::filesystem::path(folder) / relative).lexically_normal().string();
}

}  // namespace

AProgramLayout ProgramLayoutFor(AFileSystem& fs, const std::string& programFolder, const AInstalledFolders& installed)
{
    AProgramLayout layout{programFolder, programFolder, programFolder};
    if (programFolder.empty())
        return layout;
    const std::string data = Under(programFolder, installed.data);
    if (fs.Kind(data) == AFileKind::Folder) {
        layout.pluginFolder = Under(programFolder, installed.plugins);
        layout.languageFolder = data;
    }
    return layout;
}

std::string RunningProgramFolder()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

}  // namespace Files
