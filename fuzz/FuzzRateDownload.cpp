// HTTP answers through the rate engine: a local server gives the fuzzer's status, shape
// and body to a download by the test rate source; every download ends, an answer that is
// not a whole 2xx document gives no rates, and whatever arrived writes into a consistent
// data file with positive rates only.
#include "FuzzSupport.h"

#include "rates/LocalHttpServer.h"

#include "core/CodePage.h"
#include "rates/LoadRate.h"
#include "rates/RateSources.h"
#include "rates/WriteDownloadedRates.h"

#include <chrono>
#include <cstdlib>

namespace {

class AQuietObserver final : public Rates::ADownloadObserver {
public:
    void OnProgress(std::uint64_t bytes) override { progress += bytes; }
    void OnResourceReady() override {}
    void OnAllDone() override { done = true; }
    std::uint64_t progress = 0;
    bool done = false;
};

struct ASetUp {
    ALocalHttpServer server;
    std::unique_ptr<Rates::ADataSourceItem> source;
    ASetUp()
    {
        ::setenv("FENDRAL_TEST_RATES_HOST", server.Host().c_str(), 1);
        source = Rates::ADataSourceItem::Load(std::string(FENDRAL_PLUGIN_DIR) + "/testrates.so", 1251);
        if (!server.Listening() || !source)
            Fuzz::Broken("no local server or no test rate source");
    }
};

constexpr int kStatuses[] = {200, 200, 204, 206, 301, 404, 500, 299};

}  // namespace

// The first byte picks the status, the second the shape of the answer; the rest is the body.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ASetUp setUp;
    if (size < 2)
        return 0;
    AHttpAnswer answer;
    answer.status = kStatuses[data[0] % std::size(kStatuses)];
    answer.closeMidBody = data[1] & 1;
    if (data[1] & 2) {
        answer.chunkSize = 1 + data[1] / 4;
        answer.pause = std::chrono::milliseconds(0);
    }
    answer.body.assign(reinterpret_cast<const char*>(data) + 2, size - 2);
    const bool whole = answer.status / 100 == 2 && !answer.closeMidBody;
    const ADate day = Dates::FromYmd(2024, 3, 1);
    setUp.server.Answer("/rates/2024-03-01", answer);

    Rates::ADownloadOptions options;
    options.maxResourceSize = 4096;  // small enough for the fuzzer to reach the cut-off
    options.stallSeconds = 5;
    Rates::ARateDownload download(*setUp.source, options);
    if (!download.Start(day, day, Rates::ASamplingMode::EveryDay))
        Fuzz::Broken("a one-day download did not start");
    AQuietObserver observer;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (download.Running() && std::chrono::steady_clock::now() < deadline) {
        download.WaitForNotices(std::chrono::milliseconds(20));
        download.Deliver(observer);
    }
    if (download.Running())
        Fuzz::Broken("the download did not end");
    const Rates::ADownloadCounts counts = download.Counts();
    if (counts.parsed + counts.failed != counts.requests || observer.progress > download.TotalExpected())
        Fuzz::Broken("the counts or the progress do not add up");
    if (!whole && !download.Currencies().Entries().empty())
        Fuzz::Broken("an answer that was not a whole 2xx document gave currencies");

    Rates::ADownloadSelection selection;
    selection.baseCode = u"RUR";
    selection.baseName = u"Российские рубли";
    selection.crossRates = true;
    for (const auto& entry : download.Currencies().Entries()) {
        Rates::ADownloadSelection::AItem item;
        if (!UtilityClasses::Strings::MultiByteToUtf16(entry.code, 1251, item.code) ||
            !UtilityClasses::Strings::MultiByteToUtf16(entry.name, 1251, item.name))
            continue;
        item.rates = &entry.rates;
        item.checked = true;
        selection.items.push_back(std::move(item));
    }
    Database::ADatabase db([] { return Dates::ALocalTime{46000, 0}; });
    db.CreateDefaults();
    Rates::WriteDownloadedRates(db, selection, u"Загрузка валют");
    if (db.ConsistencyErrors() != 0)
        Fuzz::Broken("the downloaded rates left the data file inconsistent");
    for (const auto* slot : db.RateValues().Live())
        if (slot->Record().amount1 <= 0 || slot->Record().amount2 <= 0)
            Fuzz::Broken("a stored rate that is not positive");
    return 0;
}
