// The transactions page over a file of 100,000 transactions: the page chosen with every
// transaction in its filter until its rows are drawn (under 300 ms), the period changed and
// the list refilled (under 200 ms), and one expense added through the dialog until the page
// shows it (under 50 ms).
#if __has_include(<benchmark/benchmark.h>)
#include "ui/DatabaseModel.h"

#include "BenchProgram.h"
#include "DataFileGenerator.h"
#include "QtBenchMain.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/transactions/TransactionsPage.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

using namespace UserInterface;
using Transactions::ATransactionsPage;

struct APageFixture : ABenchProgram {
    Database::ADatabase db;
    std::unique_ptr<Win32API::VelvixForms::ADialogForm> form;
    std::unique_ptr<AAbstractPage> page;
    std::vector<std::uint8_t> everything;  // the settings of a page listing every transaction

    APageFixture()
    {
        BenchData::Generate(db, BenchData::AGeneratorOptions{});
        ATransactionsPage& shown = ShowPage();
        Filters::ATransactionPageFilter filter = shown.Filter();
        filter.period.SelectKind(Filters::APeriodKind::AllTransactions, Filters::TransactionDateRange(db, false),
                                 context.clock().date);
        shown.SetFilter(filter);
        everything = shown.WriteSettings();
    }
    // The page made, put into a window and drawn, as when the user chooses its tab.
    ATransactionsPage& ShowPage(bool withSettings = false)
    {
        page.reset();
        form = std::make_unique<Win32API::VelvixForms::ADialogForm>("{bW900H600{S#-1{b#-2}}}", context.strings.get());
        form->Create();
        form->show();
        page = CreatePage(context, db, Database::APageInfo::kTransactions);
        page->CreateInto(*form, -2);
        if (withSettings)
            page->ReadSettings(everything);
        page->Shown();
        QApplication::processEvents();
        return dynamic_cast<ATransactionsPage&>(*page);
    }
    ATransactionsPage& Shown() { return dynamic_cast<ATransactionsPage&>(*page); }
};

APageFixture& Fixture()
{
    static APageFixture fixture;
    return fixture;
}

void ChooseThePage(benchmark::State& state)
{
    APageFixture& fixture = Fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.ShowPage(true).Report()->Model().RowCount());
    if (fixture.Shown().Report()->Model().RowCount() != static_cast<int>(fixture.db.Transactions().Live().size()))
        state.SkipWithError("the page does not list every transaction");
}
BENCHMARK(ChooseThePage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// Between one year and the whole file, as with the period kind chooser.
void ChangeThePeriod(benchmark::State& state)
{
    APageFixture& fixture = Fixture();
    ATransactionsPage& shown = fixture.ShowPage(true);
    const auto range = Filters::TransactionDateRange(fixture.db, false);
    bool whole = false;
    for (auto _ : state) {
        Filters::ATransactionPageFilter filter = shown.Filter();
        if (whole)
            filter.period.SelectKind(Filters::APeriodKind::AllTransactions, range, fixture.context.clock().date);
        else
            filter.period.SelectKind(Filters::APeriodKind::Year, range, Dates::FromYmd(2020, 1, 1));
        whole = !whole;
        shown.SetFilter(filter);
        QApplication::processEvents();
    }
}
BENCHMARK(ChangeThePeriod)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// Add, an amount typed, OK: timed from the press until the page has redrawn its list.
void AddAnExpense(benchmark::State& state)
{
    APageFixture& fixture = Fixture();
    ATransactionsPage& shown = fixture.ShowPage(true);
    // The page narrowed to one account, whose new transactions the dialog starts with.
    Filters::ATransactionPageFilter filter = shown.Filter();
    filter.accounts = Filters::AAccountSelection({Database::Engine::ATableImpl<Database::AAccount>::RefTo(
        fixture.db.Accounts().Live().front())});
    shown.SetFilter(filter);
    const std::size_t before = fixture.db.Transactions().Live().size();
    const int rowsBefore = shown.Report()->Model().RowCount();
    for (auto _ : state) {
        state.PauseTiming();
        fixture.dialogs.onModal =
            TypeAmountAndPressOk(state, QStringLiteral("Сумма расхода:"), [] { return QStringLiteral("125"); });
        shown.RunCommand(Command::kAdd);
        QApplication::processEvents();
    }
    const std::size_t added = fixture.db.Transactions().Live().size() - before;
    if (added != state.iterations() || fixture.dialogs.messages > 0 ||
        shown.Report()->Model().RowCount() != rowsBefore + static_cast<int>(added))
        state.SkipWithError("the expenses were not added and listed");
}
BENCHMARK(AddAnExpense)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
#else
int main() { return 0; }
#endif
