// Plan arithmetic of the budget: what one year's plan record plans for a period, and
// how the plans dialog keeps its total, monthly, weekly and month fields consistent.
// Everything is 64-bit AMoney arithmetic, each multiply-then-divide through a 128-bit
// intermediate, each division truncating toward zero; an overflow is reported.
#pragma once

#include "core/ADate.h"
#include "database/Database.h"

#include <array>
#include <optional>

namespace UserInterface::Budget {

using Database::ABudgetLimit;
using Database::AMoney;

// The record's year clipped to [start, end]; nothing when they do not overlap or the
// year (the low 16 bits of the field) is outside the calendar.
struct ADateSpan {
    ADate start = 0;
    ADate end = 0;
};
std::optional<ADateSpan> ClipToYear(const ABudgetLimit& limit, ADate start, ADate end);
int YearOf(const ABudgetLimit& limit);

// The plan of the record over [start, end]: 0 without overlap and for "План не установлен";
// nothing when the arithmetic overflows.
std::optional<AMoney> PlanOverPeriod(const ABudgetLimit& limit, ADate start, ADate end);

// The plans dialog's fields.
struct APlanFields {
    AMoney total = 0;    // "Суммарный план на год:"
    AMoney monthly = 0;  // "Среднемесячный план на год:"
    AMoney weekly = 0;   // "Еженедельный план на год:"
    std::array<AMoney, 12> months{};
    bool operator==(const APlanFields&) const = default;
};

// Typing one field recomputes the others; yearLength is 365 or 366. Nothing on overflow.
std::optional<APlanFields> FromTotal(AMoney total, int yearLength);
std::optional<APlanFields> FromMonthly(AMoney monthly, int yearLength);
std::optional<APlanFields> FromWeekly(AMoney weekly, int yearLength);

// Which fields a plan kind enables: only the one it uses; the months only for kind 4.
struct AEnabledFields {
    bool total = false, monthly = false, weekly = false, months = false;
    bool operator==(const AEnabledFields&) const = default;
};
AEnabledFields EnabledFields(std::uint32_t kind);
// The amount stored with a kind: the total for kinds 0, 1 and 4, the monthly average for
// 2, the weekly amount for 3.
AMoney StoredAmount(std::uint32_t kind, const APlanFields& fields);
// The string id of a kind's label ("План не установлен" ... "Детализированный план на год:").
int PlanKindLabel(std::uint32_t kind);

}  // namespace UserInterface::Budget
