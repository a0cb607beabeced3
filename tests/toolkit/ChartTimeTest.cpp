#include "ChartTestImages.h"

#include "core/AStrings.h"
#include "core/LocaleInfo.h"
#include "win32api/ChrtCtrl.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace ChartTests;
using Win32API::VelvixControls::AChartControl;
using APoint = AChartControl::APoint;
using ALine = AChartControl::ALine;
using ALineStyle = AChartControl::ALineStyle;

namespace {

constexpr AChartControl::AMoney kOne = 10'000;
const ADate kStart = Dates::FromYmd(2024, 3, 1);
const QColor kBlue(0, 0, 255), kRed(255, 0, 0);

class TimeChart : public ::testing::Test {
protected:
    TimeChart() : strings(UtilityClasses::Strings::RussianLocale())
    {
        chart.resize(500, 300);
        chart.SetStrings(&strings);
    }

    // The row and column where a line drawn at a value and time lies fully.
    QPoint At(const APoint& point, AChartControl::AMoney value) const
    {
        const auto geometry = chart.Geometry();
        return QPoint(static_cast<int>(std::floor(chart.XOf(point, geometry) + 0.5)),
                      static_cast<int>(std::floor(chart.YOf(value, geometry) + 0.5)));
    }

    QApplication& application = ToolkitTests::TestApplication();  // before any widget
    UtilityClasses::Strings::AStrings strings;
    AChartControl chart;
};

// 10 from the start, 20 from day 10, to the end of day 20.
ALine Steps(QColor colour, ALineStyle style = ALineStyle::Normal)
{
    return {
        {{kStart, 0, 10 * kOne}, {kStart + 10, 0, 20 * kOne}, {kStart + 20, 86'399'999, 20 * kOne}}, colour, style, {}};
}

TEST_F(TimeChart, StepsHoldAValueUntilTheNextPoint)
{
    chart.SetLines({Steps(kBlue)});
    const QImage image = Render(chart);
    // Just before day 10 the line is still at 10, just after it at 20; the riser at day 10, halfway up.
    const struct {
        int day, value;
        bool line;
    } points[] = {{9, 10, true}, {5, 10, true}, {11, 20, true}, {9, 20, false}, {11, 10, false}, {10, 15, true}};
    for (const auto& p : points)
        EXPECT_EQ(image.pixelColor(At({kStart + p.day, 0, 0}, p.value * kOne)) == kBlue, p.line) << p.day << " " << p.value;
}

TEST_F(TimeChart, SmoothingReplacesTheSteps)
{
    chart.SetSmoothing(true);
    chart.SetLines({Steps(kBlue)});
    const QImage image = Render(chart);
    // The curve leaves 10 at once and reaches 20 at day 10: no flat run before the rise.
    EXPECT_NE(image.pixelColor(At({kStart + 9, 0, 0}, 10 * kOne)), kBlue);
    EXPECT_NE(image.pixelColor(At({kStart + 10, 0, 0}, 15 * kOne)), kBlue);
    EXPECT_EQ(image.pixelColor(At({kStart + 10, 0, 0}, 20 * kOne)), kBlue);
    EXPECT_EQ(image.pixelColor(At({kStart + 15, 0, 0}, 20 * kOne)), kBlue);  // flat where the values are
    // Halfway between the first two points, somewhere between the two values.
    const QPoint low = At({kStart + 5, 0, 0}, 10 * kOne), high = At({kStart + 5, 0, 0}, 20 * kOne);
    bool found = false;
    for (int y = high.y() + 2; y < low.y() - 1; ++y)
        found = found || image.pixelColor(low.x(), y) == kBlue;
    EXPECT_TRUE(found);
}

TEST_F(TimeChart, TheZeroLineBringsZeroIntoTheAxis)
{
    chart.SetLines({Steps(kBlue)});
    EXPECT_GT(chart.Geometry().axis.low, 0);
    chart.SetZeroLine(true);
    EXPECT_EQ(chart.Geometry().axis.low, 0);
    EXPECT_GE(chart.Geometry().axis.high, 20 * kOne);

    // Zero inside the values: a dark line across the plot only when it is asked for.
    ALine crossing = Steps(kBlue);
    crossing.points.front().value = -10 * kOne;
    chart.SetLines({crossing});
    const QColor text = chart.palette().color(QPalette::Text);
    for (bool shown : {true, false}) {
        chart.SetZeroLine(shown);
        const auto geometry = chart.Geometry();
        const QImage image = Render(chart);
        const int zeroY = static_cast<int>(std::lround(chart.YOf(0, geometry)));
        ASSERT_LT(zeroY, geometry.plot.bottom() - 5);
        int dark = 0;
        for (int x = geometry.plot.left(); x <= geometry.plot.right(); ++x)
            dark += image.pixelColor(x, zeroY) == text;
        EXPECT_EQ(dark > geometry.plot.width() * 3 / 4, shown) << dark;
    }
}

TEST_F(TimeChart, ANormalLineHasAFaintAreaAndAContinuationIsDashedWithoutOne)
{
    chart.SetZeroLine(true);
    chart.SetLines({Steps(kBlue), Steps(kRed, ALineStyle::Continuation)});
    // The normal line is drawn over the continuation; move the continuation up a little.
    auto lines = chart.Lines();
    for (auto& point : lines[1].points)
        point.value += 3 * kOne;
    chart.SetLines(lines);
    const QImage image = Render(chart);
    const QColor base = chart.palette().color(QPalette::Base);
    // Under the normal line, above zero: its colour at a low alpha.
    const QPoint under = At({kStart + 5, 0, 0}, 5 * kOne + 3'000);
    const QColor tint = image.pixelColor(under);
    EXPECT_NE(tint, base);
    EXPECT_TRUE(Near(tint, Blend(base, kBlue, 28), 4)) << tint.name().toStdString();
    // Along the continuation: dashes and gaps, and no area between it and the normal line.
    int red = 0, gaps = 0;
    for (ADate day = kStart + 1; day < kStart + 9; ++day)
        for (int hour = 0; hour < 24; hour += 3) {
            const QColor c = image.pixelColor(At({day, hour * 3'600'000, 0}, 13 * kOne));
            red += c == kRed;
            gaps += c != kRed;
        }
    EXPECT_GT(red, 5);
    EXPECT_GT(gaps, 5);
    const QColor between = image.pixelColor(At({kStart + 5, 0, 0}, 11 * kOne + 5'000));
    EXPECT_EQ(between, base);
}

TEST_F(TimeChart, HitTestFindsTheNearestLineAndThePointsUnderTheMouse)
{
    ALine many{{{kStart, 0, 0}}, kRed, ALineStyle::Normal, {}};
    for (int i = 1; i <= 5; ++i)
        many.points.push_back({kStart + 10, i * 1000, 50 * kOne + i * kOne});  // five steps on one day
    many.points.push_back({kStart + 20, 0, 60 * kOne});
    chart.SetLines({Steps(kBlue), many});
    const auto geometry = chart.Geometry();
    auto hit = [&](ADate date, AChartControl::AMoney value) { return chart.HitTest(At({date, 0, 0}, value)); };
    // Over the blue line between its points: the last point before the mouse.
    auto h = hit(kStart + 5, 10 * kOne);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->line, 0);
    EXPECT_EQ(h->first, 0u);
    EXPECT_EQ(h->last, 0u);
    // On the day of the five steps, near the red line: all five.
    h = hit(kStart + 10, 55 * kOne);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->line, 1);
    EXPECT_EQ(h->first, 1u);
    EXPECT_EQ(h->last, 5u);
    // Nothing outside the plot; the blue line ends at the end of its last day.
    EXPECT_FALSE(chart.HitTest(QPoint(geometry.plot.left() - 5, geometry.plot.center().y())));
    EXPECT_FALSE(chart.HitTest(QPoint(geometry.plot.center().x(), geometry.plot.bottom() + 5)));
    chart.SetLines({Steps(kBlue), ALine{{{kStart + 30, 0, 0}, {kStart + 40, 0, 0}}, kRed, ALineStyle::Normal, {}}});
    h = hit(kStart + 25, 0);
    EXPECT_FALSE(h) << (h ? h->line : -9);
    h = hit(kStart + 2, 0);  // before the red line starts: the blue one
    ASSERT_TRUE(h);
    EXPECT_EQ(h->line, 0);
}

TEST_F(TimeChart, TheOwnerSuppliesTheTooltip)
{
    chart.SetLines({Steps(kBlue)});
    chart.show();
    std::vector<AChartControl::AHit> asked;
    chart.SetTooltipSource([&](const AChartControl::AHit& hit) {
        asked.push_back(hit);
        return QStringLiteral("Входящий остаток: 10,00 RUB\r\nОпераций: 1");
    });
    const QString shown = TooltipAt(chart, At({kStart + 12, 0, 0}, 20 * kOne));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].line, 0);
    EXPECT_EQ(asked[0].last, 1u);
    EXPECT_EQ(shown, QStringLiteral("Входящий остаток: 10,00 RUB\nОпераций: 1"));
    // Outside the plot the owner is not asked.
    TooltipAt(chart, QPoint(1, 1));
    EXPECT_EQ(asked.size(), 1u);
}

TEST_F(TimeChart, HoverMarksThePoint)
{
    chart.SetLines({Steps(kBlue)});
    chart.show();
    const QImage before = Render(chart);
    QTest::mouseMove(&chart, At({kStart + 12, 0, 0}, 20 * kOne));
    const QImage after = Render(chart);
    EXPECT_NE(before, after);
    // The marker sits on the point the hit ends at, not where the mouse is.
    const QPoint point = At({kStart + 10, 0, 0}, 20 * kOne);
    EXPECT_NE(before.pixelColor(point.x(), point.y() - 4), after.pixelColor(point.x(), point.y() - 4));
    chart.SetMessage(QStringLiteral("Для выбранных валют курс пересчёта не определён"));
    EXPECT_FALSE(chart.HitTest(At({kStart + 12, 0, 0}, 20 * kOne)));
}

TEST_F(TimeChart, AMessageReplacesTheDrawing)
{
    chart.SetLines({Steps(kBlue), Steps(kRed, ALineStyle::Continuation)});
    ExpectTheMessageReplacesTheDrawing(chart, QStringLiteral("Пожалуйста, выберите разные валюты"), {kBlue, kRed});
}

TEST_F(TimeChart, OddDataAndSizesDrawWithoutFailing)
{
    const auto max = std::numeric_limits<AChartControl::AMoney>::max();
    const auto min = std::numeric_limits<AChartControl::AMoney>::min();
    const std::vector<std::vector<ALine>> cases = {
        {},
        {ALine{{}, kBlue, ALineStyle::Normal, QStringLiteral("Пустая")}},
        {ALine{{{kStart, 0, 5}}, kBlue, ALineStyle::Normal, {}}},
        {ALine{{{kStart, 0, 5}, {kStart, 0, 7}, {kStart, 0, 5}}, kBlue, ALineStyle::Continuation, {}}},
        {ALine{{{Dates::kMinDate, 0, min}, {Dates::kMaxDate, 86'399'999, max}}, kBlue, ALineStyle::Normal, {}},
         ALine{{{kStart, 0, max}, {kStart + 1, 0, min}}, kRed, ALineStyle::Continuation, QStringLiteral("x")}},
        {ALine{
            {{kStart + 10, 0, 1}, {kStart, 0, 2}, {kStart + 5, -5, 3}}, kBlue, ALineStyle::Normal, {}}},  // unordered
        {ALine{{{kStart, 0, min}, {kStart + 1, 0, min}}, kBlue, ALineStyle::Normal, {}}},
        {ALine{{{kStart, 0, max}, {kStart + 1, 0, max}}, kBlue, ALineStyle::Normal, {}}},
    };
    const QSize sizes[] = {{500, 300}, {40, 30}, {1, 1}, {3000, 60}};
    for (bool smooth : {false, true})
        for (std::size_t i = 0; i < cases.size(); ++i)
            for (QSize size : sizes) {
                AChartControl control;
                control.resize(size);
                control.SetZeroLine(i % 2 == 0);
                control.SetSmoothing(smooth);
                control.SetLines(cases[i]);
                ExpectTheBackgroundDrawn(Render(control), i);
                control.HitTest(QPoint(size.width() / 2, size.height() / 2));
            }
}

}  // namespace
