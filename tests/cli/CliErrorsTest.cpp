// fendral-cli on files it can't use and on command lines it can't take.
#include "cli/CliTestFiles.h"

#include <random>

using namespace CliTest;

namespace {

class CliErrors : public ACliTest {
protected:
    // Every command that opens a file answers the same for it.
    void ExpectOpenRefused(const std::string& name, int exitCode, int messageId)
    {
        for (const char* command : {"info", "check"}) {
            const ACliRun run = Run({command, name});
            EXPECT_EQ(run.exitCode, exitCode) << command << ' ' << name;
            EXPECT_EQ(run.err, ExpectedMessage(messageId, {Utf16(name)})) << command << ' ' << name;
            EXPECT_EQ(run.out, "") << command << ' ' << name;
        }
    }
};

}  // namespace

TEST_F(CliErrors, MissingFileExitsWithSixAndMessage489)
{
    ExpectOpenRefused("missing.fend", 6, 489);
    ExpectOpenRefused("no-folder/missing.fend", 6, 489);
}

TEST_F(CliErrors, FileOfANewerVersionExitsWithFourAndMessage695)
{
    ASSERT_EQ(Run({"new", "newer.fend"}).exitCode, 0);
    SetLowestReaderBuild(Path("newer.fend"), 236);
    ExpectOpenRefused("newer.fend", 4, 695);
}

// A data file cut short is no data file either.
TEST_F(CliErrors, FilesThatAreNoDataFilesExitWithOneAndMessage498)
{
    ASSERT_EQ(Run({"new", "whole.fend"}).exitCode, 0);
    const std::string whole = ReadTextFile(Path("whole.fend"));
    WriteTextFile(Path("text.fend"), "Fendral is not written like this\n");
    WriteTextFile(Path("empty.fend"), "");
    WriteTextFile(Path("cut.fend"), whole.substr(0, 512));
    WriteTextFile(Path("short.fend"), whole.substr(0, whole.size() - 1));
    std::filesystem::create_directory(Path("folder.fend"));
    for (const char* name : {"text.fend", "empty.fend", "cut.fend", "short.fend", "folder.fend"})
        ExpectOpenRefused(name, 1, 498);
}

TEST_F(CliErrors, DamagedDataFilesNeverCrashTheProgram)
{
    ASSERT_EQ(Run({"new", "whole.fend"}).exitCode, 0);
    const std::string whole = ReadTextFile(Path("whole.fend"));
    std::mt19937 random(7);
    for (int round = 0; round < 48; ++round) {
        std::string damaged = whole;
        if (round < 8) {
            for (char& byte : damaged)
                byte = static_cast<char>(random());
        } else {
            for (int flips = 0; flips < 1 + round % 4; ++flips)
                damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
        }
        WriteTextFile(Path("damaged.fend"), damaged);
        const ACliRun run = Run({"info", "damaged.fend", "--json"});
        // A flip may land in unused space (0), in a record (3) or in the structure (1).
        ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1 || run.exitCode == 3) << round << ' ' << run.exitCode
                                                                                   << run.err;
        if (run.exitCode == 1)
            EXPECT_EQ(run.err, ExpectedMessage(498, {u"damaged.fend"})) << round;
        else
            EXPECT_FALSE(ParseJson(run.out).is_discarded()) << round;
    }
}

TEST_F(CliErrors, BadCommandLinesExitWithTwoAndTouchNothing)
{
    ASSERT_EQ(Run({"new", "books.fend"}).exitCode, 0);
    const std::string bytes = ReadTextFile(Path("books.fend"));
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", "books.fend"},
        {"info"},
        {"info", "books.fend", "extra"},
        {"info", "books.fend", "--xml"},
        {"info", "books.fend", "--json", "--json"},
        {"info", "books.fend", "--json=yes"},
        {"check", "books.fend", "--json"},
        {"convert", "books.fend"},
        {"new"},
        {"info", "books.fend", "--language"},
        {"info", "books.fend", "--language", "Klingon"},
        {"--language", "Klingon", "info", "books.fend"},
        {"--json", "info", "books.fend"},
    };
    for (const auto& arguments : cases) {
        std::string line;
        for (const std::string& word : arguments)
            line += word + ' ';
        const ACliRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << line;
        EXPECT_EQ(run.out, "") << line;
        EXPECT_NE(run.err.find("fendral-cli: "), std::string::npos) << line;
    }
    EXPECT_EQ(ReadTextFile(Path("books.fend")), bytes);
}

TEST_F(CliErrors, OptionsMayStandAnywhereAndTakeTheirValueEitherWay)
{
    ASSERT_EQ(Run({"new", "books.fend"}).exitCode, 0);
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"info", "--json", "books.fend"}, {"info", "books.fend", "--json"}, {"info", "--", "books.fend", "--json"}}) {
        const ACliRun run = Run(arguments);
        if (arguments[1] == "--") {
            EXPECT_EQ(run.exitCode, 2);  // after "--", "--json" is a second file name
            continue;
        }
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_FALSE(ParseJson(run.out).is_discarded());
    }
}

TEST_F(CliErrors, HelpAndVersion)
{
    const ACliRun version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "2.1.235\n");

    const ACliRun help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"new FILE", "info FILE [--json]", "check FILE", "convert SOURCE TARGET"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;

    const ACliRun commandHelp = Run({"convert", "--help"});
    EXPECT_EQ(commandHelp.exitCode, 0);
    EXPECT_EQ(commandHelp.out.rfind("Usage: fendral-cli convert SOURCE TARGET\n", 0), 0u) << commandHelp.out;
}

TEST_F(CliErrors, LanguageFileBesideTheProgramReplacesTheMessages)
{
    // The program looks for language files in its own folder: run a copy from here.
    const std::string program = Path("fendral-cli");
    std::filesystem::copy_file(FENDRAL_CLI, program);
    WriteTextFile(Path("English.lng"), "; test language\n489=No file \"#s\" here.\\nSorry.\n");

    const ACliRun english = RunProgram(program, {"--language", "English", "check", "gone.fend"}, folder.Path());
    EXPECT_EQ(english.exitCode, 6);
    EXPECT_EQ(english.err, "No file \"gone.fend\" here.\nSorry.\n");

    const ACliRun builtIn = RunProgram(program, {"check", "gone.fend"}, folder.Path());
    EXPECT_EQ(builtIn.err, ExpectedMessage(489, {u"gone.fend"}));
}

TEST_F(CliErrors, ProgressBarOnlyOnATerminal)
{
    if (!std::filesystem::exists("/usr/bin/script"))
        GTEST_SKIP() << "script(1) is needed to give the program a terminal";
    ASSERT_EQ(Run({"new", "books.fend"}).exitCode, 0);
    EXPECT_EQ(Run({"info", "books.fend"}).err, "");
    // script(1) runs the command on a pseudo-terminal and copies what it shows.
    const ACliRun shown = RunProgram(
        "/usr/bin/script", {"-qec", std::string(FENDRAL_CLI) + " info books.fend", "/dev/null"}, folder.Path());
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.out.find("] 100%"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find(ExpectedMessage(496, {u"books.fend"}).substr(0, 20)), std::string::npos);
}
