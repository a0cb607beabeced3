// Damaged and hostile packages: every one gives a clean answer with messages, never a
// crash, a hang or memory beyond the bound of one part.
#include "XlsTestSupport.h"

#include <gtest/gtest.h>


namespace {

using namespace XlsTest;

std::string SmallWorkbookBytes()
{
    const std::string path = TempPath("small.xlsx");
    const std::string document =
        "<?xml version='1.0'?><fendral><export-options><module>{X}</module></export-options>"
        "<currencies><currency><name>R</name><code>RUR</code><precision>2</precision></currency></currencies>"
        "<accounts><account><name>Cash</name><currency>RUR</currency><init-balance>1.0000</init-balance>"
        "</account></accounts><transactions><transaction><date>2009-01-01</date><income><income-account>"
        "<name>Cash</name><currency>RUR</currency></income-account><income-amount>1.0000</income-amount>"
        "</income></transaction></transactions></fendral>";
    EXPECT_EQ(AExportToXLS::WriteWorkbook(document, path), Result::kOk);
    return ReadBytes(path);
}

TRead ReadBytesAsWorkbook(const std::string& bytes, std::uint64_t partLimit = AZipReader::kDefaultPartLimit)
{
    const std::string path = TempPath("fuzz.xlsx");
    WriteBytes(path, bytes);
    return ReadWorkbookFile(path, partLimit);
}

TEST(XlsFuzz, TheIntactWorkbookReads)
{
    const TRead read = ReadBytesAsWorkbook(SmallWorkbookBytes());
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(read.messages.empty());
    EXPECT_NE(read.text.find("<income-amount ref='G2'>1.0000</income-amount>"), std::string::npos) << read.text;
}

TEST(XlsFuzz, TruncatedAtEveryLength)
{
    const std::string bytes = SmallWorkbookBytes();
    const TRead intact = ReadBytesAsWorkbook(bytes);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const TRead read = ReadBytesAsWorkbook(bytes.substr(0, length));
        // Without its central directory a zip cannot be opened at all; the last bytes
        // (the length of the zip's comment) may go missing unnoticed.
        if (read.ok) {
            EXPECT_GE(length + 8, bytes.size()) << length;
            EXPECT_EQ(read.text, intact.text) << length;
        } else {
            EXPECT_FALSE(read.messages.empty()) << length;
        }
    }
}

TEST(XlsFuzz, FlippedBytesAreReported)
{
    const std::string bytes = SmallWorkbookBytes();
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::string damaged = bytes;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
        const TRead read = ReadBytesAsWorkbook(damaged);
        if (read.ok)  // a damaged part is reported; a damaged name may just hide a sheet
            EXPECT_EQ(read.text.rfind("<?xml", 0), 0u) << at;
        else
            EXPECT_FALSE(read.messages.empty()) << at;
    }
}

// The zip's size fields of the entry, in its local header and its central directory entry.
void SetDeclaredSizes(std::string& zip, const std::string& entry, std::uint32_t size)
{
    const auto put = [&](std::size_t at) {
        for (int i = 0; i < 4; ++i)
            zip[at + i] = static_cast<char>(size >> (8 * i));
    };
    for (std::size_t at = zip.find(entry); at != std::string::npos; at = zip.find(entry, at + 1)) {
        if (at >= 30 && zip.compare(at - 30, 4, "PK\x03\x04") == 0)
            put(at - 30 + 22);
        else if (at >= 46 && zip.compare(at - 46, 4, "PK\x01\x02") == 0)
            put(at - 46 + 24);
    }
}

TEST(XlsFuzz, DeclaredSizesThatLie)
{
    for (std::uint32_t size : {0xFFFFFFFFu, 0x7FFFFFFFu, 3u, 0u}) {
        std::string bytes = SmallWorkbookBytes();
        SetDeclaredSizes(bytes, "xl/worksheets/sheet1.xml", size);
        const TRead read = ReadBytesAsWorkbook(bytes, 1 << 20);
        ASSERT_TRUE(read.ok) << size;  // the workbook part is intact
        EXPECT_EQ(read.text.find("<transactions"), std::string::npos) << size;
        EXPECT_NE(read.messages.front().find("\"Transactions\""), std::string::npos) << size;
    }
}

TEST(XlsFuzz, ZipBombIsBoundedByThePartLimit)
{
    // 16 MB of the same byte deflate to a few kilobytes.
    const std::string bomb(16u << 20, 'a');
    AParts parts = Workbook({{"Accounts", "<worksheet><sheetData/></worksheet>"}});
    parts[0].second = "<worksheet><sheetData><row r='1'><c r='A1'><v>" + bomb + "</v></c></row></sheetData></worksheet>";
    const std::string path = TempPath("bomb.xlsx");
    WritePackage(path, parts);
    EXPECT_LT(std::filesystem::file_size(path), 1u << 20);
    const TRead read = ReadWorkbookFile(path, 1 << 20);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.messages.size(), 1u);
    EXPECT_EQ(read.messages.front(), "Лист \"Accounts\" слишком велик.");

    // The same when the entry claims to be small: inflating stops at the limit.
    std::string lying = ReadBytes(path);
    SetDeclaredSizes(lying, "xl/worksheets/sheet1.xml", 100);
    const TRead lied = ReadBytesAsWorkbook(lying, 1 << 20);
    ASSERT_TRUE(lied.ok);
    ASSERT_EQ(lied.messages.size(), 1u);
}

TEST(XlsFuzz, HugeSheetsOfEmptyCells)
{
    // A row full of cells at the last column, and rows far apart: no grid is allocated.
    std::string sheet = "<worksheet><sheetData><row r='1'><c r='A1'><v>Name</v></c><c r='B1'><v>Currency</v></c></row>";
    for (int i = 0; i < 20000; ++i)
        sheet += "<row r='1048576'><c r='XFD1048576'><v>x</v></c></row>";
    sheet += "</sheetData></worksheet>";
    const TRead read = ReadParts(Workbook({{"Accounts", sheet}}));
    ASSERT_TRUE(read.ok);
    // Twenty thousand copies of one row count as one.
    std::size_t accounts = 0;
    for (std::size_t at = read.text.find("<account>"); at != std::string::npos; at = read.text.find("<account>", at + 1))
        ++accounts;
    EXPECT_EQ(accounts, 1u);
}

}  // namespace
