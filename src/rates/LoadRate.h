// The rate download engine. The owner (the wizard, or the command-line program)
// builds the request list of a period, starts the download and takes the notices
// on its own thread; transfers run on a download thread over libcurl's multi
// interface, and one parsing worker hands every received document to the plug-in's
// FetchRates. The downloaded currencies are read after the all-done notice.
//
//   owner thread:    BuildRequests, Start, Deliver/WaitForNotices, Cancel, Currencies
//   download thread: transfers, at most ADownloadOptions::maxOpen at a time; posts notices
//   parse worker:    FetchRates (and so AddRate), one document at a time
#pragma once

#include "rates/DownloadRequests.h"
#include "rates/DownloadedCurrencies.h"
#include "rates/HttpTransfer.h"
#include "rates/NoticeQueue.h"
#include "rates/SamplingDates.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>

namespace Rates {

class ADataSourceItem;

// What the owner is told, always on its own thread (from Deliver).
class ADownloadObserver {
public:
    // Bytes received; the sum over a download is the total expected size.
    virtual void OnProgress(std::uint64_t bytes) = 0;
    // One requested resource has arrived.
    virtual void OnResourceReady() = 0;
    // Every request has ended and every received document has been parsed.
    virtual void OnAllDone() = 0;

protected:
    ~ADownloadObserver() = default;
};

struct ADownloadCounts {
    std::size_t requests = 0;
    std::size_t parsed = 0;  // received and handed to the plug-in
    std::size_t failed = 0;
};

class ARateDownload {
public:
    // `source` must outlive the download.
    explicit ARateDownload(const ADataSourceItem& source, ADownloadOptions options = {});
    ~ARateDownload();
    ARateDownload(const ARateDownload&) = delete;
    ARateDownload& operator=(const ARateDownload&) = delete;

    // The request list for a period, and its total expected size (the estimate).
    // Refused (answering 0) while a download runs.
    std::uint64_t BuildRequests(ADate from, ADate to, ASamplingMode mode);
    std::uint64_t TotalExpected() const { return requests_.TotalExpected(); }
    std::size_t RequestCount() const { return requests_.Requests().size(); }

    // Rebuilds the request list and starts downloading. `wake` is called on the
    // download thread each time a notice is posted (it must only arrange for Deliver
    // to be called on the owner's thread). False when a download is running already.
    bool Start(ADate from, ADate to, ASamplingMode mode, std::function<void()> wake = {});
    // Stops a running download and discards its requests and currencies.
    void Cancel();
    // Started, and the all-done notice not yet delivered.
    bool Running() const { return running_; }

    // Hands every waiting notice to the observer, in the order they were posted.
    void Deliver(ADownloadObserver& observer);
    // Waits until a notice is waiting or the time has passed.
    bool WaitForNotices(std::chrono::milliseconds timeout) { return notices_.Wait(timeout); }

    // The downloaded currencies; complete once the all-done notice was delivered.
    const ADownloadedCurrencies& Currencies() const { return currencies_; }
    ADownloadCounts Counts() const;

private:
    void RunTransfers();
    void RunParser();
    void Finish(AHttpTransfer& transfer, bool succeeded);
    void Stop();

    const ADataSourceItem& source_;
    ADownloadOptions options_;
    ARequestList requests_;
    ADownloadedCurrencies currencies_;  // written by the parse worker only
    ANoticeQueue notices_;

    // Shared by the threads while a download runs.
    mutable std::mutex mutex_;
    std::deque<std::size_t> received_;  // requests in state Received, oldest first
    std::size_t unfinished_ = 0;        // requests not yet parsed or failed
    std::unique_ptr<std::counting_semaphore<>> ready_;
    std::atomic<bool> cancel_{false};
    CURLM* multi_ = nullptr;

    std::thread transferThread_;
    std::thread parseThread_;
    bool running_ = false;
};

}  // namespace Rates
