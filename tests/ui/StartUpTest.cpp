#include "UiTestSupport.h"

#include "core/RecentFiles.h"
#include "ui/InstanceChannel.h"
#include "ui/MainForm.h"
#include "ui/StartUp.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace UserInterface;
using UiTests::AScriptedDialogs;

namespace {

// The program started in this process over a temporary folder, its questions scripted.
class StartUp : public ::testing::Test {
protected:
    StartUp()
    {
        UiTests::TestApplication();
        auto scripted = std::make_unique<AScriptedDialogs>();
        dialogs = scripted.get();
        program = std::make_unique<AProgram>(Folders(), std::move(scripted));
    }
    AProgramFolders Folders() const
    {
        return {folder / "bin/fendral", folder / "bin", folder / "config", folder / "data", folder / "run/Fendral", folder / "bin", folder / "bin"};
    }
    std::string Path(const std::string& name) const { return folder / name; }
    std::u16string PathText(const std::string& name) const { return UtilityClasses::Strings::Utf8ToUtf16(Path(name)); }
    std::u16string Message(int id, std::initializer_list<UtilityClasses::Strings::FormatArg> args)
    {
        return program->Context().Strings().Format(id, args);
    }
    AMainWindow& Window() { return *program->MainWindow(); }
    Database::ADatabase& Db() { return Window().CurrentDatabase(); }
    UserInterface::Settings::OptionStorage::AOptionStore& Store() { return program->Context().Options().Store(); }
    // Puts entries into the recently-used list before the program starts.
    void SeedRecentFiles(const std::vector<std::string>& paths)
    {
        Files::ALocalFileSystem fs;
        std::filesystem::create_directories(folder / "bin");
        auto store = UserInterface::Settings::OptionStorage::ChooseOptionStore(fs, folder / "bin/fendral", folder / "config");
        for (auto it = paths.rbegin(); it != paths.rend(); ++it)
            UserInterface::Settings::AddRecentFile(*store, *it);
    }

    ATempFolder folder;
    AScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<AProgram> program;
};

TEST_F(StartUp, WithoutArgumentOrRecentFileANewDatabase)
{
    EXPECT_EQ(program->Start({"fendral"}), kExitDone);
    EXPECT_FALSE(program->HandedOver());
    ASSERT_NE(program->MainWindow(), nullptr);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(Db().FileName().Empty());
    EXPECT_FALSE(Db().Modified());
    EXPECT_EQ(Window().TitleText(), QStringLiteral("Без имени - Fendral"));
    EXPECT_GT(Window().PageCount(), 0);
    EXPECT_EQ(Window().CurrentPageIndex(), 0);
    EXPECT_TRUE(dialogs->messages.empty());
    // Other copies can find this one.
    EXPECT_TRUE(program->Channel()->IsListening());
}

// A quoted path with blanks is one name; later arguments are ignored. The file's folder
// becomes the current one.
TEST_F(StartUp, AFileArgumentOpensTheFileAndHeadsTheRecentList)
{
    std::filesystem::create_directories(Path("My books"));
    const std::string file = Path("My books/Семья 2025.fend");
    UiTests::WriteDataFile(file);
    program->Start({"fendral", "\"" + file + "\"", "ignored"});
    EXPECT_EQ(Db().FileName().FullPath(), file);
    EXPECT_EQ(Window().TitleText(), QStringLiteral("Семья 2025.fend - Fendral"));
    EXPECT_EQ(UserInterface::Settings::ReadRecentFile(Store(), 0), file);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(QDir::currentPath().toStdString(), Path("My books"));
}

TEST_F(StartUp, WithoutArgumentTheMostRecentFileOpens)
{
    UiTests::WriteDataFile(Path("last.fend"));
    SeedRecentFiles({Path("last.fend")});
    program->Start({"fendral"});
    EXPECT_EQ(Db().FileName().FullPath(), Path("last.fend"));
}

TEST_F(StartUp, AMissingRecentFileIsReportedAndLeavesTheList)
{
    UiTests::WriteDataFile(Path("older.fend"));
    SeedRecentFiles({Path("gone.fend"), Path("older.fend")});
    program->Start({"fendral"});
    EXPECT_EQ(dialogs->messages, std::vector{Message(489, {PathText("gone.fend")})});
    EXPECT_EQ(UserInterface::Settings::RecentFiles(Store()), std::vector<std::string>{Path("older.fend")});
    EXPECT_TRUE(Db().FileName().Empty());  // a new database instead
    EXPECT_TRUE(Window().FindAction(791)->text().endsWith(QStringLiteral("older.fend")));
    EXPECT_EQ(Window().FindAction(792), nullptr);
}

TEST_F(StartUp, EveryFailureHasItsMessageAndLeavesANewDatabase)
{
    struct Case { const char* name; std::function<void(const std::string&)> write; int message; };
    const Case cases[] = {
        {"newer.fend", UiTests::WriteNewerFile, 695},
        {"damaged.fend", [](const std::string& path) { WriteTextFile(path, std::string(3000, 'x')); }, 498},
        {"missing.fend", [](const std::string&) {}, 489},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto scripted = std::make_unique<AScriptedDialogs>();
        AScriptedDialogs* asked = scripted.get();
        AProgram run(Folders(), std::move(scripted));
        c.write(Path(c.name));
        EXPECT_EQ(run.Start({"fendral", Path(c.name)}), kExitDone);
        EXPECT_EQ(asked->messages, std::vector{run.Context().Strings().Format(c.message, {PathText(c.name)})});
        EXPECT_TRUE(run.MainWindow()->CurrentDatabase().FileName().Empty());
        EXPECT_GT(run.MainWindow()->PageCount(), 0);
    }
}

TEST_F(StartUp, AFileWithErrorsIsReportedAndStaysOpen)
{
    UiTests::WriteFileWithErrors(Path("errors.fend"));
    program->Start({"fendral", Path("errors.fend")});
    EXPECT_EQ(dialogs->messages, std::vector{Message(499, {PathText("errors.fend"), 1})});
    EXPECT_EQ(Db().FileName().FullPath(), Path("errors.fend"));
}

TEST_F(StartUp, ACancelledPasswordSaysNothingAndStartsNew)
{
    UiTests::WritePasswordFile(Path("secret.fend"), u"тайна");
    program->Start({"fendral", Path("secret.fend")});
    EXPECT_EQ(dialogs->modalCount, 1);  // the password dialog, cancelled
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(Db().FileName().Empty());
}

TEST_F(StartUp, ASecondCopyHandsItsFileToTheFirstAndEnds)
{
    UiTests::WriteDataFile(Path("shared.fend"));
    program->Start({"fendral", Path("shared.fend")});
    QSignalSpy front(program->MainWindow(), &AMainWindow::BroughtToFront);

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(folder / "run"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(folder / "second-config"));
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(folder.Path()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Should the hand-over fail, the second copy ends by itself instead of running on.
    environment.insert(QStringLiteral("FENDRAL_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    second.setProcessEnvironment(environment);
    // Another spelling of the same file is the same file.
    second.start(QStringLiteral(FENDRAL_GUI_PROGRAM), {QString::fromStdString(folder / "./run/../shared.fend")});
    ASSERT_TRUE(second.waitForStarted(10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(front.count(), 1);
}

}  // namespace
