// fendral-cli on password-protected data files.
#include "cli/CliPtyRunner.h"
#include "cli/CliTestFiles.h"
#include "database/OldFileSample.h"

#include <fstream>

using namespace CliTest;

namespace {

class CliPassword : public ACliTest {
protected:
    void SetUp() override
    {
        ADatabase db;
        db.CreateDefaults({.genuine = true, .password = u"Пароль 1"});
        SaveNewDatabase(db, Path("locked.fend"));
    }
};

}  // namespace

TEST_F(CliPassword, TheVariableOpensTheFile)
{
    const ACliRun run = Run({"check", "locked.fend"}, {"FENDRAL_PASSWORD=Пароль 1"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Consistency errors: 0\n");
}

TEST_F(CliPassword, WithoutTheVariableOrATerminalTheOpenIsCancelled)
{
    for (const char* command : {"info", "check"}) {
        const ACliRun run = Run({command, "locked.fend"});
        EXPECT_EQ(run.exitCode, 5) << command;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_EQ(run.err, "") << command;
    }
    const ACliRun convert = Run({"convert", "locked.fend", "copy.fend"});
    EXPECT_EQ(convert.exitCode, 5);
    EXPECT_FALSE(std::filesystem::exists(Path("copy.fend")));
}

TEST_F(CliPassword, AWrongVariableIsRefusedWithMessage512)
{
    // Passwords compare exactly: another case is another password.
    for (const char* wrong : {"FENDRAL_PASSWORD=пароль 1", "FENDRAL_PASSWORD="}) {
        const ACliRun run = Run({"check", "locked.fend"}, {wrong});
        EXPECT_EQ(run.exitCode, 5) << wrong;
        EXPECT_EQ(run.err, ExpectedMessage(512, {})) << wrong;
    }
}

TEST_F(CliPassword, ConvertKeepsTheProtection)
{
    ASSERT_EQ(Run({"convert", "locked.fend", "copy.fend"}, {"FENDRAL_PASSWORD=Пароль 1"}).exitCode, 0);
    EXPECT_EQ(Run({"check", "copy.fend"}).exitCode, 5);
    EXPECT_EQ(Run({"check", "copy.fend"}, {"FENDRAL_PASSWORD=Пароль 1"}).exitCode, 0);
}

TEST_F(CliPassword, ATerminalIsAskedWithoutEchoUntilThePasswordMatches)
{
    const std::string prompt = ExpectedMessage(508, {}).substr(0, ExpectedMessage(508, {}).size() - 1);
    const APtyRun run = RunOnTerminal(FENDRAL_CLI, {"check", "locked.fend"}, folder.Path(),
                                      {{prompt, "wrong"}, {prompt, "Пароль 1"}});
    EXPECT_EQ(run.exitCode, 0) << run.screen;
    EXPECT_NE(run.screen.find("Consistency errors: 0"), std::string::npos) << run.screen;
    EXPECT_EQ(run.screen.find("wrong"), std::string::npos) << "the typed text was echoed:\n" << run.screen;
    EXPECT_EQ(run.screen.find("Пароль 1"), std::string::npos) << "the typed text was echoed:\n" << run.screen;
    const std::string mismatch = ExpectedMessage(512, {});
    EXPECT_NE(run.screen.find(mismatch.substr(0, mismatch.find('\n'))), std::string::npos) << run.screen;
}

TEST_F(CliPassword, EndOfInputAtThePromptCancels)
{
    const std::string prompt = ExpectedMessage(508, {}).substr(0, ExpectedMessage(508, {}).size() - 1);
    // Ctrl-D on an empty line ends the input.
    const APtyRun run = RunOnTerminal(FENDRAL_CLI, {"check", "locked.fend"}, folder.Path(), {{prompt, "\x04"}});
    EXPECT_EQ(run.exitCode, 5) << run.screen;
}

TEST_F(CliPassword, PasswdChangesAndRemovesThePassword)
{
    const ACliRun changed = Run({"passwd", "locked.fend"}, {"FENDRAL_PASSWORD=Пароль 1", "FENDRAL_NEW_PASSWORD=Новый"});
    ASSERT_EQ(changed.exitCode, 0) << changed.err;
    EXPECT_NE(changed.out.find("the file is not encrypted"), std::string::npos) << changed.out;
    EXPECT_EQ(Run({"check", "locked.fend"}, {"FENDRAL_PASSWORD=Пароль 1"}).exitCode, 5);
    EXPECT_EQ(Run({"check", "locked.fend"}, {"FENDRAL_PASSWORD=Новый"}).exitCode, 0);

    ASSERT_EQ(Run({"passwd", "locked.fend"}, {"FENDRAL_PASSWORD=Новый", "FENDRAL_NEW_PASSWORD="}).exitCode, 0);
    EXPECT_EQ(Run({"check", "locked.fend"}).exitCode, 0);
}

TEST_F(CliPassword, PasswdWithoutTheRightPasswordsLeavesTheFileAsItWas)
{
    const auto bytes = [&] {
        std::ifstream in(Path("locked.fend"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = bytes();
    // Wrong current password, no current password, no new password off a terminal.
    EXPECT_EQ(Run({"passwd", "locked.fend"}, {"FENDRAL_PASSWORD=нет", "FENDRAL_NEW_PASSWORD=x"}).exitCode, 5);
    EXPECT_EQ(Run({"passwd", "locked.fend"}, {"FENDRAL_NEW_PASSWORD=x"}).exitCode, 5);
    EXPECT_EQ(Run({"passwd", "locked.fend"}, {"FENDRAL_PASSWORD=Пароль 1"}).exitCode, 5);
    EXPECT_EQ(Run({"passwd", "missing.fend"}, {"FENDRAL_NEW_PASSWORD=x"}).exitCode, 6);
    EXPECT_EQ(bytes(), before);
}

TEST_F(CliPassword, PasswdOnATerminalAsksTwiceAndRefusesDifferentAnswers)
{
    const std::string prompt = ExpectedMessage(508, {}).substr(0, ExpectedMessage(508, {}).size() - 1);
    const APtyRun differs =
        RunOnTerminal(FENDRAL_CLI, {"passwd", "locked.fend"}, folder.Path(),
                      {{prompt, "Пароль 1"}, {"New password:", "один"}, {"Repeat the new password:", "два"}});
    EXPECT_EQ(differs.exitCode, 1) << differs.screen;
    const std::string differ = ExpectedMessage(513, {});
    EXPECT_NE(differs.screen.find(differ.substr(0, differ.find('\n'))), std::string::npos) << differs.screen;
    EXPECT_EQ(Run({"check", "locked.fend"}, {"FENDRAL_PASSWORD=Пароль 1"}).exitCode, 0);

    const APtyRun same =
        RunOnTerminal(FENDRAL_CLI, {"passwd", "locked.fend"}, folder.Path(),
                      {{prompt, "Пароль 1"}, {"New password:", "три"}, {"Repeat the new password:", "три"}});
    EXPECT_EQ(same.exitCode, 0) << same.screen;
    EXPECT_EQ(same.screen.find("три"), std::string::npos) << "the typed text was echoed:\n" << same.screen;
    EXPECT_EQ(Run({"check", "locked.fend"}, {"FENDRAL_PASSWORD=три"}).exitCode, 0);
}

TEST_F(CliPassword, PasswdRefusesAFileThatOpensReadOnly)
{
    // A file of the previous generation opens read-only and can't be saved in place.
    const OldFileSample old;
    WriteTextFile(Path("old.fdb"), std::string(old.Bytes().begin(), old.Bytes().end()));
    const std::string before = ReadTextFile(Path("old.fdb"));
    const ACliRun run = Run({"passwd", "old.fdb"}, {"FENDRAL_NEW_PASSWORD=x"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.err, ExpectedMessage(504, {u"old.fdb"}));
    EXPECT_EQ(ReadTextFile(Path("old.fdb")), before);
}
