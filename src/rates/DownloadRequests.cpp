#include "rates/DownloadRequests.h"

#include "core/FormatAmount.h"
#include "rates/PackedDate.h"
#include "rates/RateSources.h"

#include <algorithm>
#include <limits>

namespace Rates {

namespace {

// The callback a plug-in gets while it names its resources; rates reported now are
// not asked for and are ignored.
struct ARequestCollector : ACallback {
    ARequestList* list;
    std::string prefix;  // "http://" + host

    static void AddResource(ACallback* self, const AResourceRequest* request)
    {
        auto* collector = static_cast<ARequestCollector*>(self);
        if (!request || !request->path)
            return;
        ADownloadRequest added;
        added.address = collector->prefix + request->path;
        added.expectedSize = request->expectedSize;
        added.value = request->value;
        collector->list->Add(std::move(added));
    }
    static void IgnoreRate(ACallback*, const ARateRecord*) {}
};

constexpr ACallbackTable kCollectorTable = {&ARequestCollector::AddResource, &ARequestCollector::IgnoreRate};

}  // namespace

void ARequestList::Clear()
{
    requests_.clear();
    total_ = 0;
}

void ARequestList::Add(ADownloadRequest request)
{
    total_ += request.expectedSize;
    requests_.push_back(std::move(request));
}

void ARequestList::Build(const ADataSourceItem& source, const std::vector<ADate>& dates)
{
    Clear();
    ARequestCollector collector;
    collector.table = &kCollectorTable;
    collector.list = this;
    collector.prefix = "http://" + source.Host();
    for (const ADate date : dates)
        source.Exports().getResources(PackDate(date), &collector);
}

std::u16string EstimateText(std::uint64_t totalBytes, const UtilityClasses::Strings::LocaleInfo& locale)
{
    constexpr std::uint64_t kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) / 10000;
    const auto tenThousandths = static_cast<std::int64_t>(std::min(totalBytes, kLargest) * 10000 / 1024);
    return UtilityClasses::Strings::FormatAmount(tenThousandths, 4, true, locale) + u" Kb";
}

}  // namespace Rates
