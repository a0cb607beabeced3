#include "core/FileSystem.h"
#include "core/ProgramLayout.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Files::AProgramLayout;

constexpr Files::AInstalledFolders kInstalled{"../lib/x86_64-linux-gnu/fendral", "../share/fendral"};

TEST(ProgramLayoutTest, CompanionsBesideTheProgramOrInTheInstalledFolders)
{
    struct ACase {
        const char* what;
        const char* made;  // a folder made under the root, or a file when it ends in ".file"
        bool installed;
    };
    const ACase cases[] = {
        {"build folder", "", false},
        {"installed", "share/fendral", true},
        {"data folder of another program only", "share/other", false},
        {"a file where the data folder would be", "share/fendral.file", false},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.what);
        ATempFolder root;
        std::filesystem::create_directories(root / "bin");
        const std::string made = c.made;
        if (made.ends_with(".file"))
            WriteTextFile(root / made.substr(0, made.size() - 5), "not a folder");
        else if (!made.empty())
            std::filesystem::create_directories(root / made);
        Files::ALocalFileSystem fs;
        const AProgramLayout layout = Files::ProgramLayoutFor(fs, root / "bin", kInstalled);
        EXPECT_EQ(layout.programFolder, root / "bin");
        EXPECT_EQ(layout.pluginFolder, c.installed ? root / "lib/x86_64-linux-gnu/fendral" : root / "bin");
        EXPECT_EQ(layout.languageFolder, c.installed ? root / "share/fendral" : root / "bin");
    }
}

TEST(ProgramLayoutTest, UnknownProgramFolderLooksNowhere)
{
    Files::ALocalFileSystem fs;
    const AProgramLayout layout = Files::ProgramLayoutFor(fs, "", kInstalled);
    EXPECT_TRUE(layout.pluginFolder.empty());
    EXPECT_TRUE(layout.languageFolder.empty());
}

}  // namespace
