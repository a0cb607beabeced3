#include "core/FileSystem.h"
#include "core/OptionStore.h"
#include "core/Settings.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace UserInterface::Settings;
using OptionStorage::AStoreRegistry;

namespace {

struct ASettingsFile {
    ATempFolder folder;
    Files::ALocalFileSystem fs;
    std::string path = folder / "Fendral.conf";
    std::unique_ptr<ASettings> Open() { return std::make_unique<ASettings>(std::make_unique<AStoreRegistry>(fs, path)); }
    void Write(const std::string& body) { WriteTextFile(path, "[Settings]\n" + body); }
    std::string Text() const { return ReadTextFile(path); }
};

}  // namespace

TEST(Settings, DefaultsWhenNothingIsStored)
{
    ASettingsFile file;
    auto settings = file.Open();
    settings->LoadAll();
    EXPECT_EQ(settings->backupMode.value, 0);
    EXPECT_EQ(settings->backupPeriod.value, 1);
    EXPECT_EQ(settings->backupVersions.value, 4);
    EXPECT_EQ(settings->initDupDate.value, 0);
    EXPECT_EQ(settings->refColor.value, 0x00FF0000);
    EXPECT_EQ(settings->oddLineColor.value, 0x00EFF7F7);
    EXPECT_EQ(settings->evenLineColor.value, 0x00D9E6E6);
    EXPECT_EQ(settings->backupFolder.value, "");
    EXPECT_EQ(settings->language.value, "");
    EXPECT_EQ(settings->exportFileName.value, "");
    for (int bit = 0; bit < kFlagCount; ++bit)
        EXPECT_EQ(settings->Flag(static_cast<AFlag>(bit)), bit == kRaisedHeaders) << bit;
}

TEST(Settings, RangeRulesOnLoading)
{
    struct Case { const char* line; AIntOption ASettings::*option; std::int32_t expected; };
    const Case cases[] = {
        {"BackupMode=3", &ASettings::backupMode, 3},
        {"BackupMode=4", &ASettings::backupMode, 0},
        {"BackupMode=-1", &ASettings::backupMode, 0},
        {"BackupPeriod=0", &ASettings::backupPeriod, 0},
        {"BackupPeriod=4", &ASettings::backupPeriod, 1},
        {"BackupPeriod=-2", &ASettings::backupPeriod, 1},
        {"BackupVersions=0", &ASettings::backupVersions, 0},
        {"BackupVersions=9", &ASettings::backupVersions, 9},
        {"BackupVersions=10", &ASettings::backupVersions, 4},
        {"BackupVersions=-1", &ASettings::backupVersions, 4},
        {"InitDupDate=1", &ASettings::initDupDate, 1},
        {"InitDupDate=2", &ASettings::initDupDate, 0},
        {"RefColor=-1", &ASettings::refColor, -1},
    };
    for (const Case& c : cases) {
        ASettingsFile file;
        file.Write(std::string(c.line) + "\n");
        auto settings = file.Open();
        settings->LoadAll();
        EXPECT_EQ(((*settings).*(c.option)).value, c.expected) << c.line;
    }
}

TEST(Settings, AFailedReadKeepsTheCurrentValueAndAMissingStringIsEmpty)
{
    ASettingsFile file;
    file.Write("BackupMode=oops\nFlags0=x\n");
    auto settings = file.Open();
    settings->backupMode.value = 2;
    settings->SetFlag(kMinimizeToTray, true);
    settings->backupFolder.value = "/old";
    settings->LoadAll();
    EXPECT_EQ(settings->backupMode.value, 2);
    EXPECT_TRUE(settings->Flag(kMinimizeToTray));
    EXPECT_EQ(settings->backupFolder.value, "");
}

TEST(Settings, FlagsLiveInOneWordAndSavingKeepsUnknownBits)
{
    ASettingsFile file;
    file.Write("Flags0=1049601\n");  // bits 0, 10 and 20
    auto settings = file.Open();
    settings->LoadAll();
    EXPECT_TRUE(settings->Flag(kMinimizeOnClose));
    EXPECT_TRUE(settings->Flag(kSaveAfterEveryChange));
    EXPECT_FALSE(settings->Flag(kRaisedHeaders)) << "a stored word replaces the default";
    settings->SetFlag(kMinimizeOnClose, false);
    settings->SetFlag(kNoVisualTheme, true);
    settings->SaveAll();
    std::int32_t word = 0;
    ASSERT_TRUE(settings->Store().ReadInt("Flags0", word));
    EXPECT_EQ(word, (1 << 10) | (1 << 13) | (1 << 20));

    // A flag written on its own (a menu toggle) changes only its bit.
    AFlagOption(kHideClosedAccounts, true).Save(settings->Store());
    ASSERT_TRUE(settings->Store().ReadInt("Flags0", word));
    EXPECT_EQ(word, (1 << 10) | (1 << 12) | (1 << 13) | (1 << 20));
    AFlagOption(kSaveAfterEveryChange, false).Save(settings->Store());
    ASSERT_TRUE(settings->Store().ReadInt("Flags0", word));
    EXPECT_EQ(word, (1 << 12) | (1 << 13) | (1 << 20));
}

TEST(Settings, SaveAllWritesEverythingThenCallsTheHookAndAnotherCopyReadsItBack)
{
    ASettingsFile file;
    auto settings = file.Open();
    settings->LoadAll();
    settings->backupMode.value = 3;
    settings->backupFolder.value = "/home/u/Резервные копии";
    settings->backupVersions.value = 7;
    settings->exportFileName.value = "/tmp/out.xml";
    settings->SetFlag(kHideClosedAccounts, true);
    int hookCalls = 0;
    std::string storedWhenCalled;
    settings->SetSavedHook([&] {
        ++hookCalls;
        settings->Store().ReadString("BackupFolder", storedWhenCalled);
    });
    settings->SaveAll();
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(storedWhenCalled, "/home/u/Резервные копии") << "other copies are told only after writing";

    auto other = file.Open();
    other->LoadAll();
    EXPECT_EQ(other->backupMode.value, 3);
    EXPECT_EQ(other->backupFolder.value, "/home/u/Резервные копии");
    EXPECT_EQ(other->backupVersions.value, 7);
    EXPECT_EQ(other->exportFileName.value, "/tmp/out.xml");
    EXPECT_TRUE(other->Flag(kHideClosedAccounts));
    EXPECT_TRUE(other->Flag(kRaisedHeaders));
    EXPECT_EQ(other->oddLineColor.value, kDefaultOddLineColor);
}

TEST(Settings, TheLanguageIsWrittenTheMomentItChanges)
{
    ASettingsFile file;
    auto settings = file.Open();
    settings->SetLanguage("English");
    EXPECT_EQ(file.Text(), "[Settings]\nLanguage=English\n");
}
