// fendral-cli check and convert, run as a process on temporary files.
#include "cli/CliTestFiles.h"
#include "database/OldFileSample.h"

using namespace CliTest;

namespace {

class CliCheckConvert : public ACliTest {};

}  // namespace

TEST_F(CliCheckConvert, CheckCountsTheErrorsAndExitsWithThreeWhenThereAreAny)
{
    ASSERT_EQ(Run({"new", "sound.fend"}).exitCode, 0);
    WriteFileWithDanglingReference(Path("dangling.fend"));
    for (const auto& [name, errors] : {std::pair{"sound.fend", 0}, {"dangling.fend", 1}}) {
        const ACliRun run = Run({"check", name});
        EXPECT_EQ(run.exitCode, errors ? 3 : 0) << name;
        EXPECT_EQ(run.out, "Consistency errors: " + std::to_string(errors) + "\n") << name;
        EXPECT_EQ(run.err, errors ? ExpectedMessage(499, {Utf16(name), errors}) : "") << name;
    }
}

TEST_F(CliCheckConvert, InfoOfAFileWithErrorsStillReportsAndExitsWithThree)
{
    WriteFileWithDanglingReference(Path("dangling.fend"));
    const ACliRun run = Run({"info", "dangling.fend", "--json"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err, ExpectedMessage(499, {u"dangling.fend", 1}));
    const Json json = ParseJson(run.out);
    EXPECT_EQ(json.at("consistencyErrors"), 1);
    EXPECT_EQ(json.at("tables").at(6).at("name"), "AAccount");
    EXPECT_EQ(json.at("tables").at(6).at("live"), 0);
    EXPECT_EQ(json.at("tables").at(18).at("live"), 1);  // the placement that lost its account
}

// An existing target that is no data file is replaced.
TEST_F(CliCheckConvert, ConvertWritesANewFileWithTheSameRecords)
{
    ASSERT_EQ(Run({"new", "source.fend"}).exitCode, 0);
    WriteTextFile(Path("target.fend"), "old content");
    const std::string sourceBytes = ReadTextFile(Path("source.fend"));
    const ACliRun run = Run({"convert", "source.fend", "target.fend"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadTextFile(Path("source.fend")), sourceBytes);

    ADatabase source, target;
    ASSERT_EQ(source.Open(Path("source.fend")), Result::kOk);
    ASSERT_EQ(target.Open(Path("target.fend")), Result::kOk);
    EXPECT_EQ(LiveCounts(target), LiveCounts(source));
    // Save as writes the header afresh, with an identity of its own.
    EXPECT_NE(std::memcmp(target.FileHeader().identity, source.FileHeader().identity, 16), 0);
    const auto nameOf = [](ADatabase& db) { return db.Text(db.Accounts().Live().front()->Record().name); };
    EXPECT_EQ(nameOf(target), nameOf(source));
}

TEST_F(CliCheckConvert, ConvertOfAFileWithErrorsWritesItAndExitsWithThree)
{
    WriteFileWithDanglingReference(Path("dangling.fend"));
    const ACliRun run = Run({"convert", "dangling.fend", "copy.fend"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err, ExpectedMessage(499, {u"dangling.fend", 1}));
    EXPECT_EQ(Run({"check", "copy.fend"}).out, "Consistency errors: 1\n");
}

TEST_F(CliCheckConvert, ConvertFailingToSaveLeavesTheTargetUnchanged)
{
    ASSERT_EQ(Run({"new", "source.fend"}).exitCode, 0);
    ASSERT_EQ(Run({"new", "target.fend"}).exitCode, 0);
    const std::string targetBytes = ReadTextFile(Path("target.fend"));
    // Another program has the target open: its lock refuses the replacement.
    ADatabase holder;
    ASSERT_EQ(holder.Open(Path("target.fend")), Result::kOk);

    const ACliRun run = Run({"convert", "source.fend", "target.fend"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, ExpectedMessage(641, {static_cast<std::uint32_t>(Result::kStgAccessDenied)}));
    EXPECT_EQ(ReadTextFile(Path("target.fend")), targetBytes);
}

TEST_F(CliCheckConvert, ConvertOntoAFolderFailsAndLeavesItAlone)
{
    ASSERT_EQ(Run({"new", "source.fend"}).exitCode, 0);
    std::filesystem::create_directory(Path("folder.fend"));
    const ACliRun run = Run({"convert", "source.fend", "folder.fend"});
    EXPECT_EQ(run.exitCode, 1);
    const std::string message = ExpectedMessage(641, {0u});
    const std::string firstLine = message.substr(0, message.find('\n') + 1);
    EXPECT_EQ(run.err.substr(0, firstLine.size()), firstLine);
    EXPECT_TRUE(std::filesystem::is_directory(Path("folder.fend")));
    EXPECT_TRUE(std::filesystem::is_empty(Path("folder.fend")));
}

TEST_F(CliCheckConvert, ConvertOntoItsOwnSourceIsAUsageError)
{
    ASSERT_EQ(Run({"new", "same.fend"}).exitCode, 0);
    const std::string bytes = ReadTextFile(Path("same.fend"));
    for (const char* target : {"same.fend", "./same.fend"}) {
        const ACliRun run = Run({"convert", "same.fend", target});
        EXPECT_EQ(run.exitCode, 2) << target;
        EXPECT_EQ(ReadTextFile(Path("same.fend")), bytes) << target;
    }
}

TEST_F(CliCheckConvert, ConvertOfAMissingOrNewerSourceWritesNothing)
{
    ASSERT_EQ(Run({"new", "newer.fend"}).exitCode, 0);
    SetLowestReaderBuild(Path("newer.fend"), 236);
    struct {
        const char* source;
        int exitCode;
        int messageId;
    } const cases[] = {{"missing.fend", 6, 489}, {"newer.fend", 4, 695}};
    for (const auto& c : cases) {
        const ACliRun run = Run({"convert", c.source, "out.fend"});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.source;
        EXPECT_EQ(run.err, ExpectedMessage(c.messageId, {Utf16(c.source)})) << c.source;
        EXPECT_FALSE(std::filesystem::exists(Path("out.fend"))) << c.source;
    }
}

TEST_F(CliCheckConvert, ConvertTurnsAPreviousGenerationFileIntoADataFile)
{
    const OldFileSample old;
    WriteTextFile(Path("old.fdb"), std::string(old.Bytes().begin(), old.Bytes().end()));
    // The converted database is read-only until it is saved under a new name.
    const ACliRun info = Run({"info", "old.fdb", "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(ParseJson(info.out).at("readOnly"), true);
    EXPECT_EQ(ParseJson(info.out).at("header").at("signature"), "FendBase");

    const ACliRun run = Run({"convert", "old.fdb", "new.fend"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ADatabase converted;
    ASSERT_EQ(converted.Open(Path("new.fend")), Result::kOk);
    EXPECT_FALSE(converted.ReadOnly());
    EXPECT_EQ(LiveCounts(converted), LiveCountsInJson(ParseJson(info.out)));
    EXPECT_EQ(converted.Transactions().LiveCount(), 6u);
    EXPECT_EQ(converted.Currencies().LiveCount(), 3u);
}
