// What `info` tells about an open data file, gathered once and printed for people
// or as JSON.
#pragma once

#include "database/Database.h"

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace Cli {

struct ATableCounts {
    Database::Engine::ATableId id = 0;
    std::string_view name;  // the record type's name
    std::size_t live = 0;
    std::size_t deleted = 0;  // slots of the table that hold no live record
};

struct AExtraComment {
    bool inUse = false;
    std::u16string caption;
};

// The switches of the file's settings record.
struct AFeatures {
    bool accountFolders = false;
    bool budgetDates = false;
    bool quantities = false;
    bool times = false;
    bool accountPlans = false;
    std::array<AExtraComment, 4> extraComments;
};

struct AFileInfo {
    std::string path;
    std::string signature;
    std::string guid;  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
    Database::Engine::AFileHeader header;
    std::optional<AFeatures> features;  // none when the file holds no settings record
    std::vector<ATableCounts> tables;   // in table-id order
    std::uint32_t consistencyErrors = 0;
    bool readOnly = false;
};

AFileInfo CollectFileInfo(Database::ADatabase& db);

// The identity as the platform writes a GUID: the first three fields are little-endian.
std::string GuidText(const std::uint8_t (&identity)[16]);

void PrintInfoText(std::ostream& out, const AFileInfo& info);
void PrintInfoJson(std::ostream& out, const AFileInfo& info);

}  // namespace Cli
