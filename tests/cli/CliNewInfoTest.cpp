// fendral-cli new and info, run as a process on temporary files.
#include "cli/CliTestFiles.h"

#include <map>
#include <sstream>

using namespace CliTest;

namespace {

class CliNewInfo : public ACliTest {};

// Written without the platform's help: the first three fields little-endian.
std::string GuidOf(const Database::Engine::AFileHeader& header)
{
    const std::uint8_t* b = header.identity;
    char text[40];
    std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3], b[2],
                  b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text;
}

}  // namespace

TEST_F(CliNewInfo, NewFileHoldsTheDefaultRecordsAndInfoShowsThem)
{
    const ACliRun made = Run({"new", "books.fend"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(made.out, "");

    const ACliRun info = Run({"info", "books.fend", "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(info.err, "");
    const Json json = ParseJson(info.out);

    ADatabase defaults;
    defaults.CreateDefaults();
    EXPECT_EQ(LiveCountsInJson(json), LiveCounts(defaults));
    for (const Json& table : json.at("tables"))
        EXPECT_EQ(table.at("deleted"), 0) << table;
    EXPECT_EQ(json.at("tables").at(9).at("name"), "ATransaction");
    EXPECT_EQ(json.at("tables").at(9).at("id"), 10);

    ADatabase opened;
    ASSERT_EQ(opened.Open(Path("books.fend")), Result::kOk);
    const Json& header = json.at("header");
    EXPECT_EQ(json.at("file"), Path("books.fend"));
    EXPECT_EQ(header.at("signature"), "Fendral");
    EXPECT_EQ(header.at("guid"), GuidOf(opened.FileHeader()));
    EXPECT_EQ(header.at("formatA"), 1);
    EXPECT_EQ(header.at("formatB"), 2);
    EXPECT_EQ(header.at("creatorBuild"), 235);
    EXPECT_EQ(header.at("writerBuild"), 235);
    EXPECT_EQ(header.at("lowestReaderBuild"), 218);
    EXPECT_EQ(json.at("consistencyErrors"), 0);
    EXPECT_EQ(json.at("readOnly"), false);
    const Json& features = json.at("features");
    for (const char* name : {"accountFolders", "budgetDates", "quantities", "times", "accountPlans"})
        EXPECT_EQ(features.at(name), false) << name;
    ASSERT_EQ(features.at("extraComments").size(), 4u);
    EXPECT_EQ(features.at("extraComments").at(0), Json({{"inUse", false}, {"caption", ""}}));
}

TEST_F(CliNewInfo, TextInfoShowsTheSameFacts)
{
    ASSERT_EQ(Run({"new", "books.fend"}).exitCode, 0);
    const ACliRun info = Run({"info", "books.fend"});
    ASSERT_EQ(info.exitCode, 0) << info.err;

    ADatabase opened;
    ASSERT_EQ(opened.Open(Path("books.fend")), Result::kOk);
    EXPECT_NE(info.out.find("GUID:               " + GuidOf(opened.FileHeader()) + "\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("created 235, last written 235, lowest reader 218"), std::string::npos);
    EXPECT_NE(info.out.find("Consistency errors: 0\n"), std::string::npos);
    EXPECT_NE(info.out.find("Read-only:          no\n"), std::string::npos);
    // One row per table: id, record type, live, deleted.
    std::map<Database::Engine::ATableId, std::pair<std::size_t, std::size_t>> rows;
    std::istringstream lines(info.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        Database::Engine::ATableId id = 0;
        std::string name;
        std::size_t live = 0, deleted = 0;
        if (words >> id >> name >> live >> deleted && name.starts_with("A"))
            rows[id] = {live, deleted};
    }
    ASSERT_EQ(rows.size(), ADatabase::kTableCount) << info.out;
    for (Database::Engine::ATableId id = 1; id <= ADatabase::kTableCount; ++id)
        EXPECT_EQ(rows[id], std::make_pair(opened.Table(id).LiveCount(), std::size_t{0})) << "table " << id;
}

TEST_F(CliNewInfo, InfoShowsTheSwitchesOfTheSettingsRecord)
{
    ADatabase db;
    db.CreateDefaults({.genuine = true, .password = u"", .times = true});
    db.BeginStep();
    auto* settings = db.Settings().Change(db.Settings().Live().front());
    settings->quantities = 1;
    settings->extraCommentInUse[2] = 1;
    settings->extraCommentCaption[2] = db.NewText(u"Чек №");
    db.CommitStep();
    SaveNewDatabase(db, Path("switches.fend"));

    const ACliRun info = Run({"info", "switches.fend", "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    const Json features = ParseJson(info.out).at("features");
    EXPECT_EQ(features.at("times"), true);
    EXPECT_EQ(features.at("quantities"), true);
    EXPECT_EQ(features.at("budgetDates"), false);
    EXPECT_EQ(features.at("extraComments").at(2), Json({{"inUse", true}, {"caption", "Чек №"}}));
    EXPECT_EQ(features.at("extraComments").at(1), Json({{"inUse", false}, {"caption", ""}}));

    const ACliRun text = Run({"info", "switches.fend"});
    EXPECT_NE(text.out.find("  times of day      yes\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("  extra comment 3   yes \"Чек №\"\n"), std::string::npos) << text.out;
}

TEST_F(CliNewInfo, RelativePathsAreTakenFromTheCurrentFolder)
{
    std::filesystem::create_directory(Path("sub"));
    ASSERT_EQ(Run({"new", "sub/../sub/rel.fend"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(Path("sub/rel.fend")));
    const ACliRun info = Run({"info", "./sub/rel.fend", "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(ParseJson(info.out).at("file"), Path("sub/rel.fend"));
}

TEST_F(CliNewInfo, NewRefusesToReplaceAnExistingFile)
{
    WriteTextFile(Path("taken.fend"), "somebody's books");
    const ACliRun run = Run({"new", "taken.fend"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("already exists"), std::string::npos) << run.err;
    EXPECT_EQ(ReadTextFile(Path("taken.fend")), "somebody's books");
}

TEST_F(CliNewInfo, NewInAMissingFolderFailsWithTheSaveMessage)
{
    const ACliRun run = Run({"new", "no/such/folder/books.fend"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, ExpectedMessage(641, {0x80070002u}));
    EXPECT_FALSE(std::filesystem::exists(Path("no")));
}

TEST_F(CliNewInfo, InfoOfAFileLockedByAnotherHolderSaysReadOnly)
{
    ASSERT_EQ(Run({"new", "busy.fend"}).exitCode, 0);
    ADatabase holder;
    ASSERT_EQ(holder.Open(Path("busy.fend")), Result::kOk);
    ASSERT_FALSE(holder.ReadOnly());

    const ACliRun info = Run({"info", "busy.fend", "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(ParseJson(info.out).at("readOnly"), true);
}
