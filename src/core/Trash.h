// The freedesktop.org Trash: "files/" holds the trashed files, "info/<name>.trashinfo"
// records where each came from and when it was trashed.
#pragma once
#include "core/ADate.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Files {

class AFileSystem;

struct ATrashItem {
    std::string storedName;    // the name in files/
    std::string originalPath;  // absolute
};

class ATrash {
public:
    // `folder` is the Trash folder itself, e.g. ~/.local/share/Trash.
    ATrash(AFileSystem& fs, std::string folder, AClock clock);

    static std::string HomeTrashFolder(std::string_view userDataFolder);

    // Puts a copy of `source` into the Trash as though a file at `originalPath` had been
    // deleted. Returns 0 or the errno of the failure; a failure leaves no trace.
    int PutCopy(const std::string& source, const std::string& originalPath);
    // The items whose file is still there; unreadable or damaged records are skipped.
    int List(std::vector<ATrashItem>& items);

    const std::string& Folder() const { return folder_; }

private:
    AFileSystem& fs_;
    std::string folder_;
    AClock clock_;
};

// The text of a .trashinfo record and its reading.
std::string FormatTrashInfo(std::string_view originalPath, const Dates::ALocalTime& deleted);
// The original path from a record: absolute, percent-decoded; none when damaged.
std::optional<std::string> ParseTrashInfo(std::string_view text);

std::string PercentEncodePath(std::string_view path);
std::optional<std::string> PercentDecode(std::string_view text);

}  // namespace Files
