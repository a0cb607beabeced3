#include "database/engine/FileName.h"

#include <filesystem>

namespace Database::Engine {

void AFileName::Set(const std::string& path, const std::string& programFolder)
{
    std::filesystem::path p(path);
    if (p.is_relative())
        p = std::filesystem::path(programFolder) / p;
    p = p.lexically_normal();
    fullPath_ = p.string();
    name_ = p.filename().string();
    stem_ = p.stem().string();
    extension_ = p.extension().string();
    folder_ = p.parent_path().string();
}

}  // namespace Database::Engine
