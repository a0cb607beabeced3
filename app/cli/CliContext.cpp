#include "CliContext.h"

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
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

}  // namespace Cli
