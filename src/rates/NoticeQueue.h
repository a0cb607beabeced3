// Notices from the download thread to the owner of a download, who takes them on
// its own thread (the GUI's, or the command-line program's main thread).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace Rates {

struct ADownloadNotice {
    enum class Kind : std::uint8_t { Progress, ResourceReady, AllDone };
    Kind kind;
    std::uint64_t bytes = 0;  // Progress: bytes received since the last progress notice
};

class ANoticeQueue {
public:
    // `wake` is called on the posting thread after each post, for example to queue a
    // call to the owner's thread that takes the notices; it must not block.
    void SetWake(std::function<void()> wake);

    // Any thread. Consecutive progress notices are merged into one.
    void Post(ADownloadNotice notice);

    // The owner's thread.
    std::vector<ADownloadNotice> Take();
    // Waits until a notice is waiting or the time has passed; answers whether one is.
    bool Wait(std::chrono::milliseconds timeout);
    void Clear();

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<ADownloadNotice> notices_;
    std::function<void()> wake_;
};

}  // namespace Rates
