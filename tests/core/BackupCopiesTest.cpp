#include "core/BackupCopies.h"
#include "core/Trash.h"

#include "FaultyFileSystem.h"
#include "TempFolder.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace Database::Engine;

namespace {

ADate Day(int y, int m, int d) { return Dates::FromYmd(y, m, d); }

class BackupCopies : public ::testing::Test {
protected:
    ATempFolder temp;  // first: the paths below are made from it
    std::string dataFolder = temp / "data";
    std::string dataFile = temp / "data/Home.fend";
    std::string programFolder = temp / "program";
    ADate today = Day(2026, 3, 5);

    void SetUp() override
    {
        WriteTextFile(dataFile, "data v1");
        std::filesystem::create_directories(programFolder);
    }

    std::optional<AMessageRef> Save(const ABackupOptions& options, ASaveKind kind = ASaveKind::InPlace)
    {
        return copies.BeforeSave(options, dataFile, kind);
    }
    std::optional<AMessageRef> SaveOn(ADate day, const ABackupOptions& options)
    {
        today = day;
        return Save(options);
    }
    // The backups of Home.fend in a folder, oldest first.
    std::vector<std::string> Backups(const std::string& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (BackupDateOf(entry.path().filename().string(), "Home.fend"))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> TrashedBackups()
    {
        std::vector<Files::ATrashItem> items;
        EXPECT_EQ(trash.List(items), 0);
        std::vector<std::string> paths;
        for (const auto& item : items)
            paths.push_back(item.originalPath);
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    AFaultyFileSystem fs;
    AClock clock = [this] { return Dates::ALocalTime{today, 12 * 3600 * 1000}; };
    Files::ATrash trash{fs, temp / "Trash", clock};
    ABackupCopies copies{fs, trash, programFolder, clock};
};

const ABackupOptions kBeside{1, 0, 4, ""};

}  // namespace

TEST(BackupNames, NameAndDateMatching)
{
    EXPECT_EQ(BackupName(Day(2026, 3, 5), "Home.fend"), "2026-03-05 - Backup of Home.fend");
    EXPECT_EQ(BackupName(Day(2026, 12, 31), "Дом"), "2026-12-31 - Backup of Дом");
    struct Case { const char* name; std::optional<ADate> date; };
    const Case cases[] = {
        {"2026-03-05 - Backup of Home.fend", Day(2026, 3, 5)},
        {"2024-02-29 - Backup of Home.fend", Day(2024, 2, 29)},
        {"2026-02-29 - Backup of Home.fend", std::nullopt},
        {"2026-13-01 - Backup of Home.fend", std::nullopt},
        {"2026-00-10 - Backup of Home.fend", std::nullopt},
        {"2026-3-05 - Backup of Home.fend", std::nullopt},
        {"2026-03-05 - Backup of Home.fend.bak", std::nullopt},
        {"2026-03-05 - Backup of home.fend", std::nullopt},
        {"2026-03-05 - Backup of Home", std::nullopt},
        {"x2026-03-05 - Backup of Home.fend", std::nullopt},
        {"2026+03-05 - Backup of Home.fend", std::nullopt},
        {"Home.fend", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BackupDateOf(c.name, "Home.fend"), c.date) << c.name;
}

TEST(BackupNames, PeriodsAndDueDates)
{
    struct Case { int period; std::optional<ADate> last; ADate today; bool due; };
    const Case cases[] = {
        {0, std::nullopt, Day(2026, 3, 5), true},
        {0, Day(2026, 3, 5), Day(2026, 3, 5), false},
        {0, Day(2026, 3, 5), Day(2026, 3, 6), true},
        {1, Day(2026, 3, 5), Day(2026, 3, 7), false},
        {1, Day(2026, 3, 5), Day(2026, 3, 8), true},
        {2, Day(2026, 3, 5), Day(2026, 3, 11), false},
        {2, Day(2026, 3, 5), Day(2026, 3, 12), true},
        {3, Day(2026, 2, 10), Day(2026, 2, 10) + 28, false},
        {3, Day(2026, 2, 10), Day(2026, 2, 10) + 29, true},
        {3, Day(2024, 2, 10), Day(2024, 2, 10) + 29, false},
        {3, Day(2024, 2, 10), Day(2024, 2, 10) + 30, true},
        {3, Day(2026, 3, 10), Day(2026, 3, 10) + 31, false},
        {3, Day(2026, 3, 10), Day(2026, 3, 10) + 32, true},
        {3, Day(2026, 4, 30), Day(2026, 4, 30) + 31, true},
        {3, std::nullopt, Day(2026, 3, 10), true},
        {0, Day(2030, 1, 1), Day(2026, 3, 5), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsBackupDue(c.period, c.last, c.today), c.due) << c.period << " " << c.today;
    EXPECT_EQ(BackupPeriodDays(3, std::nullopt), 30);
    EXPECT_EQ(BackupPeriodDays(3, Day(2026, 2, 1)), 28);
}

TEST(BackupNames, FailuresMapToTheirMessages)
{
    struct Case { int error; AMessageRef message; };
    const Case cases[] = {
        {ENOSPC, {516, {}}}, {EDQUOT, {516, {}}}, {EROFS, {517, {}}}, {ENOENT, {644, {}}},
        {ENOTDIR, {644, {}}}, {EACCES, {515, {EACCES}}}, {EIO, {515, {EIO}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BackupFailureMessage(c.error), c.message) << c.error;
}

TEST_F(BackupCopies, PeriodZeroMakesOneCopyADay)
{
    EXPECT_EQ(Save(kBeside), std::nullopt);
    WriteTextFile(dataFile, "data v2");
    EXPECT_EQ(Save(kBeside), std::nullopt);
    EXPECT_EQ(Backups(dataFolder), (std::vector<std::string>{"2026-03-05 - Backup of Home.fend"}));
    EXPECT_EQ(ReadTextFile(dataFolder + "/2026-03-05 - Backup of Home.fend"), "data v1");

    EXPECT_EQ(SaveOn(Day(2026, 3, 6), kBeside), std::nullopt);
    EXPECT_EQ(Backups(dataFolder), (std::vector<std::string>{"2026-03-05 - Backup of Home.fend",
                                                             "2026-03-06 - Backup of Home.fend"}));
    EXPECT_EQ(ReadTextFile(dataFolder + "/2026-03-06 - Backup of Home.fend"), "data v2");
}

TEST_F(BackupCopies, MonthlyPeriodFollowsTheLengthOfTheLastCopysMonth)
{
    const ABackupOptions monthly{1, 3, 9, ""};
    WriteTextFile(dataFolder + "/2026-02-10 - Backup of Home.fend", "old");
    SaveOn(Day(2026, 2, 10) + 28, monthly);
    EXPECT_EQ(Backups(dataFolder).size(), 1u);
    SaveOn(Day(2026, 2, 10) + 29, monthly);
    EXPECT_EQ(Backups(dataFolder).back(), "2026-03-11 - Backup of Home.fend");

    // That copy was made in March: 31 days are not enough.
    SaveOn(Day(2026, 3, 11) + 31, monthly);
    EXPECT_EQ(Backups(dataFolder).size(), 2u);
    SaveOn(Day(2026, 3, 11) + 32, monthly);
    EXPECT_EQ(Backups(dataFolder).size(), 3u);
}

TEST_F(BackupCopies, PruningKeepsTheNewestAndTouchesNothingElse)
{
    for (const char* name : {"2026-01-01 - Backup of Home.fend", "2026-02-01 - Backup of Home.fend",
                             "2026-03-01 - Backup of Home.fend", "2025-01-01 - Backup of Other.fend",
                             "2020-01-01 - Backup of Home.fend.txt", "notes.txt"})
        WriteTextFile(dataFolder + "/" + name, "x");
    EXPECT_EQ(Save({1, 0, 3, ""}), std::nullopt);
    EXPECT_EQ(Backups(dataFolder), (std::vector<std::string>{"2026-02-01 - Backup of Home.fend",
                                                             "2026-03-01 - Backup of Home.fend",
                                                             "2026-03-05 - Backup of Home.fend"}));
    for (const char* kept : {"2025-01-01 - Backup of Other.fend", "2020-01-01 - Backup of Home.fend.txt", "notes.txt"})
        EXPECT_TRUE(std::filesystem::exists(dataFolder + "/" + kept)) << kept;

    // Fewer copies allowed now: the next save prunes even when no copy is due.
    EXPECT_EQ(Save({1, 0, 1, ""}), std::nullopt);
    EXPECT_EQ(Backups(dataFolder), (std::vector<std::string>{"2026-03-05 - Backup of Home.fend"}));
}

TEST_F(BackupCopies, ACountOfZeroStillKeepsTheCopyJustMade)
{
    WriteTextFile(dataFolder + "/2026-01-01 - Backup of Home.fend", "x");
    EXPECT_EQ(Save({1, 0, 0, ""}), std::nullopt);
    EXPECT_EQ(Backups(dataFolder), (std::vector<std::string>{"2026-03-05 - Backup of Home.fend"}));
}

TEST_F(BackupCopies, NoCopyForSaveAsANeverSavedDatabaseOrModeZero)
{
    EXPECT_EQ(Save(kBeside, ASaveKind::SaveAs), std::nullopt);
    EXPECT_EQ(Save({0, 0, 4, ""}), std::nullopt);
    EXPECT_EQ(copies.BeforeSave(kBeside, "", ASaveKind::InPlace), std::nullopt);
    EXPECT_EQ(copies.BeforeSave(kBeside, dataFolder + "/New.fend", ASaveKind::InPlace), std::nullopt);
    EXPECT_TRUE(Backups(dataFolder).empty());
    EXPECT_EQ(fs.Count(AFsOp::Copy), 0);
    EXPECT_EQ(fs.Count(AFsOp::List), 0);
}

TEST_F(BackupCopies, TrashModeLeavesNothingBesideTheFileAndRecordsWhereItCameFrom)
{
    const ABackupOptions toTrash{2, 0, 1, ""};
    EXPECT_EQ(Save(toTrash), std::nullopt);
    EXPECT_TRUE(Backups(dataFolder).empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dataFolder), {}), 1) << "only the data file";
    EXPECT_EQ(TrashedBackups(), (std::vector<std::string>{dataFolder + "/2026-03-05 - Backup of Home.fend"}));
    EXPECT_EQ(ReadTextFile(temp / "Trash/files/2026-03-05 - Backup of Home.fend"), "data v1");
    const std::string info = ReadTextFile(temp / "Trash/info/2026-03-05 - Backup of Home.fend.trashinfo");
    EXPECT_NE(info.find("Path=" + Files::PercentEncodePath(dataFolder + "/2026-03-05 - Backup of Home.fend") + "\n"),
              std::string::npos) << info;
    EXPECT_NE(info.find("DeletionDate=2026-03-05T12:00:00\n"), std::string::npos) << info;

    // The copy in the Trash counts as today's; copies trashed from elsewhere do not.
    EXPECT_EQ(Save(toTrash), std::nullopt);
    EXPECT_EQ(TrashedBackups().size(), 1u);
    Files::ATrash(fs, temp / "Trash", [] { return Dates::ALocalTime{Day(2026, 3, 6), 0}; })
        .PutCopy(dataFile, "/elsewhere/2026-03-06 - Backup of Home.fend");
    EXPECT_EQ(SaveOn(Day(2026, 3, 6), toTrash), std::nullopt);
    EXPECT_EQ(TrashedBackups().size(), 3u) << "a copy for this folder was due, and the Trash is never pruned";
}

TEST_F(BackupCopies, ChosenFolderIsRelativeToTheProgramAndMustExist)
{
    std::filesystem::create_directories(programFolder + "/copies");
    EXPECT_EQ(Save({3, 0, 4, "copies"}), std::nullopt);
    EXPECT_EQ(Backups(programFolder + "/copies"), (std::vector<std::string>{"2026-03-05 - Backup of Home.fend"}));
    EXPECT_TRUE(Backups(dataFolder).empty());

    EXPECT_EQ(Save({3, 0, 4, ""}), std::nullopt) << "no folder named: nothing to do";
    EXPECT_EQ(Save({3, 0, 4, temp / "gone"}), (AMessageRef{644, {}})) << "a vanished folder is told";
}

TEST_F(BackupCopies, AFailedCopyIsToldAndKeepsTheOlderCopies)
{
    for (const char* name : {"2026-01-01 - Backup of Home.fend", "2026-02-01 - Backup of Home.fend"})
        WriteTextFile(dataFolder + "/" + name, "x");
    struct Case { int error; AMessageRef message; };
    const Case cases[] = {{ENOSPC, {516, {}}}, {EROFS, {517, {}}}, {ENOENT, {644, {}}}, {EACCES, {515, {EACCES}}}};
    for (const Case& c : cases) {
        fs.Fail(AFsOp::Copy, c.error);
        EXPECT_EQ(Save({1, 0, 1, ""}), c.message);
        EXPECT_EQ(Save({2, 0, 1, ""}), c.message) << "the Trash reports the same way";
        fs.Heal();
        EXPECT_EQ(Backups(dataFolder).size(), 2u);
    }
    EXPECT_TRUE(TrashedBackups().empty());
    fs.Fail(AFsOp::List, EIO);
    EXPECT_EQ(Save(kBeside), (AMessageRef{515, {EIO}}));
}
