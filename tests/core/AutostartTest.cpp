#include "core/Autostart.h"
#include "core/FileSystem.h"

#include "TempFolder.h"

#include <gtest/gtest.h>
#include <random>

using namespace UserInterface::Settings;

TEST(Autostart, EntryTextQuotesBothPaths)
{
    EXPECT_EQ(FormatDesktopEntry({"/opt/fendral/fendral", "/home/u/Мой дом.fend"}),
              "[Desktop Entry]\nType=Application\nName=Fendral\nComment=Fendral\n"
              "Exec=\"/opt/fendral/fendral\" \"/home/u/Мой дом.fend\"\nX-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(FormatDesktopEntry({"/opt/fendral", std::nullopt}).find("Exec=\"/opt/fendral\"\n") != std::string::npos,
              true);
}

TEST(Autostart, AwkwardPathsSurviveTheRoundTrip)
{
    const std::string paths[] = {"/home/u/a b.fend", "/x/\"q\".fend", "/x/$HOME`id`.fend", "/x/back\\slash",
                                 "/x/100%.fend", "/x/%f", "/x/tab\there", "/x/line\nbreak", "/x/'single'"};
    for (const std::string& path : paths) {
        const AAutostartEntry entry{"/opt/my programs/fendral", path};
        EXPECT_EQ(ParseDesktopEntry(FormatDesktopEntry(entry)), entry) << path;
    }
    const AAutostartEntry lastSession{"/opt/fendral", std::nullopt};
    EXPECT_EQ(ParseDesktopEntry(FormatDesktopEntry(lastSession)), lastSession);
}

TEST(Autostart, HandWrittenEntriesAreUnderstood)
{
    struct Case { const char* text; std::optional<AAutostartEntry> expected; };
    const Case cases[] = {
        {"[Desktop Entry]\nExec=fendral /home/u/a.fend\n", AAutostartEntry{"fendral", "/home/u/a.fend"}},
        {"[Desktop Entry]\r\nExec = fendral\r\n", AAutostartEntry{"fendral", std::nullopt}},
        {"[Desktop Entry]\nExec=fendral %U\n", AAutostartEntry{"fendral", std::nullopt}},
        {"[Desktop Entry]\nExec=fendral a\\sb\n", AAutostartEntry{"fendral", "a"}},
        {"[Desktop Entry]\nExec=fendral \"a\\sb\"\n", AAutostartEntry{"fendral", "a b"}},
        {"[Desktop Entry]\nHidden=true\nExec=fendral\n", std::nullopt},
        {"[Other]\nExec=fendral\n", std::nullopt},
        {"[Desktop Entry]\nName=Fendral\n", std::nullopt},
        {"[Desktop Entry]\nExec=\n", std::nullopt},
        {"[Desktop Entry]\nExec=\"\"\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseDesktopEntry(c.text), c.expected) << c.text;
}

TEST(Autostart, WritingCreatesTheFolderAndRemovingTwiceIsHarmless)
{
    ATempFolder home;
    Files::ALocalFileSystem fs;
    const std::string path = AutostartPath(home / ".config");
    EXPECT_EQ(path, home / ".config/autostart/Fendral.desktop");
    EXPECT_EQ(ReadAutostart(fs, path), std::nullopt);
    const AAutostartEntry entry{"/opt/fendral", "/home/u/a.fend"};
    ASSERT_EQ(WriteAutostart(fs, path, entry), 0);
    EXPECT_EQ(ReadAutostart(fs, path), entry);
    EXPECT_EQ(RemoveAutostart(fs, path), 0);
    EXPECT_EQ(ReadAutostart(fs, path), std::nullopt);
    EXPECT_EQ(RemoveAutostart(fs, path), 0);
    EXPECT_EQ(AutostartPath(""), "");
}

TEST(AutostartFuzz, DamagedEntriesNeverBreakTheReader)
{
    const std::string sample = FormatDesktopEntry({"/opt/a b/fendral", "/x/\"y\" 100%.fend"});
    std::mt19937 random(5);
    for (std::size_t n = 0; n <= sample.size(); ++n)
        (void)ParseDesktopEntry(sample.substr(0, n));
    for (int i = 0; i < 3000; ++i) {
        std::string text = sample;
        for (int flips = 0; flips < 3; ++flips)
            text[random() % text.size()] = "\"\\% \n=[]%a"[random() % 11];
        const auto entry = ParseDesktopEntry(text);
        if (entry) {
            EXPECT_FALSE(entry->programPath.empty());
        }
    }
}
