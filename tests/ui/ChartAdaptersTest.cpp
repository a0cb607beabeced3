// The computed reports as the charts take them.
#include "UiTestSupport.h"

#include "ui/reports/ChartAdapters.h"

#include <gtest/gtest.h>

using namespace UserInterface::Reports;
using Win32API::VelvixControls::AHistogram;
using Win32API::VelvixControls::APieChartItem;
using AMoney = std::int64_t;

TEST(ChartAdapters, TheRingIsTheTurnoverTreeWithDamagedListsLeftOut)
{
    ATurnoverReport report;
    auto node = [&](const char16_t* name, AMoney income, AMoney expense, int parent,
                    std::vector<int> children) {
        ATurnoverNode n;
        n.name = name;
        n.income = income;
        n.expense = expense;
        n.parent = parent;
        n.children = std::move(children);
        report.nodes.push_back(n);
    };
    node(u"Финансовый результат", 10, -4, -1, {1, 2});
    node(u"Все поступления", 10, 0, 0, {3, 99, 3});  // a damaged list: an unknown node, one twice
    node(u"Все списания", 0, -4, 0, {});
    node(u"Зарплата", 10, 0, 1, {0});  // and a cycle back to the root
    report.root = 0;
    auto root = PieFromTurnover(report);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Node(), 0);
    EXPECT_EQ(root->First(), 10);
    EXPECT_EQ(root->Second(), -4);
    ASSERT_EQ(root->Children().size(), 2u);
    const auto* income = static_cast<const APieChartItem*>(root->Children()[0].get());
    EXPECT_EQ(income->Name(), u"Все поступления");
    ASSERT_EQ(income->Children().size(), 1u);
    const auto* salary = static_cast<const APieChartItem*>(income->Children()[0].get());
    EXPECT_EQ(salary->Node(), 3);
    EXPECT_TRUE(salary->Children().empty());

    report.root = -1;
    EXPECT_EQ(PieFromTurnover(report), nullptr);
    report.root = 17;
    EXPECT_EQ(PieFromTurnover(report), nullptr);
}

TEST(ChartAdapters, TheHistogramTakesEverySeriesWithItsSumsAndFailures)
{
    ADynamicsReport report;
    report.boundaries = {100, 131, 159};
    ADynamicsSeries food;
    food.name = u"Еда";
    food.hue = 20;
    food.showLine = false;
    food.values.sums = {-3, -5};
    food.values.failures = 1;
    ADynamicsSeries salary;
    salary.name = u"Зарплата";
    salary.values.sums = {7};  // a short row leaves its other buckets at zero
    report.series = {food, salary};
    UiTests::TestApplication();
    AHistogram chart;
    chart.AddSeries({u"Прежняя"});
    chart.SetBoundaries({1, 2, 3, 4});
    chart.AddValue(9, 1, 0, nullptr);  // what the chart held before goes
    LoadDynamics(chart, report);
    ASSERT_EQ(chart.SeriesCount(), 2);
    ASSERT_EQ(chart.BucketCount(), 2);
    EXPECT_EQ(chart.Value(0, 0), -3);
    EXPECT_EQ(chart.Value(0, 1), -5);
    EXPECT_EQ(chart.Value(1, 0), 7);
    EXPECT_EQ(chart.Value(1, 1), 0);
    EXPECT_EQ(chart.Failures(), 1u);
}
