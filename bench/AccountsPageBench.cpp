// The accounts page over a file of 50 accounts, 2,000 categories and 100,000 transactions: an
// account's comment changed until the page has refilled its list (under 100 ms), and an account
// with its 2,000 transactions deleted: clean-up, balances and commit (under 200 ms).
#if __has_include(<benchmark/benchmark.h>)
#include "ui/DatabaseModel.h"

#include "BenchProgram.h"
#include "DataFileGenerator.h"
#include "QtBenchMain.h"
#include "database/AccountCommands.h"
#include "ui/PageFactory.h"
#include "ui/accounts/AccountsPage.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace UserInterface;
using namespace Database;
using Engine::ATableImpl;

constexpr std::size_t kCategories = 2000;

struct APageFixture : ABenchProgram {
    ADatabase db;
    std::unique_ptr<Win32API::VelvixForms::ADialogForm> form;
    std::unique_ptr<AAbstractPage> page;

    APageFixture()
    {
        BenchData::Generate(db, BenchData::AGeneratorOptions{});
        const AReference<ACategory> root = db.Classifiers().Live().front()->Record().root2;
        db.BeginStep();
        for (std::size_t n = db.Categories().LiveCount(); n < kCategories; ++n)
            BenchData::Detail::AddCategory(db, u"Статья " + std::u16string(1, static_cast<char16_t>(u'A' + n % 26)), root);
        db.CommitStep();
        db.ClearHistory();
        form = std::make_unique<Win32API::VelvixForms::ADialogForm>("{bW900H600{S#-1{b#-2}}}", context.strings.get());
        form->Create();
        form->show();
        page = CreatePage(context, db, APageInfo::kAccounts);
        page->CreateInto(*form, -2);
        page->Shown();
        QApplication::processEvents();
    }
    Accounts::AAccountsPage& Page() { return dynamic_cast<Accounts::AAccountsPage&>(*page); }
    // The account with the most transactions.
    Engine::ASlot<AAccount>& Busiest()
    {
        Engine::ASlot<AAccount>* busiest = nullptr;
        std::size_t most = 0;
        for (auto* slot : db.Accounts().Live())
            if (const std::size_t n = CountTransactionsOf(db, {ATableImpl<AAccount>::RefTo(slot)}); n > most) {
                most = n;
                busiest = slot;
            }
        return *busiest;
    }
};

APageFixture& Fixture()
{
    static APageFixture fixture;
    return fixture;
}

void RefreshAfterAChange(benchmark::State& state)
{
    APageFixture& fixture = Fixture();
    Engine::ASlot<AAccount>& account = *fixture.db.Accounts().Live().back();
    const AReference<AAccountFolder> plan = fixture.Page().Plan();
    int n = 0;
    for (auto _ : state) {
        const AAccount& stored = account.Record();
        const AAccountInput input{fixture.db.Text(stored.name), stored.currency, stored.initialBalance,
                                  u"примечание " + std::u16string(1, static_cast<char16_t>(u'0' + n++ % 10)), {}};
        if (ChangeAccount(fixture.db, account, plan, input, u"Изменить счёт") != AChangeOutcome::Changed)
            state.SkipWithError("the account did not change");
        QApplication::processEvents();
    }
    // The list must show the last comment, or nothing was refilled.
    auto& model = fixture.Page().Report()->Model();
    model.RebuildIfStale();
    bool shown = false;
    for (int row = 0; row < model.RowCount(); ++row)
        shown = shown || (model.Row(row)->RecordId() == account.id &&
                          model.Row(row)->Text(4) == fixture.db.Text(account.Record().comment));
    if (!shown)
        state.SkipWithError("the page did not show the change");
}
BENCHMARK(RefreshAfterAChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// Each deletion is undone, untimed, so every round deletes the same 2,000 transactions.
void DeleteAnAccount(benchmark::State& state)
{
    APageFixture& fixture = Fixture();
    Engine::ASlot<AAccount>& account = fixture.Busiest();
    const auto ref = ATableImpl<AAccount>::RefTo(&account);
    const std::size_t transactions = CountTransactionsOf(fixture.db, {ref});
    for (auto _ : state) {
        DeleteAccounts(fixture.db, {ref}, u"Удалить счёт");
        state.PauseTiming();
        if (account.Exists())
            state.SkipWithError("the account was not deleted");
        fixture.db.Undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["transactions"] = static_cast<double>(transactions);
}
BENCHMARK(DeleteAnAccount)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
#else
int main() { return 0; }
#endif
