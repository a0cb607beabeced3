// Shared pieces of the rate tests: the sample plug-in, environment settings it
// reads, and running a download to its end the way an owner thread does.
#pragma once

#include "rates/LoadRate.h"
#include "rates/RateSources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace RatesTest {

using namespace Rates;

constexpr Database::AMoney M(std::int64_t units) { return units * 10'000; }

inline std::string PluginPath(const std::string& name) { return std::string(FENDRAL_PLUGIN_DIR) + "/" + name; }

// Sets an environment variable for the scope of a test and restores it after.
class AScopedEnv {
public:
    AScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~AScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    AScopedEnv(const AScopedEnv&) = delete;
    AScopedEnv& operator=(const AScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The test plug-in. It reads its host from FENDRAL_TEST_RATES_HOST whenever it is
// asked for its record, so keep an AScopedEnv with the host alive while it is used.
inline std::unique_ptr<ADataSourceItem> LoadTestSource()
{
    return ADataSourceItem::Load(PluginPath("testrates.so"), 1251);
}

// Records what the owner is told, and on which thread.
class ARecordingObserver : public ADownloadObserver {
public:
    void OnProgress(std::uint64_t bytes) override
    {
        Check();
        progress += bytes;
    }
    void OnResourceReady() override
    {
        Check();
        ++ready;
    }
    void OnAllDone() override
    {
        Check();
        ++allDone;
    }

    std::uint64_t progress = 0;
    int ready = 0;
    int allDone = 0;
    bool onOwnerThread = true;
    std::thread::id owner = std::this_thread::get_id();

private:
    void Check() { onOwnerThread = onOwnerThread && std::this_thread::get_id() == owner; }
};

// Delivers notices until the download has ended or `limit` has passed; answers
// whether it ended.
inline bool RunToEnd(ARateDownload& download, ARecordingObserver& observer,
                     std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (download.Running() && std::chrono::steady_clock::now() < deadline) {
        download.WaitForNotices(std::chrono::milliseconds(50));
        download.Deliver(observer);
    }
    return !download.Running();
}

inline ADate Day(int year, int month, int day) { return Dates::FromYmd(year, month, day); }

}  // namespace RatesTest
