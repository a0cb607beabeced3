// The export of generated books (DataFileGenerator.h) to an interchange document written
// into a file as the XML module writes it, against the targets at 100,000 transactions of
// a quarter of a second and of growing the process by less than 100 MB.
//   ExportBench [--transactions N] [--order date|reverse|random] [--repeat N] [--file PATH]
#include "BenchOptions.h"
#include "BenchSupport.h"

#include "core/FileStream.h"
#include "exchange/export/ExportDocument.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace ExportImport;

using BenchSupport::CpuMs;
using BenchSupport::Median;

double WallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct ATimes {
    std::vector<double> cpu, wall;
};

}  // namespace

int main(int argc, char** argv)
{
    BenchData::AGeneratorOptions options;
    int repeat = 5;
    std::string path = "/tmp/fendral-export-bench.xml";
    if (!BenchOptions::TakeBookOptions(argc, argv, options))
        return 2;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--file") == 0)
            path = argv[i + 1];
    }
    Database::ADatabase db([] { return Dates::ALocalTime{46000, 0}; });
    BenchData::Generate(db, options);
    const AExportSelection selection = SelectEverything(db, {});
    AExportEnvironment environment;
    environment.clock = [] { return Dates::ALocalTime{46000, 0}; };

    ATimes times;
    std::size_t bytes = 0;
    long growthKb = 0;
    for (int i = 0; i < repeat; ++i) {
        UtilityClasses::Streams::AStreamPtr stream;
        if (Result::Failed(UtilityClasses::Streams::AFileStream::Open(
                path, UtilityClasses::Streams::EFileMode::CreateAtomic, &stream))) {
            std::fprintf(stderr, "cannot create %s\n", path.c_str());
            return 1;
        }
        BenchSupport::ResetPeak();
        const long before = BenchSupport::StatusKb("VmRSS:");
        const double wallStart = WallMs();
        const double start = CpuMs();
        if (Result::Failed(ExportDocument(db, selection, environment, stream.get())) ||
            Result::Failed(stream->Commit())) {
            std::fprintf(stderr, "writing failed\n");
            return 1;
        }
        times.cpu.push_back(CpuMs() - start);
        times.wall.push_back(WallMs() - wallStart);
        growthKb = std::max(growthKb, BenchSupport::StatusKb("VmHWM:") - before);
        UtilityClasses::Streams::AStreamStat stat;
        stream->Stat(&stat);
        bytes = stat.size;
    }
    std::remove(path.c_str());
    const double cpu = Median(times.cpu);
    const double growthMb = static_cast<double>(growthKb) / 1024.0;
    std::printf("export of %zu transactions in %s order: %.1f MB in %.1f ms CPU (%.1f ms wall)  target 250 ms %s\n",
                db.Transactions().LiveCount(), BenchOptions::OrderName(options.order),
                static_cast<double>(bytes) / (1024.0 * 1024.0), cpu, Median(times.wall), cpu <= 250 ? "ok" : "SLOW");
    std::printf("export of %zu transactions: the process grows by %.1f MB  target 100 MB %s\n",
                db.Transactions().LiveCount(), growthMb, growthMb <= 100 ? "ok" : "MISSED");
    return 0;
}
