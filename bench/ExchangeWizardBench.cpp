// The exchange wizards over 100,000 transactions, through their pages: the export run to the
// interchange document (target < 1 s) and to a workbook (< 3 s), and the import of either,
// read and save together (< 4 s). Each reports as paint_gap_ms the longest time its window
// went without painting its progress while the run was under way (target <= 100 ms).
#if __has_include(<benchmark/benchmark.h>)
#include "ui/DatabaseModel.h"

#include "BenchProgram.h"
#include "DataFileGenerator.h"
#include "QtBenchMain.h"
#include "ui/exchange/ExportWizard.h"
#include "ui/exchange/ImportWizard.h"
#include "ui/exchange/StepProgress.h"
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

namespace {

using namespace UserInterface;
using Win32API::VelvixControls::Reports::AReportWindow;

struct ABooksFixture : ABenchProgram {
    Database::ADatabase db;
    ABooksFixture() { BenchData::Generate(db, {}); }
    std::string File(const char* name) const { return folder.path().toStdString() + "/" + name; }
};

ABooksFixture& Books()
{
    static ABooksFixture fixture;
    return fixture;
}

void Key(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// The first page as the user fills it: module `row` of the list and the file.
bool FillFirstPage(AWizard& wizard, const QString& list, int row, const std::string& file)
{
    wizard.show();
    QApplication::processEvents();
    auto* modules = NamedControl<AReportWindow>(wizard, list);
    auto* edit = NamedControl<QLineEdit>(wizard, QStringLiteral("Файл:"));
    if (!modules || !edit)
        return false;
    modules->setFocus();
    Key(modules, Qt::Key_Home);
    for (int i = 0; i < row; ++i)
        Key(modules, Qt::Key_Down);
    edit->setText(QString::fromStdString(file));
    emit edit->textEdited(edit->text());
    return true;
}

bool Next(AWizard& wizard)
{
    auto* next = NamedControl<QPushButton>(wizard, QStringLiteral("Далее >>"));
    if (!next || !next->isEnabled())
        return false;
    next->click();
    return true;
}

// Exports the books with module `row` (0 the document, 1 the workbook) into `file`.
void Export(benchmark::State& state, int row, const char* file)
{
    ABooksFixture& books = Books();
    qint64 gap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Exchange::AExportWizard wizard(books.context, books.db, "");
        bool filled = FillFirstPage(wizard, QStringLiteral("Модуль экспорта:"), row, books.File(file));
        // Up to the ready page: kinds, dates, accounts (the file exists after the first run).
        while (filled && wizard.Step(wizard.CurrentStep())->TitleId() != 538)
            filled = Next(wizard);
        if (!filled) {
            state.SkipWithError("the export wizard did not reach its ready page");
            return;
        }
        state.ResumeTiming();
        Next(wizard);
        state.PauseTiming();
        gap = std::max(gap, wizard.ProgressStep().LongestPaintGapMs());
        if (wizard.ProgressStep().Percent() != 100 || wizard.IsButtonEnabled(AWizard::kNext)) {
            state.SkipWithError("the export collected messages");
            break;  // the clock must stay stopped after an error
        }
        state.ResumeTiming();
    }
    state.counters["paint_gap_ms"] = static_cast<double>(gap);
}

// Imports what Export wrote into a new data file: the read phase and the save phase.
void Import(benchmark::State& state, int row, const char* file)
{
    ABooksFixture& books = Books();
    qint64 gap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Database::ADatabase db;
        db.CreateDefaults();
        Exchange::AImportWizard wizard(books.context, db, "");
        if (!FillFirstPage(wizard, QStringLiteral("Модуль импорта:"), row, books.File(file))) {
            state.SkipWithError("the import wizard has no first page");
            return;
        }
        state.ResumeTiming();
        Next(wizard);  // the read
        state.PauseTiming();
        const bool clean = Next(wizard) && wizard.Step(wizard.CurrentStep())->TitleId() == 555;
        state.ResumeTiming();
        if (clean)
            Next(wizard);  // the save
        state.PauseTiming();
        gap = std::max({gap, wizard.ReadStep().LongestPaintGapMs(), wizard.SaveStep().LongestPaintGapMs()});
        if (!clean || db.Transactions().LiveCount() != books.db.Transactions().LiveCount()) {
            state.SkipWithError("the import did not save every transaction without messages");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["paint_gap_ms"] = static_cast<double>(gap);
}

void ExportToXml(benchmark::State& state) { Export(state, 0, "books.xml"); }
void ExportToWorkbook(benchmark::State& state) { Export(state, 1, "books.xlsx"); }
void ImportXml(benchmark::State& state) { Import(state, 0, "books.xml"); }
void ImportWorkbook(benchmark::State& state) { Import(state, 1, "books.xlsx"); }

BENCHMARK(ExportToXml)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(ExportToWorkbook)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(ImportXml)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(ImportWorkbook)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
#else
int main() { return 0; }
#endif
