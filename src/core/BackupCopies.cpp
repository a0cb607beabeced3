#include "core/BackupCopies.h"

#include "core/Assert.h"
#include "core/CommonTexts.h"
#include "core/FileSystem.h"
#include "core/Settings.h"
#include "core/Trash.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>

namespace Database::Engine {

namespace {

namespace CommonText = UtilityClasses::Strings::CommonText;

constexpr std::string_view kBackupText = " - Backup of ";
constexpr std::size_t kDateLength = 10;  // YYYY-MM-DD

using ABackupsByDate = std::map<ADate, std::string>;  // date -> file name

bool IsDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int ToInt(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

void AddBackup(ABackupsByDate& backups, const std::string& name, std::string_view dataFileName)
{
    if (const auto date = BackupDateOf(name, dataFileName))
        backups[*date] = name;
}

}  // namespace

ABackupOptions BackupOptionsFrom(const UserInterface::Settings::ASettings& settings)
{
    return {settings.backupMode.value, settings.backupPeriod.value,
            static_cast<std::uint32_t>(settings.backupVersions.value), settings.backupFolder.value};
}

std::string BackupName(ADate today, std::string_view dataFileName)
{
    const Dates::AYmd ymd = Dates::ToYmd(today);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", ymd.year, ymd.month, ymd.day);
    return std::string(date) + std::string(kBackupText) + std::string(dataFileName);
}

std::optional<ADate> BackupDateOf(std::string_view name, std::string_view dataFileName)
{
    if (name.size() != kDateLength + kBackupText.size() + dataFileName.size() ||
        name.substr(kDateLength, kBackupText.size()) != kBackupText ||
        name.substr(kDateLength + kBackupText.size()) != dataFileName)
        return std::nullopt;
    const std::string_view year = name.substr(0, 4), month = name.substr(5, 2), day = name.substr(8, 2);
    if (!IsDigits(year) || name[4] != '-' || !IsDigits(month) || name[7] != '-' || !IsDigits(day))
        return std::nullopt;
    const int y = ToInt(year), m = ToInt(month), d = ToInt(day);
    if (y < 100 || m < 1 || m > 12 || d < 1 || d > Dates::DaysInMonth(y, m))
        return std::nullopt;
    return Dates::FromYmd(y, m, d);
}

int BackupPeriodDays(std::int32_t period, std::optional<ADate> lastBackup)
{
    switch (period) {
    case 0: return 0;
    case 1: return 2;
    case 2: return 6;
    default: {
        if (!lastBackup)
            return 30;
        const Dates::AYmd ymd = Dates::ToYmd(*lastBackup);
        return Dates::DaysInMonth(ymd.year, ymd.month);
    }
    }
}

bool IsBackupDue(std::int32_t period, std::optional<ADate> lastBackup, ADate today)
{
    if (!lastBackup)
        return true;
    // A copy dated after today comes from a clock that was wrong; waiting for that date
    // would mean no copies at all until then.
    if (*lastBackup > today)
        return true;
    return static_cast<std::int64_t>(today) - *lastBackup > BackupPeriodDays(period, lastBackup);
}

AMessageRef BackupFailureMessage(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return {CommonText::kBackupDiskFull, {}};
    case EROFS: return {CommonText::kBackupWriteProtected, {}};
    case ENOENT:
    case ENOTDIR: return {CommonText::kBackupNoAccess, {}};
    default: return {CommonText::kBackupFailed, {error}};
    }
}

ABackupCopies::ABackupCopies(Files::AFileSystem& fs, Files::ATrash& trash, std::string programFolder, AClock clock)
    : fs_(fs), trash_(trash), programFolder_(std::move(programFolder)), clock_(std::move(clock))
{
}

std::optional<AMessageRef> ABackupCopies::BeforeSave(const ABackupOptions& options, const std::string& dataFile,
                                                     ASaveKind kind)
{
    using UserInterface::Settings::kBackupBesideFile;
    using UserInterface::Settings::kBackupToFolder;
    using UserInterface::Settings::kBackupToTrash;
    if (kind == ASaveKind::SaveAs || options.mode == UserInterface::Settings::kNoBackups || dataFile.empty())
        return std::nullopt;
    if (!FD_VERIFY(Files::IsAbsolutePath(dataFile)) ||
        !FD_VERIFY(options.mode >= kBackupBesideFile && options.mode <= kBackupToFolder))
        return std::nullopt;
    if (fs_.Kind(dataFile) == Files::AFileKind::None)
        return std::nullopt;  // not written yet: nothing to keep

    const std::string dataFolder = Files::ParentFolder(dataFile);
    const std::string dataFileName = Files::FileNameOf(dataFile);
    std::string folder;
    switch (options.mode) {
    case kBackupBesideFile: folder = dataFolder; break;
    case kBackupToTrash: folder = trash_.Folder(); break;
    default: folder = options.folder.empty() ? std::string() : Files::ResolvePath(programFolder_, options.folder);
    }
    if (folder.empty())
        return std::nullopt;

    // Find the copies already made.
    ABackupsByDate backups;
    if (options.mode == kBackupToTrash) {
        std::vector<Files::ATrashItem> items;
        if (int rc = trash_.List(items))
            return BackupFailureMessage(rc);
        for (const Files::ATrashItem& item : items)
            if (Files::ParentFolder(item.originalPath) == dataFolder)
                AddBackup(backups, Files::FileNameOf(item.originalPath), dataFileName);
    } else {
        std::vector<std::string> names;
        // A folder that has gone away is told, not silently skipped, or copies would stop.
        if (int rc = fs_.ListFiles(folder, names))
            return BackupFailureMessage(rc);
        for (const std::string& name : names)
            AddBackup(backups, name, dataFileName);
    }

    const ADate today = clock_().date;
    std::optional<ADate> last;
    if (!backups.empty())
        last = backups.rbegin()->first;
    if (IsBackupDue(options.period, last, today)) {
        const std::string name = BackupName(today, dataFileName);
        const int rc = options.mode == kBackupToTrash ? trash_.PutCopy(dataFile, Files::JoinPath(dataFolder, name))
                                                      : fs_.CopyFile(dataFile, Files::JoinPath(folder, name));
        if (rc != 0)
            return BackupFailureMessage(rc);  // the older copies stay untouched
        backups[today] = name;
    }

    if (options.mode != kBackupToTrash) {
        // Never below one: a count of 0 would delete the copy just made with all the others.
        const std::size_t keep = std::max<std::uint32_t>(options.versions, 1);
        while (backups.size() > keep) {
            fs_.RemoveFile(Files::JoinPath(folder, backups.begin()->second));
            backups.erase(backups.begin());
        }
    }
    return std::nullopt;
}

}  // namespace Database::Engine
