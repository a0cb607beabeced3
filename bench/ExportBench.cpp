// The export of generated books (DataFileGenerator.h) to an interchange document:
// building the document, writing its text into a file as the XML module does, and
// freeing it again, against the target of half a second at 100,000 transactions.
//   ExportBench [--transactions N] [--repeat N] [--file PATH]
#include "BenchSupport.h"
#include "DataFileGenerator.h"

#include "core/FileStream.h"
#include "exchange/export/ExportDocument.h"
#include "exchange/xml/xmlWriter.h"

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
    std::vector<double> build, write, free, total, wall;
};

}  // namespace

int main(int argc, char** argv)
{
    BenchData::AGeneratorOptions options;
    int repeat = 5;
    std::string path = "/tmp/fendral-export-bench.xml";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--transactions") == 0)
            options.transactions = std::strtoull(argv[i + 1], nullptr, 10);
        else if (std::strcmp(argv[i], "--repeat") == 0)
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
    for (int i = 0; i < repeat; ++i) {
        UtilityClasses::Streams::AStreamPtr stream;
        if (Result::Failed(UtilityClasses::Streams::AFileStream::Open(
                path, UtilityClasses::Streams::EFileMode::CreateAtomic, &stream))) {
            std::fprintf(stderr, "cannot create %s\n", path.c_str());
            return 1;
        }
        const double wallStart = WallMs();
        const double start = CpuMs();
        auto document = BuildExportDocument(db, selection, environment);
        const double built = CpuMs();
        if (Result::Failed(UtilityClasses::XML::WriteDocument(*document, stream.get())) ||
            Result::Failed(stream->Commit())) {
            std::fprintf(stderr, "writing failed\n");
            return 1;
        }
        const double written = CpuMs();
        document.reset();
        const double freed = CpuMs();
        times.build.push_back(built - start);
        times.write.push_back(written - built);
        times.free.push_back(freed - written);
        times.total.push_back(freed - start);
        times.wall.push_back(WallMs() - wallStart);
        UtilityClasses::Streams::AStreamStat stat;
        stream->Stat(&stat);
        bytes = stat.size;
    }
    std::remove(path.c_str());
    const double total = Median(times.total);
    std::printf("export of %zu transactions: %.1f MB; build %.1f ms, write %.1f ms, free %.1f ms, total %.1f ms CPU "
                "(%.1f ms wall)  target 500 ms %s\n",
                db.Transactions().LiveCount(), static_cast<double>(bytes) / (1024.0 * 1024.0), Median(times.build),
                Median(times.write), Median(times.free), total, Median(times.wall), total <= 500 ? "ok" : "SLOW");
    return 0;
}
