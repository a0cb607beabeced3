// The download engine against a real HTTP server on 127.0.0.1: every download ends,
// with the rates of the documents that arrived whole and nothing of the others.
#include "rates/LocalHttpServer.h"
#include "rates/RatesTestSupport.h"

#include <atomic>
#include <mutex>
#include <set>

namespace RatesTest {
namespace {

const ADownloadedCurrency* Find(const ADownloadedCurrencies& currencies, const std::string& code)
{
    for (const ADownloadedCurrency& entry : currencies.Entries())
        if (entry.code == code)
            return &entry;
    return nullptr;
}

class DownloadEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Listening());
        source = LoadTestSource();
        ASSERT_NE(source, nullptr);
    }
    // Runs a download of the period with every date sampled.
    void Download(ADate from, ADate to, ADownloadOptions options = {})
    {
        download = std::make_unique<ARateDownload>(*source, options);
        ASSERT_TRUE(download->Start(from, to, ASamplingMode::EveryDay));
        ASSERT_TRUE(RunToEnd(*download, observer)) << "the download did not end";
        EXPECT_EQ(observer.allDone, 1);
        EXPECT_TRUE(observer.onOwnerThread);
        // Progress ends at the total expected, never beyond it.
        EXPECT_EQ(observer.progress, download->TotalExpected());
    }

    ALocalHttpServer server;
    std::optional<AScopedEnv> host{std::in_place, "FENDRAL_TEST_RATES_HOST", server.Host()};
    std::unique_ptr<ADataSourceItem> source;
    std::unique_ptr<ARateDownload> download;
    ARecordingObserver observer;
};

TEST_F(DownloadEngineTest, PeriodWithSeveralResourcesGivesEveryCurrencyAndRate)
{
    server.Answer("/rates/2024-03-01", {200, "USD;Dollar;1;0.011\nEUR;Euro;1;0.0101\n"});
    server.Answer("/rates/2024-03-02", {200, "USD;Dollar;100;1.1\r\n"});
    server.Answer("/rates/2024-03-03", {200, "EUR;Euro;10;0.1;2024-02-28\nGBP;Pound;1;0.0087\n"});
    Download(Day(2024, 3, 1), Day(2024, 3, 3));

    EXPECT_EQ(observer.ready, 3);
    const ADownloadCounts counts = download->Counts();
    EXPECT_EQ(counts.requests, 3u);
    EXPECT_EQ(counts.parsed, 3u);
    EXPECT_EQ(counts.failed, 0u);
    const ADownloadedCurrencies& got = download->Currencies();
    ASSERT_EQ(got.Entries().size(), 3u);
    EXPECT_EQ(got.Entries()[0].code, "USD");
    const ADownloadedCurrency* usd = Find(got, "USD");
    ASSERT_NE(usd, nullptr);
    EXPECT_EQ(usd->name, "Dollar");
    EXPECT_EQ(usd->rates, (std::map<ADate, ADownloadedRate>{{Day(2024, 3, 1), {M(1), 110}},
                                                            {Day(2024, 3, 2), {M(100), 11000}}}));
    const ADownloadedCurrency* eur = Find(got, "EUR");
    ASSERT_NE(eur, nullptr);
    EXPECT_EQ(eur->rates, (std::map<ADate, ADownloadedRate>{{Day(2024, 2, 28), {M(10), 1000}},
                                                            {Day(2024, 3, 1), {M(1), 101}}}));
    ASSERT_NE(Find(got, "GBP"), nullptr);
}

TEST_F(DownloadEngineTest, ResourceLargerThanOneReadArrivesWhole)
{
    std::string body;
    for (int i = 0; i < 20000; ++i)
        body += "C" + std::to_string(10000 + i) + ";Currency number " + std::to_string(i) + ";1;2.5\n";
    ASSERT_GT(body.size(), 500'000u);
    server.Answer("/rates/2024-01-01", {200, body, "", 7000});
    Download(Day(2024, 1, 1), Day(2024, 1, 1));

    ASSERT_EQ(download->Currencies().Entries().size(), 20000u);
    const ADownloadedCurrency& last = download->Currencies().Entries().back();
    EXPECT_EQ(last.code, "C29999");
    EXPECT_EQ(last.name, "Currency number 19999");
}

TEST_F(DownloadEngineTest, SlowResourceIsWaitedFor)
{
    AHttpAnswer slow{200, "USD;Dollar;1;0.011\nEUR;Euro;1;0.0101\n"};
    slow.chunkSize = 5;
    slow.pause = std::chrono::milliseconds(40);
    server.Answer("/rates/2024-01-01", slow);
    server.Answer("/rates/2024-01-02", {200, "GBP;Pound;1;0.0087\n"});
    Download(Day(2024, 1, 1), Day(2024, 1, 2));

    EXPECT_EQ(download->Currencies().Entries().size(), 3u);
    EXPECT_EQ(download->Counts().parsed, 2u);
}

TEST_F(DownloadEngineTest, FailedResourcesEndTheDownloadAndAreNeverParsed)
{
    // Each failure carries text the plug-in would happily read.
    server.Answer("/rates/2024-01-01", {200, "USD;Dollar;1;0.011\n"});
    server.Answer("/rates/2024-01-02", {500, "ERR;Server error page;1;1\n"});
    AHttpAnswer cut{200, "CUT;Cut off;1;1\nCUT2;Cut off too;1;1\n"};
    cut.closeMidBody = true;
    server.Answer("/rates/2024-01-03", cut);
    // 2024-01-04 is not there at all: 404.
    server.Answer("/rates/2024-01-05", {200, "EUR;Euro;1;0.0101\n"});
    Download(Day(2024, 1, 1), Day(2024, 1, 5));

    const ADownloadCounts counts = download->Counts();
    EXPECT_EQ(counts.parsed, 2u);
    EXPECT_EQ(counts.failed, 3u);
    EXPECT_EQ(observer.ready, 2);
    std::set<std::string> codes;
    for (const ADownloadedCurrency& entry : download->Currencies().Entries())
        codes.insert(entry.code);
    EXPECT_EQ(codes, (std::set<std::string>{"USD", "EUR"}));
}

TEST_F(DownloadEngineTest, RefusedConnectionEndsWithNothing)
{
    host.reset();
    host.emplace("FENDRAL_TEST_RATES_HOST", "127.0.0.1:" + std::to_string(ALocalHttpServer::UnusedPort()));
    Download(Day(2024, 1, 1), Day(2024, 1, 4));
    EXPECT_EQ(download->Counts().failed, 4u);
    EXPECT_EQ(observer.ready, 0);
    EXPECT_TRUE(download->Currencies().Empty());
}

TEST_F(DownloadEngineTest, DocumentAboveTheSizeLimitIsCutOffAsFailed)
{
    server.Answer("/rates/2024-01-01", {200, std::string(5000, 'x') + "\nBIG;Big;1;1\n"});
    server.Answer("/rates/2024-01-02", {200, "USD;Dollar;1;0.011\n"});
    ADownloadOptions options;
    options.maxResourceSize = 4096;
    Download(Day(2024, 1, 1), Day(2024, 1, 2), options);
    EXPECT_EQ(download->Counts().failed, 1u);
    ASSERT_EQ(download->Currencies().Entries().size(), 1u);
    EXPECT_EQ(download->Currencies().Entries()[0].code, "USD");
}

TEST_F(DownloadEngineTest, RedirectIsFollowed)
{
    AHttpAnswer moved{301, "moved"};
    moved.location = "/new/2024-01-01";
    server.Answer("/rates/2024-01-01", moved);
    server.Answer("/new/2024-01-01", {200, "USD;Dollar;1;0.011\n"});
    Download(Day(2024, 1, 1), Day(2024, 1, 1));
    ASSERT_EQ(download->Currencies().Entries().size(), 1u);
    EXPECT_EQ(server.RequestedPaths(), (std::vector<std::string>{"/rates/2024-01-01", "/new/2024-01-01"}));
}

TEST_F(DownloadEngineTest, RequestsCarryTheAgentAndRefuseCaches)
{
    server.Answer("/rates/2024-01-01", {200, "USD;Dollar;1;0.011\n"});
    Download(Day(2024, 1, 1), Day(2024, 1, 1));
    const auto headers = server.LastHeaders();
    EXPECT_EQ(headers.at("user-agent"), "Fendral");
    EXPECT_EQ(headers.at("pragma"), "no-cache");
    EXPECT_EQ(headers.at("cache-control"), "no-cache");
}

TEST_F(DownloadEngineTest, AtMostTwoResourcesAreOpenAtATime)
{
    for (int day = 1; day <= 8; ++day) {
        AHttpAnswer slow{200, "USD;Dollar;1;0.011\n"};
        slow.chunkSize = 4;
        slow.pause = std::chrono::milliseconds(15);
        server.Answer("/rates/2024-01-0" + std::to_string(day), slow);
    }
    Download(Day(2024, 1, 1), Day(2024, 1, 8));
    EXPECT_EQ(download->Counts().parsed, 8u);
    EXPECT_EQ(server.MaxConcurrent(), 2u);
}

TEST_F(DownloadEngineTest, EmptyPeriodEndsAtOnce)
{
    download = std::make_unique<ARateDownload>(*source);
    ASSERT_TRUE(download->Start(Day(2024, 2, 2), Day(2024, 2, 10), ASamplingMode::QuarterStart));
    ASSERT_TRUE(RunToEnd(*download, observer));
    EXPECT_EQ(observer.allDone, 1);
    EXPECT_EQ(download->RequestCount(), 0u);
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(DownloadEngineTest, CancelInTheMiddleStopsPromptly)
{
    server.Answer("/rates/2024-01-01", {200, "USD;Dollar;1;0.011\n"});
    AHttpAnswer hanging{200, "EUR;Euro;1;1\n"};
    hanging.hang = true;
    server.Answer("/rates/2024-01-02", hanging);
    download = std::make_unique<ARateDownload>(*source);
    ASSERT_TRUE(download->Start(Day(2024, 1, 1), Day(2024, 1, 3), ASamplingMode::EveryDay));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (observer.ready == 0 && std::chrono::steady_clock::now() < deadline) {
        download->WaitForNotices(std::chrono::milliseconds(20));
        download->Deliver(observer);
    }
    ASSERT_EQ(observer.ready, 1);

    const auto before = std::chrono::steady_clock::now();
    download->Cancel();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(3));
    EXPECT_FALSE(download->Running());
    EXPECT_TRUE(download->Currencies().Empty());
    EXPECT_EQ(download->RequestCount(), 0u);
    download->Deliver(observer);
    EXPECT_EQ(observer.allDone, 0);
    // The same engine can start again.
    server.Answer("/rates/2024-01-02", {200, "EUR;Euro;1;1\n"});
    ASSERT_TRUE(download->Start(Day(2024, 1, 1), Day(2024, 1, 2), ASamplingMode::EveryDay));
    ASSERT_TRUE(RunToEnd(*download, observer));
    EXPECT_EQ(download->Currencies().Entries().size(), 2u);
}

TEST_F(DownloadEngineTest, DestroyingARunningDownloadCancelsIt)
{
    AHttpAnswer hanging{200, "EUR;Euro;1;1\n"};
    hanging.hang = true;
    server.Answer("/rates/2024-01-01", hanging);
    download = std::make_unique<ARateDownload>(*source);
    ASSERT_TRUE(download->Start(Day(2024, 1, 1), Day(2024, 1, 1), ASamplingMode::EveryDay));
    EXPECT_FALSE(download->Start(Day(2024, 1, 1), Day(2024, 1, 1), ASamplingMode::EveryDay));
    EXPECT_EQ(download->BuildRequests(Day(2024, 1, 1), Day(2024, 1, 9), ASamplingMode::EveryDay), 0u);
    const auto before = std::chrono::steady_clock::now();
    download.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(3));
}

TEST_F(DownloadEngineTest, WakeIsCalledForNotices)
{
    server.Answer("/rates/2024-01-01", {200, "USD;Dollar;1;0.011\n"});
    std::atomic<int> wakes{0};
    download = std::make_unique<ARateDownload>(*source);
    ASSERT_TRUE(download->Start(Day(2024, 1, 1), Day(2024, 1, 1), ASamplingMode::EveryDay, [&] { ++wakes; }));
    ASSERT_TRUE(RunToEnd(*download, observer));
    // At least one for the resource and one for the end.
    EXPECT_GE(wakes.load(), 2);
}

// A source linked into the test: every date names the same document, and the
// worker's thread and the values handed back are recorded.
namespace SharedDocument {
std::string host;
ALibraryInfo info;
std::mutex mutex;
std::set<std::thread::id> fetchThreads;
std::vector<std::uint32_t> values;

const ALibraryInfo* Info()
{
    info = {sizeof(ALibraryInfo), 65001, "Shared", host.c_str(), "RUR", "Rubles", "", "", ""};
    return &info;
}
void Resources(APackedDate date, ACallback* callback)
{
    AResourceRequest request = {0, 0, 10, date, "/all"};
    callback->table->AddResource(callback, &request);
}
void Fetch(const char* data, std::uint32_t value, ACallback* callback)
{
    {
        std::lock_guard lock(mutex);
        fetchThreads.insert(std::this_thread::get_id());
        values.push_back(value);
    }
    ARateRecord rate = {M(1), M(2), data, "name", value};
    callback->table->AddRate(callback, &rate);
}
}  // namespace SharedDocument

TEST_F(DownloadEngineTest, OneAddressIsDownloadedOnceAndParsedForEveryRequestOffTheOwnerThread)
{
    SharedDocument::host = server.Host();
    server.Answer("/all", {200, "USD"});
    auto shared = ADataSourceItem::FromExports({&SharedDocument::Info, &SharedDocument::Resources,
                                                &SharedDocument::Fetch},
                                               "shared", 1251);
    ASSERT_NE(shared, nullptr);
    ARateDownload run(*shared);
    ASSERT_TRUE(run.Start(Day(2024, 1, 1), Day(2024, 1, 3), ASamplingMode::EveryDay));
    ASSERT_TRUE(RunToEnd(run, observer));
    EXPECT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(observer.ready, 3);
    EXPECT_EQ(observer.progress, 30u);
    std::lock_guard lock(SharedDocument::mutex);
    EXPECT_EQ(SharedDocument::values.size(), 3u);
    EXPECT_EQ(SharedDocument::fetchThreads.size(), 1u);
    EXPECT_FALSE(SharedDocument::fetchThreads.contains(std::this_thread::get_id()));
    ASSERT_EQ(run.Currencies().Entries().size(), 1u);
    EXPECT_EQ(run.Currencies().Entries()[0].rates.size(), 3u);
}

}  // namespace
}  // namespace RatesTest
