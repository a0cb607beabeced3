#include "DataFileHelpers.h"
#include "OldFileSample.h"

#include "database/PreviousGenerationFile.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <sys/stat.h>

using namespace DataFileHelpers;
using Database::PreviousGeneration::AOldData;
using Database::PreviousGeneration::ParseOldFile;

namespace {

HRESULT Parse(const std::vector<std::uint8_t>& bytes)
{
    AOldData data;
    return ParseOldFile(bytes, 1251, data);
}

HRESULT OpenBytes(const TempFolder& folder, const std::vector<std::uint8_t>& bytes)
{
    const std::string path = folder.File("damaged.fdb");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ADatabase db(FixedClock());
    db.SetPasswordPrompt([](const std::string&, const auto&) { return false; });
    return db.Open(path);
}

}  // namespace

TEST(PreviousGenerationDamage, TheSampleItselfIsSound)
{
    EXPECT_EQ(Parse(OldFileSample().Bytes()), Result::kOk);
}

TEST(PreviousGenerationDamage, DamagedFilesAreNotDataFiles)
{
    struct Case {
        const char* what;
        std::function<void(OldFileSample&)> damage;
    };
    const Case cases[] = {
        // The header.
        {"header: no next block", [](OldFileSample& s) { s.file.Put32(4, 0); }},
        {"header: word 8", [](OldFileSample& s) { s.file.Put32(8, 1); }},
        {"header: block size", [](OldFileSample& s) { s.file.Put16(12, 65); }},
        {"header: block free", [](OldFileSample& s) { s.file.Put8(14, 1); }},
        {"header: magic", [](OldFileSample& s) { s.file.Put8(16, 'f'); }},
        {"header: version", [](OldFileSample& s) { s.file.Put16(26, 2); }},
        // The block chains.
        {"chain points past the end", [](OldFileSample& s) { s.file.Put32(4, 0x7FFFFFF0); }},
        {"chain loops", [](OldFileSample& s) { s.file.Put32(s.rur - 12, 4); }},
        {"chain block runs past the end",
         [](OldFileSample& s) { s.file.Put16(s.t5 - 4, static_cast<std::uint16_t>(0xFFFF)); }},
        // Offsets past the end, or into nothing.
        {"currency list past the end", [](OldFileSample& s) { s.file.Put32(s.usd, 0xFFFFFFF0); }},
        {"rate list past the end", [](OldFileSample& s) { s.file.Put32(s.rate1 + 36, 0x00100000); }},
        {"first account before any block", [](OldFileSample& s) { s.file.Put32(OldFileBuilder::kFirstAccount, 4); }},
        {"name text past the end", [](OldFileSample& s) { s.file.Put32(s.wallet + 8, 0xFFFFFF00); }},
        {"category child past the end", [](OldFileSample& s) { s.file.Put32(s.repair + 4, 0x80000000); }},
        {"transaction root past the end", [](OldFileSample& s) { s.file.Put32(OldFileBuilder::kTransactionRoot, 0xFFFFFFFC); }},
        {"transaction comment past the end", [](OldFileSample& s) { s.file.Put32(s.t0 + 52, 0x00FFFFFF); }},
        // Cycles.
        {"currency list loops", [](OldFileSample& s) { s.file.Put32(s.usd, s.eur); }},
        {"currency list points at itself", [](OldFileSample& s) { s.file.Put32(s.usd, s.usd); }},
        {"account list loops", [](OldFileSample& s) { s.file.Put32(s.wallet, s.card); }},
        {"rate list loops", [](OldFileSample& s) { s.file.Put32(s.rate1 + 36, s.rate3); }},
        {"category sibling loops", [](OldFileSample& s) { s.file.Put32(s.salary + 8, s.gifts); }},
        {"category child is its ancestor", [](OldFileSample& s) { s.file.Put32(s.fromParents + 4, s.incomeRoot); }},
        {"category in two trees", [](OldFileSample& s) { s.file.Put32(s.repair + 8, s.shop); }},
        {"transaction descent loops", [](OldFileSample& s) { s.file.Put32(s.t1 + 72, s.t3); }},
        {"transaction second descent loops",
         [](OldFileSample& s) {
             s.file.Put32(s.t4 + 96, s.t2);
             s.file.Put32(s.t2 + 96, s.t4);
         }},
        {"transaction list loops", [](OldFileSample& s) { s.file.Put32(s.t5 + 92, s.t0); }},
        // Blocks too small or free.
        {"zero-size currency block", [](OldFileSample& s) { s.file.Put16(s.usd - 4, 0); }},
        {"transaction block too small", [](OldFileSample& s) { s.file.Put16(s.t2 - 4, 96); }},
        {"zero-size text block", [](OldFileSample& s) { s.file.Put16(s.file.Get32(s.food + 16) - 4, 0); }},
        {"free account block", [](OldFileSample& s) { s.file.Put8(s.card - 2, 1); }},
        {"text without its end",
         [](OldFileSample& s) {
             const std::uint32_t text = s.file.Get32(s.eur + 12);  // "EUR" in a block of 14 bytes
             s.file.Put8(text + 13, 'X');
         }},
        // References to records that are not in their lists, and bad values.
        {"account of an unknown currency", [](OldFileSample& s) { s.file.Put32(s.card + 12, s.wallet); }},
        {"account without currency", [](OldFileSample& s) { s.file.Put32(s.card + 12, 0); }},
        {"rate of an unknown currency", [](OldFileSample& s) { s.file.Put32(s.rate2 + 28, s.card); }},
        {"transaction of an unknown account", [](OldFileSample& s) { s.file.Put32(s.t0 + 24, s.rur); }},
        {"transfer to no account", [](OldFileSample& s) { s.file.Put32(s.t2 + 44, 0); }},
        {"no income tree", [](OldFileSample& s) { s.file.Put32(OldFileBuilder::kIncomeRoot, 0); }},
        {"transaction date not a number", [](OldFileSample& s) { s.file.Put64(s.t3, 0x7FF8000000000001); }},
        {"rate date past 9999", [](OldFileSample& s) { s.file.PutDouble(s.rate2, 3e6); }},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        OldFileSample sample;
        c.damage(sample);
        EXPECT_EQ(Parse(sample.Bytes()), Result::kNotDataFile) << c.what;
        EXPECT_EQ(OpenBytes(folder, sample.Bytes()), Result::kNotDataFile) << c.what;
    }
}

TEST(PreviousGenerationDamage, EveryTruncationIsRefused)
{
    const std::vector<std::uint8_t> whole = OldFileSample().Bytes();
    TempFolder folder;
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_EQ(Parse(cut), Result::kNotDataFile) << length;
        if (length % 97 == 0) {
            ASSERT_EQ(OpenBytes(folder, cut), Result::kNotDataFile) << length;
        }
    }
}

TEST(PreviousGenerationDamage, FilesThatAreNotOfThisKind)
{
    TempFolder folder;
    // A file shorter than the header, and one whose header is right but nothing else is.
    EXPECT_EQ(OpenBytes(folder, std::vector<std::uint8_t>(79, 0)), Result::kNotDataFile);
    const OldFileSample sample;
    const std::vector<std::uint8_t> headerOnly(sample.Bytes().begin(), sample.Bytes().begin() + 80);
    EXPECT_EQ(OpenBytes(folder, headerOnly), Result::kNotDataFile);
    // A FIFO is neither a compound file nor an old file, and must not hang the open.
    const std::string fifo = folder.File("pipe.fdb");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ADatabase db(FixedClock());
    EXPECT_EQ(db.Open(fifo), Result::kNotDataFile);
    // A missing file keeps its system error.
    ADatabase missing(FixedClock());
    EXPECT_EQ(missing.Open(folder.File("none.fdb")), Result::FromErrno(ENOENT));
}
