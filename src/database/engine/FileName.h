// The parts of a data file's path.
#pragma once

#include <string>

namespace Database::Engine {

class AFileName {
public:
    // A relative path is taken relative to programFolder (the folder of the
    // program's own executable), not to the current directory; the result is
    // canonical (no ".", "..", or repeated separators; symbolic links are kept).
    void Set(const std::string& path, const std::string& programFolder);
    void Clear() { *this = AFileName(); }

    const std::string& FullPath() const { return fullPath_; }
    const std::string& NameWithExtension() const { return name_; }
    const std::string& Name() const { return stem_; }
    const std::string& Extension() const { return extension_; }  // with its dot
    const std::string& Folder() const { return folder_; }
    bool Empty() const { return fullPath_.empty(); }

private:
    std::string fullPath_, name_, stem_, extension_, folder_;
};

}  // namespace Database::Engine
