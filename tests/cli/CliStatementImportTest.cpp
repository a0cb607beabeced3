// fendral-cli import of bank statements into one account: each line once, the currency
// checked, damage reported with its line.
#include "cli/CliTestFiles.h"

#include <gtest/gtest.h>

namespace {

using namespace CliTest;

const std::string kQif = "!Type:Bank\nD1/ 5'24\nT-12.50\nPBaker\nN1\n^\nD01/06/2024\nT300\nPSalary\n^\n";
const std::string kOfx =
    "OFXHEADER:100\nDATA:OFXSGML\nCHARSET:1252\n\n<OFX><STMTRS><CURDEF>RUB<BANKTRANLIST>\n"
    "<STMTTRN><DTPOSTED>20240105<TRNAMT>-12.50<FITID>1<NAME>Baker</STMTTRN>\n"
    "<STMTTRN><DTPOSTED>2024xx07<TRNAMT>-1<FITID>2</STMTTRN>\n"
    "<STMTTRN><DTPOSTED>20240108<TRNAMT>-3<FITID>3<NAME>Kiosk</STMTTRN>\n</BANKTRANLIST></STMTRS></OFX>\n";
const std::string kCamtInEuro =
    "<Document><BkToCstmrStmt><Stmt><Acct><Ccy>EUR</Ccy></Acct><Ntry><Amt>1.00</Amt><CdtDbtInd>CRDT</CdtDbtInd>"
    "<BookgDt><Dt>2024-01-02</Dt></BookgDt></Ntry></Stmt></BkToCstmrStmt></Document>";

class CliStatementImport : public ACliTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Run({"new", "books.fend"}).exitCode, 0);
        WriteTextFile(Path("bank.qif"), kQif);
        WriteTextFile(Path("bank.ofx"), kOfx);
        WriteTextFile(Path("euro.xml"), kCamtInEuro);
        WriteTextFile(Path("bank.csv"), "Date,Text,Amount\n2024-01-05,Baker,-12.50\n2024-01-09,Kiosk,-4\n");
    }
    std::size_t Transactions() const
    {
        ADatabase db;
        EXPECT_EQ(db.Open(Path("books.fend")), Result::kOk);
        return db.Transactions().LiveCount();
    }
};

TEST_F(CliStatementImport, EachLineOnceTheCurrencyCheckedAndDamageReported)
{
    struct AStep {
        std::vector<std::string> arguments;
        int exitCode;
        std::string out, err;  // parts that must be there
        std::size_t transactions;
    };
    const std::string account = "--account", cash = "Наличные@RUR";
    const AStep steps[] = {
        {{"bank.qif", "--format", "qif", account, cash}, 0, "2 new lines, 0 already in the file", "", 2},
        {{"bank.qif", "--format", "qif", account, cash}, 0, "0 new lines, 2 already in the file", "", 2},
        // The OFX repeats the baker's line under the same amount and date, damages one line
        // and adds one.
        {{"bank.ofx", "--format", "ofx", account, cash, "--reference-comment", "4"}, 3, "1 new lines, 1 already",
         "bank.ofx:7: a date that cannot be read (DTPOSTED)", 3},
        {{"bank.csv", "--format", "csv", account, cash, "--csv-mapping",
          "date=0;payee=1;amount=2;separator=,;decimal=.;dates=ymd"},
         0, "1 new lines, 1 already", "", 4},
        {{"bank.csv", "--format", "csv", account, cash}, 2, "", "--csv-mapping", 4},
        {{"euro.xml", "--format", "camt", account, cash}, 1, "", "the statement is in EUR", 4},
        {{"bank.qif", "--format", "qif"}, 2, "", "--account NAME@CODE", 4},
        {{"bank.qif", "--format", "qif", account, "Карта@USD"}, 1, "", "no account", 4},
    };
    for (const AStep& step : steps) {
        std::vector<std::string> arguments = {"import", "books.fend"};
        arguments.insert(arguments.end(), step.arguments.begin(), step.arguments.end());
        SCOPED_TRACE(step.arguments.front() + " " + step.arguments.back());
        const ACliRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, step.exitCode) << run.err;
        EXPECT_NE(run.out.find(step.out), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(step.err), std::string::npos) << run.err;
        EXPECT_EQ(Transactions(), step.transactions);
    }
}

}  // namespace
