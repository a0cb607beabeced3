#include "database/engine/Notify.h"

#include "database/engine/dbEngine.h"

#include <algorithm>

namespace Database::Engine {

ANotify::ANotify(ADBEngine& engine) : engine_(&engine) { engine.Subscribe(this); }

ANotify::~ANotify()
{
    if (engine_)
        engine_->Unsubscribe(this);
}

void AProgress::Attach(ASink sink)
{
    sink_ = std::move(sink);
    Reset();
}

void AProgress::Reset()
{
    total_ = count_ = 0;
    percent_ = 0;
    if (sink_)
        sink_(0);
}

void AProgress::Add(std::uint64_t n)
{
    count_ += n;
    if (total_ == 0)
        return;
    // Rounded to the nearest whole percent, as MulDiv rounds.
    const auto percent = static_cast<int>(std::min<std::uint64_t>((count_ * 100 + total_ / 2) / total_, 100));
    if (percent != percent_) {
        percent_ = percent;
        if (sink_)
            sink_(percent);
    }
}

}  // namespace Database::Engine
