#include "InfoReport.h"

#include "database/engine/StreamNames.h"

#include <cstdio>

namespace Cli {

namespace {

using Database::Engine::ATableId;

constexpr const char* kPreviousGenerationMagic = "FendBase";

constexpr std::array<std::string_view, Database::Engine::ADBEngine::kTableCount + 1> kRecordTypeNames = {
    "",
    "AString",
    "AUser",
    "APageInfo",
    "ACurrency",
    "ARateHeader",
    "ARateValue",
    "AAccount",
    "ACategory",
    "AClassifier",
    "ATransaction",
    "ARelation",
    "ADBSettings",
    "ASeries",
    "ASeriesAccountFilter",
    "ASeriesNodeFilter",
    "ABudgetItem",
    "ABudgetLimit",
    "AAccountFolder",
    "AAccountPlacement",
};

std::optional<AFeatures> CollectFeatures(Database::ADatabase& db)
{
    const auto& live = db.Settings().Live();
    if (live.empty())
        return std::nullopt;
    const Database::ADBSettings& settings = live.front()->Record();
    AFeatures features;
    features.accountFolders = settings.accountFolders != 0;
    features.budgetDates = settings.budgetDates != 0;
    features.quantities = settings.quantities != 0;
    features.times = settings.times != 0;
    features.accountPlans = settings.accountPlans != 0;
    for (std::size_t i = 0; i < features.extraComments.size(); ++i) {
        features.extraComments[i].inUse = settings.extraCommentInUse[i] != 0;
        features.extraComments[i].caption = db.Text(settings.extraCommentCaption[i]);
    }
    return features;
}

}  // namespace

std::string GuidText(const std::uint8_t (&identity)[16])
{
    auto le = [&](int at, int bytes) {
        unsigned value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | identity[at + i];
        return value;
    };
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", le(0, 4), le(4, 2),
                  le(6, 2), identity[8], identity[9], identity[10], identity[11], identity[12], identity[13],
                  identity[14], identity[15]);
    return text;
}

AFileInfo CollectFileInfo(Database::ADatabase& db)
{
    AFileInfo info;
    info.path = db.FileName().FullPath();
    // Opening refuses a compound file with any other signature; a file opened without
    // a compound storage was a previous-generation file, converted while it was read.
    info.signature = db.HasStorage() ? Database::Engine::StreamNames::kSignature : kPreviousGenerationMagic;
    info.header = db.FileHeader();
    info.guid = GuidText(info.header.identity);
    info.features = CollectFeatures(db);
    for (ATableId id = 1; id <= Database::Engine::ADBEngine::kTableCount; ++id) {
        const auto& table = db.Table(id);
        info.tables.push_back({id, kRecordTypeNames[id], table.LiveCount(), table.SlotCount() - table.LiveCount()});
    }
    info.consistencyErrors = db.LoadErrors();
    info.readOnly = db.ReadOnly();
    return info;
}

}  // namespace Cli
