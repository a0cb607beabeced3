#include "AnalysisBooks.h"

#include "analysis/Dynamics.h"
#include "analysis/PageRprt.h"

namespace AnalysisTest {
namespace {

using namespace UserInterface::Reports;
using UserInterface::Filters::AAccountSelection;
using UserInterface::Filters::ADatePeriod;
using K = UserInterface::Filters::APeriodKind;

TEST(BucketBoundaries, EveryBucketKind)
{
    struct ACase {
        K kind;
        ADate start, end;
        std::vector<ADate> expected;
    } cases[] = {
        // A weekly breakdown from a Wednesday: the first bucket runs to Sunday, five days.
        {K::Week, D(2024, 5, 15), D(2024, 5, 31), {D(2024, 5, 15), D(2024, 5, 20), D(2024, 5, 27), D(2024, 6, 1)}},
        {K::SevenDays, D(2024, 5, 15), D(2024, 5, 31), {D(2024, 5, 15), D(2024, 5, 22), D(2024, 5, 29), D(2024, 6, 1)}},
        {K::Day, D(2024, 5, 30), D(2024, 5, 31), {D(2024, 5, 30), D(2024, 5, 31), D(2024, 6, 1)}},
        {K::TwoWeeks, D(2024, 5, 15), D(2024, 6, 10), {D(2024, 5, 15), D(2024, 5, 27), D(2024, 6, 10), D(2024, 6, 11)}},
        {K::FourWeeks, D(2024, 5, 13), D(2024, 7, 1), {D(2024, 5, 13), D(2024, 6, 10), D(2024, 7, 2)}},
        // Monthly buckets keep the start's day of month, even after a short month.
        {K::Month, D(2024, 1, 31), D(2024, 4, 15), {D(2024, 1, 31), D(2024, 2, 29), D(2024, 3, 31), D(2024, 4, 16)}},
        {K::Quarter, D(2024, 2, 1), D(2024, 12, 31), {D(2024, 2, 1), D(2024, 5, 1), D(2024, 8, 1), D(2024, 11, 1), D(2025, 1, 1)}},
        {K::ThreeMonths, D(2024, 1, 1), D(2024, 3, 31), {D(2024, 1, 1), D(2024, 4, 1)}},
        {K::FiveMonths, D(2024, 1, 1), D(2024, 12, 31), {D(2024, 1, 1), D(2024, 6, 1), D(2024, 11, 1), D(2025, 1, 1)}},
        {K::TwoQuarters, D(2024, 1, 1), D(2024, 12, 31), {D(2024, 1, 1), D(2024, 7, 1), D(2025, 1, 1)}},
        {K::HalfYear, D(2024, 3, 1), D(2024, 12, 31), {D(2024, 3, 1), D(2024, 9, 1), D(2025, 1, 1)}},
        {K::TwoMonths, D(2024, 1, 1), D(2024, 2, 10), {D(2024, 1, 1), D(2024, 2, 11)}},
        {K::Year, D(2022, 6, 1), D(2024, 6, 1), {D(2022, 6, 1), D(2023, 6, 1), D(2024, 6, 1), D(2024, 6, 2)}},
        {K::AllTransactions, D(2022, 6, 1), D(2024, 6, 1), {D(2022, 6, 1), D(2024, 6, 2)}},
        {K::Month, D(2024, 6, 2), D(2024, 6, 1), {}},
    };
    for (const ACase& c : cases)
        EXPECT_EQ(BucketBoundaries(c.start, c.end, c.kind), c.expected) << static_cast<int>(c.kind);
    // The last calendar day closes its bucket without running past the calendar.
    const auto last = BucketBoundaries(D(9999, 12, 1), Dates::kMaxDate, K::Month);
    EXPECT_EQ(last, (std::vector<ADate>{D(9999, 12, 1), Dates::kMaxDate + 1}));
}

TEST(DynamicsReport, OneValuePerBucketPerSeriesAndUnconvertibleSeriesLeftOut)
{
    TBooks books;
    AReference<ASeries> roubles, dollars;
    books.Step([&] {
        const auto usd = books.AddCurrency(u"USD");
        const auto usdAccount = books.AddAccount(u"Доллары", usd);
        books.Add(TBooks::Single(books.cash, -M(10), D(2024, 1, 3)));
        books.Add(TBooks::Single(books.cash, -M(5), D(2024, 2, 3)));
        books.Add(TBooks::Single(books.cash, M(0), D(2024, 2, 4)));  // a zero single amount is an income
        books.Add(TBooks::Single(usdAccount, -M(1), D(2024, 2, 3)));
        roubles = books.AddSeries(u"Рубли", {books.cash}, true, true, true, true);
        dollars = books.AddSeries(u"Доллары", {usdAccount});
        books.db.Series().Change(books.db.Series().Get(roubles))->noBars = 1;
    });
    AReportParameters p;
    p.kind = AReportKind::Dynamics;
    p.period = ADatePeriod(D(2024, 1, 1), D(2024, 3, 31), std::nullopt);
    p.currency = books.rur;
    p.bucket = K::Month;
    p.series = {dollars, roubles};
    const ADynamicsReport r = ComputeDynamics(books.db, p);
    EXPECT_EQ(r.boundaries, (std::vector<ADate>{D(2024, 1, 1), D(2024, 2, 1), D(2024, 3, 1), D(2024, 4, 1)}));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].id, 472);
    ASSERT_EQ(r.series.size(), 1u);
    EXPECT_EQ(r.series[0].name, u"Рубли");
    EXPECT_FALSE(r.series[0].showBars);
    EXPECT_TRUE(r.series[0].showLine);
    EXPECT_EQ(r.series[0].values.sums, (std::vector<AMoney>{-M(10), -M(5), 0}));
    EXPECT_EQ(r.series[0].values.transactions[1].size(), 2u);
}

TEST(ReportSettings, RoundTripOfVersionThreeAndRefusalOfOthers)
{
    TBooks books;
    AReference<ASeries> series;
    AReference<ACurrency> usd;
    books.Step([&] {
        usd = books.AddCurrency(u"USD");
        series = books.AddSeries(u"Рубли", {books.cash});
    });
    AReportParameters p;
    p.kind = AReportKind::Rates;
    p.period = ADatePeriod(D(2024, 1, 1), D(2024, 12, 31), K::Year);
    p.currency = books.rur;
    p.bucket = K::Quarter;
    p.series = {series};
    p.accounts = AAccountSelection({books.cash});
    p.kinds = {false, true, false, true};
    p.rateCurrency = usd;
    p.rateInCurrency = books.rur;
    p.zeroLine = true;
    p.grouping = books.articles;
    p.chartSettings = {9, 8, 7};
    const ASettingsContext context{TBooks::Today(), true};
    const std::vector<std::uint8_t> bytes = SaveReportSettings(books.db, p, context);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[5], 9);  // the bucket kind index + 1

    AReportParameters read;
    ASSERT_TRUE(LoadReportSettings(books.db, bytes, context, read));
    EXPECT_EQ(read.kind, p.kind);
    EXPECT_EQ(read.bucket, K::Quarter);
    EXPECT_EQ(read.period.Start(), p.period.Start());
    EXPECT_EQ(read.period.Kind(), K::Year);
    EXPECT_EQ(read.currency, books.rur);
    EXPECT_EQ(read.series, p.series);
    EXPECT_EQ(read.accounts.Accounts(), p.accounts.Accounts());
    EXPECT_EQ(read.kinds, p.kinds);
    EXPECT_EQ(read.rateCurrency, usd);
    EXPECT_EQ(read.rateInCurrency, books.rur);
    EXPECT_TRUE(read.zeroLine);
    EXPECT_FALSE(read.smooth);
    EXPECT_EQ(read.grouping, books.articles);
    EXPECT_EQ(read.chartSettings, p.chartSettings);

    // Another version, and every truncation, leave the defaults.
    std::vector<std::uint8_t> other = bytes;
    other[0] = 2;
    AReportParameters defaults;
    EXPECT_FALSE(LoadReportSettings(books.db, other, context, defaults));
    EXPECT_EQ(defaults.kind, AReportKind::Turnover);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        AReportParameters q;
        EXPECT_FALSE(LoadReportSettings(books.db, cut, context, q)) << length;
        EXPECT_EQ(q.kind, AReportKind::Turnover) << length;
    }
}

TEST(ReportSettings, RandomBytesNeverCrashOrAllocateWithoutBound)
{
    TBooks books;
    AReportParameters p;
    p.period = ADatePeriod(D(2024, 1, 1), D(2024, 1, 31), K::Month);
    const ASettingsContext context{TBooks::Today(), true};
    const std::vector<std::uint8_t> good = SaveReportSettings(books.db, p, context);
    std::uint64_t state = 12345;
    auto next = [&] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint8_t>(state >> 56);
    };
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> bytes = good;
        if (round % 3 == 0) {
            bytes.resize(next() % 64);
            for (auto& b : bytes)
                b = next();
            if (!bytes.empty())
                bytes[0] = 3;
        } else {
            for (int flips = 1 + next() % 4; flips > 0; --flips)
                bytes[next() % bytes.size()] ^= static_cast<std::uint8_t>(1u << (next() % 8));
        }
        AReportParameters q;
        if (LoadReportSettings(books.db, bytes, context, q)) {
            EXPECT_LE(q.chartSettings.size(), bytes.size());
            EXPECT_LE(q.series.size(), bytes.size() / 4);
        }
    }
}

}  // namespace
}  // namespace AnalysisTest
