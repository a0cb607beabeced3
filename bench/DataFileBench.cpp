// Open, save and change times of large data files, and the peak memory of an open, at
// 10,000 and 100,000 transactions (and 1,000,000 with --million), with files whose
// transactions were entered in date order, against it and in no order (or only in the
// orders given with --order); a last table shows how each figure grows with the size.
//   DataFileBench [--million] [--order date|reverse|random]... [--folder DIR] [--keep]
// Each measurement runs in a child process of its own, so that its peak memory is its
// own and no measurement warms the caches of the next one's data structures. Times are
// wall-clock (what the user waits) with the process's CPU time beside them, which stays
// meaningful on a busy machine.
#include "BenchOptions.h"
#include "BenchSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Database::ADatabase;

// What a child reports back through its pipe.
struct AFigures {
    bool ok = false;
    double wallMs = 0;
    double cpuMs = 0;
    long peakKb = 0;     // VmHWM after the measured work
    long startKb = 0;    // VmHWM before it
    double micros[3][2] = {};  // commit, undo, redo: median and worst, in microseconds
};

long PeakKb()
{
    return BenchSupport::StatusKb("VmHWM:");
}

AFigures InChild(const std::function<AFigures()>& work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const AFigures figures = work();
        const ssize_t written = write(channel[1], &figures, sizeof figures);
        _exit(written == static_cast<ssize_t>(sizeof figures) ? 0 : 1);
    }
    close(channel[1]);
    AFigures figures;
    if (child < 0 || read(channel[0], &figures, sizeof figures) != static_cast<ssize_t>(sizeof figures))
        figures.ok = false;
    close(channel[0]);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    return figures;
}

bool OpenQuietly(ADatabase& db, const std::string& path)
{
    const HRESULT result = db.Open(path);
    if (result == Result::kOk)
        return true;
    std::fprintf(stderr, "opening %s failed: 0x%08X\n", path.c_str(), static_cast<unsigned>(result));
    return false;
}

// Times `work` (which answers whether it succeeded) and notes the peak memory around it.
template <class Work>
AFigures Timed(Work&& work)
{
    AFigures figures;
    figures.startKb = PeakKb();
    const BenchSupport::ATimer clock;
    figures.ok = work();
    figures.wallMs = clock.WallMs();
    figures.cpuMs = clock.CpuSpentMs();
    figures.peakKb = PeakKb();
    return figures;
}

AFigures Generate(std::size_t transactions, BenchData::AEntryOrder order, const std::string& path)
{
    return InChild([&] {
        ADatabase db;
        return Timed([&] {
            BenchData::AGeneratorOptions options;
            options.transactions = transactions;
            options.order = order;
            BenchData::Generate(db, options);
            return db.SaveAs(path) == Result::kOk;
        });
    });
}

AFigures MeasureOpen(const std::string& path)
{
    return InChild([&] {
        ADatabase db;
        return Timed([&] { return OpenQuietly(db, path); });
    });
}

AFigures MeasureSaveAs(const std::string& path, const std::string& copy)
{
    return InChild([&] {
        ADatabase db;
        if (!OpenQuietly(db, path))
            return AFigures{};
        return Timed([&] { return db.SaveAs(copy) == Result::kOk; });
    });
}

// One new transaction in a step, committed, then the file saved in place and flushed.
AFigures MeasureOneChange(const std::string& copy)
{
    return InChild([&] {
        ADatabase db;
        if (!OpenQuietly(db, copy))
            return AFigures{};
        return Timed([&] {
            BenchData::AddOneExpense(db, Dates::FromYmd(2025, 1, 15));
            return db.Save() == Result::kOk;
        });
    });
}

// Commit, undo and redo of a one-transaction step, many times over.
AFigures MeasureSteps(const std::string& path)
{
    return InChild([&] {
        constexpr int kRounds = 200;
        AFigures figures;
        ADatabase db;
        if (!OpenQuietly(db, path))
            return figures;
        std::vector<double> times[3];
        using Us = std::chrono::duration<double, std::micro>;
        for (int round = 0; round < kRounds; ++round) {
            // Dates all over the ten years, so that index insertions land anywhere.
            const ADate date = Dates::FromYmd(2015, 1, 1) + (round * 1777) % 3650;
            BenchData::BeginOneExpense(db, date);
            auto started = std::chrono::steady_clock::now();
            db.CommitStep();
            times[0].push_back(Us(std::chrono::steady_clock::now() - started).count());
            started = std::chrono::steady_clock::now();
            db.Undo();
            times[1].push_back(Us(std::chrono::steady_clock::now() - started).count());
            started = std::chrono::steady_clock::now();
            db.Redo();
            times[2].push_back(Us(std::chrono::steady_clock::now() - started).count());
        }
        for (int kind = 0; kind < 3; ++kind) {
            figures.micros[kind][0] = BenchSupport::Median(times[kind]);
            figures.micros[kind][1] = BenchSupport::Worst(times[kind]);
        }
        figures.ok = true;
        return figures;
    });
}

}  // namespace

namespace {

struct AReport {
    bool failed = false;
    int missed = 0;
    // Figures by measure and number of transactions, for the table of growth.
    std::vector<std::string> measures;
    std::map<std::string, std::map<std::size_t, double>> growth;

    void Note(const std::string& measure, std::size_t transactions, double value)
    {
        if (!growth.count(measure))
            measures.push_back(measure);
        growth[measure][transactions] = value;
    }
    // One line per measure, one column per size, each with its ratio to the 100,000 one.
    void PrintGrowth(const std::vector<std::size_t>& sizes) const
    {
        std::printf("\n  %-40s", "growth (ratio to 100,000)");
        for (std::size_t size : sizes)
            std::printf(" %20zu", size);
        std::printf("\n");
        for (const std::string& measure : measures) {
            const auto& figures = growth.at(measure);
            const auto base = figures.find(100'000);
            std::printf("  %-40s", measure.c_str());
            for (std::size_t size : sizes) {
                const auto figure = figures.find(size);
                char cell[32] = "-";
                if (figure != figures.end() && base != figures.end() && base->second > 0)
                    std::snprintf(cell, sizeof cell, "%.1f (%.2fx)", figure->second, figure->second / base->second);
                else if (figure != figures.end())
                    std::snprintf(cell, sizeof cell, "%.1f", figure->second);
                std::printf(" %20s", cell);
            }
            std::printf("\n");
        }
    }

    void Row(const std::string& what, const std::string& figures, const std::string& target = "", int met = -1)
    {
        std::printf("  %-40s %-38s %-14s %s\n", what.c_str(), figures.c_str(), target.c_str(),
                    met < 0 ? "" : (met ? "ok" : "MISSED"));
        if (met == 0)
            ++missed;
    }
    bool Check(const AFigures& figures, const char* what)
    {
        if (!figures.ok) {
            std::printf("  %-40s failed\n", what);
            failed = true;
        }
        return figures.ok;
    }
};

std::string Format(const char* format, double a, double b = 0, double c = 0)
{
    char text[96];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

struct ATargets {
    double openMs;
    double changeMs;
};

// A file whose transactions were entered in the given order: the time and the peak memory
// of opening it, then of Save as into `copy` and of one change saved in the copy. Answers
// whether the file could be made.
bool MeasureOrder(std::size_t transactions, BenchData::AEntryOrder order, const std::string& path,
                  const std::string& copy, const ATargets& targets, AReport& report)
{
    const std::string orderName = std::string(BenchOptions::OrderName(order)) + " order";
    const AFigures generated = Generate(transactions, order, path);
    if (!report.Check(generated, "generating"))
        return false;
    std::error_code error;
    const double fileMb = static_cast<double>(std::filesystem::file_size(path, error)) / (1 << 20);
    report.Row("generated, " + orderName + " (no target)",
               Format("%.2f s wall, %.1f MiB", generated.wallMs / 1e3, fileMb));
    const AFigures opened = MeasureOpen(path);
    if (report.Check(opened, "open")) {
        report.Row("open, " + orderName, Format("%.0f ms wall, %.0f ms cpu", opened.wallMs, opened.cpuMs),
                   Format("< %.0f ms", targets.openMs), opened.wallMs < targets.openMs);
        const double peakMb = static_cast<double>(opened.peakKb) / 1024;
        report.Note("open, " + orderName + " (ms)", transactions, opened.wallMs);
        report.Note("peak open, " + orderName + " (MiB)", transactions, peakMb);
        report.Row("peak with the file open, " + orderName,
                   Format("%.1f MiB (%.1f before) = %.2fx file", peakMb, static_cast<double>(opened.startKb) / 1024,
                          peakMb / fileMb),
                   "<= 2x file", peakMb <= 2 * fileMb);
    }
    const AFigures saved = MeasureSaveAs(path, copy);
    if (report.Check(saved, "save as")) {
        report.Note("save as, " + orderName + " (ms)", transactions, saved.wallMs);
        report.Row("save as, " + orderName, Format("%.0f ms wall, %.0f ms cpu, peak %.1f MiB", saved.wallMs,
                                                   saved.cpuMs, static_cast<double>(saved.peakKb) / 1024));
    }
    const AFigures changed = MeasureOneChange(copy);
    if (report.Check(changed, "one change")) {
        report.Note("one change saved, " + orderName + " (ms)", transactions, changed.wallMs);
        report.Row("one change saved in place, " + orderName,
                   Format("%.1f ms wall, %.1f ms cpu", changed.wallMs, changed.cpuMs),
                   Format("< %.0f ms", targets.changeMs), changed.wallMs < targets.changeMs);
    }
    return true;
}

void RunSize(std::size_t transactions, const std::vector<BenchData::AEntryOrder>& orders, const std::string& folder,
             const ATargets& targets, bool withSteps, bool keep, AReport& report)
{
    std::printf("\n%zu transactions\n", transactions);
    std::error_code error;
    for (const BenchData::AEntryOrder order : orders) {
        const std::string stem =
            folder + "/bench-" + std::to_string(transactions) + "-" + BenchOptions::OrderName(order);
        const std::string path = stem + ".fend";
        const std::string copy = stem + "-copy.fend";
        if (!MeasureOrder(transactions, order, path, copy, targets, report))
            return;
        // The steps in the books as most are kept, in date order.
        if (withSteps && order == BenchData::AEntryOrder::Date) {
            const AFigures steps = MeasureSteps(path);
            if (report.Check(steps, "steps")) {
                const char* names[] = {"commit of a one-transaction step", "undo of it", "redo of it"};
                for (int kind = 0; kind < 3; ++kind)
                    report.Row(names[kind],
                               Format("median %.0f us, worst %.0f us", steps.micros[kind][0], steps.micros[kind][1]),
                               "< 1000 us", steps.micros[kind][0] < 1000);
            }
        }
        if (!keep) {
            std::filesystem::remove(path, error);
            std::filesystem::remove(copy, error);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    bool million = false;
    bool keep = false;
    std::string folder;
    std::vector<BenchData::AEntryOrder> orders;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const auto order = word == "--order" && i + 1 < argc ? BenchOptions::ParseOrder(argv[++i]) : std::nullopt;
        if (word == "--million")
            million = true;
        else if (word == "--keep")
            keep = true;
        else if (word == "--folder" && i + 1 < argc)
            folder = argv[++i];
        else if (order)
            orders.push_back(*order);
        else {
            std::fprintf(stderr,
                         "usage: DataFileBench [--million] [--order date|reverse|random]... [--folder DIR] [--keep]\n");
            return 2;
        }
    }
    if (orders.empty())
        orders = {BenchData::AEntryOrder::Date, BenchData::AEntryOrder::Reverse, BenchData::AEntryOrder::Random};
    bool madeFolder = false;
    if (folder.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "fendral-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            return 1;
        }
        folder = pattern;
        madeFolder = !keep;
    }
    std::printf("Data files in %s\n  %-40s %-38s %-14s\n", folder.c_str(), "measure", "figures", "target");
    AReport report;
    std::vector<std::size_t> sizes = {10'000, 100'000};
    RunSize(10'000, orders, folder, {60, 25}, false, keep, report);
    RunSize(100'000, orders, folder, {60, 25}, true, keep, report);
    if (million) {
        RunSize(1'000'000, orders, folder, {600, 50}, false, keep, report);
        sizes.push_back(1'000'000);
    }
    report.PrintGrowth(sizes);
    std::printf("\n%d target(s) missed%s\n", report.missed, report.failed ? "; some measurements failed" : "");
    if (madeFolder) {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
    // Missed targets are for people to read; a machine under load must not fail a build.
    return report.failed ? 1 : 0;
}
