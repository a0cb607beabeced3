#include "core/FileSystem.h"
#include "core/XdgFolders.h"

#include "TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>

using namespace Files;

TEST(FileSystem, ReadingStopsAtTheLimit)
{
    ATempFolder temp;
    ALocalFileSystem fs;
    WriteTextFile(temp / "f", "12345");
    std::string out = "junk";
    EXPECT_EQ(fs.ReadFile(temp / "f", out, 5), 0);
    EXPECT_EQ(out, "12345");
    EXPECT_EQ(fs.ReadFile(temp / "f", out, 4), EFBIG);
    EXPECT_EQ(out, "");
    EXPECT_EQ(fs.ReadFile(temp / "missing", out, 4), ENOENT);
    EXPECT_EQ(fs.ReadFile(temp.Path(), out, 4), EISDIR);
}

TEST(FileSystem, AtomicWritesReplaceTheFileKeepItsModeAndFollowLinks)
{
    ATempFolder temp;
    ALocalFileSystem fs;
    WriteTextFile(temp / "real.conf", "old");
    std::filesystem::permissions(temp / "real.conf", std::filesystem::perms(0640));
    std::filesystem::create_symlink(temp / "real.conf", temp / "link.conf");
    ASSERT_EQ(fs.WriteFileAtomic(temp / "link.conf", "new"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(temp / "link.conf"));
    EXPECT_EQ(ReadTextFile(temp / "real.conf"), "new");
    EXPECT_EQ(std::filesystem::status(temp / "real.conf").permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 2) << "no temporary file left";
    EXPECT_EQ(fs.WriteFileAtomic(temp / "no/such/folder/f", "x"), ENOENT);
}

TEST(FileSystem, CopiesReplaceTheTargetAndAFailedOneLeavesNothing)
{
    ATempFolder temp;
    ALocalFileSystem fs;
    WriteTextFile(temp / "src", std::string(200000, 'x'));
    WriteTextFile(temp / "out/dst", "old");
    ASSERT_EQ(fs.CopyFile(temp / "src", temp / "out/dst"), 0);
    EXPECT_EQ(ReadTextFile(temp / "out/dst"), std::string(200000, 'x'));
    EXPECT_EQ(fs.CopyFile(temp / "missing", temp / "out/other"), ENOENT);
    EXPECT_EQ(fs.CopyFile(temp / "out", temp / "out/other"), EISDIR);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp / "out"), {}), 1);
}

TEST(FileSystem, FoldersFilesAndListing)
{
    ATempFolder temp;
    ALocalFileSystem fs;
    EXPECT_EQ(MakeFolders(fs, temp / "a/b//c/"), 0);
    EXPECT_EQ(fs.Kind(temp / "a/b/c"), AFileKind::Folder);
    EXPECT_EQ(MakeFolders(fs, temp / "a/b/c"), 0);
    WriteTextFile(temp / "a/file", "");
    EXPECT_EQ(MakeFolders(fs, temp / "a/file/x"), ENOTDIR);
    EXPECT_EQ(MakeFolders(fs, ""), ENOENT);

    std::filesystem::create_symlink(temp / "a/file", temp / "a/link");
    std::vector<std::string> names;
    ASSERT_EQ(fs.ListFiles(temp / "a", names), 0);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"file", "link"}));
    EXPECT_EQ(fs.ListFiles(temp / "none", names), ENOENT);

    EXPECT_EQ(fs.CreateNewFile(temp / "a/file", "x"), EEXIST);
    std::string probe;
    ASSERT_EQ(fs.CreateTempFile(temp / "a", probe), 0);
    EXPECT_EQ(fs.Kind(probe), AFileKind::File);
    EXPECT_EQ(fs.RemoveFile(probe), 0);
    EXPECT_EQ(fs.CheckOpen(temp / "a", false), EISDIR);
    EXPECT_EQ(fs.CheckOpen(temp / "a/file", true), 0);
}

TEST(FileSystem, PathTextAndUserFolders)
{
    EXPECT_EQ(ParentFolder("/a/b.fend"), "/a");
    EXPECT_EQ(ParentFolder("/b.fend"), "/");
    EXPECT_EQ(ParentFolder("b.fend"), "");
    EXPECT_EQ(FileNameOf("/a/b.fend"), "b.fend");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(ResolvePath("/opt/fendral", "copies"), "/opt/fendral/copies");
    EXPECT_EQ(ResolvePath("/opt/fendral", "/abs"), "/abs");

    EXPECT_EQ(UserConfigFolder("/x/config", "/home/u"), "/x/config");
    EXPECT_EQ(UserConfigFolder("", "/home/u"), "/home/u/.config");
    EXPECT_EQ(UserConfigFolder("relative", "/home/u"), "/home/u/.config");
    EXPECT_EQ(UserConfigFolder(nullptr, nullptr), "");
    EXPECT_EQ(UserDataFolder(nullptr, "/home/u"), "/home/u/.local/share");
}
