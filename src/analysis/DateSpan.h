// The period selector of the transaction, report and budget pages: two dates, the
// period kind they are labelled with, and whether budget dates are tested.
#pragma once

#include "analysis/PageStream.h"
#include "core/ADate.h"
#include "database/Database.h"

#include <optional>
#include <vector>

namespace UserInterface::Filters {

// In the order of the kind combo; the index is what pages save.
enum class APeriodKind : int {
    Day = 0,
    SevenDays,
    Week,
    TwoWeeks,
    FourWeeks,
    Month,
    TwoMonths,
    ThreeMonths,
    Quarter,
    FiveMonths,
    TwoQuarters,
    HalfYear,
    Year,
    AllTransactions,
};
constexpr int kPeriodKindCount = 14;

// The string id of the kind's label ("День" ... "Все операции").
int PeriodKindLabel(APeriodKind kind);
std::optional<APeriodKind> PeriodKindFromIndex(int index);

// Calendar arithmetic. Adding months keeps the day of month, lowered to the last day of
// a shorter month (31 January + 1 month = 28 or 29 February). Results are kept inside the
// valid date range.
ADate AddDays(ADate date, std::int64_t days);
ADate AddMonths(ADate date, int months);
// The same without clamping: nothing when the result lies outside the valid range.
std::optional<ADate> MonthsLater(ADate date, int months);
ADate MondayOf(ADate date);

// The first and the last date of the transactions, by date or by budget date (empty
// budget dates are not dates); nothing without transactions.
struct ADateRange {
    ADate first = 0;
    ADate last = 0;
};
std::optional<ADateRange> TransactionDateRange(Database::ADatabase& db, bool byBudgetDate);

// The last day of a period of the kind that starts on start ("Все операции" has no length:
// start is given back).
ADate PeriodEnd(APeriodKind kind, ADate start);
// Where "Выбрать текущий" puts the start; today for "Все операции", which has none.
ADate CurrentStart(APeriodKind kind, ADate today);
// The start one step back (direction -1) or forward (+1).
ADate StepStart(APeriodKind kind, ADate start, int direction);
// The kind the two dates are labelled with, in the documented order; "Семь дней",
// "Квартал" and "Два квартала" are never recognised.
std::optional<APeriodKind> RecognisePeriod(ADate start, ADate end, const std::optional<ADateRange>& transactions);

// A budget date of 0 is no date: such transactions pass every period by budget date.
constexpr ADate kNoBudgetDate = 0;

class ADatePeriod {
public:
    // Day 0 to day 0 without a kind, until a page sets or loads its period.
    ADatePeriod() = default;
    // The current month, labelled by recognition.
    ADatePeriod(ADate today, const std::optional<ADateRange>& transactions);
    // Given dates and kind as they are; for tests and the command-line program.
    ADatePeriod(ADate start, ADate end, std::optional<APeriodKind> kind, bool byBudgetDate = false);

    ADate Start() const { return start_; }
    ADate End() const { return end_; }
    std::optional<APeriodKind> Kind() const { return kind_; }
    // The flag as the user set it; pages test with UsesBudgetDates.
    bool ByBudgetDate() const { return byBudgetDate_; }
    void SetByBudgetDate(bool value) { byBudgetDate_ = value; }
    // The flag only counts while the data file keeps budget dates.
    bool UsesBudgetDates(bool budgetDatesInFile) const { return byBudgetDate_ && budgetDatesInFile; }

    // Dates the user typed; the kind is recognised, the dates stay.
    void SetDates(ADate start, ADate end, const std::optional<ADateRange>& transactions);
    // The kind combo: the start stays and the end follows the kind's length; "Все
    // операции" takes the first and the last transaction (today for both without any).
    void SelectKind(APeriodKind kind, const std::optional<ADateRange>& transactions, ADate today);
    // "Выбрать текущий", "Предыдущий период", "Следующий период": only while CanStep.
    void SelectCurrent(ADate today);
    void Previous();
    void Next();
    bool CanStep() const { return kind_ && *kind_ != APeriodKind::AllTransactions; }
    bool Valid() const { return start_ <= end_; }

    // The period test of one transaction (see UsesBudgetDates for the flag).
    bool Passes(const Database::ATransaction& transaction, bool budgetDatesInFile) const;

    // The page-settings form: flag byte, kind index + 1 (0 without a kind or when the
    // improved date-range option is off), start, end; a date equal to today is saved as 0.
    void Save(APageWriter& out, ADate today, bool improvedDateRange, bool budgetDatesInFile) const;
    // A saved 0 restores today; without a saved kind the kind is recognised anew.
    // False (and the period unchanged) when the block is short or its dates are invalid.
    [[nodiscard]] bool Load(AByteCursor& in, ADate today, const std::optional<ADateRange>& transactions);

private:
    void Step(int direction);

    ADate start_ = 0;
    ADate end_ = 0;
    std::optional<APeriodKind> kind_;
    bool byBudgetDate_ = false;
};

}  // namespace UserInterface::Filters
