// `info --json`: stable English keys for scripts.
#include "InfoReport.h"

#include "core/CodePage.h"

#include <nlohmann/json.hpp>

namespace Cli {

namespace {

using Json = nlohmann::ordered_json;

Json FeaturesJson(const AFeatures& features)
{
    Json extra = Json::array();
    for (const AExtraComment& comment : features.extraComments)
        extra.push_back({{"inUse", comment.inUse}, {"caption", UtilityClasses::Strings::Utf16ToUtf8(comment.caption)}});
    return {
        {"accountFolders", features.accountFolders},
        {"budgetDates", features.budgetDates},
        {"quantities", features.quantities},
        {"times", features.times},
        {"accountPlans", features.accountPlans},
        {"extraComments", std::move(extra)},
    };
}

}  // namespace

void PrintInfoJson(std::ostream& out, const AFileInfo& info)
{
    const auto& header = info.header;
    Json tables = Json::array();
    for (const ATableCounts& table : info.tables)
        tables.push_back({{"id", table.id}, {"name", table.name}, {"live", table.live}, {"deleted", table.deleted}});
    const Json document = {
        {"file", info.path},
        {"header",
         {
             {"signature", info.signature},
             {"guid", info.guid},
             {"formatA", header.formatA},
             {"formatB", header.formatB},
             {"creatorBuild", header.creatorBuild},
             {"writerBuild", header.writerBuild},
             {"lowestReaderBuild", header.lowestReaderBuild},
         }},
        {"features", info.features ? FeaturesJson(*info.features) : Json(nullptr)},
        {"tables", std::move(tables)},
        {"consistencyErrors", info.consistencyErrors},
        {"readOnly", info.readOnly},
    };
    // A path that is not valid UTF-8 must not stop the output.
    out << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace Cli
