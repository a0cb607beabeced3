// fendral-cli on password-protected data files.
#include "cli/CliPtyRunner.h"
#include "cli/CliTestFiles.h"

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
