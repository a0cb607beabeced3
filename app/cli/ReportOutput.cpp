#include "ReportOutput.h"

#include "CliMessages.h"

#include "core/FormatAmount.h"
#include "core/FormatDate.h"
#include "exchange/export/ExportValues.h"

#include <algorithm>

namespace Cli {

using namespace Database;

namespace {
constexpr int kShortDatePicture = UtilityClasses::Strings::CommonText::kShortDatePicture;
}

std::u16string PeopleAmount(const ACliContext& context, AMoney amount, int decimals)
{
    return UtilityClasses::Strings::FormatAmount(amount, decimals, true, context.strings.Locale());
}

std::u16string PeopleDate(const ACliContext& context, ADate date)
{
    return UtilityClasses::Strings::FormatDate(date, context.strings.Text(kShortDatePicture), context.strings.Locale());
}

std::string JsonAmount(AMoney amount) { return ExportImport::Private::AmountText(amount); }
std::string JsonDate(ADate date) { return ExportImport::Private::DateText(date); }
std::string Utf8(std::u16string_view text) { return TerminalText(text); }

std::u16string ColumnTitle(const ACliContext& context, int id) { return std::u16string(context.strings.Text(id)); }

std::u16string ColumnTitle(const ACliContext& context, int id, std::u16string_view currencyCode)
{
    return ColumnTitle(context, id) + u", " + std::u16string(currencyCode);
}

std::u16string Indented(std::u16string_view name, int depth)
{
    return std::u16string(static_cast<std::size_t>(depth) * 2, u' ') + std::u16string(name);
}

ACurrencyFacts FactsOf(ADatabase& db, AReference<ACurrency> currency)
{
    const ACurrency* record = db.Currencies().Record(currency);
    if (!record)
        return {};
    return {db.Text(record->code), static_cast<int>(std::min<std::uint32_t>(record->precision, 4))};
}

void ATextTable::Print(std::ostream& out) const
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows_)
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths.push_back(0);
            widths[c] = std::max(widths[c], row[c].size());
        }
    for (const auto& row : rows_) {
        std::u16string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::u16string padding(widths[c] - row[c].size(), u' ');
            if (c == 0)
                line += row[c] + (row.size() > 1 ? padding : u"");
            else
                line += u"  " + padding + row[c];
        }
        while (!line.empty() && line.back() == u' ')
            line.pop_back();
        out << Utf8(line) << '\n';
    }
}

}  // namespace Cli
