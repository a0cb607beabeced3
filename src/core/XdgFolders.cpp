#include "core/XdgFolders.h"

#include "core/FileSystem.h"

namespace Files {

namespace {

std::string BaseFolder(const char* value, const char* home, const char* fallback)
{
    if (value != nullptr && IsAbsolutePath(value))
        return value;
    if (home == nullptr || !IsAbsolutePath(home))
        return {};
    return JoinPath(home, fallback);
}

}  // namespace

std::string UserConfigFolder(const char* xdgConfigHome, const char* home)
{
    return BaseFolder(xdgConfigHome, home, ".config");
}

std::string UserDataFolder(const char* xdgDataHome, const char* home)
{
    return BaseFolder(xdgDataHome, home, ".local/share");
}

}  // namespace Files
