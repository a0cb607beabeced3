// The account balances report (kind 2): two stepped lines of the selected accounts'
// total balance in the report currency, one counting executed transactions and one
// counting every transaction and the coming occurrences of recurring ones.
#pragma once

#include "core/ChartColours.h"
#include "analysis/AnalysisTexts.h"
#include "analysis/PageRprt.h"
#include "analysis/ReportMessage.h"
#include "core/AStrings.h"

#include <string>
#include <vector>

namespace UserInterface::Reports {

enum class ABalanceStepKind : std::uint8_t { Start, ExchangeDifference, Transaction, End };

struct ABalancePoint {
    ADate date = 0;
    std::int32_t time = 0;  // milliseconds since midnight; the end point is at 23:59:59.999
    AMoney value = 0;       // the total after this point's step
    ABalanceStepKind kind = ABalanceStepKind::Start;
    AReference<Database::ATransaction> transaction;  // of a transaction step
    bool occurrence = false;  // a coming occurrence of a recurring transaction
};

struct ABalanceLine {
    std::vector<ABalancePoint> points;  // the start point, the steps in order, the end point
};

constexpr Charts::ARgb kExecutedLineColour{0, 0, 255};
constexpr Charts::ARgb kFullLineColour{255, 0, 0};

struct ABalanceReport {
    ABalanceLine executed;  // executed transactions only
    ABalanceLine full;      // every transaction and the coming occurrences
    std::vector<AReportMessage> messages;  // accounts left out for want of a conversion path
    std::size_t failures = 0;  // conversions or sums that overflowed
};

// Expects parameters that passed ValidateReport. Transaction dates count, never budget dates.
ABalanceReport ComputeBalances(Database::ADatabase& db, const AReportParameters& parameters);

// What the tooltip of a stretch of steps tells: the points first..last (inclusive) of a line.
struct ABalanceFigures {
    AMoney opening = 0;     // before the first step
    AMoney exchange = 0;    // the exchange-difference steps added up
    int transactions = 0;   // the number of transaction steps
    AMoney increases = 0;   // the rises of transaction steps
    AMoney decreases = 0;   // the falls of transaction steps (negative)
    AMoney closing = 0;     // after the last step
};
ABalanceFigures FiguresOf(const ABalanceLine& line, std::size_t first, std::size_t last);
// "Входящий остаток: ..." with the lines that apply; a stretch without transactions and
// without exchange differences shows the balance alone. Amounts carry the currency code.
std::u16string BalanceTooltip(const UtilityClasses::Strings::AStrings& strings, const ABalanceFigures& figures,
                              std::u16string_view currencyCode, int decimals);

}  // namespace UserInterface::Reports
