// The rate download engine against a local HTTP server: 1,000 small resources, each
// parsed by the source, from Start to the all-done notice. Target: under 2 s.
//   RateDownloadBench [--resources N] [--repeat N]
#include "../tests/rates/LocalHttpServer.h"

#include "rates/LoadRate.h"
#include "rates/RateSources.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace Rates;

std::string host;
ALibraryInfo info;

// One resource per day, named by the day's number; each document names one currency.
const ALibraryInfo* Info()
{
    info = {sizeof(ALibraryInfo), 65001, "Bench", host.c_str(), "RUR", "Roubles", "", "", ""};
    return &info;
}
void Resources(APackedDate date, ACallback* callback)
{
    const std::string path = "/r/" + std::to_string(date);
    AResourceRequest request = {0, 0, 64, date, path.c_str()};
    callback->table->AddResource(callback, &request);
}
void Fetch(const char* data, std::uint32_t value, ACallback* callback)
{
    ARateRecord rate = {10000, 900000, data, "Currency", value};
    callback->table->AddRate(callback, &rate);
}

class ANoticeCounter : public ADownloadObserver {
public:
    void OnProgress(std::uint64_t) override {}
    void OnResourceReady() override { ++ready; }
    void OnAllDone() override {}
    int ready = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    int resources = 1000;
    int repeat = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--resources") == 0)
            resources = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::atoi(argv[i + 1]);
    }
    ALocalHttpServer server;
    if (!server.Listening())
        return 1;
    host = server.Host();
    const ADate first = Dates::FromYmd(2020, 1, 1);
    const ADate last = first + resources - 1;
    for (ADate day = first; day <= last; ++day) {
        const Dates::AYmd ymd = Dates::ToYmd(day);
        const APackedDate packed = FENDRAL_PACK_DATE(ymd.year, ymd.month, ymd.day);
        server.Answer("/r/" + std::to_string(packed), {200, "C" + std::to_string(day % 50)});
    }
    const auto source = ADataSourceItem::FromExports({&Info, &Resources, &Fetch}, "bench", 65001);

    double worst = 0;
    for (int round = 0; round < repeat; ++round) {
        ARateDownload download(*source);
        ANoticeCounter counter;
        const auto start = std::chrono::steady_clock::now();
        download.Start(first, last, ASamplingMode::EveryDay);
        while (download.Running()) {
            download.WaitForNotices(std::chrono::milliseconds(20));
            download.Deliver(counter);
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        worst = std::max(worst, ms);
        if (counter.ready != resources || download.Currencies().Entries().size() != static_cast<std::size_t>(std::min(resources, 50))) {
            std::printf("RateDownload: %d of %d resources arrived\n", counter.ready, resources);
            return 1;
        }
    }
    std::printf("%-44s %10.1f ms (target < 2000 ms)\n",
                ("RateDownload " + std::to_string(resources) + " resources, worst of " + std::to_string(repeat)).c_str(),
                worst);
    return worst < 2000 ? 0 : 2;
}
