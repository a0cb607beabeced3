#include "ChartTestImages.h"
#include "LayoutTestMetrics.h"

#include "core/AStrings.h"
#include "core/LocaleInfo.h"
#include "win32api/HistCtrl.h"


#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace ChartTests;
using Win32API::VelvixControls::AHistogram;
namespace ChartMath = UserInterface::Charts;

namespace {

constexpr AHistogram::AMoney kOne = 10'000;
const ADate kJanuary = Dates::FromYmd(2024, 1, 1);
const ADate kFebruary = Dates::FromYmd(2024, 2, 1);
const ADate kMarch = Dates::FromYmd(2024, 3, 1);
const ADate kApril = Dates::FromYmd(2024, 4, 1);

class Histogram : public ::testing::Test {
protected:
    Histogram() : strings(UtilityClasses::Strings::RussianLocale())
    {
        chart.resize(420, 320);
        chart.SetStrings(&strings);
        chart.SetCurrency(u"RUB", 2);
    }

    // One value per month for each series, January to March.
    void Fill(const std::vector<AHistogram::ASeries>& series,
              const std::vector<std::vector<AHistogram::AMoney>>& values)
    {
        for (const auto& each : series)
            chart.AddSeries(each);
        const std::vector<ADate> boundaries{kJanuary, kFebruary, kMarch, kApril};
        chart.SetBoundaries(boundaries);
        for (std::size_t s = 0; s < values.size(); ++s)
            for (std::size_t b = 0; b < values[s].size(); ++b)
                chart.AddValue(values[s][b], boundaries[b] + 3, static_cast<int>(s), nullptr);
    }

    // The cells of a bucket as the drawing lays them out.
    std::vector<ChartMath::ACell> Cells(int bucket) const
    {
        const auto geometry = chart.Geometry();
        const std::vector<ADate> boundaries{kJanuary, kFebruary, kMarch, kApril};
        auto x = [&](int b) {
            return ChartMath::DateToX(boundaries[b], kJanuary, kApril, geometry.plot.left(), geometry.plot.width() - 1);
        };
        std::vector<ChartMath::ACellSeries> series;
        std::vector<AHistogram::AMoney> values;
        for (int s = 0; s < chart.SeriesCount(); ++s) {
            series.push_back({true, debitsAboveZero});
            values.push_back(chart.Value(s, bucket));
        }
        return ChartMath::CellGeometry(x(bucket), x(bucket + 1), series, values, geometry.axis, geometry.plot.bottom(),
                                       geometry.plot.height() - 1);
    }

    int ZeroY() const
    {
        const auto geometry = chart.Geometry();
        return ChartMath::ValueToY(0, geometry.axis, geometry.plot.bottom(), geometry.plot.height() - 1);
    }

    QApplication& application = ToolkitTests::TestApplication();  // before any widget
    UtilityClasses::Strings::AStrings strings;
    AHistogram chart;
    bool debitsAboveZero = false;
};

TEST_F(Histogram, BarsStandWhereTheCellGeometryPutsThem)
{
    Fill({{u"Доход", 0, false, true, false}, {u"Расход", 160, false, true, false}},
         {{10 * kOne, 20 * kOne, 30 * kOne}, {5 * kOne, 15 * kOne, 25 * kOne}});
    const QImage image = Render(chart);
    const QColor first = ToColour(ChartMath::SeriesBarColour(0)), second = ToColour(ChartMath::SeriesBarColour(160));
    for (int bucket = 0; bucket < 3; ++bucket) {
        const auto cells = Cells(bucket);
        ASSERT_EQ(cells.size(), 2u);
        const double slot = (cells[0].bar.right - cells[0].bar.left) / 3;
        const double middleY = (cells[0].bar.top + cells[0].bar.bottom) / 2.0;
        // The first bar's own two slots, then the slot the second bar covers.
        EXPECT_EQ(Pixel(image, cells[0].bar.left + slot, middleY), first) << bucket;
        EXPECT_EQ(Pixel(image, cells[0].bar.left + 2.5 * slot, cells[1].bar.bottom - 3), second) << bucket;
        EXPECT_EQ(Pixel(image, cells[1].bar.left + 1.5 * slot, (cells[1].bar.top + cells[1].bar.bottom) / 2.0), second)
            << bucket;
        // Nothing of the bars above their tops or left of the first one.
        EXPECT_NE(Pixel(image, cells[0].bar.left + slot, cells[0].bar.top - 3), first) << bucket;
        EXPECT_NE(Pixel(image, cells[1].bar.left + 1.5 * slot, cells[1].bar.top - 3), second) << bucket;
        EXPECT_NE(Pixel(image, cells[0].bar.left - 3, middleY), first) << bucket;
    }
    // Taller values give taller bars.
    EXPECT_LT(Cells(2)[0].bar.top, Cells(0)[0].bar.top);
}

TEST_F(Histogram, NegativeValuesHangBelowZeroUnlessTheSeriesDrawsThemAbove)
{
    for (bool above : {false, true}) {
        chart.Clear();
        debitsAboveZero = above;
        Fill({{u"Расход", 40, above, true, false}}, {{-10 * kOne, 20 * kOne, 0}});
        const QImage image = Render(chart);
        const auto cell = Cells(0)[0];
        const double x = (cell.bar.left + cell.bar.right) / 2;
        const QColor colour = ToColour(ChartMath::SeriesBarColour(40));
        EXPECT_EQ(Pixel(image, x, ZeroY() + 5), above ? chart.palette().color(QPalette::Base) : colour) << above;
        EXPECT_EQ(Pixel(image, x, ZeroY() - 5) == colour, above) << above;
        // An empty cell draws no bar at all.
        const auto empty = Cells(2)[0];
        EXPECT_NE(Pixel(image, (empty.bar.left + empty.bar.right) / 2, ZeroY() - 2), colour) << above;
    }
}

TEST_F(Histogram, ALineHasMarkersAtItsPointsAndAFaintAreaDownToZero)
{
    Fill({{u"Остаток", 80, false, false, true}}, {{10 * kOne, 30 * kOne, -20 * kOne}});
    const QImage image = Render(chart);
    const QColor line = ToColour(ChartMath::SeriesLineColour(80));
    const QColor base = chart.palette().color(QPalette::Base);
    const auto geometry = chart.Geometry();
    std::vector<int> tickYs;
    for (auto tick : ChartMath::AxisTicks(geometry.axis))
        tickYs.push_back(ChartMath::ValueToY(tick, geometry.axis, geometry.plot.bottom(), geometry.plot.height() - 1));
    for (int bucket = 0; bucket < 3; ++bucket) {
        const auto cell = Cells(bucket)[0];
        EXPECT_EQ(Pixel(image, cell.pointX + 0.5, cell.pointY + 0.5), line) << bucket;
        // Between the point and the zero line, clear of grid lines: the line's colour at alpha 32.
        int y = (cell.pointY + ZeroY()) / 2;
        while (std::find(tickYs.begin(), tickYs.end(), y) != tickYs.end() || std::abs(y - ZeroY()) < 2)
            ++y;
        EXPECT_TRUE(Near(Pixel(image, cell.pointX + 0.5, y), Blend(base, line, 32), 3))
            << bucket << " " << Pixel(image, cell.pointX + 0.5, y).name().toStdString();
    }
    // Beyond the first point the line runs flat to the plot's left edge.
    const auto first = Cells(0)[0];
    EXPECT_EQ(Pixel(image, geometry.plot.left() + 3, first.pointY + 0.5), line);
    // No bars for a line-only series.
    EXPECT_EQ(CountColour(image, ToColour(ChartMath::SeriesBarColour(80))), 0);
}

TEST_F(Histogram, EqualValuesGetAnAxisAroundThem)
{
    Fill({{u"Ровно", 120, false, false, true}}, {{7 * kOne, 7 * kOne, 7 * kOne}});
    EXPECT_EQ(chart.Geometry().axis, (ChartMath::AValueAxis{6 * kOne, 8 * kOne, kOne}));
    const QImage image = Render(chart);
    const auto cell = Cells(1)[0];
    const auto plot = chart.Geometry().plot;
    EXPECT_EQ(cell.pointY, plot.top() + (plot.height() - 1) / 2);
    EXPECT_EQ(Pixel(image, cell.pointX + 0.5, cell.pointY + 0.5), ToColour(ChartMath::SeriesLineColour(120)));
}

TEST_F(Histogram, BarsStandOnAZeroLineThatIsAlwaysOnThePlot)
{
    // All values far above zero: an axis from the lowest value would hide the lowest bar.
    debitsAboveZero = true;
    Fill({{u"Расходы", 120, true, true, false}}, {{-38 * kOne, -63 * kOne, -51 * kOne}});
    const auto geometry = chart.Geometry();
    EXPECT_EQ(geometry.axis.low, 0);
    EXPECT_GE(geometry.axis.high, 63 * kOne);
    const QImage image = Render(chart);
    const QColor colour = ToColour(ChartMath::SeriesBarColour(120));
    int lastHeight = 0;
    for (int bucket : {0, 2, 1}) {
        const auto cell = Cells(bucket)[0];
        const double x = (cell.bar.left + cell.bar.right) / 2;
        EXPECT_EQ(cell.bar.bottom, geometry.plot.bottom());
        EXPECT_EQ(Pixel(image, x, geometry.plot.bottom() - 2), colour) << bucket;
        EXPECT_EQ(Pixel(image, x, cell.pointY + 2), colour) << bucket;
        EXPECT_NE(Pixel(image, x, cell.pointY - 3), colour) << bucket;
        EXPECT_NE(Pixel(image, x, geometry.plot.bottom() + 4), colour) << bucket;  // nothing under the plot
        EXPECT_GT(cell.bar.bottom - cell.bar.top, lastHeight) << bucket;
        lastHeight = cell.bar.bottom - cell.bar.top;
    }
}

TEST_F(Histogram, ValuesGoToTheBucketOfTheirDate)
{
    LayoutTests::AAssertionRecorder assertions;
    chart.AddSeries({u"A", 0, false, true, true});
    chart.SetBoundaries({10, 20, 30});
    struct ACase {
        ADate date;
        int series;
        bool added;
        int bucket;
    };
    const ACase cases[] = {{10, 0, true, 0},   {19, 0, true, 0},  {20, 0, true, 1},   {29, 0, true, 1},
                           {30, 0, false, -1}, {9, 0, false, -1}, {15, 1, false, -1}, {15, -1, false, -1}};
    int expectedReports = 0;
    for (const ACase& c : cases) {
        const auto before0 = chart.Value(0, 0), before1 = chart.Value(0, 1);
        EXPECT_EQ(chart.AddValue(kOne, c.date, c.series, nullptr), c.added) << c.date;
        EXPECT_EQ(chart.Value(0, 0), before0 + (c.bucket == 0 ? kOne : 0)) << c.date;
        EXPECT_EQ(chart.Value(0, 1), before1 + (c.bucket == 1 ? kOne : 0)) << c.date;
        expectedReports += c.added ? 0 : 1;
    }
    EXPECT_EQ(static_cast<int>(assertions.reports.size()), expectedReports);

    // Sums stop at the largest amount instead of wrapping, and say so.
    const auto max = std::numeric_limits<AHistogram::AMoney>::max();
    chart.AddValue(max, 25, 0, nullptr);
    EXPECT_EQ(chart.Value(0, 1), max);
    EXPECT_EQ(chart.Failures(), 1u);
    // New boundaries start from empty cells.
    chart.SetBoundaries({10, 20, 30});
    EXPECT_EQ(chart.Value(0, 1), 0);
    EXPECT_EQ(chart.Failures(), 0u);
    EXPECT_EQ(chart.Value(5, 0), 0);
    EXPECT_TRUE(chart.Transactions(0, 7).empty());
}

TEST_F(Histogram, BucketsSetWholeKeepTheirTransactions)
{
    // The chart only hands the transactions back, so any two distinct addresses will do.
    int records[2] = {};
    const AHistogram::ATransactionSlot* transactions[2] = {
        reinterpret_cast<const AHistogram::ATransactionSlot*>(&records[0]),
        reinterpret_cast<const AHistogram::ATransactionSlot*>(&records[1])};
    chart.Clear();
    chart.AddSeries({u"Еда", 20, true, true, false});
    chart.SetBoundaries({kJanuary, kFebruary, kMarch});
    chart.SetBucket(0, 0, -3 * kOne, {transactions[0]});
    chart.SetBucket(0, 1, -5 * kOne, {transactions[1], transactions[0]});
    chart.SetBucket(0, 2, kOne, {});  // past the last bucket: left out
    chart.SetBucket(1, 0, kOne, {});  // no such series
    ASSERT_EQ(chart.BucketCount(), 2);
    EXPECT_EQ(chart.Value(0, 1), -5 * kOne);
    EXPECT_EQ(chart.Transactions(0, 1).size(), 2u);
    EXPECT_EQ(chart.Transactions(0, 0).front(), transactions[0]);
    chart.AddFailures(2);
    EXPECT_EQ(chart.Failures(), 2u);
    // Drawn above zero, in the series' bar colour.
    const QImage image = Render(chart);
    EXPECT_GT(CountColour(image, ToColour(ChartMath::SeriesBarColour(20))), 100);
}

TEST_F(Histogram, TooltipNamesTheBucketsDatesAndEverySeries)
{
    Fill({{u"Зарплата", 0, false, true, false}, {u"Еда", 80, true, false, true}},
         {{1000 * kOne, 0, 0}, {-55'000, 0, 0}});
    EXPECT_EQ(chart.BucketTooltip(0), QString::fromUtf8("01.01.2024 \u2013 31.01.2024\nЗарплата: 1 000,00 RUB\n"
                                                        "Еда: -5,50 RUB"));
    EXPECT_EQ(chart.BucketTooltip(3), QString());
    chart.SetBoundaries({kJanuary, kJanuary + 1});
    EXPECT_EQ(chart.BucketTooltip(0), QString::fromUtf8("01.01.2024\nЗарплата: 0,00 RUB\nЕда: 0,00 RUB"));

    chart.SetBoundaries({kJanuary, kFebruary, kMarch, kApril});
    const auto plot = chart.Geometry().plot;
    for (int bucket = 0; bucket < 3; ++bucket) {
        const auto cell = Cells(bucket)[0];
        EXPECT_EQ(chart.BucketAt(QPoint(static_cast<int>(cell.pointX), plot.center().y())), bucket);
    }
    EXPECT_EQ(chart.BucketAt(QPoint(plot.center().x(), plot.top() - 2)), -1);
    EXPECT_EQ(chart.BucketAt(QPoint(plot.left() - 5, plot.center().y())), -1);

    // The tooltip event shows that text.
    chart.show();
    EXPECT_EQ(TooltipAt(chart, QPoint(static_cast<int>(Cells(1)[0].pointX), plot.center().y())), chart.BucketTooltip(1));
}

TEST_F(Histogram, AMessageReplacesTheDrawing)
{
    Fill({{u"Доход", 0, false, true, true}}, {{10 * kOne, 20 * kOne, 30 * kOne}});
    chart.SetMessage(QString::fromUtf8("Пожалуйста, выберите валюту"));
    EXPECT_EQ(chart.BucketAt(chart.Geometry().plot.center()), -1);
    ExpectTheMessageReplacesTheDrawing(chart, QString::fromUtf8("Пожалуйста, выберите валюту"),
                                       {ToColour(ChartMath::SeriesBarColour(0)), ToColour(ChartMath::SeriesLineColour(0))});
}

TEST_F(Histogram, OddDataAndSizesDrawWithoutFailing)
{
    LayoutTests::AAssertionRecorder assertions;
    const auto max = std::numeric_limits<AHistogram::AMoney>::max();
    const auto min = std::numeric_limits<AHistogram::AMoney>::min();
    const std::vector<std::function<void(AHistogram&)>> setups = {
        [](AHistogram&) {},
        [](AHistogram& h) {
            h.AddSeries({u"Без корзин", 0, false, true, true});
        },
        [](AHistogram& h) {
            h.SetBoundaries({kJanuary, kFebruary});
        },
        [](AHistogram& h) {
            h.AddSeries({u"Одна граница", 0, false, true, true});
            h.SetBoundaries({kJanuary});
        },
        [](AHistogram& h) {
            h.AddSeries({u"Одинаковые границы", 0, false, true, true});
            h.SetBoundaries({kJanuary, kJanuary, kJanuary});
        },
        [&](AHistogram& h) {
            h.AddSeries({u"Крайние", 0, true, true, true});
            h.AddSeries({u"Крайние 2", 100, false, true, true});
            h.SetBoundaries({kJanuary, kFebruary, kMarch});
            h.AddValue(max, kJanuary, 0, nullptr);
            h.AddValue(min, kFebruary, 0, nullptr);
            h.AddValue(min, kFebruary, 1, nullptr);
        },
        [](AHistogram& h) {
            h.AddSeries({u"Ни столбиков, ни линии", 0, false, false, false});
            h.SetBoundaries({kJanuary, kFebruary});
            h.AddValue(kOne, kJanuary, 0, nullptr);
        },
        [](AHistogram& h) {
            for (int s = 0; s < 10; ++s)
                h.AddSeries({std::u16string(200, u'ж'), s * 20, s % 2 == 0, true, s % 3 == 0});
            std::vector<ADate> days;
            for (int d = 0; d <= 1000; ++d)
                days.push_back(kJanuary + d);
            h.SetBoundaries(days);
            for (int d = 0; d < 1000; ++d)
                h.AddValue((d % 17 - 8) * kOne, kJanuary + d, d % 10, nullptr);
        },
        [](AHistogram& h) {
            h.AddSeries({u"Конец календаря", 0, false, true, true});
            h.SetBoundaries({Dates::kMinDate, Dates::kMaxDate});
            h.AddValue(kOne, Dates::kMinDate, 0, nullptr);
        },
    };
    const QSize sizes[] = {{420, 320}, {60, 40}, {1, 1}, {2000, 90}};
    for (std::size_t i = 0; i < setups.size(); ++i)
        for (QSize size : sizes) {
            AHistogram histogram;
            histogram.resize(size);
            setups[i](histogram);
            ExpectTheBackgroundDrawn(Render(histogram), i);
            histogram.BucketTooltip(0);
            histogram.BucketAt(QPoint(size.width() / 2, size.height() / 2));
        }
}

}  // namespace
