// The currency page's rates view over a pair with 10,000 rates: choosing the view until
// its rows are drawn stays under 100 ms.
#if __has_include(<benchmark/benchmark.h>)
#include "ui/DatabaseModel.h"

#include "BenchProgram.h"
#include "QtBenchMain.h"
#include "database/DatabaseRules.h"
#include "ui/PageFactory.h"
#include "ui/currencies/CurrencyPage.h"
#include "win32api/DynaForm.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace UserInterface;
using namespace Database;

struct ARatesFixture : ABenchProgram {
    ADatabase db;
    std::unique_ptr<Win32API::VelvixForms::ADialogForm> form;
    std::unique_ptr<AAbstractPage> page;

    ARatesFixture()
    {
        db.CreateDefaults();
        db.BeginStep();
        const auto rur = Engine::ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front());
        const auto usd = Engine::ATableImpl<ACurrency>::RefTo(
            db.Currencies().Create(ACurrency{db.NewText(u"Доллар США"), db.NewText(u"USD"), 2}));
        const auto pair = Engine::ATableImpl<ARateHeader>::RefTo(db.RateHeaders().Create(ARateHeader{usd, rur}));
        for (int day = 0; day < 10'000; ++day)
            db.RateValues().Create(ARateValue{pair, Dates::FromYmd(1995, 1, 1) + day, 10'000, 600'000 + day * 10});
        CommitWithRules(db);
        form = std::make_unique<Win32API::VelvixForms::ADialogForm>("{bW900H600{S#-1{b#-2}}}", context.strings.get());
        form->Create();
        form->show();
        page = CreatePage(context, db, APageInfo::kCurrencies);
        page->CreateInto(*form, -2);
        page->Shown();
        QApplication::processEvents();
    }
    Currencies::ACurrencyPage& Page() { return dynamic_cast<Currencies::ACurrencyPage&>(*page); }
};

void ShowTheRates(benchmark::State& state)
{
    static ARatesFixture fixture;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.Page().ShowView(Currencies::ACurrencyPage::AView::Currencies);
        QApplication::processEvents();
        state.ResumeTiming();
        fixture.Page().ShowView(Currencies::ACurrencyPage::AView::Rates);
        QApplication::processEvents();
    }
    if (fixture.Page().Report()->Model().RowCount() != 10'000)
        state.SkipWithError("the rates view does not list the pair's rates");
}
BENCHMARK(ShowTheRates)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
#else
int main() { return 0; }
#endif
