// Times of whole user changes with the database rules at 100,000 transactions:
//   - adding one expense and recalculating its account (at the end of the history, and
//     in its middle, where about half the account's balances shift);
//   - deleting an account with about 2,000 transactions (clean-up and recalculation);
//   - deleting a currency used by 20 accounts.
// Each change is one committed step; each is undone again so that every repetition
// starts from the same books, and the undo is timed too. Times are CPU times.
//   RulesBench [--transactions N] [--repeat N] [--only NAME-PART]
#include "BenchSupport.h"
#include "DataFileGenerator.h"

#include "database/DatabaseRules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace Database;
using Engine::ATableImpl;

using BenchSupport::AccountWithAbout;
using BenchSupport::Median;
using BenchSupport::Worst;

// The CPU time that work takes.
double Milliseconds(const std::function<void()>& work)
{
    const double start = BenchSupport::CpuMs();
    work();
    return BenchSupport::CpuMs() - start;
}

// Runs the change (which opens the step) with the rules and commits it, then undoes
// it, repeat times; prints step and undo figures.
const char* only = nullptr;  // runs only the measurements whose name contains it

void Measure(ADatabase& db, const char* name, double targetMs, int repeat, const std::function<void()>& change)
{
    if (only && !std::strstr(name, only))
        return;
    std::vector<double> step, rules, undo;
    std::size_t records = 0;
    for (int i = 0; i < repeat; ++i) {
        step.push_back(Milliseconds([&] {
            rules.push_back(Milliseconds([&] {
                change();
                ApplyRules(db);
            }));
            records = db.StepChanged().size() + db.StepDeleted().size() + db.StepInserted().size();
            db.CommitStep();
        }));
        undo.push_back(Milliseconds([&] {
            if (!db.Undo())
                std::abort();
        }));
    }
    const double median = Median(step);
    std::printf("%-44s %7zu records  step %8.2f ms (worst %8.2f; changes and rules %8.2f)  undo %8.2f ms "
                "(worst %8.2f)  target %4.0f ms %s\n",
                name, records, median, Worst(step), Median(rules), Median(undo), Worst(undo), targetMs,
                median <= targetMs ? "ok" : "SLOW");
}

}  // namespace

int main(int argc, char** argv)
{
    BenchData::AGeneratorOptions options;
    int repeat = 7;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--transactions") == 0)
            options.transactions = std::strtoul(argv[i + 1], nullptr, 10);
        else if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--only") == 0)
            only = argv[i + 1];
    }
    ADatabase db;
    const double generateMs = Milliseconds([&] { BenchData::Generate(db, options); });
    std::printf("generated %zu transactions in %.0f ms\n", db.Transactions().LiveCount(), generateMs);

    // A currency of its own for 20 accounts, so that deleting it takes 20 accounts along.
    db.BeginStep();
    const auto pound = ATableImpl<ACurrency>::RefTo(
        db.Currencies().Create(ACurrency{db.NewText(u"Фунт стерлингов"), db.NewText(u"GBP"), 2}));
    std::size_t poundTransactions = 0;
    for (std::size_t i = 1; i <= 20; ++i) {
        auto* account = db.Accounts().Live()[i];
        db.Accounts().Change(account)->currency = pound;
        for (const auto* t : db.Transactions().Live())
            poundTransactions += t->Record().account1 == ATableImpl<AAccount>::RefTo(account);
    }
    db.CommitStep();
    db.ClearHistory();

    std::printf("%zu transactions moved to a currency of 20 accounts\n", poundTransactions);

    Measure(db, "add one expense after the last", 5, repeat,
            [&] { BenchData::BeginOneExpense(db, Dates::FromYmd(2025, 1, 15)); });
    Measure(db, "add one expense in the middle of the history", 5, repeat,
            [&] { BenchData::BeginOneExpense(db, Dates::FromYmd(2020, 1, 15)); });

    std::size_t count = 0;
    const AReference<AAccount> account = AccountWithAbout(db, 2'000, count);
    const std::string deleteAccount = "delete an account with " + std::to_string(count) + " transactions";
    Measure(db, deleteAccount.c_str(), 50, repeat, [&] {
        db.BeginStep();
        Delete(db, db.Accounts().Get(account));
    });
    Measure(db, "delete a currency used by 20 accounts", 200, repeat, [&] {
        db.BeginStep();
        Delete(db, db.Currencies().Get(pound));
    });
    return 0;
}
