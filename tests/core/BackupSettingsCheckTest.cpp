#include "core/BackupSettingsCheck.h"
#include "core/Settings.h"

#include "FaultyFileSystem.h"
#include "TempFolder.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace UserInterface::Settings;

namespace {

std::optional<int> RefusalId(const ABackupPageCheck& check)
{
    return check.refusal ? std::optional<int>(check.refusal->id) : std::nullopt;
}

bool IsEmptyFolder(const std::string& path)
{
    return std::filesystem::is_directory(path) && std::filesystem::is_empty(path);
}

}  // namespace

TEST(BackupSettingsCheck, CopiesAndFolderAreCheckedOnlyWhereTheModeNeedsThem)
{
    ATempFolder temp;
    AFaultyFileSystem fs;
    const std::string folder = temp / "backups";
    struct Case { bool enabled; int place; const char* copies; std::string folder; std::optional<int> refusal; };
    const Case cases[] = {
        {false, 0, "", "", std::nullopt},
        {false, 2, "abc", "", std::nullopt},
        {true, 0, "3", "", std::nullopt},
        {true, 0, "0", "", 491},
        {true, 0, "10", "", 491},
        {true, 0, "", "", 491},
        {true, 0, "-1", "", 491},
        {true, 0, "3x", "", 491},
        {true, 0, " 9 ", "", std::nullopt},
        {true, 0, "99999999999", "", 491},
        {true, 1, "0", "", std::nullopt},
        {true, 2, "0", folder, 491},
        {true, 2, "4", "", 492},
        {true, 2, "4", folder, std::nullopt},
    };
    for (const Case& c : cases) {
        const ABackupPageCheck check = CheckBackupPage({c.enabled, c.place, 2, c.copies, c.folder}, fs, temp.Path());
        EXPECT_EQ(RefusalId(check), c.refusal) << c.enabled << " " << c.place << " '" << c.copies << "'";
        EXPECT_EQ(check.choice.mode, c.enabled ? 1 + c.place : 0);
        EXPECT_EQ(check.choice.period, 2);
    }
}

TEST(BackupSettingsCheck, EveryMissingLevelIsCreatedAndProbedWithATemporaryFile)
{
    ATempFolder temp;
    AFaultyFileSystem fs;
    const ABackupPageCheck check = CheckBackupPage({true, 2, 0, "3", temp / "a/b/c"}, fs, "/unused");
    EXPECT_EQ(check.refusal, std::nullopt);
    EXPECT_TRUE(IsEmptyFolder(temp / "a/b/c")) << "the probe file is removed again";
    EXPECT_EQ(fs.Count(AFsOp::CreateTemp), 1);
    EXPECT_EQ(check.choice.folder, temp / "a/b/c");
    EXPECT_EQ(check.choice.versions, 3u);

    // A relative folder is taken relative to the program's folder.
    EXPECT_EQ(CheckBackupPage({true, 2, 0, "3", "rel/copies"}, fs, temp / "program").refusal, std::nullopt);
    EXPECT_TRUE(IsEmptyFolder(temp / "program/rel/copies"));
}

TEST(BackupSettingsCheck, AFolderThatCannotBeMadeOrWrittenIsRefused)
{
    ATempFolder temp;
    AFaultyFileSystem fs;
    WriteTextFile(temp / "file", "in the way");
    EXPECT_EQ(RefusalId(CheckBackupPage({true, 2, 0, "3", temp / "file/sub"}, fs, "/")), 493);

    std::filesystem::create_directories(temp / "readonly");
    fs.Fail(AFsOp::CreateTemp, EROFS);
    EXPECT_EQ(RefusalId(CheckBackupPage({true, 2, 0, "3", temp / "readonly"}, fs, "/")), 493);
    fs.Heal();
    fs.Fail(AFsOp::Remove, EPERM);
    EXPECT_EQ(RefusalId(CheckBackupPage({true, 2, 0, "3", temp / "readonly"}, fs, "/")), 493);
    fs.Heal();
    fs.Fail(AFsOp::MakeFolder, EACCES);
    EXPECT_EQ(RefusalId(CheckBackupPage({true, 2, 0, "3", temp / "new/level"}, fs, "/")), 493);
}

TEST(BackupSettingsCheck, ApplyingKeepsTheFolderAndCountWhenTheEditsGiveNone)
{
    ATempFolder temp;
    Files::ALocalFileSystem fs;
    ASettings settings(std::make_unique<OptionStorage::AStoreRegistry>(fs, temp / "Fendral.conf"));
    settings.backupFolder.value = "/kept";
    settings.backupVersions.value = 6;
    ApplyBackupChoice(settings, CheckBackupPage({true, 1, 3, "", ""}, fs, "/").choice);
    EXPECT_EQ(settings.backupMode.value, 2);
    EXPECT_EQ(settings.backupPeriod.value, 3);
    EXPECT_EQ(settings.backupVersions.value, 6);
    EXPECT_EQ(settings.backupFolder.value, "/kept");
    ApplyBackupChoice(settings, CheckBackupPage({false, 0, 0, "2", "/new"}, fs, "/").choice);
    EXPECT_EQ(settings.backupMode.value, 0);
    EXPECT_EQ(settings.backupVersions.value, 2);
    EXPECT_EQ(settings.backupFolder.value, "/new");
}
