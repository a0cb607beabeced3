#include "AnalysisBooks.h"

#include "core/APieLayout.h"
#include "core/HistogramScale.h"

#include <cmath>

namespace AnalysisTest {
namespace {

using namespace UserInterface::Charts;

TEST(ValueAxis, StepSearchAndItsEdgeCases)
{
    struct ACase {
        AMoney lowest, highest;
        int plotHeight, fontHeight;
        AValueAxis expected;
    } cases[] = {
        // −3,00 .. 7,00 at 400 pixels and a 16-pixel font: 0,40 leaves 15 pixels, 0,50 leaves 18.
        {-M(3), M(7), 400, 16, {-35'000, M(7), 5'000}},
        // Equal values: one unit either side.
        {M(5), M(5), 400, 16, {M(4), M(6), M(1)}},
        {0, 0, 400, 16, {-M(1), M(1), M(1)}},
        // An exact multiple as the lowest negative value still gets one step below it.
        {-M(2), M(2), 105, 10, {-25'000, M(2), 5'000}},
        // 0,08 gives 109 intervals (9 pixels each), 0,09 gives 97 (10,26 pixels).
        {12'345, 98'765, 1000, 10, {11'700, 99'000, 900}},
        {1, 3, 1000, 10, {1, 3, 1}},
    };
    for (const ACase& c : cases)
        EXPECT_EQ(ComputeValueAxis(c.lowest, c.highest, c.plotHeight, c.fontHeight), c.expected)
            << c.lowest << ".." << c.highest;
    // The extremes of the range neither wrap nor loop forever.
    const AValueAxis wide = ComputeValueAxis(INT64_MIN, INT64_MAX, 100, 10);
    EXPECT_LE(wide.low, wide.high);
    EXPECT_GT(wide.step, 0);
    EXPECT_EQ(AxisTicks({-35'000, M(7), 5'000}).size(), 22u);
}

TEST(ValueAxis, ValuesAndDatesToPixels)
{
    const AValueAxis axis{-35'000, M(7), 5'000};
    EXPECT_EQ(ValueToY(-35'000, axis, 450, 400), 450);
    EXPECT_EQ(ValueToY(M(7), axis, 450, 400), 50);
    // 0 lies a third of the way up: 450 − 35000 × 400 / 105000 = 316.67, truncated.
    EXPECT_EQ(ValueToY(0, axis, 450, 400), 316);
    EXPECT_EQ(DateToX(D(2024, 1, 1), D(2024, 1, 1), D(2024, 1, 11), 20, 300), 20);
    EXPECT_EQ(DateToX(D(2024, 1, 6), D(2024, 1, 1), D(2024, 1, 11), 20, 300), 170);
    EXPECT_EQ(WrittenLabels({0, 5, 16, 20, 33}, 16), (std::vector<std::size_t>{0, 2, 4}));
    EXPECT_EQ(LegendHeight(0, 16), 0);
    EXPECT_EQ(LegendHeight(3, 16), 32);
    EXPECT_EQ(LegendHeight(4, 16), 64);
}

TEST(CellGeometry, BarsOverlapByOneSlotAndEndAtTheMargin)
{
    const AValueAxis axis{-M(10), M(10), M(5)};
    // Two series with bars in a 90-pixel bucket: margin 90 × 2 / 9 = 20, slot 50 / 5 = 10.
    const auto cells = CellGeometry(100, 190, {{true, false}, {true, true}}, {M(5), -M(5)}, axis, 200, 200);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_DOUBLE_EQ(cells[0].pointX, 145.0);
    EXPECT_DOUBLE_EQ(cells[0].bar.left, 120.0);
    EXPECT_DOUBLE_EQ(cells[0].bar.right, 150.0);
    EXPECT_DOUBLE_EQ(cells[1].bar.left, 140.0);
    EXPECT_DOUBLE_EQ(cells[1].bar.right, 170.0);  // = x1 − margin
    EXPECT_EQ(cells[0].bar.bottom, 100);          // the zero line
    EXPECT_EQ(cells[0].bar.top, 50);
    EXPECT_EQ(cells[1].pointY, 50);  // drawn above the zero line
    EXPECT_EQ(cells[1].bar.top, 50);

    // A series without bars keeps its point but takes no slot: the bar after it stays inside.
    const auto mixed = CellGeometry(100, 190, {{false, false}, {true, false}}, {M(5), M(5)}, axis, 200, 200);
    EXPECT_FALSE(mixed[0].hasBar);
    ASSERT_TRUE(mixed[1].hasBar);
    // n = 1: margin 90 × 3 / 9 = 30, slot 30 / 3 = 10.
    EXPECT_DOUBLE_EQ(mixed[1].bar.left, 130.0);
    EXPECT_DOUBLE_EQ(mixed[1].bar.right, 160.0);
}

TEST(HistogramTooltip, OneLinePerSeries)
{
    const auto locale = UtilityClasses::Strings::RussianLocale();
    EXPECT_EQ(BucketTooltip(locale, {{u"Еда", -M(1234)}, {u"Доход", 5'000}}, u"RUR", 2),
              u"\r\nЕда: -1 234,00 RUR\r\nДоход: 0,50 RUR");
}

std::vector<ARingItem> Ring(std::vector<AMoney> childValues)
{
    std::vector<ARingItem> items(1);
    for (AMoney value : childValues) {
        items[0].children.push_back(items.size());
        items[0].first += value;
        items.push_back({value, 0, {}});
    }
    return items;
}

TEST(RingLayout, DepthWidthAndAngles)
{
    std::vector<ARingItem> items = Ring({M(3), M(1)});
    items[0].second = -M(4);  // the root's value is first − second: 8
    items[1].children.push_back(items.size());
    items.push_back({M(1), -M(1), {}});
    const ARingLayout layout = LayoutRing(items, 420, 400, 16);
    EXPECT_EQ(layout.depth, 3);
    EXPECT_EQ(layout.ringWidth, (400 - 16 - 4) / 6);
    EXPECT_EQ(layout.centreX, 210);
    EXPECT_EQ(OutlineRadius(layout), 3 * layout.ringWidth + 2);
    EXPECT_DOUBLE_EQ(layout.slices[1].sweep, 135.0);
    EXPECT_DOUBLE_EQ(layout.slices[2].start, 135.0);
    EXPECT_DOUBLE_EQ(layout.slices[2].sweep, 45.0);
    EXPECT_DOUBLE_EQ(layout.slices[3].start, 0.0);  // the parent's start
    EXPECT_DOUBLE_EQ(layout.slices[3].sweep, 90.0);
    EXPECT_EQ(layout.slices[3].depth, 2);
    // Colours: black plus the first increment, then the grandchild half of it.
    EXPECT_EQ(layout.slices[0].colour, kRootColour);
    EXPECT_EQ(layout.slices[1].colour, (ARgb{0x00, 0x80, 0x00}));
    EXPECT_EQ(layout.slices[2].colour, (ARgb{0x40, 0x40, 0x80}));
    EXPECT_EQ(layout.slices[3].colour, (ARgb{0x00, 0xC0, 0x00}));

    // Hit test: the centre is the root; to the right (90°) the first slice, below it the second.
    EXPECT_EQ(RingHitTest(layout, 210, 200), 0);
    EXPECT_EQ(RingHitTest(layout, 210 + layout.ringWidth + 5, 200), 1);
    EXPECT_EQ(RingHitTest(layout, 215, 200 + layout.ringWidth + 5), 2);  // about 176°
    EXPECT_EQ(RingHitTest(layout, 205, 200 + layout.ringWidth + 5), -1);  // past the slices
    EXPECT_EQ(RingHitTest(layout, 210 + 93, 200 - 93), 3);  // 45° on the second ring
    EXPECT_EQ(RingHitTest(layout, 210 + 3 * layout.ringWidth + 5, 200), -1);  // outside the chart
}

TEST(RingLayout, ATinySliceIsHiddenWithItsSubtree)
{
    std::vector<ARingItem> items = Ring({999, 1});
    items[2].children.push_back(items.size());
    items.push_back({1, 0, {}});
    const ARingLayout layout = LayoutRing(items, 400, 400, 16);
    EXPECT_TRUE(layout.slices[1].visible);
    EXPECT_FALSE(layout.slices[2].visible);  // 2π × 95 × 0.001 < 4 pixels
    EXPECT_FALSE(layout.slices[3].visible);
    // A zero root draws the root alone.
    const ARingLayout empty = LayoutRing(Ring({0, 0}), 400, 400, 16);
    EXPECT_TRUE(empty.slices[0].visible);
    EXPECT_FALSE(empty.slices[1].visible);
    // A tiny client area still gets rings of 5 pixels.
    EXPECT_EQ(LayoutRing(Ring({1}), 10, 10, 16).ringWidth, 5);
}

TEST(RingLayout, FirstAndLastSlicesNeverShareAColour)
{
    for (std::size_t count = 2; count <= 10; ++count) {
        const ARingLayout layout = LayoutRing(Ring(std::vector<AMoney>(count, M(1))), 400, 400, 16);
        EXPECT_NE(layout.slices[1].colour, layout.slices[count].colour) << count;
        for (std::size_t i = 2; i <= count; ++i)
            EXPECT_NE(layout.slices[i - 1].colour, layout.slices[i].colour) << count << " " << i;
    }
    // Three slices already differ at both ends: no skip.
    const ARingLayout three = LayoutRing(Ring({M(1), M(1), M(1)}), 400, 400, 16);
    EXPECT_EQ(three.slices[3].colour, (ARgb{0x80, 0x30, 0x30}));
    const ARingLayout four = LayoutRing(Ring({M(1), M(1), M(1), M(1)}), 400, 400, 16);
    EXPECT_EQ(four.slices[4].colour, (ARgb{0x40, 0x40, 0x80}));
}

TEST(RingLayout, TooltipLines)
{
    const TBooks books;
    EXPECT_EQ(RingTooltip(books.strings, u"Еда", 0, -M(5), u"RUR", 2), u"Еда\r\nРасход: -5,00 RUR");
    EXPECT_EQ(RingTooltip(books.strings, u"Всё", M(7), -M(5), u"RUR", 2),
              u"Всё\r\nПриход: 7,00 RUR\r\nРасход: -5,00 RUR\r\nИтого: 2,00 RUR");
    EXPECT_EQ(RingTooltip(books.strings, u"Пусто", 0, 0, u"RUR", 0), u"Пусто\r\nИтого: 0 RUR");
}

TEST(RingLayout, RingsDeeperThanTheColourStepsKeepTheirParentsColour)
{
    // A chain of 40 nested categories: past the eighth ring the increment is used up.
    std::vector<ARingItem> items(1, ARingItem{M(1), 0, {}});
    for (std::size_t i = 1; i <= 40; ++i) {
        items[i - 1].children.push_back(i);
        items.push_back({M(1), 0, {}});
    }
    const ARingLayout layout = LayoutRing(items, 4000, 4000, 16);
    ASSERT_EQ(layout.slices.size(), items.size());
    EXPECT_EQ(layout.depth, 41);
    EXPECT_EQ(layout.slices[40].colour, layout.slices[39].colour);
    EXPECT_EQ(layout.slices[40].colour, layout.slices[10].colour);
}

}  // namespace
}  // namespace AnalysisTest
