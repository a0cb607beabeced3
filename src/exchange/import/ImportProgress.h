// Progress of an import counted in records: each whole percent is told once.
#pragma once

#include "exchange/xml/xmlProgress.h"

#include <cstddef>

namespace ExportImport::Private {

class AItemProgress {
public:
    AItemProgress(UtilityClasses::XML::AUserProgressNotifier* notifier, std::size_t total)
        : notifier_(notifier), total_(total)
    {
    }
    void Advance()
    {
        if (!notifier_ || total_ == 0)
            return;
        const auto percent = static_cast<unsigned>(++done_ * 100 / total_);
        if (percent != reported_)
            notifier_->Notify(reported_ = percent);
    }

private:
    UtilityClasses::XML::AUserProgressNotifier* notifier_;
    std::size_t total_;
    std::size_t done_ = 0;
    unsigned reported_ = 0;
};

}  // namespace ExportImport::Private
