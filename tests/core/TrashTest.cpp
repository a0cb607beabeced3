#include "core/FileSystem.h"
#include "core/Trash.h"

#include "FaultyFileSystem.h"
#include "TempFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

using namespace Files;

namespace {

const Dates::ALocalTime kNoon{Dates::FromYmd(2026, 3, 5), (14 * 3600 + 3 * 60 + 7) * 1000 + 250};

struct ATrashFixture {
    ATempFolder temp;
    AFaultyFileSystem fs;
    ATrash trash{fs, temp / "Trash", [] { return kNoon; }};
};

}  // namespace

TEST(Trash, APutCopyIsRecordedWithItsOriginalPathAndDate)
{
    ATrashFixture f;
    WriteTextFile(f.temp / "data/Home.fend", "contents");
    ASSERT_EQ(f.trash.PutCopy(f.temp / "data/Home.fend", "/home/u/Мои файлы/2026-03-05 - Backup of Home.fend"), 0);
    EXPECT_EQ(ReadTextFile(f.temp / "Trash/files/2026-03-05 - Backup of Home.fend"), "contents");
    EXPECT_EQ(ReadTextFile(f.temp / "Trash/info/2026-03-05 - Backup of Home.fend.trashinfo"),
              "[Trash Info]\n"
              "Path=/home/u/%D0%9C%D0%BE%D0%B8%20%D1%84%D0%B0%D0%B9%D0%BB%D1%8B/2026-03-05%20-%20Backup%20of%20Home.fend\n"
              "DeletionDate=2026-03-05T14:03:07\n");
    std::vector<ATrashItem> items;
    ASSERT_EQ(f.trash.List(items), 0);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].originalPath, "/home/u/Мои файлы/2026-03-05 - Backup of Home.fend");
    EXPECT_EQ(items[0].storedName, "2026-03-05 - Backup of Home.fend");
}

TEST(Trash, ASecondItemOfTheSameNameGetsItsOwnName)
{
    ATrashFixture f;
    WriteTextFile(f.temp / "a", "1");
    ASSERT_EQ(f.trash.PutCopy(f.temp / "a", "/x/a"), 0);
    ASSERT_EQ(f.trash.PutCopy(f.temp / "a", "/y/a"), 0);
    std::vector<ATrashItem> items;
    ASSERT_EQ(f.trash.List(items), 0);
    std::sort(items.begin(), items.end(), [](auto& l, auto& r) { return l.storedName < r.storedName; });
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].storedName, "a");
    EXPECT_EQ(items[0].originalPath, "/x/a");
    EXPECT_EQ(items[1].storedName, "a.2");
    EXPECT_EQ(items[1].originalPath, "/y/a");
}

TEST(Trash, AFailedCopyLeavesNoRecordAndBadRecordsAreSkipped)
{
    ATrashFixture f;
    WriteTextFile(f.temp / "a", "1");
    f.fs.Fail(AFsOp::Copy, ENOSPC);
    EXPECT_EQ(f.trash.PutCopy(f.temp / "a", "/x/a"), ENOSPC);
    f.fs.Heal();
    EXPECT_TRUE(std::filesystem::is_empty(f.temp / "Trash/info"));

    WriteTextFile(f.temp / "Trash/info/orphan.trashinfo", "[Trash Info]\nPath=/x/orphan\n");
    WriteTextFile(f.temp / "Trash/files/damaged", "");
    WriteTextFile(f.temp / "Trash/info/damaged.trashinfo", "[Trash Info]\nPath=/x/%ZZ\n");
    WriteTextFile(f.temp / "Trash/files/other", "");
    WriteTextFile(f.temp / "Trash/info/other.txt", "[Trash Info]\nPath=/x/other\n");
    std::vector<ATrashItem> items;
    EXPECT_EQ(f.trash.List(items), 0);
    EXPECT_TRUE(items.empty());

    ATrash none(f.fs, f.temp / "NoTrashYet", [] { return kNoon; });
    EXPECT_EQ(none.List(items), 0);
    EXPECT_EQ(ATrash(f.fs, "", [] { return kNoon; }).PutCopy(f.temp / "a", "/x/a"), ENOENT);
}

TEST(Trash, RecordsAreReadStrictly)
{
    struct Case { const char* text; std::optional<std::string> path; };
    const Case cases[] = {
        {"[Trash Info]\nPath=/a%20b\nDeletionDate=2026-01-01T00:00:00\n", "/a b"},
        {"[Trash Info]\r\nPath=/a\r\n", "/a"},
        {"[Trash Info]\nPath=relative/a\n", std::nullopt},
        {"[Trash Info]\nPath=/a%2\n", std::nullopt},
        {"[Trash Info]\nPath=/a%00b\n", std::nullopt},
        {"[Other]\nPath=/a\n", std::nullopt},
        {"Path=/a\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseTrashInfo(c.text), c.path) << c.text;
    EXPECT_EQ(PercentEncodePath("/a-b_c.d~e/ %é"), "/a-b_c.d~e/%20%25%C3%A9");
    EXPECT_EQ(PercentDecode("%c3%A9"), "é");
}

TEST(TrashFuzz, DamagedRecordsNeverBreakTheReader)
{
    const std::string sample = FormatTrashInfo("/home/u/Дом 100%.fend", kNoon);
    for (std::size_t n = 0; n <= sample.size(); ++n)
        (void)ParseTrashInfo(sample.substr(0, n));
    std::mt19937 random(9);
    for (int i = 0; i < 3000; ++i) {
        std::string text = sample;
        for (int flips = 0; flips < 3; ++flips)
            text[random() % text.size()] = static_cast<char>(random());
        if (const auto path = ParseTrashInfo(text))
            EXPECT_TRUE(IsAbsolutePath(*path));
    }
}
