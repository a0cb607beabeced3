// One HTTP transfer of the download engine: a libcurl easy handle set up the way
// every rate resource is fetched, and the document as it arrives.
#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Rates {

struct ADownloadOptions {
    // A larger document is cut off and counts as failed, so a wrong or hostile
    // address can't fill the memory.
    std::uint64_t maxResourceSize = std::uint64_t{64} << 20;
    // A transfer that can't connect, or receives nothing for this long, fails, so
    // that a download always ends.
    long connectTimeoutSeconds = 30;
    long stallSeconds = 60;
    // Transfers open at a time.
    std::size_t maxOpen = 2;
};

// libcurl's global set-up, done once before the first transfer.
void EnsureCurlReady();

class AHttpTransfer {
public:
    // `progressCap`: the progress this transfer may report in all (the expected sizes
    // of the requests it serves).
    AHttpTransfer(const std::string& address, std::uint64_t progressCap, const ADownloadOptions& options);
    ~AHttpTransfer();
    AHttpTransfer(const AHttpTransfer&) = delete;
    AHttpTransfer& operator=(const AHttpTransfer&) = delete;

    CURL* Handle() const { return easy_; }
    // False when libcurl could not make the handle; the transfer then fails at once.
    bool Usable() const { return easy_ != nullptr; }

    // Once libcurl reports the transfer done: a whole document with a 2xx status.
    bool Succeeded(CURLcode result) const;
    std::string TakeDocument() { return std::move(document_); }

    // Progress to report now: the bytes received since the last call, never taking
    // the transfer past its cap.
    std::uint64_t TakeProgress();
    // The rest up to the cap, once the transfer has ended either way.
    std::uint64_t TakeRemainingProgress();

    // The requests this transfer serves (same address).
    std::vector<std::size_t> requests;

private:
    static std::size_t Write(char* data, std::size_t size, std::size_t count, void* self);

    CURL* easy_ = nullptr;
    curl_slist* headers_ = nullptr;
    std::string document_;
    std::uint64_t received_ = 0;
    std::uint64_t reported_ = 0;
    std::uint64_t progressCap_;
    std::uint64_t maxSize_;
    bool cutOff_ = false;
};

}  // namespace Rates
