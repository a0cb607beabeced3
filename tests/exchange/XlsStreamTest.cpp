// Worksheets read a run of rows at a time against worksheets read whole: whatever the
// stream delivers must be what the whole read gives, and what it cannot follow it must
// leave to the whole read.
#include "XlsTestSupport.h"

#include "exchange/workbook/XlsWorkbook.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace XlsTest;

struct TSheetRead {
    bool streamed = false;
    std::vector<std::pair<std::int64_t, std::vector<std::pair<int, std::string>>>> rows;
    std::vector<std::string> problems;
};

void Keep(TSheetRead& read, const ASheetRow& row)
{
    std::vector<std::pair<int, std::string>> cells;
    for (const ASheetCell& cell : row.cells)
        cells.emplace_back(cell.column, cell.text);
    read.rows.emplace_back(row.number, std::move(cells));
}

void KeepProblems(TSheetRead& read, const std::vector<ASheetProblem>& problems)
{
    for (const ASheetProblem& problem : problems)
        read.problems.push_back(problem.text);
}

// The sheet read whole, and streamed (when the stream could follow it).
std::pair<TSheetRead, TSheetRead> ReadBothWays(const std::string& worksheet)
{
    const std::string path = TempPath("stream.xlsx");
    WritePackage(path, Workbook({{"Accounts", worksheet}}));
    AWorkbookError error;
    auto workbook = AWorkbookReader::Open(path, error);
    EXPECT_TRUE(workbook);
    if (!workbook)
        return {};
    const ASheetEntry& sheet = workbook->Sheets().front();
    TSheetRead whole, streamed;
    std::vector<ASheetProblem> problems;
    for (const ASheetRow& row : workbook->ReadSheet(sheet, problems))
        Keep(whole, row);
    KeepProblems(whole, problems);
    problems.clear();
    streamed.streamed = workbook->StreamSheet(sheet, problems, [&](const ASheetRow& row) { Keep(streamed, row); });
    KeepProblems(streamed, problems);
    return {whole, streamed};
}

std::string LargeWorksheet(std::size_t rows)
{
    std::vector<std::vector<std::string>> cells{{"A1| t='str'|Name", "B1| t='str'|Currency", "C1||Initial balance"}};
    for (std::size_t i = 2; i <= rows; ++i) {
        const std::string n = std::to_string(i);
        cells.push_back({"A" + n + "| t='str'|Account &amp; " + n, "B" + n + "| t='str'|RUR", "C" + n + "| s='3'|" + n});
    }
    return Worksheet(cells);
}

void ExpectSameRead(const std::string& worksheet, const std::string& label, bool mustStream)
{
    const auto [whole, streamed] = ReadBothWays(worksheet);
    if (mustStream)
        EXPECT_TRUE(streamed.streamed) << label;
    if (streamed.streamed) {
        EXPECT_EQ(streamed.rows, whole.rows) << label;
        EXPECT_EQ(streamed.problems, whole.problems) << label;
    }
}

TEST(XlsStream, LayoutsTheStreamFollows)
{
    const std::string rows = "<row r='1'><c r='A1' t='str'><v>Name</v></c></row>"
                             "<row r='2'><c r='A2' t='str'><v>a&gt;b</v></c></row>";
    const std::string head = "<?xml version='1.0'?><worksheet xmlns='urn:x'>";
    const struct {
        const char* label;
        std::string worksheet;
    } cases[] = {
        {"plain", head + "<sheetData>" + rows + "</sheetData></worksheet>"},
        {"prefixed names", "<x:worksheet xmlns:x='urn:x'><x:cols/><x:sheetData><x:row r='1'><x:c r='A1' t='str'>"
                           "<x:v>Name</x:v></x:c></x:row></x:sheetData></x:worksheet>"},
        {"comments, instructions and CDATA", head + "<!-- <sheetData> --><sheetData><?pi a='1'?>" + rows +
                                                 "<!-- </row> --><row r='3'><c r='A3' t='str'><v><![CDATA[</c>]]></v>"
                                                 "</c></row></sheetData></worksheet>"},
        {"'>' and '/>' in attribute values", head + "<sheetData><row r='1' x='a>b' y=\"/>\"><c r='A1' t='str'>"
                                                    "<v>Name</v></c></row></sheetData></worksheet>"},
        {"white space between rows", head + "<sheetData>\r\n  " + rows + "\n</sheetData >\n</worksheet>"},
        {"empty sheet data", head + "<sheetData/></worksheet>"},
        {"elements after the sheet data", head + "<sheetData>" + rows + "</sheetData><mergeCells/></worksheet>"},
        {"cells out of order in a row", head + "<sheetData><row r='1'><c r='B1' t='str'><v>b</v></c>"
                                               "<c r='A1' t='str'><v>a</v></c></row></sheetData></worksheet>"},
        {"rows without numbers", head + "<sheetData><row><c t='str'><v>a</v></c></row><row><c><v>1</v></c></row>"
                                        "</sheetData></worksheet>"},
        {"bad cell references", head + "<sheetData><row r='1'><c r='A9' t='str'><v>a</v></c></row>"
                                       "<row r='x'/></sheetData></worksheet>"},
        {"many runs", LargeWorksheet(1000)},
    };
    for (const auto& c : cases)
        ExpectSameRead(c.worksheet, c.label, true);
}

TEST(XlsStream, WhatTheStreamLeavesToTheWholeRead)
{
    const std::string head = "<worksheet><sheetData>";
    const struct {
        const char* label;
        std::string worksheet;
    } cases[] = {
        {"rows out of order", LargeWorksheet(600)},
        {"a document type", "<!DOCTYPE w><worksheet><sheetData/></worksheet>"},
        {"no sheet data", "<worksheet><cols/></worksheet>"},
        {"another root", "<sheet><sheetData><row r='1'/></sheetData></sheet>"},
        {"a NUL byte between rows", head + "<row r='1'/>" + std::string(1, '\0') + "<row r='2'/></sheetData></worksheet>"},
        {"unclosed sheet data", head + "<row r='1'/>"},
        {"wrong closing name", head + "<row r='1'/></sheetDota></worksheet>"},
    };
    for (const auto& c : cases) {
        std::string worksheet = c.worksheet;
        if (std::string_view(c.label) == "rows out of order") {
            // Row 300 again after row 600.
            const std::size_t at = worksheet.find("<row r='300'>");
            const std::string row = worksheet.substr(at, worksheet.find("</row>", at) + 6 - at);
            worksheet.insert(worksheet.find("</sheetData>"), row);
        }
        EXPECT_FALSE(ReadBothWays(worksheet).second.streamed) << c.label;
    }
}

TEST(XlsStream, DamagedWorksheetsNeverDisagree)
{
    const std::string worksheet = LargeWorksheet(300);
    std::mt19937 random(20261207);
    for (std::size_t length = 0; length < worksheet.size(); length += 997)
        ExpectSameRead(worksheet.substr(0, length), "cut at " + std::to_string(length), false);
    const std::string bytes = "<>/'\"=!?-[]x \0";
    for (int round = 0; round < 60; ++round) {
        std::string damaged = worksheet;
        for (int flips = 0; flips < 3; ++flips)
            damaged[random() % damaged.size()] = bytes[random() % bytes.size()];
        ExpectSameRead(damaged, "round " + std::to_string(round), false);
    }
}

// The interchange text written while the sheets stream is the text of the whole
// document: a sheet out of order makes every sheet be read whole.
TEST(XlsStream, StreamedTextEqualsTheWholeDocument)
{
    std::vector<std::vector<std::string>> transactions{
        {"A1| t='str'|Date", "B1| t='str'|Income account", "C1| t='str'|Income amount"}};
    for (int i = 2; i <= 700; ++i) {
        const std::string n = std::to_string(i);
        transactions.push_back({"A" + n + "| s='4'|" + std::to_string(40000 + i), "B" + n + "| t='str'|RUR - Cash",
                                "C" + n + "| s='3'|" + n + ".5"});
    }
    const std::string accounts = Worksheet({{"A1| t='str'|Name", "B1| t='str'|Currency"}, {"A2| t='str'|Cash", "B2| t='str'|RUR"}});
    const std::string currencies = Worksheet({{"A1| t='str'|Name", "B1| t='str'|Code"},
                                              {"A2| t='str'|Рубль", "B2| t='str'|RUR"},
                                              {"A3| t='str'|Dollar", "B3| t='str'|USD"}});
    // The same currencies with the rows swapped (their references put them in place).
    std::string swapped = currencies;
    const std::size_t row2 = swapped.find("<row r='2'>"), row3 = swapped.find("<row r='3'>");
    const std::size_t end = swapped.find("</sheetData>");
    const std::string second = swapped.substr(row2, row3 - row2), third = swapped.substr(row3, end - row3);
    swapped.replace(row2, end - row2, third + second);

    const TRead streamed = ReadParts(Workbook(
        {{"Currencies", currencies}, {"Accounts", accounts}, {"Transactions", Worksheet(transactions)}}));
    const TRead whole = ReadParts(Workbook(
        {{"Currencies", swapped}, {"Accounts", accounts}, {"Transactions", Worksheet(transactions)}}));
    ASSERT_TRUE(streamed.ok);
    EXPECT_TRUE(streamed.messages.empty());
    ASSERT_EQ(whole.messages.size(), 1u);
    EXPECT_NE(whole.messages[0].find("не по порядку"), std::string::npos);
    EXPECT_EQ(streamed.text, whole.text);
    EXPECT_NE(streamed.text.find("<income-amount ref='C700'>700.5000</income-amount>"), std::string::npos);
}

}  // namespace
