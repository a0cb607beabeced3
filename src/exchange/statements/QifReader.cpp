// QIF statements: records of one-letter fields ending in "^", under "!Type:" headers. The
// bank and cash types are read; other sections (accounts, categories, investments) are
// passed over. Split parts ("S", "$", "E") become the line's splits.
#include "exchange/statements/Statement.h"

#include <cctype>
#include <optional>
#include <string>

namespace ExportImport::Statements {

namespace {

using Values::Trim;

// Programs write the headers in any letter case ("!Type:Bank", "!type:bank").
bool IsReadSection(std::string_view header)
{
    std::string lower(header);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::string_view type : {"!type:bank", "!type:cash", "!type:ccard", "!type:oth a", "!type:oth l"})
        if (std::string_view(lower).substr(0, type.size()) == type)
            return true;
    return false;
}

struct ARecord {
    AStatementLine line;
    bool hasDate = false, hasAmount = false, empty = true;
    std::vector<AProblem> problems;
};

}  // namespace

AStatementRead ReadQif(std::string_view bytes, bool dayFirst)
{
    AStatementRead read;
    bool inSection = false, sawSection = false;
    std::optional<ARecord> record;
    auto finish = [&] {
        if (!record || record->empty) {
            record.reset();
            return;
        }
        if (!record->hasDate && record->problems.empty())
            record->problems.push_back({AProblemKind::MissingDate, record->line.sourceLine, "D"});
        if (!record->hasAmount && record->problems.empty())
            record->problems.push_back({AProblemKind::MissingAmount, record->line.sourceLine, "T"});
        if (record->problems.empty())
            read.statement.lines.push_back(std::move(record->line));
        else
            read.problems.insert(read.problems.end(), record->problems.begin(), record->problems.end());
        record.reset();
    };
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    std::size_t lineNumber = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view text = Trim(bytes.substr(at, end - at));
        at = end + 1;
        ++lineNumber;
        if (text.empty())
            continue;
        if (text[0] == '!') {
            finish();
            inSection = IsReadSection(text);
            sawSection = sawSection || inSection;
            continue;
        }
        if (!inSection)
            continue;
        if (text[0] == '^') {
            finish();
            continue;
        }
        if (!record) {
            record.emplace();
            record->line.sourceLine = lineNumber;
        }
        record->empty = false;
        AStatementLine& line = record->line;
        const std::string_view value = text.substr(1);
        const std::string field(1, text[0]);
        switch (text[0]) {
        case 'D':
            record->hasDate = Values::ParseQifDate(value, dayFirst, line.date);
            if (!record->hasDate)
                record->problems.push_back({AProblemKind::BadDate, lineNumber, field});
            break;
        case 'T':
        case 'U':
            if (record->hasAmount)
                break;
            record->hasAmount = Values::ParseAmount(value, line.amount);
            if (!record->hasAmount)
                record->problems.push_back({AProblemKind::BadAmount, lineNumber, field});
            break;
        case 'P': line.payee = Values::DecodeText(value); break;
        case 'M': line.memo = Values::DecodeText(value); break;
        case 'N': line.reference = std::string(value); break;
        case 'L': line.category = Values::DecodeText(value); break;
        case 'S': line.splits.push_back({Values::DecodeText(value), 0, {}}); break;
        case 'E':
            if (!line.splits.empty())
                line.splits.back().memo = Values::DecodeText(value);
            break;
        case '$':
            if (line.splits.empty() || !Values::ParseAmount(value, line.splits.back().amount))
                record->problems.push_back({AProblemKind::BadAmount, lineNumber, field});
            break;
        default: break;  // cleared state, address lines and the like
        }
    }
    if (record && !record->empty)
        read.problems.push_back({AProblemKind::Truncated, record->line.sourceLine, "^"});
    if (!sawSection)
        read.problems.push_back({AProblemKind::NotAStatement, 0, "!Type"});
    return read;
}

}  // namespace ExportImport::Statements
