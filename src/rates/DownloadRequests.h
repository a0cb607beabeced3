// The request list of a download: one request per resource a plug-in asks for, and
// the size estimate shown before the download starts.
#pragma once

#include "core/ADate.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace UtilityClasses::Strings { struct LocaleInfo; }

namespace Rates {

class ADataSourceItem;

enum class ARequestState : std::uint8_t {
    Queued = 0,     // not yet opened
    Receiving = 1,  // opening or receiving
    Received = 2,   // fully received, waiting to be parsed
    Parsing = 3,    // handed to FetchRates
    Failed = 4,     // could not be fetched: no connection, HTTP error, cut off
};

struct ADownloadRequest {
    std::string address;  // "http://" + host + path
    std::uint32_t expectedSize = 0;
    std::uint32_t value = 0;  // the plug-in's own, handed back to FetchRates
    ARequestState state = ARequestState::Queued;
    // The received document; requests for the same address share one.
    std::shared_ptr<const std::string> data;
};

class ARequestList {
public:
    // Clears the list and asks the source for the resources of every date, in order.
    void Build(const ADataSourceItem& source, const std::vector<ADate>& dates);
    void Clear();

    std::vector<ADownloadRequest>& Requests() { return requests_; }
    const std::vector<ADownloadRequest>& Requests() const { return requests_; }
    // The sum of the expected sizes of all requests.
    std::uint64_t TotalExpected() const { return total_; }

    void Add(ADownloadRequest request);

private:
    std::vector<ADownloadRequest> requests_;
    std::uint64_t total_ = 0;
};

// The estimate in kilobytes with four decimals, followed by " Kb".
std::u16string EstimateText(std::uint64_t totalBytes, const UtilityClasses::Strings::LocaleInfo& locale);

}  // namespace Rates
