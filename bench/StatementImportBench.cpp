// A bank statement of 10,000 lines brought into books of 100,000 transactions: the OFX read,
// the duplicate check against the account and the category suggestions, and the save as one
// step with balances (target < 2 s). Half the lines repeat transactions the account has.
#include "BenchSupport.h"
#include "DataFileGenerator.h"

#include "core/CodePage.h"
#include "exchange/statements/StatementImport.h"

#include <cstdio>
#include <string>

namespace {

using namespace ExportImport::Statements;

std::string OfxDate(ADate date)
{
    const Dates::AYmd ymd = Dates::ToYmd(date);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", ymd.year, ymd.month, ymd.day);
    return text;
}

std::string Amount(AMoney amount)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%04lld", amount < 0 ? "-" : "", static_cast<long long>(std::llabs(amount) / 10'000),
                  static_cast<long long>(std::llabs(amount) % 10'000));
    return text;
}

// The statement: every other line is a transaction of the account again, the rest are new
// lines under payees the account has seen.
std::string Statement(Database::ADatabase& db, Database::AReference<Database::AAccount> account, std::size_t lines)
{
    std::vector<const Database::ATransaction*> own;
    for (const auto* slot : db.Transactions().Live())
        if (slot->Record().account1 == account)
            own.push_back(&slot->Record());
    std::string ofx = "OFXHEADER:100\nDATA:OFXSGML\nCHARSET:UTF-8\n\n<OFX><STMTRS><CURDEF>RUR<BANKTRANLIST>\n";
    for (std::size_t i = 0; i < lines && !own.empty(); ++i) {
        const Database::ATransaction& t = *own[(i * 7919) % own.size()];
        const bool again = i % 2 == 0;
        const std::string payee = UtilityClasses::Strings::Utf16ToUtf8(db.Text(t.comment));
        ofx += "<STMTTRN><DTPOSTED>" + OfxDate(again ? t.date : t.date + 200) + "<TRNAMT>" +
               Amount(again ? t.amount1 : t.amount1 - 1'234) + "<FITID>L" + std::to_string(i) + "<NAME>" + payee +
               "</STMTTRN>\n";
    }
    return ofx + "</BANKTRANLIST></STMTRS></OFX>\n";
}

}  // namespace

int main()
{
    Database::ADatabase db;
    BenchData::AGeneratorOptions options;
    options.transactions = 100'000;
    BenchData::Generate(db, options);
    std::size_t accountTransactions = 0;
    const auto account = BenchSupport::AccountWithAbout(db, 20'000, accountTransactions);
    const std::string ofx = Statement(db, account, 10'000);
    const std::size_t before = db.Transactions().LiveCount();

    const BenchSupport::ATimer timer;
    const AStatementRead read = ReadOfx(ofx);
    const AStatementPlan plan = PlanStatement(db, account, read.statement);
    const std::size_t written = SaveStatement(db, account, plan, {}, u"Импорт данных");
    const double wall = timer.WallMs(), cpu = timer.CpuSpentMs();

    const bool sound = read.Ok() && read.statement.lines.size() == 10'000 && written == plan.NewCount() &&
                       db.Transactions().LiveCount() == before + written && plan.duplicates >= 4'000;
    std::printf("StatementImportBench: 10,000 lines into an account of %zu (of 100,000 transactions)\n",
                accountTransactions);
    std::printf("  %zu new, %zu already in the file\n", plan.NewCount(), plan.duplicates);
    std::printf("  read, check, suggest and save      %8.1f ms wall %8.1f ms cpu  target < 2000 ms %s\n", wall, cpu,
                sound ? (cpu < 2000 ? "ok" : "MISSED") : "MISSED (wrong result)");
    return sound ? 0 : 1;
}
