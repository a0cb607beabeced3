// Times of the analysis at 100,000 transactions over ten years on 50 accounts:
//   - the turnover report for one year and for ten years;
//   - the turnover dynamics of 4 series by month over ten years;
//   - the balance lines of all 50 accounts over ten years;
//   - the budget of 50 articles for a year.
// Each figure is the median CPU time of several runs.
//   AnalysisBench [--transactions N] [--repeat N] [--only NAME-PART]
#include "BenchSupport.h"
#include "DataFileGenerator.h"

#include "analysis/BalanceLines.h"
#include "analysis/Budget.h"
#include "analysis/Dynamics.h"
#include "analysis/Turnover.h"
#include "core/LocaleInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using namespace Database;
using Engine::ATableImpl;
namespace Reports = UserInterface::Reports;
namespace Budget = UserInterface::Budget;
using UserInterface::Filters::AAccountSelection;
using UserInterface::Filters::ADatePeriod;
using UserInterface::Filters::APeriodKind;
using BenchSupport::CpuMs;

const char* only = nullptr;  // runs only the measurements whose name contains it

// Runs work repeat times and prints the median against the target; `what` describes the
// result of the last run, so the work can't be optimised away.
void Measure(const char* name, double targetMs, int repeat, const std::function<std::size_t()>& work)
{
    if (only && !std::strstr(name, only))
        return;
    std::vector<double> ms;
    std::size_t what = 0;
    for (int i = 0; i < repeat; ++i) {
        const double start = CpuMs();
        what = work();
        ms.push_back(CpuMs() - start);
    }
    const double median = BenchSupport::Median(ms);
    std::printf("%-48s %8zu items  %8.2f ms (worst %8.2f)  target %4.0f ms %s\n", name, what, median,
                BenchSupport::Worst(ms), targetMs, median <= targetMs ? "ok" : "SLOW");
}

// Four series over the accounts, the second one restricted to two expense groups, and
// fifty budget articles (one per series of single accounts) with plans for the year.
struct AAnalysisSetup {
    std::vector<AReference<ASeries>> chartSeries;
};

AAnalysisSetup CreateSeriesAndBudget(ADatabase& db, int year)
{
    AAnalysisSetup setup;
    db.BeginStep();
    const auto rur = ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front());
    const auto& accounts = db.Accounts().Live();
    const AReference<ACategory> expenseRoot = db.Classifiers().Live().front()->Record().root2;
    ACategory probe;
    probe.parent = expenseRoot;
    const auto groups = db.Categories().EqualRange(2, probe);
    for (int s = 0; s < 4; ++s) {
        ASeries series;
        series.name = db.NewText(u"Серия " + std::u16string(1, static_cast<char16_t>(u'1' + s)));
        series.hue = static_cast<std::uint8_t>(s * 60);
        series.income = series.expense = series.transferCredits = series.transferDebits = 1;
        const auto ref = ATableImpl<ASeries>::RefTo(db.Series().Create(series));
        for (std::size_t a = static_cast<std::size_t>(s); a < accounts.size(); a += 2)
            db.SeriesAccounts().Create(ASeriesAccountFilter{ref, ATableImpl<AAccount>::RefTo(accounts[a])});
        if (s == 1)
            for (std::size_t g = 0; g < 2 && g < groups.size(); ++g)
                db.SeriesNodes().Create(ASeriesNodeFilter{ref, ATableImpl<ACategory>::RefTo(groups[g])});
        setup.chartSeries.push_back(ref);
    }
    const auto folder = ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{db.NewText(u"Все"), {}, {}}));
    for (std::size_t a = 0; a < 50 && a < accounts.size(); ++a) {
        ASeries series;
        series.name = db.NewText(u"Статья " + std::u16string(1, static_cast<char16_t>(u'А' + a % 32)));
        series.hue = 0;
        series.expense = 1;
        const auto ref = ATableImpl<ASeries>::RefTo(db.Series().Create(series));
        db.SeriesAccounts().Create(ASeriesAccountFilter{ref, ATableImpl<AAccount>::RefTo(accounts[a])});
        const auto item = ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{{}, ref, folder}));
        ABudgetLimit limit;
        limit.item = item;
        limit.currency = rur;
        limit.kind = a % 2 ? ABudgetLimit::kPerMonth : ABudgetLimit::kEachMonth;
        limit.amount = BenchData::Money(10'000);
        for (int m = 0; m < 12; ++m)
            limit.months[m] = BenchData::Money(1'000 * (m + 1));
        limit.year = static_cast<std::uint32_t>(year);
        db.BudgetLimits().Create(limit);
    }
    db.CommitStep();
    db.ClearHistory();
    return setup;
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
    const double start = CpuMs();
    BenchData::Generate(db, options);
    std::printf("generated %zu transactions in %.0f ms\n", db.Transactions().LiveCount(), CpuMs() - start);
    const int lastYear = options.firstYear + options.years - 1;
    const AAnalysisSetup setup = CreateSeriesAndBudget(db, lastYear);
    const UtilityClasses::Strings::AStrings strings(UtilityClasses::Strings::RussianLocale());

    std::vector<AReference<AAccount>> allAccounts;
    for (const auto* account : db.Accounts().Live())
        allAccounts.push_back(ATableImpl<AAccount>::RefTo(account));
    const ADatePeriod lastYearPeriod(Dates::FromYmd(lastYear, 1, 1), Dates::FromYmd(lastYear, 12, 31),
                                     APeriodKind::Year);
    const ADatePeriod tenYears(Dates::FromYmd(options.firstYear, 1, 1), Dates::FromYmd(lastYear, 12, 31),
                               std::nullopt);

    Reports::AReportParameters turnover;
    turnover.currency = ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front());
    turnover.accounts = AAccountSelection(allAccounts);
    turnover.grouping = ATableImpl<AClassifier>::RefTo(db.Classifiers().Live().front());
    turnover.period = lastYearPeriod;
    Measure("turnover report, one year", 50, repeat,
            [&] { return Reports::ComputeTurnover(db, strings, turnover).nodes.size(); });
    turnover.period = tenYears;
    Measure("turnover report, ten years", 200, repeat,
            [&] { return Reports::ComputeTurnover(db, strings, turnover).nodes.size(); });

    Reports::AReportParameters dynamics = turnover;
    dynamics.kind = Reports::AReportKind::Dynamics;
    dynamics.bucket = APeriodKind::Month;
    dynamics.series = setup.chartSeries;
    Measure("dynamics of 4 series by month, ten years", 200, repeat, [&] {
        const auto report = Reports::ComputeDynamics(db, dynamics);
        return report.series.size() * report.boundaries.size();
    });

    Reports::AReportParameters balances = turnover;
    balances.kind = Reports::AReportKind::Balances;
    Measure("balance lines of 50 accounts, ten years", 300, repeat, [&] {
        const auto report = Reports::ComputeBalances(db, balances);
        return report.executed.points.size() + report.full.points.size();
    });

    Budget::ABudgetParameters budget;
    budget.period = lastYearPeriod;
    budget.currency = turnover.currency;
    Measure("budget of 50 articles, one year", 200, repeat,
            [&] { return Budget::ComputeBudget(db, budget).rows.size(); });
    return 0;
}
