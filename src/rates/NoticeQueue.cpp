#include "rates/NoticeQueue.h"

namespace Rates {

void ANoticeQueue::SetWake(std::function<void()> wake)
{
    std::lock_guard lock(mutex_);
    wake_ = std::move(wake);
}

void ANoticeQueue::Post(ADownloadNotice notice)
{
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        using Kind = ADownloadNotice::Kind;
        if (notice.kind == Kind::Progress && !notices_.empty() && notices_.back().kind == Kind::Progress)
            notices_.back().bytes += notice.bytes;
        else
            notices_.push_back(notice);
        wake = wake_;
    }
    posted_.notify_all();
    if (wake)
        wake();
}

std::vector<ADownloadNotice> ANoticeQueue::Take()
{
    std::lock_guard lock(mutex_);
    std::vector<ADownloadNotice> taken(notices_.begin(), notices_.end());
    notices_.clear();
    return taken;
}

bool ANoticeQueue::Wait(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, timeout, [this] { return !notices_.empty(); });
}

void ANoticeQueue::Clear()
{
    std::lock_guard lock(mutex_);
    notices_.clear();
}

}  // namespace Rates
