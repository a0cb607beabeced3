#include "core/FileSystem.h"
#include "core/OptionStore.h"
#include "core/RecentFiles.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace UserInterface::Settings;

namespace {

struct ARecentStore {
    ATempFolder folder;
    Files::ALocalFileSystem fs;
    std::string path = folder / "fendral.ini";
    std::unique_ptr<OptionStorage::AStoreIniFile> store;
    ARecentStore()
    {
        WriteTextFile(path, "");
        store = std::make_unique<OptionStorage::AStoreIniFile>(fs, path);
    }
    void Fill(const std::vector<std::string>& paths)
    {
        for (std::size_t i = 0; i < paths.size(); ++i)
            store->WriteString("mru" + std::to_string(i), paths[i]);
    }
    std::vector<std::optional<std::string>> Slots()
    {
        std::vector<std::optional<std::string>> slots;
        for (int i = 0; i < 5; ++i)
            slots.push_back(ReadRecentFile(*store, i));
        return slots;
    }
};

using ASlots = std::vector<std::optional<std::string>>;

}  // namespace

TEST(RecentFiles, AddingPutsThePathFirstAndKeepsFour)
{
    ARecentStore s;
    AddRecentFile(*s.store, "/a");
    EXPECT_EQ(s.Slots(), (ASlots{"/a", std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
    for (const char* path : {"/b", "/c", "/d", "/e"})
        AddRecentFile(*s.store, path);
    EXPECT_EQ(s.Slots(), (ASlots{"/e", "/d", "/c", "/b", std::nullopt}));
    EXPECT_EQ(RecentFiles(*s.store), (std::vector<std::string>{"/e", "/d", "/c", "/b"}));
}

TEST(RecentFiles, APathAlreadyListedMovesToTheFrontButAnotherLetterCaseIsAnotherFile)
{
    ARecentStore s;
    s.Fill({"/home/u/Work.fend", "/home/u/Дом/Бюджет.FEND", "/x.fend"});
    AddRecentFile(*s.store, "/home/u/Дом/../Дом/Бюджет.FEND");
    AddRecentFile(*s.store, "/HOME/U/дом/бюджет.fend");
    EXPECT_EQ(s.Slots(), (ASlots{"/HOME/U/дом/бюджет.fend", "/home/u/Дом/../Дом/Бюджет.FEND", "/home/u/Work.fend",
                                 "/x.fend", std::nullopt}));
}

TEST(RecentFiles, TheFifthEntryIsReadButNeverWritten)
{
    ARecentStore s;
    s.Fill({"/a", "/b", "/c", "/d", "/e"});
    AddRecentFile(*s.store, "/c");
    EXPECT_EQ(s.Slots(), (ASlots{"/c", "/a", "/b", "/d", "/e"}));
    // A gap is passed over when collecting.
    s.store->WriteString("mru1", std::nullopt);
    AddRecentFile(*s.store, "/n");
    EXPECT_EQ(s.Slots(), (ASlots{"/n", "/c", "/b", "/d", "/e"}));
}

TEST(RecentFiles, RemovingMovesLaterEntriesUp)
{
    struct Case { int index; ASlots expected; };
    const Case cases[] = {
        {0, {"/b", "/c", "/d", std::nullopt, std::nullopt}},
        {1, {"/a", "/c", "/d", std::nullopt, std::nullopt}},
        {3, {"/a", "/b", "/c", std::nullopt, std::nullopt}},
        {4, {"/a", "/b", "/c", "/d", std::nullopt}},
        {-1, {"/a", "/b", "/c", "/d", std::nullopt}},
        {5, {"/a", "/b", "/c", "/d", std::nullopt}},
    };
    for (const Case& c : cases) {
        ARecentStore s;
        s.Fill({"/a", "/b", "/c", "/d"});
        RemoveRecentFile(*s.store, c.index);
        EXPECT_EQ(s.Slots(), c.expected) << c.index;
    }
    ARecentStore full;
    full.Fill({"/a", "/b", "/c", "/d", "/e"});
    RemoveRecentFile(*full.store, 1);
    EXPECT_EQ(full.Slots(), (ASlots{"/a", "/c", "/d", "/e", std::nullopt}));
}

TEST(RecentFiles, PathsTheStoreCannotHoldAreNotAdded)
{
    ARecentStore s;
    s.Fill({"/a", "/b"});
    AddRecentFile(*s.store, "/evil\nBackupMode=3");
    AddRecentFile(*s.store, "");
    EXPECT_EQ(s.Slots(), (ASlots{"/a", "/b", std::nullopt, std::nullopt, std::nullopt}));
}

TEST(RecentFiles, PathsNameOneFileExactlyAfterLinksAndDots)
{
    ATempFolder temp;
    WriteTextFile(temp / "Home.fend", "x");
    WriteTextFile(temp / "home.fend", "y");
    std::filesystem::create_symlink(temp / "Home.fend", temp / "link.fend");
    const struct {
        std::string a, b;
        bool same;
    } cases[] = {
        {temp / "Home.fend", temp / "home.fend", false},
        {temp / "Home.fend", temp / "link.fend", true},
        {temp / "Home.fend", temp.Path() + "/./sub/../Home.fend", true},
        {temp / "New.fend", temp / "new.fend", false},
        {temp / "New.fend", temp.Path() + "//New.fend", true},
        {"\xFF", "\xFE", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Files::SamePath(c.a, c.b), c.same) << c.a << " / " << c.b;
}
