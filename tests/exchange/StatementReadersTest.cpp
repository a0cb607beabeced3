// The bank statement readers over hand-written statements with each format's quirks, and
// damaged ones; random damage is the statement fuzz target's.
#include "exchange/statements/CsvStatement.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

namespace {

using namespace ExportImport::Statements;

// The sample statements are the seeds of the statement fuzz target.
std::string Sample(const std::string& name)
{
    std::ifstream in(std::string(FENDRAL_TEST_DATA) + "/../../fuzz/corpus/Statements/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string kOfxSgml = Sample("ofx1-cp1251.ofx");  // CHARSET:1251, closing tags left out
const std::string kOfxXml = Sample("ofx2.ofx");
const std::string kQif = Sample("bank.qif");   // a BOM, "1/ 5'24", U and T, splits, a dotted date
const std::string kCamt = Sample("camt053.xml");  // a pending entry, a batch of two

struct AExpectedLine {
    int year, month, day;
    AMoney amount;
    std::u16string payee;
    std::string reference;
};

struct ASample {
    const char* name;
    std::function<AStatementRead(std::string_view)> read;
    const std::string& bytes;
    std::string account, currency;
    std::vector<AExpectedLine> lines;
};

const ASample kSamples[] = {
    {"OFX 1 (SGML, CP1251)", ReadOfx, kOfxSgml, "40817810000000000001", "RUB",
     {{2024, 1, 5, -12'345'000, u"Магазин & Ко", "A1"}, {2024, 1, 10, 500'000'000, u"Зарплата", "A2"}}},
    {"OFX 2 (XML, card)", ReadOfx, kOfxXml, "4111", "EUR", {{2024, 3, 1, -99'900, u"Café", "X-1"}}},
    {"QIF (BOM, date forms, splits)", [](std::string_view b) { return ReadQif(b); }, kQif, "", "",
     {{2024, 1, 5, -12'345'600, u"Grocer", "1001"},
      {2024, 1, 6, -200'000, u"Pharmacy", ""},
      {2024, 1, 12, 3'000'000, u"Salary", ""}}},
    {"CAMT.053 (pending skipped, a batch)", ReadCamt053, kCamt, "DE02120300000000202051", "EUR",
     {{2024, 2, 1, -250'000, u"Stadtwerke", "R1"},
      {2024, 2, 5, -125'000, u"", "B7/1"},
      {2024, 2, 5, -175'000, u"", "B7-2"}}},
};

TEST(StatementReaders, HandWrittenStatementsReadLineByLine)
{
    for (const ASample& sample : kSamples) {
        SCOPED_TRACE(sample.name);
        const AStatementRead read = sample.read(sample.bytes);
        EXPECT_TRUE(read.Ok());
        EXPECT_EQ(read.statement.accountId, sample.account);
        EXPECT_EQ(read.statement.currency, sample.currency);
        ASSERT_EQ(read.statement.lines.size(), sample.lines.size());
        for (std::size_t i = 0; i < sample.lines.size(); ++i) {
            const AExpectedLine& expected = sample.lines[i];
            const AStatementLine& line = read.statement.lines[i];
            EXPECT_EQ(line.date, Dates::FromYmd(expected.year, expected.month, expected.day)) << i;
            EXPECT_EQ(line.amount, expected.amount) << i;
            EXPECT_EQ(line.payee, expected.payee) << i;
            EXPECT_EQ(line.reference, expected.reference) << i;
        }
    }
}

TEST(StatementReaders, QuirksOfEachFormatKeepTheirDetails)
{
    const AStatementRead ofx = ReadOfx(kOfxSgml);
    ASSERT_EQ(ofx.statement.lines.size(), 2u);
    EXPECT_EQ(ofx.statement.lines[0].memo, u"Карта *1234");
    EXPECT_EQ(ofx.statement.lines[0].sourceLine, 11u);

    const AStatementRead qif = ReadQif(kQif);
    ASSERT_EQ(qif.statement.lines.size(), 3u);
    EXPECT_EQ(qif.statement.lines[0].category, u"Food");
    ASSERT_EQ(qif.statement.lines[1].splits.size(), 2u);
    EXPECT_EQ(qif.statement.lines[1].splits[0].category, u"Health");
    EXPECT_EQ(qif.statement.lines[1].splits[0].amount, -150'000);
    EXPECT_EQ(qif.statement.lines[1].splits[0].memo, u"pills");
    // Day first, as European banks write it.
    EXPECT_EQ(ReadQif(kQif, true).statement.lines[1].date, Dates::FromYmd(2024, 6, 1));

    const AStatementRead camt = ReadCamt053(kCamt);
    ASSERT_EQ(camt.statement.lines.size(), 3u);
    EXPECT_EQ(camt.statement.lines[0].valueDate, Dates::FromYmd(2024, 2, 2));
    EXPECT_EQ(camt.statement.lines[0].memo, u"Strom Januar");
    EXPECT_EQ(camt.statement.lines[1].memo, u"Teil 1");
}

TEST(StatementReaders, ValuesInTheFormsBanksWrite)
{
    struct AAmount {
        const char* text;
        bool ok;
        AMoney amount;
    };
    for (const AAmount& c : std::vector<AAmount>{{"-1,234.56", true, -12'345'600}, {"1234,5", true, 12'345'000},
                                                 {"+12", true, 120'000}, {"1 000,25", true, 10'002'500},
                                                 {"0.12345", false, 0}, {"12a", false, 0}, {"-", false, 0},
                                                 {"", false, 0}}) {
        AMoney amount = 0;
        EXPECT_EQ(Values::ParseAmount(c.text, amount), c.ok) << c.text;
        if (c.ok)
            EXPECT_EQ(amount, c.amount) << c.text;
    }
    struct ADateCase {
        const char* text;
        bool dayFirst;
        int year, month, day;  // 0: refused
    };
    for (const ADateCase& c : std::vector<ADateCase>{{"1/ 5'24", false, 2024, 1, 5}, {"01/05/2024", false, 2024, 1, 5},
                                                     {"01/05/2024", true, 2024, 5, 1}, {"5.1.99", false, 1999, 1, 5},
                                                     {"2024-02-29", false, 2024, 2, 29}, {"2023-02-29", false, 0, 0, 0},
                                                     {"13/01/2024", false, 0, 0, 0}, {"1/5", false, 0, 0, 0}}) {
        ADate date = 0;
        EXPECT_EQ(Values::ParseQifDate(c.text, c.dayFirst, date), c.year != 0) << c.text;
        if (c.year != 0)
            EXPECT_EQ(date, Dates::FromYmd(c.year, c.month, c.day)) << c.text;
    }
}

TEST(StatementReaders, DamagedStatementsGiveProblemsWithTheirPlace)
{
    const AStatementRead badDate = ReadOfx("<OFX><STMTTRN><DTPOSTED>2024-13-45<TRNAMT>1</STMTTRN></OFX>");
    ASSERT_EQ(badDate.problems.size(), 1u);
    EXPECT_EQ(badDate.problems[0].kind, AProblemKind::BadDate);
    EXPECT_EQ(badDate.problems[0].where, "DTPOSTED");
    EXPECT_TRUE(badDate.statement.lines.empty());

    const AStatementRead cut = ReadQif("!type:bank\nD1/5/24\nT-1\n^\nD1/6/24\nT-2\n");
    EXPECT_EQ(cut.statement.lines.size(), 1u);
    ASSERT_EQ(cut.problems.size(), 1u);
    EXPECT_EQ(cut.problems[0].kind, AProblemKind::Truncated);
    EXPECT_EQ(cut.problems[0].line, 5u);

    for (const auto& read : {ReadOfx("no tags here"), ReadQif("D1/5/24\n^\n"), ReadCamt053("<Document/>")})
        EXPECT_EQ(read.problems.at(0).kind, AProblemKind::NotAStatement);

}

}  // namespace

namespace {

TEST(CsvStatement, MappedColumnsWithQuotedSeparatorsABomAndDebitCreditColumns)
{
    const std::string semicolons = "\xEF\xBB\xBF" "Дата;Описание;Сумма;Валюта;Ссылка\r\n"
                                   "05.01.2024;\"Магазин; \"\"Ромашка\"\"\";-1 234,50;RUB;R1\r\n"
                                   "06.01.2024;Зарплата;50000;RUB;R2\r\n"
                                   "xx.01.2024;Битая;1;RUB;R3\r\n";
    const auto dayFirst = ParseCsvMapping("date=0;payee=1;amount=2;currency=3;reference=4");
    ASSERT_TRUE(dayFirst);
    const AStatementRead read = ReadCsvStatement(semicolons, *dayFirst);
    ASSERT_EQ(read.statement.lines.size(), 2u);
    EXPECT_EQ(read.statement.lines[0].date, Dates::FromYmd(2024, 1, 5));
    EXPECT_EQ(read.statement.lines[0].amount, -12'345'000);
    EXPECT_EQ(read.statement.lines[0].payee, u"Магазин; \"Ромашка\"");
    EXPECT_EQ(read.statement.lines[0].reference, "R1");
    EXPECT_EQ(read.statement.lines[1].amount, 500'000'000);
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems[0].line, 4u);

    const std::string commas = "skip me\nskip me too\n2024-03-01,Rent,1200.00,,\n2024-03-02,Refund,,15.5,\n";
    const auto split = ParseCsvMapping("date=0;payee=1;debit=2;credit=3;separator=,;decimal=.;dates=ymd;skip=2");
    ASSERT_TRUE(split);
    const AStatementRead both = ReadCsvStatement(commas, *split);
    ASSERT_EQ(both.statement.lines.size(), 2u);
    EXPECT_EQ(both.statement.lines[0].amount, -12'000'000);
    EXPECT_EQ(both.statement.lines[1].amount, 155'000);

    for (const char* bad : {"", "amount=2", "date=0", "date=x;amount=1", "date=0;debit=1", "date=0;amount=1;dates=qq"})
        EXPECT_FALSE(ParseCsvMapping(bad)) << bad;
}

}  // namespace
