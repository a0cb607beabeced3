// `info` for people.
#include "CliMessages.h"
#include "InfoReport.h"

#include <cstdio>

namespace Cli {

namespace {

const char* YesNo(bool value) { return value ? "yes" : "no"; }

void Line(std::ostream& out, std::string_view label, const std::string& value)
{
    char padded[32];
    std::snprintf(padded, sizeof padded, "%-20.*s", static_cast<int>(label.size()), label.data());
    out << padded << value << '\n';
}

void PrintFeatures(std::ostream& out, const AFeatures& features)
{
    out << "Features:\n";
    const std::pair<const char*, bool> switches[] = {
        {"account folders", features.accountFolders}, {"budget dates", features.budgetDates},
        {"quantities", features.quantities},          {"times of day", features.times},
        {"account plans", features.accountPlans},
    };
    for (const auto& [label, on] : switches)
        Line(out, std::string("  ") + label, YesNo(on));
    for (std::size_t i = 0; i < features.extraComments.size(); ++i) {
        const AExtraComment& extra = features.extraComments[i];
        std::string value = YesNo(extra.inUse);
        if (!extra.caption.empty())
            value += " \"" + TerminalText(extra.caption) + "\"";
        Line(out, "  extra comment " + std::to_string(i + 1), value);
    }
}

void PrintTables(std::ostream& out, const std::vector<ATableCounts>& tables)
{
    char row[96];
    std::snprintf(row, sizeof row, "%-26s %10s %10s\n", "Tables:", "live", "deleted");
    out << row;
    for (const ATableCounts& table : tables) {
        std::snprintf(row, sizeof row, "  %2u %-21.*s %10zu %10zu\n", table.id, static_cast<int>(table.name.size()),
                      table.name.data(), table.live, table.deleted);
        out << row;
    }
}

}  // namespace

void PrintInfoText(std::ostream& out, const AFileInfo& info)
{
    const auto& header = info.header;
    Line(out, "File:", info.path);
    Line(out, "Signature:", info.signature);
    Line(out, "GUID:", info.guid);
    Line(out, "Format words:", std::to_string(header.formatA) + ", " + std::to_string(header.formatB));
    Line(out, "Builds:", "created " + std::to_string(header.creatorBuild) + ", last written " +
                             std::to_string(header.writerBuild) + ", lowest reader " +
                             std::to_string(header.lowestReaderBuild));
    if (info.features)
        PrintFeatures(out, *info.features);
    else
        Line(out, "Features:", "no settings record");
    PrintTables(out, info.tables);
    Line(out, "Consistency errors:", std::to_string(info.consistencyErrors));
    Line(out, "Read-only:", YesNo(info.readOnly));
}

}  // namespace Cli
