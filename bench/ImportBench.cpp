// The import of a large interchange document: the read phase (parsing and checking into
// the batch) and the save phase (writing the batch into a data file), with the memory
// the import takes at its peak against the memory of the database and the batch.
//   ImportBench [--transactions N] [--order date|reverse|random] [--document FILE]
// With --document the export is kept in FILE and read from there on later runs.
// The document is the export of generated books (DataFileGenerator.h); it is imported
// into a new data file, whose defaults match the books' own.
#include "BenchOptions.h"
#include "BenchSupport.h"

#include "core/AStrings.h"
#include "core/MemoryStream.h"
#include "exchange/export/ExportDocument.h"
#include "exchange/import/ReadDocument.h"
#include "exchange/import/SaveBatch.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <string>

namespace {

using Database::ADatabase;
using namespace ExportImport;

using BenchSupport::ATimer;
using BenchSupport::ResetPeak;
using BenchSupport::StatusKb;

double HeapMb()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

std::string ExportedBooks(const BenchData::AGeneratorOptions& options)
{
    ADatabase db;
    BenchData::Generate(db, options);
    auto stream = UtilityClasses::Streams::AMemoryStream::Create();
    const AExportEnvironment environment{nullptr, [] { return Dates::ALocalTime{45000, 0}; }, nullptr};
    if (Result::Failed(ExportDocument(db, SelectEverything(db, {}), environment, stream.get())))
        return {};
    return std::string(stream->Bytes());
}

bool Report(const char* what, double value, double target, const char* unit, const std::string& note = {})
{
    const bool met = value <= target;
    std::printf("  %-36s %10.1f %-3s  target < %6.1f %-3s %-6s %s\n", what, value, unit, target, unit,
                met ? "ok" : "MISSED", note.c_str());
    return met;
}

std::string CpuNote(const ATimer& timer)
{
    return "(CPU " + std::to_string(static_cast<long>(timer.CpuSpentMs())) + " ms)";
}

}  // namespace

int main(int argc, char** argv)
{
    BenchData::AGeneratorOptions options;
    std::string documentPath;
    bool usage = !BenchOptions::TakeBookOptions(argc, argv, options);
    for (int i = 1; i < argc && !usage; ++i) {
        if (std::strcmp(argv[i], "--document") == 0 && i + 1 < argc)
            documentPath = argv[++i];
        else
            usage = true;
    }
    if (usage) {
        std::fprintf(stderr, "usage: ImportBench [--transactions N] [--order date|reverse|random] [--document FILE]\n");
        return 2;
    }
    const std::size_t transactions = options.transactions;
    std::string text;
    if (!documentPath.empty())
        text.assign(std::istreambuf_iterator<char>(std::ifstream(documentPath, std::ios::binary).rdbuf()), {});
    if (text.empty()) {
        text = ExportedBooks(options);
        if (!documentPath.empty())
            std::ofstream(documentPath, std::ios::binary) << text;
    }
    if (text.empty()) {
        std::fprintf(stderr, "the export failed\n");
        return 1;
    }
    auto stream = UtilityClasses::Streams::AMemoryStream::Create(text);
    malloc_trim(0);

    UtilityClasses::Strings::AStrings strings(UtilityClasses::Strings::RussianLocale());
    const double heapBefore = HeapMb();
    const long residentBefore = StatusKb("VmRSS:");
    ResetPeak();
    ADatabase db;
    db.CreateDefaults();
    const AImportEnvironment environment{strings, db, nullptr};

    auto batch = std::make_unique<AImportBatch>();
    AImportMessages messages;
    const ATimer readTimer;
    const bool read = ReadInterchange(environment, *stream, *batch, messages);
    const double readMs = readTimer.WallMs();
    const std::string readCpu = CpuNote(readTimer);
    if (!read || !messages.Empty()) {
        std::fprintf(stderr, "the read phase failed or reported %zu messages\n", messages.All().size());
        return 1;
    }
    const double batchMb = HeapMb() - heapBefore;
    const ATimer saveTimer;
    const HRESULT saved = SaveBatch(environment, *batch);
    const double saveMs = saveTimer.WallMs();
    const std::string saveCpu = CpuNote(saveTimer);
    if (Result::Failed(saved) || db.Transactions().LiveCount() != transactions) {
        std::fprintf(stderr, "the save phase failed: 0x%08X\n", static_cast<unsigned>(saved));
        return 1;
    }
    const double databaseAndBatchMb = HeapMb() - heapBefore;
    const double peakMb = static_cast<double>(StatusKb("VmHWM:") - residentBefore) / 1024.0;

    std::printf("Import of %zu transactions in %s order (document %.1f MB)\n", transactions,
                BenchOptions::OrderName(options.order),
                static_cast<double>(text.size()) / (1024.0 * 1024.0));
    bool met = Report("read phase", readMs, 1000, "ms", readCpu);
    met = Report("save phase", saveMs, 1500, "ms", saveCpu) && met;
    std::printf("  %-36s %10.1f MB\n", "batch after reading", batchMb);
    std::printf("  %-36s %10.1f MB\n", "database and batch after saving", databaseAndBatchMb);
    std::printf("  %-36s %10.1f MB\n", "peak growth during the import", peakMb);
    met = Report("peak / (database + batch)", peakMb / databaseAndBatchMb, 3, "x") && met;

    // What the parsed document alone takes, for judging the peak.
    batch.reset();
    const double heapBeforeTree = HeapMb();
    UtilityClasses::XML::ADocument tree;
    const ATimer parseTimer;
    if (UtilityClasses::XML::ParseDocument(tree, text).Ok())
        std::printf("  %-36s %10.1f MB  parsed in %.0f ms %s\n", "document tree", HeapMb() - heapBeforeTree,
                    parseTimer.WallMs(), CpuNote(parseTimer).c_str());
    return met ? 0 : 3;
}
