#include "UiTestSupport.h"

#include "ui/InstanceChannel.h"

#include <QLocalSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace UserInterface;

namespace {

// Two copies in one process: the asking one works on a thread of its own, as a second
// process would, while the answering one runs its event loop here.
class InstanceChannel : public ::testing::Test {
protected:
    InstanceChannel() { UiTests::TestApplication(); }

    template <typename F>
    void AskFromAnotherCopy(F ask)
    {
        std::atomic<bool> done = false;
        std::thread asker([&] {
            AInstanceChannel other(folder.Path(), "asker");
            ask(other);
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
        asker.join();
    }

    ATempFolder folder;
};

TEST_F(InstanceChannel, OnlyTheCopyWithTheFileAnswers)
{
    AInstanceChannel first(folder.Path(), "first"), second(folder.Path(), "second");
    std::vector<std::string> asked;
    ASSERT_TRUE(first.Listen({[&](const std::string& path) {
        asked.push_back(path);
        return path == "/home/anna/a.fend";
    }, {}, {}}));
    ASSERT_TRUE(second.Listen({[](const std::string&) { return false; }, {}, {}}));
    std::optional<std::string> found, notFound;
    AskFromAnotherCopy([&](AInstanceChannel& other) {
        EXPECT_EQ(other.OtherCopies(), (std::vector<std::string>{"FD-MW-first", "FD-MW-second"}));
        found = other.FindCopyWithFile("/home/anna/a.fend");
        notFound = other.FindCopyWithFile("/home/anna/b.fend");
    });
    EXPECT_EQ(found, "FD-MW-first");
    EXPECT_EQ(notFound, std::nullopt);
    EXPECT_EQ(asked.front(), "/home/anna/a.fend");
}

TEST_F(InstanceChannel, ReloadGoesToEveryCopyAndFrontToTheOneAsked)
{
    int reloads = 0, fronts = 0;
    AInstanceChannel first(folder.Path(), "first"), second(folder.Path(), "second");
    first.Listen({{}, [&] { ++reloads; }, [&] { ++fronts; }});
    second.Listen({{}, [&] { ++reloads; }, {}});
    AskFromAnotherCopy([&](AInstanceChannel& other) {
        other.BroadcastReloadSettings();
        EXPECT_TRUE(other.BringToFront("FD-MW-first"));
    });
    EXPECT_EQ(reloads, 2);
    EXPECT_EQ(fronts, 1);
}

TEST_F(InstanceChannel, ACopyThatEndedWithoutTidyingUpIsForgotten)
{
    {
        AInstanceChannel gone(folder.Path(), "gone");
        gone.Listen({});
    }
    // A socket file nobody listens on any more.
    WriteTextFile(folder / "FD-MW-crashed", "");
    AskFromAnotherCopy([&](AInstanceChannel& other) { EXPECT_EQ(other.FindCopyWithFile("/a.fend"), std::nullopt); });
    EXPECT_FALSE(std::filesystem::exists(folder / "FD-MW-crashed"));
}

TEST_F(InstanceChannel, RequestsOfOtherKindsAreAnsweredNo)
{
    AInstanceChannel first(folder.Path(), "first");
    bool handled = false;
    first.Listen({[&](const std::string&) { return handled = true; }, [&] { handled = true; }, [&] { handled = true; }});
    std::string answer, overlong;
    AskFromAnotherCopy([&](AInstanceChannel&) {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(folder / "FD-MW-first"));
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write("FD-DELETE-EVERYTHING\n");
        socket.waitForBytesWritten(2000);
        while (!socket.canReadLine() && socket.waitForReadyRead(2000)) {
        }
        answer = socket.readLine().toStdString();
        // A line that never ends is cut off, not collected without limit.
        QLocalSocket flood;
        flood.connectToServer(QString::fromStdString(folder / "FD-MW-first"));
        ASSERT_TRUE(flood.waitForConnected(2000));
        flood.write(QByteArray(InstanceProtocol::kMaxRequest + 4096, 'x'));
        flood.waitForBytesWritten(2000);
        flood.waitForDisconnected(5000);
        overlong = flood.state() == QLocalSocket::UnconnectedState ? "dropped" : "kept";
    });
    EXPECT_EQ(answer, "0\n");
    EXPECT_EQ(overlong, "dropped");
    EXPECT_FALSE(handled);
}

TEST_F(InstanceChannel, OnlyAFolderOfTheUsersOwnIsUsed)
{
    // A link could lead anywhere, a folder someone else made among them.
    std::filesystem::create_directories(folder / "real");
    std::filesystem::create_symlink(folder / "real", folder / "link");
    AInstanceChannel alone(folder / "link", "alone");
    EXPECT_FALSE(alone.IsUsable());
    EXPECT_FALSE(alone.Listen({}));
    EXPECT_TRUE(alone.OtherCopies().empty());
    EXPECT_EQ(alone.FindCopyWithFile("/a.fend"), std::nullopt);
    EXPECT_FALSE(alone.BringToFront("FD-MW-x"));
    // A folder of the user's that others could write to is made the user's alone.
    std::filesystem::create_directories(folder / "shared");
    std::filesystem::permissions(folder / "shared", std::filesystem::perms::all);
    for (const char* name : {"shared", "new"}) {
        AInstanceChannel own(folder / name, "own");
        EXPECT_TRUE(own.IsUsable()) << name;
        EXPECT_EQ(std::filesystem::status(folder / name).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_all)
            << name;
    }
}

TEST(InstanceChannelFolder, TheUsersRuntimeFolderOrAPrivateOneInTemp)
{
    EXPECT_EQ(AInstanceChannel::DefaultFolder("/run/user/1000", "/tmp", 1000), "/run/user/1000/Fendral");
    EXPECT_EQ(AInstanceChannel::DefaultFolder(nullptr, "/tmp", 1000), "/tmp/Fendral-1000");
    EXPECT_EQ(AInstanceChannel::DefaultFolder("relative", "/tmp", 7), "/tmp/Fendral-7");
}

}  // namespace
