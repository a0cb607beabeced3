// Writers that die or meet each other: saves killed at random instants leave the old or the
// new content, and what they left beside the file goes with the next good save; a second
// import into a file that another one is writing is refused before it reads anything.
#include "cli/CliTestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace CliTest;
using Database::AAccount;
using Database::ATransaction;
using Database::Engine::ATableImpl;

// Large enough that writing it takes a while, so that kills land inside the save.
void WriteLargeBooks(const std::string& path)
{
    ADatabase db;
    db.CreateDefaults();
    db.BeginStep();
    const auto cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
    for (int i = 0; i < 60000; ++i) {
        ATransaction t;
        t.account1 = cash;
        t.amount1 = -(i % 997 + 1) * 10000;
        t.date = t.budgetDate = Dates::FromYmd(2015 + i % 10, 1 + i % 12, 1 + i % 28);
        t.comment = db.NewText(u"покупка номер " + Utf16(std::to_string(i)));
        db.Transactions().Create(t);
    }
    db.CommitStep();
    SaveNewDatabase(db, path);
}

std::vector<std::string> Leftovers(const std::string& folder, const std::string& name)
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with("." + name + ".") && file.ends_with(".tmp"))
            found.push_back(entry.path().string());
    }
    return found;
}

// Whether the child has ended, leaving it for WaitForProgram to collect.
bool Ended(pid_t child)
{
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child;
}

// As if the writers had died a few minutes ago.
void AgeFiles(const std::vector<std::string>& paths)
{
    const timespec past[2] = {{std::time(nullptr) - 300, 0}, {std::time(nullptr) - 300, 0}};
    for (const std::string& path : paths)
        ::utimensat(AT_FDCWD, path.c_str(), past, 0);
}

// Whether some process holds a lock on the file (the kernel's list of locks names its inode).
bool IsLocked(const std::string& path)
{
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0)
        return false;
    const std::string inode = ":" + std::to_string(file.st_ino) + " ";
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);)
        if (line.find(inode) != std::string::npos)
            return true;
    return false;
}

TEST(CliKilledSave, TheTargetIsOldOrNewAndTheNextGoodSaveLeavesNothingBehind)
{
    ATempFolder folder;
    WriteLargeBooks(folder / "source.fend");
    // Even trials kill somewhere in the length of the good save before it, so they follow the
    // machine's speed when it is busy; odd ones kill soon after the new file has begun, so that
    // some kills surely land inside the writing however busy the machine is.
    const auto goodSave = [&] {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(RunCli({"convert", "source.fend", "target.fend"}, folder.Path()).exitCode, 0);
        return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    };
    auto length = goodSave();
    ASSERT_EQ(RunCli({"check", "target.fend"}, folder.Path()).exitCode, 0);

    std::mt19937 random(20261208);
    int leftBehind = 0;
    for (int trial = 0; trial < 16; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const pid_t writer = StartProgram(FENDRAL_CLI, {"convert", "source.fend", "target.fend"}, folder.Path());
        ASSERT_GT(writer, 0);
        if (trial % 2 == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % (length.count() + 1)));
        } else {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (Leftovers(folder.Path(), "target.fend").empty() && !Ended(writer) &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        }
        ::kill(writer, SIGKILL);
        WaitForProgram(writer);
        EXPECT_EQ(RunCli({"check", "target.fend"}, folder.Path()).exitCode, 0);
        const std::vector<std::string> left = Leftovers(folder.Path(), "target.fend");
        leftBehind += !left.empty();
        AgeFiles(left);
        length = goodSave();
        EXPECT_TRUE(Leftovers(folder.Path(), "target.fend").empty());
    }
    // Not every kill lands inside the writing, but some must for the test to mean anything.
    EXPECT_GT(leftBehind, 0);
}

TEST(CliConcurrentImports, TheSecondImportIsRefusedUpFrontAndTheFirstLandsOnce)
{
    ATempFolder folder;
    WriteLargeBooks(folder / "source.fend");
    ASSERT_EQ(RunCli({"export", "source.fend", "books.xml"}, folder.Path()).exitCode, 0);
    ASSERT_EQ(RunCli({"new", "target.fend"}, folder.Path()).exitCode, 0);

    const pid_t first = StartProgram(FENDRAL_CLI, {"import", "target.fend", "books.xml"}, folder.Path());
    ASSERT_GT(first, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!IsLocked(folder / "target.fend") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    ASSERT_TRUE(IsLocked(folder / "target.fend")) << "the first import never opened the file";
    const ACliRun second = RunCli({"import", "target.fend", "books.xml"}, folder.Path());
    const bool firstStillRunning = IsLocked(folder / "target.fend");
    EXPECT_EQ(WaitForProgram(first), 0);
    ASSERT_TRUE(firstStillRunning) << "the first import ended before the second one tried";
    EXPECT_EQ(second.exitCode, 1) << second.err;
    EXPECT_NE(second.err.find("target.fend"), std::string::npos) << second.err;

    ADatabase db;
    ASSERT_EQ(db.Open(folder / "target.fend"), Result::kOk);
    EXPECT_EQ(db.Transactions().LiveCount(), 60000u);
}

}  // namespace
