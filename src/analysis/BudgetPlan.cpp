#include "analysis/BudgetPlan.h"

#include "analysis/AnalysisTexts.h"
#include "database/Money.h"

#include <algorithm>

namespace UserInterface::Budget {

using namespace Database;

namespace {

// Adds part to sum; false on overflow.
bool Accumulate(AMoney& sum, std::optional<AMoney> part) { return part && Money::Add(sum, *part, sum); }

std::optional<APlanFields> Spread(AMoney total, int yearLength)
{
    APlanFields fields;
    fields.total = total;
    fields.monthly = total / 12;
    const auto weekly = Money::MulDiv(total, 7, yearLength);
    if (!weekly)
        return std::nullopt;
    fields.weekly = *weekly;
    fields.months.fill(total / 12);
    return fields;
}

}  // namespace

int YearOf(const ABudgetLimit& limit) { return static_cast<std::uint16_t>(limit.year); }

std::optional<ADateSpan> ClipToYear(const ABudgetLimit& limit, ADate start, ADate end)
{
    const int year = YearOf(limit);
    if (year < 100 || year > 9999)
        return std::nullopt;
    const ADate first = Dates::FromYmd(year, 1, 1);
    const ADate last = first + Dates::DaysInYear(year) - 1;
    const ADateSpan span{std::max(start, first), std::min(end, last)};
    if (span.start > span.end)
        return std::nullopt;
    return span;
}

std::optional<AMoney> PlanOverPeriod(const ABudgetLimit& limit, ADate start, ADate end)
{
    const auto span = ClipToYear(limit, start, end);
    if (!span)
        return 0;
    const int year = YearOf(limit);
    const AMoney days = Dates::DaysInYear(year);
    const AMoney n = span->end - span->start + 1;
    switch (limit.kind) {
    case ABudgetLimit::kYearTotal: return Money::MulDiv(limit.amount, n, days);
    case ABudgetLimit::kPerWeek: return Money::MulDiv(limit.amount, n, 7);
    case ABudgetLimit::kPerMonth:
    case ABudgetLimit::kEachMonth: {
        AMoney sum = 0;
        for (int month = 1; month <= 12; ++month) {
            const ADate monthStart = Dates::FromYmd(year, month, 1);
            const int monthDays = Dates::DaysInMonth(year, month);
            const ADate from = std::max(span->start, monthStart);
            const ADate to = std::min(span->end, monthStart + monthDays - 1);
            if (from > to)
                continue;
            const AMoney amount = limit.kind == ABudgetLimit::kPerMonth ? limit.amount : limit.months[month - 1];
            // Each month's part is truncated on its own.
            if (!Accumulate(sum, Money::MulDiv(amount, to - from + 1, monthDays)))
                return std::nullopt;
        }
        return sum;
    }
    default: return 0;
    }
}

std::optional<APlanFields> FromTotal(AMoney total, int yearLength) { return Spread(total, yearLength); }

std::optional<APlanFields> FromMonthly(AMoney monthly, int yearLength)
{
    const auto total = Money::MulDiv(monthly, 12, 1);
    if (!total)
        return std::nullopt;
    return Spread(*total, yearLength);
}

std::optional<APlanFields> FromWeekly(AMoney weekly, int yearLength)
{
    const auto total = Money::MulDiv(weekly, yearLength, 7);
    if (!total)
        return std::nullopt;
    auto fields = Spread(*total, yearLength);
    if (fields)
        fields->weekly = weekly;  // stays as typed
    return fields;
}

AEnabledFields EnabledFields(std::uint32_t kind)
{
    switch (kind) {
    case ABudgetLimit::kYearTotal: return {true, false, false, false};
    case ABudgetLimit::kPerMonth: return {false, true, false, false};
    case ABudgetLimit::kPerWeek: return {false, false, true, false};
    case ABudgetLimit::kEachMonth: return {false, false, false, true};
    default: return {};
    }
}

AMoney StoredAmount(std::uint32_t kind, const APlanFields& fields)
{
    switch (kind) {
    case ABudgetLimit::kPerMonth: return fields.monthly;
    case ABudgetLimit::kPerWeek: return fields.weekly;
    default: return fields.total;
    }
}

int PlanKindLabel(std::uint32_t kind)
{
    return BudgetText::kFirstPlanKind + static_cast<int>(std::min<std::uint32_t>(kind, 4));
}

}  // namespace UserInterface::Budget
