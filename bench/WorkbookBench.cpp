// The workbook modules on generated books (DataFileGenerator.h): the export (interchange
// document, then the workbook written from its text, as the module's End does) and the
// import of that workbook (the module's interchange text, then the read phase), with the
// peak memory of each against the largest worksheet of the package.
//   WorkbookBench [--transactions N] [--order date|reverse|random] [--file PATH]
#include "BenchOptions.h"
#include "BenchSupport.h"

#include "core/AStrings.h"
#include "core/MemoryStream.h"
#include "exchange/workbook/AExcel.h"
#include "exchange/export/ExportDocument.h"
#include "exchange/import/ReadDocument.h"
#include "exchange/workbook/XlsZip.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string>

namespace {

using Database::ADatabase;
using namespace ExportImport;
using ExportImport::FileTypeExcel::AExportToXLS;
using ExportImport::FileTypeExcel::AImportFromXLS;

using BenchSupport::ATimer;
using BenchSupport::StatusKb;

// The peak resident size of what runs from here on, over the resident size now.
class APeakMemory {
public:
    APeakMemory()
    {
        malloc_trim(0);
        BenchSupport::ResetPeak();
        before_ = StatusKb("VmRSS:");
    }
    double GrowthMb() const { return static_cast<double>(StatusKb("VmHWM:") - before_) / 1024.0; }

private:
    long before_ = 0;
};

double Mb(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

bool Report(const char* what, const ATimer& timer, double targetMs)
{
    const double ms = timer.WallMs();
    const bool met = ms <= targetMs;
    std::printf("  %-40s %8.1f ms  target < %6.0f ms %-6s (CPU %.0f ms)\n", what, ms, targetMs,
                met ? "ok" : "MISSED", timer.CpuSpentMs());
    return met;
}

// The inflated size of the largest worksheet, as the package declares it.
std::uint64_t LargestWorksheet(const std::string& path)
{
    auto zip = FileTypeExcel::AZipReader::Open(path);
    std::uint64_t largest = 0;
    for (int sheet = 1; zip; ++sheet) {
        const auto size = zip->DeclaredSize("xl/worksheets/sheet" + std::to_string(sheet) + ".xml");
        if (!size)
            break;
        largest = std::max(largest, *size);
    }
    return largest;
}

}  // namespace

int main(int argc, char** argv)
{
    BenchData::AGeneratorOptions options;
    std::string path = "/tmp/fendral-workbook-bench.xlsx";
    bool usage = !BenchOptions::TakeBookOptions(argc, argv, options);
    for (int i = 1; i < argc && !usage; ++i) {
        if (std::strcmp(argv[i], "--file") == 0 && i + 1 < argc)
            path = argv[++i];
        else
            usage = true;
    }
    if (usage) {
        std::fprintf(stderr, "usage: WorkbookBench [--transactions N] [--order date|reverse|random] [--file PATH]\n");
        return 2;
    }
    bool met = true;
    std::uint64_t interchangeBytes = 0;
    {
        ADatabase books([] { return Dates::ALocalTime{46000, 0}; });
        BenchData::Generate(books, options);
        const AExportEnvironment environment{nullptr, [] { return Dates::ALocalTime{46000, 0}; }, nullptr};

        const APeakMemory peak;
        const ATimer timer;
        auto text = UtilityClasses::Streams::AMemoryStream::Create();
        if (Result::Failed(ExportDocument(books, SelectEverything(books, {}), environment, text.get()))) {
            std::fprintf(stderr, "the interchange document failed\n");
            return 1;
        }
        // The workbook alone, as the module's End writes it from the text in memory.
        const APeakMemory workbookPeak;
        const ATimer workbookTimer;
        if (Result::Failed(AExportToXLS::WriteWorkbook(text->Bytes(), path))) {
            std::fprintf(stderr, "the export to %s failed\n", path.c_str());
            return 1;
        }
        const double workbookPeakMb = workbookPeak.GrowthMb();
        interchangeBytes = text->Bytes().size();
        std::printf("Workbook of %zu transactions in %s order\n", books.Transactions().LiveCount(),
                    BenchOptions::OrderName(options.order));
        met = Report("export (document and workbook)", timer, 3000) && met;
        met = Report("  of which writing the workbook", workbookTimer, 1500) && met;
        std::printf("  %-40s %8.1f MB\n", "peak growth during the export", peak.GrowthMb());
        std::printf("  %-40s %8.1f MB  target < 150 MB %s\n", "peak growth writing the workbook", workbookPeakMb,
                    workbookPeakMb < 150 ? "ok" : "MISSED");
        met = workbookPeakMb < 150 && met;
    }

    const std::uint64_t largest = LargestWorksheet(path);
    std::printf("  %-40s %8.1f MB  (interchange text %.1f MB)\n", "largest worksheet", Mb(largest),
                Mb(interchangeBytes));

    UtilityClasses::Strings::AStrings strings(UtilityClasses::Strings::RussianLocale());
    ADatabase db;
    db.CreateDefaults();
    const APeakMemory peak;
    const ATimer timer;
    std::string text;
    std::size_t problems = 0;
    if (!AImportFromXLS::ReadWorkbook(path, [&](const std::string&) { ++problems; }, text) || problems != 0) {
        std::fprintf(stderr, "reading the workbook failed (%zu problems)\n", problems);
        return 1;
    }
    const double sheetsMs = timer.WallMs();
    const double sheetsPeakMb = peak.GrowthMb();
    auto stream = UtilityClasses::Streams::AMemoryStream::Create(text);
    text = std::string();
    AImportBatch batch;
    AImportMessages messages;
    if (!ReadInterchange(AImportEnvironment{strings, db, nullptr}, *stream, batch, messages) || !messages.Empty()) {
        std::fprintf(stderr, "the read phase failed or reported %zu messages\n", messages.All().size());
        return 1;
    }
    met = Report("import (workbook and read phase)", timer, 4000) && met;
    std::printf("  %-40s %8.1f ms\n", "  of which reading the worksheets", sheetsMs);
    std::printf("  %-40s %8.1f MB  = %.2f x the largest worksheet\n", "peak growth reading the worksheets",
                sheetsPeakMb, sheetsPeakMb / Mb(largest));
    std::printf("  %-40s %8.1f MB  (interchange text %.1f MB)\n", "peak growth with the read phase", peak.GrowthMb(),
                Mb(stream->Bytes().size()));
    return met ? 0 : 3;
}
