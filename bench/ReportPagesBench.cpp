// The reports and budget pages over 100,000 transactions on 50 accounts in ten years: after
// a parameter changes, the turnover tree of the ten years and the dynamics of four series by
// month are shown under 300 ms, the balance lines of the 50 accounts under 300 ms, and the
// budget page of 50 articles under 200 ms.
//   ReportPagesBench [--transactions N] [--order date|reverse|random] [benchmark options]
// Other sizes and orders show how the reports grow with the books, against the same targets.
#if __has_include(<benchmark/benchmark.h>)
#include "ui/DatabaseModel.h"

#include "BenchOptions.h"
#include "BenchProgram.h"
#include "QtBenchRun.h"
#include "database/DatabaseRules.h"
#include "ui/PageFactory.h"
#include "ui/budget/BudgetPage.h"
#include "ui/reports/ReportsPage.h"
#include "win32api/DynaForm.h"
#include "win32api/HistCtrl.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace UserInterface;
using namespace Database;

const Filters::ADatePeriod kTenYears(Dates::FromYmd(2015, 1, 1), Dates::FromYmd(2024, 12, 31), std::nullopt);

// The books the command line asks for; set by main before any benchmark runs.
BenchData::AGeneratorOptions& BookOptions()
{
    static BenchData::AGeneratorOptions options;
    return options;
}

struct AReportBooks : ABenchProgram {
    ADatabase db;
    std::unique_ptr<Win32API::VelvixForms::ADialogForm> form;
    std::unique_ptr<AAbstractPage> reports, budget;

    AReportBooks()
    {
        BenchData::Generate(db, BookOptions());
        db.BeginStep();
        // Four series over every account, and 50 budget articles each measured by one of them.
        std::vector<AReference<ASeries>> series;
        for (int n = 0; n < 4; ++n) {
            ASeries record{db.NewText(u"Серия " + std::u16string(1, static_cast<char16_t>(u'1' + n)))};
            record.hue = static_cast<std::uint8_t>(n * 60);
            record.income = n % 2 == 0;
            record.expense = n % 2 == 1;
            series.push_back(Engine::ATableImpl<ASeries>::RefTo(db.Series().Create(record)));
            for (auto* account : db.Accounts().Live())
                db.SeriesAccounts().Create(ASeriesAccountFilter{series.back(), Engine::ATableImpl<AAccount>::RefTo(account)});
        }
        const auto folder = Engine::ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{db.NewText(u"Все"), {}, {}}));
        const auto rub = Engine::ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front());
        for (int n = 0; n < 50; ++n) {
            ABudgetLimit limit;
            limit.item = Engine::ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{{}, series[n % 4], folder}));
            limit.currency = rub;
            limit.year = 2024;
            limit.kind = ABudgetLimit::kPerMonth;
            limit.amount = BenchData::Money(1'000 + n);
            db.BudgetLimits().Create(limit);
        }
        CommitWithRules(db);
        db.ClearHistory();
        form = std::make_unique<Win32API::VelvixForms::ADialogForm>("{bW1000H700{S#-1{b#-2}{b#-3}}}", context.strings.get());
        form->Create();
        form->show();
        reports = CreatePage(context, db, APageInfo::kReports);
        reports->CreateInto(*form, -2);
        budget = CreatePage(context, db, APageInfo::kBudget);
        budget->CreateInto(*form, -3);
        reports->Shown();
        budget->Shown();
        QApplication::processEvents();
    }
    Reports::AReportsPage& Reports() { return dynamic_cast<Reports::AReportsPage&>(*reports); }
    Budget::ABudgetPage& Budget() { return dynamic_cast<Budget::ABudgetPage&>(*budget); }
};

// Made once and never destroyed: its widgets must not outlive the application object,
// which main ends before the statics.
AReportBooks& Books()
{
    static AReportBooks* books = new AReportBooks;
    return *books;
}

// Every iteration moves the period's start by a day, back and forth,
// so each one is a real change of parameters.
void ChangeThePeriod(benchmark::State& state, Reports::AReportParameters parameters)
{
    Reports::AReportsPage& page = Books().Reports();
    int n = 0;
    for (auto _ : state) {
        parameters.period = Filters::ADatePeriod(kTenYears.Start() + (n++ % 2), kTenYears.End(), std::nullopt);
        page.SetParameters(parameters);
        QApplication::processEvents();
    }
    if (!page.Message().isEmpty())
        state.SkipWithError("the report was refused");
    state.SetLabel(std::to_string(BookOptions().transactions) + " transactions, " +
                   BenchOptions::OrderName(BookOptions().order) + " order");
}

Reports::AReportParameters Parameters(Reports::AReportKind kind)
{
    Reports::AReportParameters p = Books().Reports().Parameters();
    p.kind = kind;
    p.bucket = Filters::APeriodKind::Month;
    return p;
}

void TurnoverOfTenYears(benchmark::State& state)
{
    ChangeThePeriod(state, Parameters(Reports::AReportKind::Turnover));
    if (Books().Reports().Report()->Model().RowCount() < 10)
        state.SkipWithError("the turnover tree is empty");
}
BENCHMARK(TurnoverOfTenYears)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void DynamicsOfFourSeriesByMonth(benchmark::State& state)
{
    ChangeThePeriod(state, Parameters(Reports::AReportKind::Dynamics));
    if (Books().Reports().Histogram()->SeriesCount() != 4 || Books().Reports().Histogram()->BucketCount() != 120)
        state.SkipWithError("the histogram does not hold four series by month");
}
BENCHMARK(DynamicsOfFourSeriesByMonth)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BalancesOfFiftyAccounts(benchmark::State& state)
{
    ChangeThePeriod(state, Parameters(Reports::AReportKind::Balances));
}
BENCHMARK(BalancesOfFiftyAccounts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BudgetOfFiftyArticles(benchmark::State& state)
{
    Budget::ABudgetPage& page = Books().Budget();
    Budget::ABudgetParameters parameters = page.Parameters();
    int n = 0;
    for (auto _ : state) {
        parameters.period = Filters::ADatePeriod(Dates::FromYmd(2024, 1, 1) + (n++ % 2), Dates::FromYmd(2024, 12, 31),
                                                 std::nullopt);
        page.SetParameters(parameters);
        QApplication::processEvents();
    }
    if (page.Report()->Model().RowCount() != 51)
        state.SkipWithError("the budget does not show its 50 articles");
}
BENCHMARK(BudgetOfFiftyArticles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    if (!BenchOptions::TakeBookOptions(argc, argv, BookOptions()))
        return 2;
    return RunQtBenchmarks(argc, argv);
}
#else
int main() { return 0; }
#endif
