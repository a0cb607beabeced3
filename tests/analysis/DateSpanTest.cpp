#include "AnalysisBooks.h"

#include "analysis/DateSpan.h"

#include <optional>

namespace AnalysisTest {
namespace {

using namespace UserInterface::Filters;
using K = APeriodKind;

TEST(PeriodArithmetic, MonthsKeepTheDayOrTakeTheLastDayOfAShorterMonth)
{
    struct ACase {
        ADate from;
        int months;
        ADate expected;
    } cases[] = {
        {D(2023, 1, 31), 1, D(2023, 2, 28)},   {D(2024, 1, 31), 1, D(2024, 2, 29)},
        {D(2024, 3, 31), -1, D(2024, 2, 29)},  {D(2024, 2, 29), 12, D(2025, 2, 28)},
        {D(2023, 11, 15), 3, D(2024, 2, 15)},  {D(2024, 1, 10), -13, D(2022, 12, 10)},
        {D(9999, 12, 1), 1, Dates::kMaxDate},  {D(100, 1, 5), -1, Dates::kMinDate},
    };
    for (const ACase& c : cases)
        EXPECT_EQ(AddMonths(c.from, c.months), c.expected) << c.from << " + " << c.months;
}

// "Пять месяцев" has a late id: the kinds after it were labelled one place off.
TEST(PeriodKinds, EachKindIsLabelledByItsOwnText)
{
    const UtilityClasses::Strings::AStrings strings(UtilityClasses::Strings::RussianLocale());
    const char16_t* labels[kPeriodKindCount] = {u"День",       u"Семь дней",    u"Неделя",     u"Две недели",
                                                u"Четыре недели", u"Месяц",     u"Два месяца", u"Три месяца",
                                                u"Квартал",    u"Пять месяцев", u"Два квартала", u"Полугодие",
                                                u"Год",        u"Все операции"};
    for (int k = 0; k < kPeriodKindCount; ++k)
        EXPECT_EQ(strings.Text(PeriodKindLabel(*PeriodKindFromIndex(k))), labels[k]) << k;
}

TEST(PeriodRecognition, FollowsTheDocumentedOrderAndNeverNamesSevenDaysOrQuarters)
{
    struct ACase {
        ADate start, end;
        std::optional<APeriodKind> expected;
    } cases[] = {
        {D(2024, 3, 1), D(2024, 7, 31), K::FiveMonths},
        {D(2024, 1, 1), D(2024, 6, 30), K::HalfYear},    // not "Два квартала"
        {D(2024, 1, 2), D(2024, 2, 1), K::Month},        // a month from any day
        {D(2024, 4, 1), D(2024, 6, 30), K::ThreeMonths}, // not "Квартал"
        {D(2024, 5, 13), D(2024, 5, 19), K::Week},       // not "Семь дней"
        {D(2024, 5, 15), D(2024, 5, 21), K::Week},       // any seven days
        {D(2024, 5, 15), D(2024, 5, 15), K::Day},
        {D(2024, 5, 1), D(2024, 5, 14), K::TwoWeeks},
        {D(2024, 2, 1), D(2024, 2, 28), K::FourWeeks},   // 28 days of a leap February
        {D(2023, 2, 1), D(2023, 2, 28), K::Month},       // a month comes before four weeks
        {D(2024, 3, 15), D(2025, 3, 14), K::Year},
        {D(2024, 3, 1), D(2024, 4, 30), K::TwoMonths},
        {D(2024, 3, 1), D(2024, 3, 30), std::nullopt},
        {D(2024, 3, 1), D(2024, 8, 30), std::nullopt},
    };
    for (const ACase& c : cases)
        EXPECT_EQ(RecognisePeriod(c.start, c.end, std::nullopt), c.expected) << c.start << ".." << c.end;
}

TEST(PeriodRecognition, AllTransactionsWinsWhenThePeriodCoversEveryTransaction)
{
    const ADateRange range{D(2024, 1, 5), D(2024, 1, 20)};
    EXPECT_EQ(RecognisePeriod(D(2024, 1, 1), D(2024, 1, 31), range), K::AllTransactions);
    EXPECT_EQ(RecognisePeriod(D(2024, 1, 6), D(2024, 2, 5), range), K::Month);
    EXPECT_EQ(RecognisePeriod(D(2024, 1, 1), D(2024, 1, 19), range), std::nullopt);
}

TEST(PeriodSelector, CurrentStartOfEveryKind)
{
    // Wednesday 15 May 2024: this week's Monday is the 13th.
    struct ACase {
        APeriodKind kind;
        ADate start, end;
        ADate today = TBooks::Today();
    } cases[] = {
        {K::Day, D(2024, 5, 15), D(2024, 5, 15)},        {K::SevenDays, D(2024, 5, 13), D(2024, 5, 19)},
        {K::Week, D(2024, 5, 13), D(2024, 5, 19)},       {K::TwoWeeks, D(2024, 5, 6), D(2024, 5, 19)},
        {K::FourWeeks, D(2024, 4, 22), D(2024, 5, 19)},  {K::Month, D(2024, 5, 1), D(2024, 5, 31)},
        {K::TwoMonths, D(2024, 4, 1), D(2024, 5, 31)},   {K::ThreeMonths, D(2024, 4, 1), D(2024, 6, 30)},
        {K::Quarter, D(2024, 4, 1), D(2024, 6, 30)},     {K::FiveMonths, D(2024, 2, 1), D(2024, 6, 30)},
        {K::TwoQuarters, D(2024, 1, 1), D(2024, 6, 30)}, {K::HalfYear, D(2024, 1, 1), D(2024, 6, 30)},
        {K::Year, D(2024, 1, 1), D(2024, 12, 31)},
        // On a Sunday the week started six days earlier; quarters in other months.
        {K::Week, D(2024, 5, 13), D(2024, 5, 19), D(2024, 5, 19)},
        {K::Quarter, D(2024, 10, 1), D(2024, 12, 31), D(2024, 12, 31)},
        {K::TwoQuarters, D(2023, 10, 1), D(2024, 3, 31), D(2024, 2, 10)},
        {K::HalfYear, D(2024, 7, 1), D(2024, 12, 31), D(2024, 9, 30)},
    };
    for (const ACase& c : cases) {
        ADatePeriod period(D(2000, 1, 1), D(2000, 1, 1), c.kind);
        period.SelectCurrent(c.today);
        EXPECT_EQ(period.Start(), c.start) << static_cast<int>(c.kind) << " on " << c.today;
        EXPECT_EQ(period.End(), c.end) << static_cast<int>(c.kind) << " on " << c.today;
    }
}

TEST(PeriodSelector, PreviousAndNextMoveByTheKindsStep)
{
    struct ACase {
        APeriodKind kind;
        ADate start;
        ADate nextStart, nextEnd;
    } cases[] = {
        {K::SevenDays, D(2024, 5, 13), D(2024, 5, 14), D(2024, 5, 20)},
        {K::TwoWeeks, D(2024, 5, 6), D(2024, 5, 13), D(2024, 5, 26)},
        {K::TwoMonths, D(2024, 4, 1), D(2024, 5, 1), D(2024, 6, 30)},
        {K::TwoQuarters, D(2024, 1, 1), D(2024, 4, 1), D(2024, 9, 30)},
        {K::Year, D(2024, 1, 1), D(2025, 1, 1), D(2025, 12, 31)},
    };
    for (const ACase& c : cases) {
        ADatePeriod period(c.start, PeriodEnd(c.kind, c.start), c.kind);
        period.Next();
        EXPECT_EQ(period.Start(), c.nextStart) << static_cast<int>(c.kind);
        EXPECT_EQ(period.End(), c.nextEnd) << static_cast<int>(c.kind);
        period.Previous();
        EXPECT_EQ(period.Start(), c.start) << static_cast<int>(c.kind);
    }
}

TEST(PeriodSelector, StepsAreDisabledWithoutAKindAndForAllTransactions)
{
    for (std::optional<APeriodKind> kind : {std::optional<APeriodKind>(), std::optional(K::AllTransactions)}) {
        ADatePeriod period(D(2024, 1, 3), D(2024, 2, 17), kind);
        EXPECT_FALSE(period.CanStep());
        period.Next();
        period.SelectCurrent(TBooks::Today());
        EXPECT_EQ(period.Start(), D(2024, 1, 3));
        EXPECT_EQ(period.End(), D(2024, 2, 17));
    }
}

TEST(PeriodSelector, ChangingTheKindKeepsTheStart)
{
    ADatePeriod period(D(2024, 1, 31), D(2024, 1, 31), K::Day);
    period.SelectKind(K::Month, std::nullopt, TBooks::Today());
    EXPECT_EQ(period.Start(), D(2024, 1, 31));
    EXPECT_EQ(period.End(), D(2024, 2, 28));  // 31 Jan + 1 month = 29 Feb, minus a day
}

TEST(PeriodSelector, StartsOnTheCurrentMonth)
{
    const ADatePeriod period(TBooks::Today(), std::nullopt);
    EXPECT_EQ(period.Start(), D(2024, 5, 1));
    EXPECT_EQ(period.End(), D(2024, 5, 31));
    EXPECT_EQ(period.Kind(), K::Month);
}

TEST(PeriodSelector, AllTransactionsTakesTheirDatesOrTodayWithoutAny)
{
    TBooks books;
    ADatePeriod period(TBooks::Today(), std::nullopt);
    period.SelectKind(K::AllTransactions, TransactionDateRange(books.db, false), TBooks::Today());
    EXPECT_EQ(period.Start(), TBooks::Today());
    EXPECT_EQ(period.End(), TBooks::Today());

    books.Step([&] {
        books.Add(TBooks::Single(books.cash, M(5), D(2023, 7, 1)));
        ATransaction noBudgetDate = TBooks::Single(books.cash, M(5), D(2021, 3, 1));
        noBudgetDate.budgetDate = kNoBudgetDate;
        books.Add(noBudgetDate);
        ATransaction late = TBooks::Single(books.cash, M(5), D(2022, 1, 1));
        late.budgetDate = D(2024, 2, 2);
        books.Add(late);
    });
    period.SelectKind(K::AllTransactions, TransactionDateRange(books.db, false), TBooks::Today());
    EXPECT_EQ(period.Start(), D(2021, 3, 1));
    EXPECT_EQ(period.End(), D(2023, 7, 1));
    // By budget date, the empty budget date is not the earliest date.
    const auto byBudget = TransactionDateRange(books.db, true);
    ASSERT_TRUE(byBudget);
    EXPECT_EQ(byBudget->first, D(2023, 7, 1));
    EXPECT_EQ(byBudget->last, D(2024, 2, 2));
}

TEST(PeriodTest, BudgetDatesOnlyCountWhileTheFileKeepsThem)
{
    ATransaction t = TBooks::Single({}, 0, D(2024, 3, 10));
    t.budgetDate = D(2024, 4, 10);
    const ADatePeriod april(D(2024, 4, 1), D(2024, 4, 30), K::Month, true);
    EXPECT_TRUE(april.Passes(t, true));
    EXPECT_FALSE(april.Passes(t, false));  // the file's setting is off: the date counts
    t.budgetDate = kNoBudgetDate;
    EXPECT_TRUE(april.Passes(t, true));  // no budget date: shown for every period
    const ADatePeriod march(D(2024, 3, 1), D(2024, 3, 31), K::Month);
    EXPECT_TRUE(march.Passes(t, true));
    EXPECT_FALSE(march.Passes(TBooks::Single({}, 0, D(2024, 4, 1)), true));
}

TEST(PeriodStream, SavesTodayAsZeroAndTheKindOnlyWithTheImprovedOption)
{
    const ADate today = TBooks::Today();
    const ADatePeriod period(D(2024, 5, 1), today, std::nullopt, true);
    std::vector<std::uint8_t> bytes;
    UserInterface::APageWriter out(bytes);
    period.Save(out, today, true, false);
    const std::vector<std::uint8_t> expected = {0, 0, 0, 0, 0, 0x65, 0xB1, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(D(2024, 5, 1), 0xB165);
    EXPECT_EQ(bytes, expected);  // the budget-date flag is 0 while the file has no budget dates

    bytes.clear();
    ADatePeriod(D(2024, 1, 1), D(2024, 12, 31), K::Year, true).Save(out, today, true, true);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 13);
    bytes.clear();
    ADatePeriod(D(2024, 1, 1), D(2024, 12, 31), K::Year).Save(out, today, false, true);
    EXPECT_EQ(bytes[1], 0);
}

TEST(PeriodStream, LoadingRestoresTodayAndRecognisesAMissingKind)
{
    const ADate saveDay = D(2024, 5, 15);
    std::vector<std::uint8_t> bytes;
    UserInterface::APageWriter out(bytes);
    ADatePeriod(D(2024, 5, 10), saveDay, std::nullopt).Save(out, saveDay, false, false);

    // A day later "today" has moved: the end follows, and the kind is recognised anew.
    ADatePeriod loaded(TBooks::Today(), std::nullopt);
    AByteCursor in(bytes.data(), bytes.size());
    ASSERT_TRUE(loaded.Load(in, saveDay + 1, std::nullopt));
    EXPECT_EQ(loaded.Start(), D(2024, 5, 10));
    EXPECT_EQ(loaded.End(), saveDay + 1);
    EXPECT_EQ(loaded.Kind(), K::Week);

    // With the option on, the saved label is restored as it was.
    bytes.clear();
    ADatePeriod(D(2024, 4, 1), D(2024, 6, 30), K::Quarter).Save(out, saveDay, true, false);
    AByteCursor in2(bytes.data(), bytes.size());
    ASSERT_TRUE(loaded.Load(in2, saveDay, std::nullopt));
    EXPECT_EQ(loaded.Kind(), K::Quarter);
}

TEST(PeriodStream, DamagedBlocksLeaveThePeriodAlone)
{
    std::vector<std::uint8_t> bytes;
    UserInterface::APageWriter out(bytes);
    ADatePeriod(D(2024, 1, 1), D(2024, 1, 31), K::Month).Save(out, TBooks::Today(), true, false);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        ADatePeriod period(D(2020, 2, 2), D(2020, 2, 3), std::nullopt);
        AByteCursor in(bytes.data(), length);
        EXPECT_FALSE(period.Load(in, TBooks::Today(), std::nullopt)) << length;
        EXPECT_EQ(period.Start(), D(2020, 2, 2));
    }
    // A date beyond 9999-12-31 and a kind index beyond the list.
    std::vector<std::uint8_t> bad = {1, 99, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0};
    ADatePeriod period(D(2020, 2, 2), D(2020, 2, 3), std::nullopt);
    AByteCursor in(bad.data(), bad.size());
    EXPECT_FALSE(period.Load(in, TBooks::Today(), std::nullopt));
    bad[5] = bad[6] = bad[7] = bad[8] = 0;
    AByteCursor in2(bad.data(), bad.size());
    ASSERT_TRUE(period.Load(in2, TBooks::Today(), std::nullopt));
    EXPECT_EQ(period.Kind(), std::nullopt);  // index 99 is no kind; the dates match none
}

}  // namespace
}  // namespace AnalysisTest
