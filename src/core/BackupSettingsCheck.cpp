#include "core/BackupSettingsCheck.h"

#include "core/Assert.h"
#include "core/CommonTexts.h"
#include "core/FileSystem.h"
#include "core/Settings.h"

namespace UserInterface::Settings {

namespace {

namespace CommonText = UtilityClasses::Strings::CommonText;

// The folder must exist afterwards and take a file, which we create and remove again.
bool FolderTakesFiles(Files::AFileSystem& fs, const std::string& folder)
{
    if (Files::MakeFolders(fs, folder) != 0)
        return false;
    std::string probe;
    if (fs.CreateTempFile(folder, probe) != 0)
        return false;
    return fs.RemoveFile(probe) == 0;
}

}  // namespace

std::optional<std::uint32_t> ParseCopiesText(const std::string& text)
{
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = begin; i <= end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > UINT32_MAX)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

ABackupPageCheck CheckBackupPage(const ABackupPageInput& input, Files::AFileSystem& fs,
                                 const std::string& programFolder)
{
    ABackupPageCheck check;
    ABackupChoice& choice = check.choice;
    if (!FD_VERIFY(input.placeIndex >= 0 && input.placeIndex <= 2 && input.periodIndex >= 0 && input.periodIndex <= 3)) {
        check.refusal = AMessageRef{CommonText::kBackupCopiesOutOfRange, {}};
        return check;
    }
    choice.mode = input.enabled ? kBackupBesideFile + input.placeIndex : kNoBackups;
    choice.period = input.periodIndex;
    choice.versions = ParseCopiesText(input.copiesText);
    if (!input.folderText.empty())
        choice.folder = input.folderText;

    const bool keepsCopies = choice.mode == kBackupBesideFile || choice.mode == kBackupToFolder;
    if (keepsCopies && (!choice.versions || *choice.versions < 1 || *choice.versions > 9)) {
        check.refusal = AMessageRef{CommonText::kBackupCopiesOutOfRange, {}};
    } else if (choice.mode == kBackupToFolder && input.folderText.empty()) {
        check.refusal = AMessageRef{CommonText::kBackupFolderMissing, {}};
    } else if (choice.mode == kBackupToFolder &&
               !FolderTakesFiles(fs, Files::ResolvePath(programFolder, input.folderText))) {
        check.refusal = AMessageRef{CommonText::kBackupFolderUnusable, {}};
    }
    return check;
}

void ApplyBackupChoice(ASettings& settings, const ABackupChoice& choice)
{
    settings.backupMode.value = choice.mode;
    settings.backupPeriod.value = choice.period;
    if (choice.versions)
        settings.backupVersions.value = static_cast<std::int32_t>(*choice.versions);
    if (choice.folder)
        settings.backupFolder.value = *choice.folder;
}

}  // namespace UserInterface::Settings
