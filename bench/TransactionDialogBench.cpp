// The transaction dialog over a file of 100,000 transactions on 50 accounts: opening it for
// adding and for changing one transaction, and changing an amount with OK (the check, the
// step, the balance recalculation of the account and the commit). Each stays under 50 ms,
// so that entering transactions never waits on the size of the file.
#if __has_include(<benchmark/benchmark.h>)
#include "ui/DatabaseModel.h"

#include "BenchProgram.h"
#include "DataFileGenerator.h"
#include "QtBenchMain.h"
#include "ui/transactions/TransactionDialog.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

using namespace UserInterface;

struct ADialogFixture : ABenchProgram {
    Database::ADatabase db;
    Database::Engine::ARecordId changed = 0;

    ADialogFixture()
    {
        BenchData::Generate(db, BenchData::AGeneratorOptions{});
        // An executed expense in the middle of the file: its account has thousands of others.
        const auto live = db.Transactions().Live();
        for (std::size_t i = live.size() / 2; i < live.size() && !changed; ++i)
            if (const auto& t = live[i]->Record(); t.executed && !t.account2 && t.amount1 < 0)
                changed = live[i]->id;
    }
};

ADialogFixture& Fixture()
{
    static ADialogFixture fixture;
    return fixture;
}

// Opening and closing: what the user waits for between the command and a dialog to type into.
void OpenDialog(benchmark::State& state, Transactions::ATransactionDialogMode mode)
{
    ADialogFixture& fixture = Fixture();
    fixture.dialogs.onModal = [](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        dialog.reject();
        return dialog.result();
    };
    std::vector<Database::Engine::ARecordId> selection;
    if (mode != Transactions::ATransactionDialogMode::Add)
        selection.push_back(fixture.changed);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Transactions::RunTransactionDialog(nullptr, fixture.context, fixture.db, mode, selection, nullptr));
}
void OpenForAdding(benchmark::State& state) { OpenDialog(state, Transactions::ATransactionDialogMode::Add); }
void OpenForChanging(benchmark::State& state) { OpenDialog(state, Transactions::ATransactionDialogMode::Change); }
BENCHMARK(OpenForAdding)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(OpenForChanging)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// A new amount and OK, timed from the press: the checks, the step and the recalculation.
void ChangeTheAmount(benchmark::State& state)
{
    ADialogFixture& fixture = Fixture();
    int amount = 100;
    bool committed = true;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.dialogs.onModal = TypeAmountAndPressOk(state, QStringLiteral("Сумма расхода:"),
                                                       [&] { return QString::number(++amount); });
        committed = Transactions::RunTransactionDialog(nullptr, fixture.context, fixture.db,
                                                       Transactions::ATransactionDialogMode::Change,
                                                       {fixture.changed}, nullptr) &&
                    committed;
    }
    if (!committed || fixture.dialogs.messages > 0 || !fixture.changed)
        state.SkipWithError("the change was not saved");
}
BENCHMARK(ChangeTheAmount)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
#else
int main() { return 0; }
#endif
