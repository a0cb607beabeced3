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

}  // namespace Cli
