#include "rates/LoadRate.h"

#include "rates/RateSources.h"

#include <algorithm>
#include <unordered_map>

namespace Rates {

namespace {

// The callback a plug-in gets while it reads a document; only rates count now.
struct ARateCollector : ACallback {
    ADownloadedCurrencies* currencies;

    static void IgnoreResource(ACallback*, const AResourceRequest*) {}
    static void AddRate(ACallback* self, const ARateRecord* rate)
    {
        if (rate)
            static_cast<ARateCollector*>(self)->currencies->Add(*rate);
    }
};

constexpr ACallbackTable kRateCollectorTable = {&ARateCollector::IgnoreResource, &ARateCollector::AddRate};

// Requests for the same address share one transfer: a source that names one
// document for many dates gets it downloaded once.
struct AAddressGroup {
    const std::string* address;
    std::vector<std::size_t> requests;
    std::uint64_t expected = 0;
};

std::vector<AAddressGroup> GroupByAddress(const std::vector<ADownloadRequest>& requests)
{
    std::vector<AAddressGroup> groups;
    std::unordered_map<std::string_view, std::size_t> byAddress;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        auto [at, added] = byAddress.try_emplace(requests[i].address, groups.size());
        if (added)
            groups.push_back({&requests[i].address, {}, 0});
        AAddressGroup& group = groups[at->second];
        group.requests.push_back(i);
        group.expected += requests[i].expectedSize;
    }
    return groups;
}

}  // namespace

ARateDownload::ARateDownload(const ADataSourceItem& source, ADownloadOptions options)
    : source_(source), options_(options)
{
}

ARateDownload::~ARateDownload() { Cancel(); }

std::uint64_t ARateDownload::BuildRequests(ADate from, ADate to, ASamplingMode mode)
{
    if (running_)
        return 0;
    requests_.Build(source_, SampledDates(from, to, mode));
    return requests_.TotalExpected();
}

bool ARateDownload::Start(ADate from, ADate to, ASamplingMode mode, std::function<void()> wake)
{
    if (running_)
        return false;
    EnsureCurlReady();
    currencies_.Clear();
    notices_.Clear();
    cancel_ = false;
    requests_.Build(source_, SampledDates(from, to, mode));
    received_.clear();
    unfinished_ = requests_.Requests().size();
    ready_ = std::make_unique<std::counting_semaphore<>>(0);
    // Without a multi handle every request fails at once and the download still ends.
    multi_ = curl_multi_init();
    notices_.SetWake(std::move(wake));
    running_ = true;
    parseThread_ = std::thread(&ARateDownload::RunParser, this);
    transferThread_ = std::thread(&ARateDownload::RunTransfers, this);
    return true;
}

void ARateDownload::RunTransfers()
{
    const std::vector<AAddressGroup> groups = GroupByAddress(requests_.Requests());
    std::unordered_map<CURL*, std::unique_ptr<AHttpTransfer>> open;
    std::size_t next = 0;
    auto openMore = [&] {
        while (open.size() < options_.maxOpen && next < groups.size() && !cancel_) {
            const AAddressGroup& group = groups[next++];
            auto transfer = std::make_unique<AHttpTransfer>(*group.address, group.expected, options_);
            transfer->requests = group.requests;
            {
                std::lock_guard lock(mutex_);
                for (std::size_t i : group.requests)
                    requests_.Requests()[i].state = ARequestState::Receiving;
            }
            // One that can't even be opened counts as ended, so another opens in its place.
            if (!transfer->Usable() || curl_multi_add_handle(multi_, transfer->Handle()) != CURLM_OK) {
                Finish(*transfer, false);
                continue;
            }
            CURL* handle = transfer->Handle();
            open.emplace(handle, std::move(transfer));
        }
    };

    openMore();
    while (!open.empty() && !cancel_) {
        int running = 0;
        curl_multi_perform(multi_, &running);
        for (auto& [handle, transfer] : open)
            if (const std::uint64_t bytes = transfer->TakeProgress())
                notices_.Post({ADownloadNotice::Kind::Progress, bytes});
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            CURL* handle = message->easy_handle;
            const CURLcode result = message->data.result;  // gone once the handle is removed
            curl_multi_remove_handle(multi_, handle);
            auto at = open.find(handle);
            if (at == open.end())
                continue;
            Finish(*at->second, at->second->Succeeded(result));
            open.erase(at);
        }
        openMore();
        if (!open.empty() && !cancel_)
            curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
    }
    for (auto& [handle, transfer] : open)
        curl_multi_remove_handle(multi_, handle);
    open.clear();

    // Wakes the worker for the last time: when every request failed it has
    // nothing else to wake it.
    ready_->release();
    parseThread_.join();
    if (!cancel_)
        notices_.Post({ADownloadNotice::Kind::AllDone});
}

void ARateDownload::Finish(AHttpTransfer& transfer, bool succeeded)
{
    const std::uint64_t progress = transfer.TakeProgress() + transfer.TakeRemainingProgress();
    if (progress)
        notices_.Post({ADownloadNotice::Kind::Progress, progress});
    {
        std::lock_guard lock(mutex_);
        std::shared_ptr<const std::string> document;
        if (succeeded)
            document = std::make_shared<const std::string>(transfer.TakeDocument());
        for (std::size_t i : transfer.requests) {
            ADownloadRequest& request = requests_.Requests()[i];
            request.state = succeeded ? ARequestState::Received : ARequestState::Failed;
            request.data = document;
            if (succeeded)
                received_.push_back(i);
            else
                --unfinished_;
        }
    }
    if (!succeeded)
        return;
    for (std::size_t i = 0; i < transfer.requests.size(); ++i) {
        ready_->release();
        notices_.Post({ADownloadNotice::Kind::ResourceReady});
    }
}

void ARateDownload::RunParser()
{
    ARateCollector collector;
    collector.table = &kRateCollectorTable;
    collector.currencies = &currencies_;
    for (;;) {
        ready_->acquire();
        if (cancel_)
            return;
        std::shared_ptr<const std::string> document;
        std::uint32_t value = 0;
        {
            std::lock_guard lock(mutex_);
            if (!received_.empty()) {
                ADownloadRequest& request = requests_.Requests()[received_.front()];
                received_.pop_front();
                request.state = ARequestState::Parsing;
                document = std::move(request.data);  // freed once every request of it is parsed
                value = request.value;
            }
        }
        if (document)
            source_.Exports().fetchRates(document->c_str(), value, &collector);
        std::lock_guard lock(mutex_);
        if (document)
            --unfinished_;
        if (unfinished_ == 0)
            return;
    }
}

void ARateDownload::Deliver(ADownloadObserver& observer)
{
    for (const ADownloadNotice& notice : notices_.Take()) {
        switch (notice.kind) {
        case ADownloadNotice::Kind::Progress:
            observer.OnProgress(notice.bytes);
            break;
        case ADownloadNotice::Kind::ResourceReady:
            observer.OnResourceReady();
            break;
        case ADownloadNotice::Kind::AllDone:
            Stop();
            observer.OnAllDone();
            break;
        }
    }
}

void ARateDownload::Stop()
{
    if (transferThread_.joinable())
        transferThread_.join();
    if (multi_)
        curl_multi_cleanup(multi_);
    multi_ = nullptr;
    ready_.reset();
    notices_.SetWake({});
    running_ = false;
}

void ARateDownload::Cancel()
{
    if (!running_)
        return;
    cancel_ = true;
    if (multi_)
        curl_multi_wakeup(multi_);
    ready_->release();
    Stop();
    notices_.Clear();
    requests_.Clear();
    currencies_.Clear();
}

ADownloadCounts ARateDownload::Counts() const
{
    std::lock_guard lock(mutex_);
    ADownloadCounts counts;
    counts.requests = requests_.Requests().size();
    for (const ADownloadRequest& request : requests_.Requests()) {
        if (request.state == ARequestState::Parsing)
            ++counts.parsed;
        else if (request.state == ARequestState::Failed)
            ++counts.failed;
    }
    return counts;
}

}  // namespace Rates
