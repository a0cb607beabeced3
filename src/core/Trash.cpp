#include "core/Trash.h"

#include "core/FileSystem.h"
#include "core/HexDigits.h"

#include <cerrno>
#include <cstdio>

namespace Files {

namespace {

constexpr std::string_view kInfoSuffix = ".trashinfo";
constexpr std::size_t kMaxInfoSize = 64 * 1024;
constexpr int kMaxNameAttempts = 1000;

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace

ATrash::ATrash(AFileSystem& fs, std::string folder, AClock clock)
    : fs_(fs), folder_(std::move(folder)), clock_(std::move(clock))
{
}

std::string ATrash::HomeTrashFolder(std::string_view userDataFolder)
{
    return userDataFolder.empty() ? std::string() : JoinPath(userDataFolder, "Trash");
}

int ATrash::PutCopy(const std::string& source, const std::string& originalPath)
{
    if (folder_.empty() || !IsAbsolutePath(originalPath))
        return ENOENT;
    const std::string files = JoinPath(folder_, "files");
    const std::string info = JoinPath(folder_, "info");
    if (int rc = MakeFolders(fs_, files))
        return rc;
    if (int rc = MakeFolders(fs_, info))
        return rc;
    const std::string record = FormatTrashInfo(originalPath, clock_());
    const std::string base = FileNameOf(originalPath);
    // The record is created first and exclusively: it reserves the name in files/.
    for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
        const std::string name = attempt == 1 ? base : base + "." + std::to_string(attempt);
        if (fs_.Kind(JoinPath(files, name)) != AFileKind::None)
            continue;
        const std::string infoPath = JoinPath(info, name + std::string(kInfoSuffix));
        const int rc = fs_.CreateNewFile(infoPath, record);
        if (rc == EEXIST)
            continue;
        if (rc != 0)
            return rc;
        const int copied = fs_.CopyFile(source, JoinPath(files, name));
        if (copied != 0)
            fs_.RemoveFile(infoPath);
        return copied;
    }
    return EEXIST;
}

int ATrash::List(std::vector<ATrashItem>& items)
{
    items.clear();
    std::vector<std::string> names;
    const int rc = fs_.ListFiles(JoinPath(folder_, "info"), names);
    if (rc == ENOENT)
        return 0;  // nothing was ever trashed
    if (rc != 0)
        return rc;
    for (const std::string& name : names) {
        if (!EndsWith(name, kInfoSuffix) || name.size() == kInfoSuffix.size())
            continue;
        std::string text;
        if (fs_.ReadFile(JoinPath(JoinPath(folder_, "info"), name), text, kMaxInfoSize) != 0)
            continue;
        auto original = ParseTrashInfo(text);
        std::string stored = name.substr(0, name.size() - kInfoSuffix.size());
        // A record whose file was purged by other means no longer stands for anything.
        if (original && fs_.Kind(JoinPath(JoinPath(folder_, "files"), stored)) != AFileKind::None)
            items.push_back({std::move(stored), std::move(*original)});
    }
    return 0;
}

std::string FormatTrashInfo(std::string_view originalPath, const Dates::ALocalTime& deleted)
{
    const Dates::AYmd ymd = Dates::ToYmd(deleted.date);
    const int seconds = deleted.milliseconds / 1000;
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02dT%02d:%02d:%02d", ymd.year, ymd.month, ymd.day, seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
    return "[Trash Info]\nPath=" + PercentEncodePath(originalPath) + "\nDeletionDate=" + date + "\n";
}

std::optional<std::string> ParseTrashInfo(std::string_view text)
{
    bool inGroup = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() == '[') {
            inGroup = line == "[Trash Info]";
        } else if (inGroup && line.substr(0, 5) == "Path=") {
            auto path = PercentDecode(line.substr(5));
            // Relative paths belong to trash folders on other volumes, which we do not use.
            if (!path || !IsAbsolutePath(*path))
                return std::nullopt;
            return path;
        }
    }
    return std::nullopt;
}

std::string PercentEncodePath(std::string_view path)
{
        std::string encoded;
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += HexDigits::kUpper[byte >> 4];
            encoded += HexDigits::kUpper[byte & 0x0F];
        }
    }
    return encoded;
}

std::optional<std::string> PercentDecode(std::string_view text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = HexDigits::Value(text[i + 1]);
        const int low = HexDigits::Value(text[i + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0))
            return std::nullopt;
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

}  // namespace Files
