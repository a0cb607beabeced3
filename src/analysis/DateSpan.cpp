#include "analysis/DateSpan.h"

#include "analysis/AnalysisTexts.h"

#include <algorithm>

namespace UserInterface::Filters {

namespace {

// "День" ... "Все операции" in combo order; "Пять месяцев" came later and has a late id.
constexpr int kKindLabels[kPeriodKindCount] = {21, 22, 23, 24, 25, 26, 27, 28, 29, 790, 30, 31, 32, kAllTransactions};

struct AKindRule {
    int lengthDays;    // a length in days, or 0 ...
    int lengthMonths;  // ... a length in months
    int stepDays;
    int stepMonths;
};

// Length and step of each kind, in combo order ("Все операции" has neither).
constexpr AKindRule kRules[kPeriodKindCount] = {
    {1, 0, 1, 0},    {7, 0, 1, 0},    {7, 0, 7, 0},    {14, 0, 7, 0},  {28, 0, 7, 0},
    {0, 1, 0, 1},    {0, 2, 0, 1},    {0, 3, 0, 1},    {0, 3, 0, 3},   {0, 5, 0, 1},
    {0, 6, 0, 3},    {0, 6, 0, 6},    {0, 12, 0, 12},  {0, 0, 0, 0},
};

const AKindRule& RuleOf(APeriodKind kind) { return kRules[static_cast<int>(kind)]; }

ADate FirstOfMonth(ADate date)
{
    const Dates::AYmd ymd = Dates::ToYmd(date);
    return Dates::FromYmd(ymd.year, ymd.month, 1);
}

ADate ClampDate(std::int64_t date)
{
    return static_cast<ADate>(std::clamp<std::int64_t>(date, Dates::kMinDate, Dates::kMaxDate));
}

// e = end + 1 day: the day after the period.
ADate AfterLengthOf(const AKindRule& rule, ADate start)
{
    return rule.lengthDays != 0 ? AddDays(start, rule.lengthDays) : AddMonths(start, rule.lengthMonths);
}

}  // namespace

int PeriodKindLabel(APeriodKind kind) { return kKindLabels[static_cast<int>(kind)]; }

std::optional<APeriodKind> PeriodKindFromIndex(int index)
{
    if (index < 0 || index >= kPeriodKindCount)
        return std::nullopt;
    return static_cast<APeriodKind>(index);
}

ADate AddDays(ADate date, std::int64_t days) { return ClampDate(static_cast<std::int64_t>(date) + days); }

std::optional<ADate> MonthsLater(ADate date, int months)
{
    const Dates::AYmd ymd = Dates::ToYmd(date);
    const std::int64_t monthIndex = static_cast<std::int64_t>(ymd.year) * 12 + (ymd.month - 1) + months;
    if (monthIndex < 100 * 12 || monthIndex > 9999 * 12 + 11)
        return std::nullopt;
    const int year = static_cast<int>(monthIndex / 12);
    const int month = static_cast<int>(monthIndex % 12) + 1;
    return Dates::FromYmd(year, month, std::min(ymd.day, Dates::DaysInMonth(year, month)));
}

ADate AddMonths(ADate date, int months)
{
    if (auto later = MonthsLater(date, months))
        return *later;
    return months < 0 ? Dates::kMinDate : Dates::kMaxDate;
}

ADate MondayOf(ADate date) { return AddDays(date, 1 - Dates::DayOfWeek(date)); }

std::optional<ADateRange> TransactionDateRange(Database::ADatabase& db, bool byBudgetDate)
{
    using Slot = Database::Engine::ASlot<Database::ATransaction>;
    const auto& index = db.Transactions().IndexAt(byBudgetDate ? 4 : 2);
    if (index.empty())
        return std::nullopt;
    if (!byBudgetDate)
        return ADateRange{index.front()->Record().date, index.back()->Record().date};
    auto budgetDate = [](const Slot* slot) { return slot->Record().budgetDate; };
    // Empty budget dates sort among the real ones (0 is a day number too): step over them.
    auto firstReal = index.begin();
    if (budgetDate(*firstReal) == kNoBudgetDate)
        firstReal = std::partition_point(index.begin(), index.end(),
                                         [&](const Slot* slot) { return budgetDate(slot) <= kNoBudgetDate; });
    auto lastReal = index.end() - 1;
    if (budgetDate(*lastReal) == kNoBudgetDate) {
        auto negatives = std::partition_point(index.begin(), index.end(),
                                              [&](const Slot* slot) { return budgetDate(slot) < kNoBudgetDate; });
        if (negatives == index.begin())
            lastReal = index.end();
        else
            lastReal = negatives - 1;
    }
    if (firstReal == index.end() || lastReal == index.end())
        return std::nullopt;
    return ADateRange{budgetDate(*firstReal), budgetDate(*lastReal)};
}

ADate PeriodEnd(APeriodKind kind, ADate start)
{
    if (kind == APeriodKind::AllTransactions)
        return start;
    return AddDays(AfterLengthOf(RuleOf(kind), start), -1);
}

ADate CurrentStart(APeriodKind kind, ADate today)
{
    const ADate monday = MondayOf(today);
    const ADate first = FirstOfMonth(today);
    const int month = Dates::ToYmd(today).month;
    switch (kind) {
    case APeriodKind::Day: return today;
    case APeriodKind::SevenDays:
    case APeriodKind::Week: return monday;
    case APeriodKind::TwoWeeks: return AddDays(monday, -7);
    case APeriodKind::FourWeeks: return AddDays(monday, -21);
    case APeriodKind::Month: return first;
    case APeriodKind::TwoMonths:
    case APeriodKind::ThreeMonths: return AddMonths(first, -1);
    case APeriodKind::Quarter: return AddMonths(first, -((month - 1) % 3));
    case APeriodKind::FiveMonths: return AddMonths(first, -3);
    case APeriodKind::TwoQuarters: return AddMonths(first, -((month - 1) % 3) - 3);
    case APeriodKind::HalfYear: return AddMonths(first, -((month - 1) % 6));
    case APeriodKind::Year: return AddMonths(first, -(month - 1));
    case APeriodKind::AllTransactions: return today;
    }
    return today;
}

ADate StepStart(APeriodKind kind, ADate start, int direction)
{
    const AKindRule& rule = RuleOf(kind);
    if (rule.stepDays != 0)
        return AddDays(start, static_cast<std::int64_t>(rule.stepDays) * direction);
    return AddMonths(start, rule.stepMonths * direction);
}

std::optional<APeriodKind> RecognisePeriod(ADate start, ADate end, const std::optional<ADateRange>& transactions)
{
    if (transactions && start <= transactions->first && end >= transactions->last)
        return APeriodKind::AllTransactions;
    const ADate e = AddDays(end, 1);
    static constexpr APeriodKind kOrder[] = {
        APeriodKind::Year,     APeriodKind::HalfYear, APeriodKind::Month,    APeriodKind::TwoMonths,
        APeriodKind::ThreeMonths, APeriodKind::FiveMonths, APeriodKind::Day, APeriodKind::Week,
        APeriodKind::TwoWeeks, APeriodKind::FourWeeks,
    };
    for (APeriodKind kind : kOrder)
        if (AfterLengthOf(RuleOf(kind), start) == e)
            return kind;
    return std::nullopt;
}

ADatePeriod::ADatePeriod(ADate today, const std::optional<ADateRange>& transactions)
    : start_(CurrentStart(APeriodKind::Month, today)), end_(PeriodEnd(APeriodKind::Month, start_))
{
    kind_ = RecognisePeriod(start_, end_, transactions);
}

ADatePeriod::ADatePeriod(ADate start, ADate end, std::optional<APeriodKind> kind, bool byBudgetDate)
    : start_(start), end_(end), kind_(kind), byBudgetDate_(byBudgetDate)
{
}

void ADatePeriod::SetDates(ADate start, ADate end, const std::optional<ADateRange>& transactions)
{
    start_ = start;
    end_ = end;
    kind_ = RecognisePeriod(start, end, transactions);
}

void ADatePeriod::SelectKind(APeriodKind kind, const std::optional<ADateRange>& transactions, ADate today)
{
    kind_ = kind;
    if (kind == APeriodKind::AllTransactions) {
        start_ = transactions ? transactions->first : today;
        end_ = transactions ? transactions->last : today;
        return;
    }
    end_ = PeriodEnd(kind, start_);
}

void ADatePeriod::SelectCurrent(ADate today)
{
    if (!CanStep())
        return;
    start_ = CurrentStart(*kind_, today);
    end_ = PeriodEnd(*kind_, start_);
}

void ADatePeriod::Previous() { Step(-1); }
void ADatePeriod::Next() { Step(+1); }

void ADatePeriod::Step(int direction)
{
    if (!CanStep())
        return;
    start_ = StepStart(*kind_, start_, direction);
    end_ = PeriodEnd(*kind_, start_);
}

bool ADatePeriod::Passes(const Database::ATransaction& transaction, bool budgetDatesInFile) const
{
    if (UsesBudgetDates(budgetDatesInFile)) {
        if (transaction.budgetDate == kNoBudgetDate)
            return true;
        return start_ <= transaction.budgetDate && transaction.budgetDate <= end_;
    }
    return start_ <= transaction.date && transaction.date <= end_;
}

void ADatePeriod::Save(APageWriter& out, ADate today, bool improvedDateRange, bool budgetDatesInFile) const
{
    out.Flag(UsesBudgetDates(budgetDatesInFile));
    out.U32(kind_ && improvedDateRange ? static_cast<std::uint32_t>(*kind_) + 1 : 0);
    out.I32(start_ == today ? 0 : start_);
    out.I32(end_ == today ? 0 : end_);
}

bool ADatePeriod::Load(AByteCursor& in, ADate today, const std::optional<ADateRange>& transactions)
{
    bool byBudgetDate = false;
    std::uint32_t kindIndex = 0;
    std::int32_t start = 0, end = 0;
    if (!ReadFlag(in, byBudgetDate) || !in.ReadInt(kindIndex) || !in.ReadInt(start) || !in.ReadInt(end))
        return false;
    start = start == 0 ? today : start;
    end = end == 0 ? today : end;
    if (!Dates::IsValid(start) || !Dates::IsValid(end))
        return false;
    start_ = start;
    end_ = end;
    byBudgetDate_ = byBudgetDate;
    const std::optional<APeriodKind> saved =
        kindIndex >= 1 && kindIndex <= kPeriodKindCount ? PeriodKindFromIndex(static_cast<int>(kindIndex) - 1)
                                                        : std::nullopt;
    kind_ = saved ? saved : RecognisePeriod(start_, end_, transactions);
    return true;
}

}  // namespace UserInterface::Filters
