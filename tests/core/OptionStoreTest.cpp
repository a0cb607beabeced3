#include "core/FileSystem.h"
#include "core/IniDocument.h"
#include "core/OptionStore.h"

#include "FaultyFileSystem.h"
#include "TempFolder.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

using namespace UserInterface::Settings::OptionStorage;

namespace {

struct AStores {
    ATempFolder folder;
    AFaultyFileSystem fs;
    std::string program = folder / "bin/fendral";
    std::string ini = folder / "bin/fendral.ini";
    std::string config = folder / "config";
    std::string userFile = folder / "config/VelvixSoft/Fendral.conf";
    std::unique_ptr<AOptionStore> Choose() { return ChooseOptionStore(fs, program, config); }
};

}  // namespace

TEST(OptionStoreChoice, TheIniFileBesideTheProgramWinsOnlyWhileItExists)
{
    AStores s;
    WriteTextFile(s.program, "");
    WriteTextFile(s.ini, "");
    {
        auto store = s.Choose();
        ASSERT_NE(dynamic_cast<AStoreIniFile*>(store.get()), nullptr);
        EXPECT_FALSE(store->IsUnusable());
        EXPECT_TRUE(store->WriteInt("BackupMode", 3));
        EXPECT_EQ(ReadTextFile(s.ini), "[Settings]\nBackupMode=3\n");
        EXPECT_EQ(Files::ALocalFileSystem().Kind(s.userFile), Files::AFileKind::None)
            << "nothing goes to the user's store while the INI file is used";
    }
    std::filesystem::remove(s.ini);
    {
        auto store = s.Choose();
        ASSERT_NE(dynamic_cast<AStoreRegistry*>(store.get()), nullptr);
        EXPECT_FALSE(store->IsUnusable());
        std::int32_t mode = -1;
        EXPECT_FALSE(store->ReadInt("BackupMode", mode));
        EXPECT_EQ(mode, -1);
        EXPECT_TRUE(store->WriteInt("BackupMode", 2));
        EXPECT_EQ(ReadTextFile(s.userFile), "[Settings]\nBackupMode=2\n");
        EXPECT_EQ(Files::ALocalFileSystem().Kind(s.ini), Files::AFileKind::None) << "the INI file is never created";
    }
}

TEST(OptionStoreChoice, IniPathReplacesOnlyTheFileNamesExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/fendral/fendral", "/opt/fendral/fendral.ini"},
        {"/home/u/.local/bin/fendral", "/home/u/.local/bin/fendral.ini"},
        {"/x/Fendral.exe", "/x/Fendral.ini"},
        {"/x/fendral.bin.old", "/x/fendral.bin.ini"},
        {"/x/.fendral", "/x/.fendral.ini"},
        {"fendral", "fendral.ini"},
    };
    for (const auto& [program, ini] : cases)
        EXPECT_EQ(IniPathForProgram(program), ini);
    EXPECT_EQ(UserStorePath("/home/u/.config"), "/home/u/.config/VelvixSoft/Fendral.conf");
    EXPECT_EQ(UserStorePath(""), "");
}

TEST(OptionStoreChoice, AnIniFileThatCannotBeReadIsNotChosenAndOneThatCannotBeWrittenIsUnusable)
{
    AStores s;
    std::filesystem::create_directories(s.ini);  // a folder of that name cannot be opened
    EXPECT_NE(dynamic_cast<AStoreRegistry*>(s.Choose().get()), nullptr);
    std::filesystem::remove(s.ini);

    WriteTextFile(s.ini, "[Settings]\nBackupMode=1\n");
    AStoreIniFile store(s.fs, s.ini);
    s.fs.Fail(AFsOp::CheckOpen, EACCES);
    EXPECT_TRUE(store.IsUnusable());
    std::int32_t mode = 0;
    EXPECT_TRUE(store.ReadInt("BackupMode", mode)) << "a read-only file still gives its values";
    EXPECT_EQ(mode, 1);
}

TEST(OptionStoreChoice, TheUserStoreIsCreatedWithItsFoldersOrIsUnusable)
{
    AStores s;
    AStoreRegistry store(s.fs, s.userFile);
    EXPECT_FALSE(store.IsUnusable());
    EXPECT_EQ(Files::ALocalFileSystem().Kind(s.userFile), Files::AFileKind::File);

    WriteTextFile(s.folder / "blocked", "a file where a folder should be");
    AStoreRegistry blocked(s.fs, s.folder / "blocked/VelvixSoft/Fendral.conf");
    EXPECT_TRUE(blocked.IsUnusable());
    EXPECT_FALSE(blocked.WriteInt("A", 1));
    AStoreRegistry nowhere(s.fs, "");
    EXPECT_TRUE(nowhere.IsUnusable());
}

// The same operations on both stores; where the platform's two stores behaved differently
// the expectation names both.
class BothStores : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam()) {
            WriteTextFile(s.ini, "");
            store = std::make_unique<AStoreIniFile>(s.fs, s.ini);
        } else {
            store = std::make_unique<AStoreRegistry>(s.fs, s.userFile);
        }
    }
    bool IsIni() const { return GetParam(); }
    std::string Path() const { return IsIni() ? s.ini : s.userFile; }
    void SetFileText(const std::string& text) { WriteTextFile(Path(), "[Settings]\n" + text); }

    AStores s;
    std::unique_ptr<AOptionStore> store;
};

INSTANTIATE_TEST_SUITE_P(Stores, BothStores, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "IniFile" : "UserStore"; });

TEST_P(BothStores, StringsRoundTripAndNullDeletes)
{
    std::string value = "untouched";
    EXPECT_FALSE(store->ReadString("Language", value));
    EXPECT_TRUE(store->WriteString("Language", "Русский"));
    EXPECT_TRUE(store->ReadString("language", value));
    EXPECT_EQ(value, "Русский");
    EXPECT_TRUE(store->WriteString("Language", std::nullopt));
    EXPECT_FALSE(store->ReadString("Language", value));
    EXPECT_EQ(ReadTextFile(Path()), "[Settings]\n");
    EXPECT_TRUE(store->WriteString("Language", std::nullopt)) << "deleting a missing value is no failure";
}

TEST_P(BothStores, AnEmptyStringIsAValueOnlyInTheUserStore)
{
    ASSERT_TRUE(store->WriteString("Language", ""));
    std::string value = "x";
    EXPECT_EQ(store->ReadString("Language", value), !IsIni());
    EXPECT_EQ(value, IsIni() ? "x" : "");
}

TEST_P(BothStores, LongStringsAreCutInTheIniFileAndRefusedByTheUserStore)
{
    const std::string exact(1023, 'a');
    const std::string longer = std::string(1022, 'a') + "Дж";
    std::string value;
    ASSERT_TRUE(store->WriteString("S", exact));
    EXPECT_TRUE(store->ReadString("S", value));
    EXPECT_EQ(value, exact);
    ASSERT_TRUE(store->WriteString("S", longer));
    value = "kept";
    EXPECT_EQ(store->ReadString("S", value), IsIni());
    EXPECT_EQ(value, IsIni() ? std::string(1022, 'a') + "Д" : "kept");
}

TEST_P(BothStores, IntegersRoundTripIncludingTheExtremes)
{
    for (std::int32_t n : {0, 1, -1, 0x00FFFFFF, INT32_MIN, INT32_MAX}) {
        ASSERT_TRUE(store->WriteInt("N", n));
        std::int32_t read = 12345;
        EXPECT_TRUE(store->ReadInt("N", read));
        EXPECT_EQ(read, n);
    }
    SetFileText("N=-7\n");
    std::int32_t read = 0;
    EXPECT_TRUE(store->ReadInt("N", read));
    EXPECT_EQ(read, -7);
}

TEST_P(BothStores, HandWrittenIntegersAreReadLenientlyOnlyFromTheIniFile)
{
    struct Case { const char* text; std::optional<std::int32_t> ini; std::optional<std::int32_t> user; };
    const Case cases[] = {
        {"N=12", 12, 12},
        {"N=12abc", 12, std::nullopt},
        {"N=abc", 0, std::nullopt},
        {"N=", std::nullopt, std::nullopt},
        {"N=0x10", 16, std::nullopt},
        {"N=4294967295", -1, -1},
        {"N=4294967296", 0, std::nullopt},
        {"N=-2147483649", INT32_MAX, std::nullopt},
        {"N=+5", 5, std::nullopt},
    };
    for (const Case& c : cases) {
        SetFileText(std::string(c.text) + "\n");
        std::int32_t read = 99;
        const auto expected = IsIni() ? c.ini : c.user;
        EXPECT_EQ(store->ReadInt("N", read), expected.has_value()) << c.text;
        EXPECT_EQ(read, expected.value_or(99)) << c.text;
    }
}

TEST_P(BothStores, BinaryValuesUseHexWithChecksumAndDamageKeepsTheDefault)
{
    const std::uint8_t placement[4] = {0x2C, 0x00, 0x00, 0x80};
    ASSERT_TRUE(store->WriteBinary("WindowPlacement", placement));
    EXPECT_EQ(ReadTextFile(Path()), "[Settings]\nWindowPlacement=2C000080AC\n");
    std::uint8_t out[4] = {};
    EXPECT_TRUE(store->ReadBinary("WindowPlacement", out));
    EXPECT_EQ(std::memcmp(out, placement, 4), 0);

    for (const char* damaged : {"2C000080AD", "2C000080A", "2C00008", "2C000080ACAC", "ZZ000080AC"}) {
        SetFileText(std::string("WindowPlacement=") + damaged + "\n");
        std::uint8_t kept[4] = {1, 2, 3, 4};
        EXPECT_FALSE(store->ReadBinary("WindowPlacement", kept)) << damaged;
        EXPECT_EQ(kept[0] + kept[1] + kept[2] + kept[3], 10) << damaged;
    }
}

TEST_P(BothStores, WritingKeepsWhatTheUserWroteElsewhereInTheFile)
{
    WriteTextFile(Path(), "; my notes\n[Settings]\nLanguage=English\n[Mine]\nX=1\n");
    ASSERT_TRUE(store->WriteInt("BackupMode", 1));
    EXPECT_EQ(ReadTextFile(Path()), "; my notes\n[Settings]\nLanguage=English\nBackupMode=1\n[Mine]\nX=1\n");
}

TEST_P(BothStores, AFileTooLargeToReadIsNeitherReadNorOverwritten)
{
    const std::string huge = "[Settings]\nA=1\n" + std::string(kMaxStoreFileSize, ';');
    WriteTextFile(Path(), huge);
    std::int32_t value = 5;
    EXPECT_FALSE(store->ReadInt("A", value));
    EXPECT_FALSE(store->WriteInt("A", 2));
    EXPECT_EQ(ReadTextFile(Path()).size(), huge.size());
}

TEST_P(BothStores, AFailedWriteLeavesTheFileAsItWas)
{
    ASSERT_TRUE(store->WriteInt("A", 1));
    s.fs.Fail(AFsOp::WriteAtomic, ENOSPC);
    EXPECT_FALSE(store->WriteInt("A", 2));
    s.fs.Heal();
    std::int32_t value = 0;
    EXPECT_TRUE(store->ReadInt("A", value));
    EXPECT_EQ(value, 1);
}

TEST_P(BothStores, TheFileVanishingIsHandledByEachStoreInItsWay)
{
    std::filesystem::remove(Path());
    EXPECT_EQ(store->WriteInt("A", 1), !IsIni()) << "only the user store may create its file";
    EXPECT_EQ(Files::ALocalFileSystem().Kind(Path()) == Files::AFileKind::File, !IsIni());
}

TEST(OptionStoreIntegers, LeadingAndWholeNumberParsing)
{
    struct Case { const char* text; std::int32_t leading; std::optional<std::int32_t> whole; };
    const Case cases[] = {
        {"", 0, std::nullopt}, {"-", 0, std::nullopt}, {" \t42", 42, std::nullopt},
        {"-0", 0, 0}, {"0x", 0, std::nullopt}, {"0xfF", 255, std::nullopt},
        {"99999999999999999999", 1661992959, std::nullopt},
        {"-2147483648", INT32_MIN, INT32_MIN}, {"12 ", 12, std::nullopt}, {"00000000012", 12, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseLeadingInt(c.text), c.leading) << c.text;
        EXPECT_EQ(ParseWholeInt(c.text), c.whole) << c.text;
    }
}

TEST(OptionStoreFuzz, RandomStoreFilesNeverBreakAnyRead)
{
    ATempFolder folder;
    Files::ALocalFileSystem fs;
    const std::string path = folder / "Fendral.conf";
    AStoreIniFile ini(fs, path);
    AStoreRegistry user(fs, path);
    std::mt19937 random(77);
    const std::string sample = "[Settings]\nA=12\nB=0102030406\nC=text\n";
    for (int i = 0; i < 100; ++i) {
        std::string bytes = sample.substr(0, random() % (sample.size() + 1));
        for (int flips = static_cast<int>(random() % 4); flips > 0 && !bytes.empty(); --flips)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        WriteTextFile(path, bytes);
        for (AOptionStore* store : {static_cast<AOptionStore*>(&ini), static_cast<AOptionStore*>(&user)}) {
            std::int32_t n = 0;
            std::string text;
            std::uint8_t blob[4] = {};
            (void)store->ReadInt("A", n);
            (void)store->ReadString("C", text);
            (void)store->ReadBinary("B", blob);
            EXPECT_LE(Utf16Units(text), kMaxStringUnits);
        }
    }
}
