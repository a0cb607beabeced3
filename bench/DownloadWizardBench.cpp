// The rate download wizard with the test source against a local server: step 4 filled
// with 200 downloaded currencies (< 50 ms from Next until the list is drawn), and a daily
// download of 1,000 resources, during which the window's thread never waits more than
// 50 ms between two turns of its event loop (frame_gap_ms).
#if __has_include(<benchmark/benchmark.h>)
#include "ui/DatabaseModel.h"

#include "../tests/rates/LocalHttpServer.h"
#include "BenchProgram.h"
#include "QtBenchMain.h"
#include "core/CodePage.h"
#include "ui/currencies/DownloadWizard.h"
#include "win32api/AWizard.h"
#include "win32api/DateCtrl.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QKeyEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

namespace {

using namespace UserInterface;

void PressKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

struct AWizardBench : ABenchProgram {
    ALocalHttpServer server;
    Database::ADatabase db;
    std::unique_ptr<Currencies::ADownloadCRImpl> wizard;

    AWizardBench()
    {
        ::setenv("FENDRAL_TEST_RATES_HOST", server.Host().c_str(), 1);
        db.CreateDefaults();
    }
    void Open()
    {
        wizard = std::make_unique<Currencies::ADownloadCRImpl>(context, db, FENDRAL_PLUGIN_DIR);
        wizard->show();
        QApplication::processEvents();
        auto* sources = NamedControl<Win32API::VelvixControls::Reports::AReportWindow>(*wizard, QStringLiteral("Источник данных:"));
        sources->setFocus();
        PressKey(sources, Qt::Key_Home);
        auto* author = NamedControl<QLineEdit>(*wizard, QStringLiteral("Автор библиотеки загрузки:"));
        for (int i = 0; i < 5 && author && author->text() != QStringLiteral("Fendral tests"); ++i)
            PressKey(sources, Qt::Key_Down);
    }
    void Next() { NamedControl<QPushButton>(*wizard, QStringLiteral("Далее >>"))->click(); }
    bool WaitForDownload()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!wizard->IsButtonEnabled(AWizard::kNext) && std::chrono::steady_clock::now() < deadline)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        return wizard->IsButtonEnabled(AWizard::kNext);
    }
};

std::string Cp1251(std::u16string_view text)
{
    std::string bytes;
    (void)UtilityClasses::Strings::Utf16ToMultiByte(text, 1251, bytes);
    return bytes;
}

void FillTheChoiceOf200Currencies(benchmark::State& state)
{
    AWizardBench bench;
    std::u16string body;
    for (int i = 0; i < 200; ++i) {
        const std::u16string code = {char16_t(u'A' + i / 26 % 26), char16_t(u'A' + i % 26), u'X'};
        body += code + u";Валюта " + code + u";" + char16_t(u'1' + i % 9) + u"0;1\n";
    }
    bench.server.Answer("/rates/2025-03-01", {200, Cp1251(body)});
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.Open();
        bench.Next();
        bench.Next();
        if (!bench.WaitForDownload()) {
            state.ResumeTiming();
            break;
        }
        state.ResumeTiming();
        bench.Next();
        QApplication::processEvents();
        state.PauseTiming();
        auto* list = NamedControl<Win32API::VelvixControls::Reports::AReportWindow>(
            *bench.wizard, QStringLiteral("Выберите, какие валюты и курсы должны быть добавлены в файл данных."));
        rows = list ? list->Model().RowCount() : 0;
        bench.wizard.reset();
        state.ResumeTiming();
    }
    if (rows != 200)
        state.SkipWithError("step 4 does not list the 200 currencies");
}
BENCHMARK(FillTheChoiceOf200Currencies)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void DownloadAThousandResources(benchmark::State& state)
{
    AWizardBench bench;
    const ADate last = Dates::FromYmd(2025, 3, 15), first = last - 999;
    for (ADate day = first; day <= last; ++day) {
        const Dates::AYmd ymd = Dates::ToYmd(day);
        char path[32];
        std::snprintf(path, sizeof path, "/rates/%04d-%02d-%02d", ymd.year, ymd.month, ymd.day);
        bench.server.Answer(path, {200, Cp1251(u"USD;Доллар США;90;1\nEUR;Евро;100;1\n")});
    }
    qint64 longestGap = 0;
    bool done = false;
    for (auto _ : state) {
        state.PauseTiming();
        bench.Open();
        bench.Next();
        NamedControl<Win32API::VelvixControls::ADatePicker>(*bench.wizard, QStringLiteral("за период начиная:"))
            ->setDate(QDate(2025, 3, 15).addDays(-999));
        auto* sampling = NamedControl<Win32API::VelvixControls::Reports::AReportPicker>(*bench.wizard, QStringLiteral("загружать курсы:"));
        sampling->setFocus();
        for (int i = 0; i < 4; ++i)
            PressKey(sampling, Qt::Key_Up);  // up to the first mode: every day
        QApplication::processEvents();
        // The event loop's turns: a timer due every 5 ms notes how late it comes.
        QElapsedTimer clock;
        clock.start();
        qint64 lastTurn = 0;
        QTimer beat;
        QObject::connect(&beat, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - lastTurn);
            lastTurn = clock.elapsed();
        });
        state.ResumeTiming();
        clock.restart();
        beat.start(5);
        bench.Next();
        done = bench.WaitForDownload();
        beat.stop();
        state.PauseTiming();
        bench.wizard.reset();
        state.ResumeTiming();
    }
    if (!done || bench.server.RequestCount() < 1000)
        state.SkipWithError("the download of 1,000 resources did not end");
    state.counters["frame_gap_ms"] = static_cast<double>(longestGap);
}
BENCHMARK(DownloadAThousandResources)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
#else
int main() { return 0; }
#endif
