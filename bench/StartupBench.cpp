// Start-up of the GUI program with a 100,000-transaction data file, to a shown main window,
// offscreen: the real program as a process (which ends once its window is shown), and the
// same start-up inside this process with its steps apart. The target is under one second.
#if __has_include(<benchmark/benchmark.h>)
#include "ui/DatabaseModel.h"

#include "DataFileGenerator.h"
#include "QtBenchMain.h"
#include "ui/MainForm.h"
#include "ui/StartUp.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sys/resource.h>

namespace {

// One generated file for every benchmark of the run.
struct AStartupFixture {
    QTemporaryDir folder;
    std::string file;
    std::string program;

    AStartupFixture()
    {
        file = folder.path().toStdString() + "/books.fend";
        Database::ADatabase db;
        BenchData::Generate(db, BenchData::AGeneratorOptions{});
        if (Result::Failed(db.SaveAs(file)))
            std::fprintf(stderr, "could not write %s\n", file.c_str());
        // The program lies in bin/ beside this benchmark's folder.
        std::error_code error;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
        program = (self.parent_path().parent_path() / "bin" / "fendral").string();
    }
    std::string Path(const char* name) const { return folder.path().toStdString() + "/" + name; }
};

double ChildrenCpuMs()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

AStartupFixture& Fixture()
{
    static AStartupFixture fixture;
    return fixture;
}

void ProgramShowsItsWindow(benchmark::State& state)
{
    AStartupFixture& fixture = Fixture();
    if (!std::filesystem::exists(fixture.program)) {
        state.SkipWithError("the fendral program is not built");
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("FENDRAL_QUIT_WHEN_SHOWN", "1");
    environment.insert("HOME", QString::fromStdString(fixture.Path("home")));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(fixture.Path("home/config")));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(fixture.Path("home/run")));
    std::filesystem::create_directories(fixture.Path("home/run"));
    // On a busy machine the wall time says little: the program's own processor time is kept too.
    const double cpuBefore = ChildrenCpuMs();
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QString::fromStdString(fixture.program), {QString::fromStdString(fixture.file)});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            state.SkipWithError("the program did not end by itself");
            return;
        }
    }
    state.counters["program_cpu_ms"] =
        benchmark::Counter((ChildrenCpuMs() - cpuBefore) / static_cast<double>(state.iterations()));
}
BENCHMARK(ProgramShowsItsWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The same inside this process: texts, settings, the file opened, the pages and the window.
void StartUpInProcess(benchmark::State& state)
{
    AStartupFixture& fixture = Fixture();
    int run = 0;
    for (auto _ : state) {
        const std::string root = fixture.Path("inprocess") + std::to_string(run++);
        UserInterface::AProgram program(
            {root + "/bin/fendral", root + "/bin", root + "/config", root + "/data", root + "/run"});
        program.Start({"fendral", fixture.file});
        QApplication::processEvents();
        benchmark::DoNotOptimize(program.MainWindow()->PageCount());
        state.PauseTiming();
        program.MainWindow()->hide();
        state.ResumeTiming();
    }
}
BENCHMARK(StartUpInProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Opening alone, for comparison: what the start-up spends beyond it is the window's.
void OpenFileAlone(benchmark::State& state)
{
    AStartupFixture& fixture = Fixture();
    for (auto _ : state) {
        Database::ADatabase db;
        benchmark::DoNotOptimize(db.Open(fixture.file));
    }
}
BENCHMARK(OpenFileAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
#else
int main()
{
    return 0;
}
#endif
