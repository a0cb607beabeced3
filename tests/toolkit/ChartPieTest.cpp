#include "ChartTestImages.h"

#include "core/AStrings.h"
#include "core/LocaleInfo.h"
#include "win32api/APieCtrl.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

using namespace ChartTests;
using Win32API::VelvixControls::APieChart;
using Win32API::VelvixControls::APieChartItem;
using AItem = APieChart::AItem;
namespace ChartMath = UserInterface::Charts;

namespace {

constexpr APieChart::AMoney kOne = 10'000;

std::unique_ptr<AItem> Item(const char16_t* name, APieChart::AMoney first, APieChart::AMoney second = 0)
{
    return std::make_unique<AItem>(name, first * kOne, second * kOne);
}

// A root with one child per value (all income).
std::unique_ptr<AItem> Ring(std::initializer_list<APieChart::AMoney> values)
{
    APieChart::AMoney total = 0;
    for (auto value : values)
        total += value;
    auto root = Item(u"Все", total);
    for (auto value : values)
        root->AddChild(Item(u"Доля", value));
    return root;
}

class PieChart : public ::testing::Test {
protected:
    PieChart() : strings(UtilityClasses::Strings::RussianLocale()) { chart.resize(400, 400); }

    // A point in the middle of an item's ring, halfway through its sweep.
    QPoint Inside(const AItem& item, double along = 0.5) const
    {
        const auto& layout = chart.Layout();
        const double radius = (item.Depth() + 0.5) * layout.ringWidth;
        const double angle = (item.StartAngle() + along * item.SweepAngle()) * std::numbers::pi / 180;
        return QPoint(static_cast<int>(std::lround(layout.centreX + radius * std::sin(angle))),
                      static_cast<int>(std::lround(layout.centreY - radius * std::cos(angle))));
    }
    QColor At(const QImage& image, QPoint point) const { return image.pixelColor(point); }

    QApplication& application = ToolkitTests::TestApplication();  // before any widget
    UtilityClasses::Strings::AStrings strings;
    APieChart chart;
};

TEST_F(PieChart, SlicesAreFilledWithTheirColoursWhereTheLayoutPutsThem)
{
    auto root = Ring({3, 1});
    root->Children()[0]->AddChild(Item(u"Внук", 2));
    chart.SetRoot(std::move(root));
    const QImage image = Render(chart);
    const AItem& root0 = *chart.Root();
    const AItem& big = *root0.Children()[0];
    const AItem& small = *root0.Children()[1];
    const AItem& grandchild = *big.Children()[0];
    EXPECT_EQ(At(image, {chart.Layout().centreX, chart.Layout().centreY}), ToColour(ChartMath::kRootColour));
    EXPECT_EQ(At(image, Inside(big)), QColor(0x00, 0x80, 0x00));
    EXPECT_EQ(At(image, Inside(small)), QColor(0x40, 0x40, 0x80));
    EXPECT_EQ(At(image, Inside(grandchild)), QColor(0x00, 0xC0, 0x00));
    EXPECT_NEAR(big.SweepAngle(), 270, 1e-9);
    EXPECT_NEAR(small.StartAngle(), 270, 1e-9);
    // The grandchild covers two thirds of its parent: the ring beyond the rest is empty.
    EXPECT_EQ(At(image, Inside(big, 0.85)), QColor(0x00, 0x80, 0x00));
    const QPoint centre(chart.Layout().centreX, chart.Layout().centreY);
    const QPoint outer = centre + (Inside(big, 0.85) - centre) * (2.5 / 1.5);
    EXPECT_EQ(At(image, outer), chart.palette().color(QPalette::Base));
    // The grey circle around the whole chart, straight above the centre.
    const int top = chart.Layout().centreY - ChartMath::OutlineRadius(chart.Layout());
    bool grey = false;
    for (int y = top - 1; y <= top + 1; ++y)
        grey = grey || Near(image.pixelColor(chart.Layout().centreX, y), ToColour(ChartMath::kOutlineColour), 24);
    EXPECT_TRUE(grey);
}

TEST_F(PieChart, FirstAndLastSlicesNeverShareAColour)
{
    for (auto values : {std::initializer_list<APieChart::AMoney>{1, 1, 1},
                        std::initializer_list<APieChart::AMoney>{1, 1, 1, 1, 1, 1},
                        {5, 1, 1, 1}}) {
        chart.SetRoot(Ring(values));
        const QImage image = Render(chart);
        const auto& children = chart.Root()->Children();
        const QColor first = At(image, Inside(*children.front())), last = At(image, Inside(*children.back()));
        EXPECT_NE(first, last) << values.size();
        EXPECT_EQ(first, children.front()->Colour());
        EXPECT_EQ(last, children.back()->Colour());
    }
}

TEST_F(PieChart, ATinySliceIsHiddenWithItsSubtree)
{
    auto root = Ring({997, 3});
    root->Children()[1]->AddChild(Item(u"Под крошкой", 3));
    chart.SetRoot(std::move(root));
    const AItem& tiny = *chart.Root()->Children()[1];
    EXPECT_FALSE(tiny.IsVisible());
    EXPECT_FALSE(tiny.Children()[0]->IsVisible());
    EXPECT_TRUE(chart.Root()->Children()[0]->IsVisible());
    // Where it would be, nothing answers to the mouse.
    EXPECT_EQ(chart.HitTest(Inside(tiny)), nullptr);
    EXPECT_EQ(tiny.Children()[0]->Depth(), 2);
}

TEST_F(PieChart, AZeroRootShowsTheRootAlone)
{
    auto root = std::make_unique<AItem>(u"Ноль", 0, 0);
    root->AddChild(Item(u"Приход", 4));
    root->AddChild(Item(u"Расход", 0, -4));
    chart.SetRoot(std::move(root));
    const QImage image = Render(chart);
    for (const auto& child : chart.Root()->Children())
        EXPECT_FALSE(child->IsVisible());
    EXPECT_EQ(At(image, {chart.Layout().centreX, chart.Layout().centreY}), ToColour(ChartMath::kRootColour));
    const QPoint ring(chart.Layout().centreX, chart.Layout().centreY - chart.Layout().ringWidth * 3 / 2);
    EXPECT_EQ(At(image, ring), chart.palette().color(QPalette::Base));
}

TEST_F(PieChart, HitTestHoverAndClick)
{
    chart.SetRoot(Ring({1, 1}));
    chart.show();
    AItem* left = chart.Root()->Children()[1].get();
    EXPECT_EQ(chart.HitTest(Inside(*left)), left);
    EXPECT_EQ(chart.HitTest({chart.Layout().centreX, chart.Layout().centreY}), chart.Root());
    EXPECT_EQ(chart.HitTest({2, 2}), nullptr);

    const QColor normal = left->Colour();
    QTest::mouseMove(&chart, Inside(*left));
    EXPECT_EQ(chart.HoveredItem(), left);
    EXPECT_EQ(chart.cursor().shape(), Qt::PointingHandCursor);
    const QColor hovered = Render(chart).pixelColor(Inside(*left));
    EXPECT_NE(hovered, normal);
    EXPECT_GT(hovered.lightness(), normal.lightness());
    QTest::mouseMove(&chart, {2, 2});
    EXPECT_EQ(chart.HoveredItem(), nullptr);
    EXPECT_EQ(chart.cursor().shape(), Qt::ArrowCursor);

    QSignalSpy clicked(&chart, &APieChart::ItemClicked);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, Inside(*left));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.front().front().value<AItem*>(), left);
    EXPECT_TRUE(left->IsSelected());
    QTest::mouseClick(&chart, Qt::LeftButton, {}, {2, 2});
    EXPECT_EQ(clicked.count(), 1);

    // A message leaves nothing to point at.
    chart.SetMessage(QString::fromUtf8("Пожалуйста, выберите классификатор группировки"));
    EXPECT_EQ(chart.HitTest(Inside(*left)), nullptr);
}

TEST_F(PieChart, TooltipTellsTheSums)
{
    auto root = std::make_unique<AItem>(u"Финансовый результат", 7 * kOne, -5 * kOne);
    root->AddChild(Item(u"Все поступления", 7));
    root->AddChild(Item(u"Все списания", 0, -5));
    chart.SetRoot(std::move(root));
    EXPECT_EQ(chart.TooltipText(*chart.Root()), QString::fromUtf8("Финансовый результат"));  // no texts yet
    chart.SetStrings(&strings);
    chart.SetCurrency(u"RUB", 2);
    EXPECT_EQ(chart.TooltipText(*chart.Root()),
              QString::fromUtf8("Финансовый результат\nПриход: 7,00 RUB\nРасход: -5,00 RUB\nИтого: 2,00 RUB"));
    const AItem& expense = *chart.Root()->Children()[1];
    EXPECT_EQ(chart.TooltipText(expense), QString::fromUtf8("Все списания\nРасход: -5,00 RUB"));

    chart.show();
    EXPECT_EQ(TooltipAt(chart, Inside(expense)), chart.TooltipText(expense));
}

TEST_F(PieChart, AMessageReplacesTheDrawing)
{
    chart.SetRoot(Ring({2, 1}));
    ExpectTheMessageReplacesTheDrawing(chart, QString::fromUtf8("Пожалуйста, выберите хотя бы один счёт"),
                                       {ToColour(ChartMath::kRootColour), QColor(0x00, 0x80, 0x00)});
}

TEST_F(PieChart, OddTreesAndSizesDrawWithoutFailing)
{
    const auto max = std::numeric_limits<APieChart::AMoney>::max();
    const auto min = std::numeric_limits<APieChart::AMoney>::min();
    const std::vector<std::function<std::unique_ptr<AItem>()>> trees = {
        [] { return nullptr; },
        [] { return Item(u"Один", 1); },
        [] {
            auto root = Item(u"Корень", 1);
            AItem* at = root.get();
            for (int level = 0; level < 31; ++level)
                at = at->AddChild(Item(u"Уровень", 1));
            return root;
        },
        [] {
            auto root = Item(u"Корень", 5000);
            for (int i = 0; i < 5000; ++i)
                root->AddChild(Item(u"Лист", 1));
            return root;
        },
        [&] {
            auto root = std::make_unique<AItem>(u"Край", max, min);
            root->AddChild(std::make_unique<AItem>(u"Край", max, 0));
            root->AddChild(std::make_unique<AItem>(u"Край", 0, min));
            return root;
        },
        [] {
            auto root = Item(u"Минус", 0, -10);
            root->AddChild(Item(u"Плюс", 10));
            root->AddChild(std::make_unique<AItem>(u"Наоборот", 0, 10 * kOne));  // a negative value
            return root;
        },
    };
    const QSize sizes[] = {{400, 400}, {30, 500}, {1, 1}, {0, 0}};
    for (std::size_t i = 0; i < trees.size(); ++i)
        for (QSize size : sizes) {
            chart.resize(size);
            chart.SetRoot(trees[i]());
            if (!size.isEmpty())
                ExpectTheBackgroundDrawn(Render(chart), i);
            for (QPoint point : {QPoint(size.width() / 2, size.height() / 2), QPoint(size.width() / 2, 3), QPoint()})
                if (AItem* item = chart.HitTest(point)) {
                    EXPECT_TRUE(item->IsVisible()) << i;
                }
        }
}

}  // namespace
