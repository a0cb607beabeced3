#include "rates/HttpTransfer.h"

#include <algorithm>
#include <mutex>

namespace Rates {

void EnsureCurlReady()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

AHttpTransfer::AHttpTransfer(const std::string& address, std::uint64_t progressCap, const ADownloadOptions& options)
    : progressCap_(progressCap), maxSize_(options.maxResourceSize)
{
    easy_ = curl_easy_init();
    if (!easy_)
        return;
    // Rates must be fresh: no cache on the way may answer for the server.
    headers_ = curl_slist_append(headers_, "Pragma: no-cache");
    headers_ = curl_slist_append(headers_, "Cache-Control: no-cache");
    curl_easy_setopt(easy_, CURLOPT_URL, address.c_str());
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(easy_, CURLOPT_USERAGENT, "Fendral");
    // Addresses are "http://"; a server that moved to https redirects there.
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, 8L);
    // An error page is no rate document: stop receiving it at once.
    curl_easy_setopt(easy_, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxSize_));
    curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT, options.connectTimeoutSeconds);
    curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME, options.stallSeconds);
    // Transfers run on the download thread: no signals for timeouts.
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &AHttpTransfer::Write);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy_, CURLOPT_PRIVATE, this);
}

AHttpTransfer::~AHttpTransfer()
{
    if (easy_)
        curl_easy_cleanup(easy_);
    curl_slist_free_all(headers_);
}

std::size_t AHttpTransfer::Write(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* transfer = static_cast<AHttpTransfer*>(self);
    const std::size_t bytes = size * count;
    if (bytes > transfer->maxSize_ - std::min<std::uint64_t>(transfer->document_.size(), transfer->maxSize_)) {
        transfer->cutOff_ = true;
        return 0;  // libcurl ends the transfer with a write error
    }
    transfer->document_.append(data, bytes);
    transfer->received_ += bytes;
    return bytes;
}

bool AHttpTransfer::Succeeded(CURLcode result) const
{
    if (!easy_ || result != CURLE_OK || cutOff_)
        return false;
    long status = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
    return status >= 200 && status < 300;
}

std::uint64_t AHttpTransfer::TakeProgress()
{
    const std::uint64_t shown = std::min(received_, progressCap_);
    const std::uint64_t delta = shown - reported_;
    reported_ = shown;
    return delta;
}

std::uint64_t AHttpTransfer::TakeRemainingProgress()
{
    const std::uint64_t delta = progressCap_ - reported_;
    reported_ = progressCap_;
    return delta;
}

}  // namespace Rates
