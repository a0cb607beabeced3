#include "CliContext.h"

#include "core/FileSystem.h"

#include <filesystem>

namespace Cli {

std::string ACliContext::WholePath(const std::string& path) const
{
    std::filesystem::path whole(path);
    if (whole.is_relative())
        whole = std::filesystem::path(currentFolder) / whole;
    return whole.lexically_normal().string();
}

std::string ProgramFolder()
{
    return Files::RunningProgramFolder();
}

Files::AProgramLayout ProgramLayout()
{
    Files::ALocalFileSystem fs;
    return Files::ProgramLayoutFor(fs, ProgramFolder());
}

}  // namespace Cli
