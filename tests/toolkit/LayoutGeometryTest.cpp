#include "LayoutTestMetrics.h"

#include <gtest/gtest.h>

using namespace Win32API::VelvixForms;
using namespace LayoutTests;

namespace {

class LayoutGeometry : public ::testing::Test {
protected:
    LayoutGeometry() : strings(MakeStrings()), metrics(strings.get())
    {
        strings->SetText(113, u"Да");            // 14 pixels wide
        strings->SetText(117, u"Копии");         // 35 pixels wide
    }
    std::unique_ptr<ALayoutElement> Arrange(std::string_view text, ARect client)
    {
        auto root = Layout(text, metrics, client);
        EXPECT_NE(root, nullptr) << text;
        return root;
    }
    std::unique_ptr<UtilityClasses::Strings::AStrings> strings;
    AFixedMetrics metrics;  // font height 16: one unit is 2 pixels
};

TEST_F(LayoutGeometry, CheckBoxAlignedLeftRightOrCentredInAWideCell)
{
    // The check box is its text (35) plus twice the font height wide; l10 t2 b4 are 20, 4, 8 pixels.
    struct Case { const char* text; int left; };
    const Case cases[] = {
        {"{bl10t2b4xl[bCt#117]}", 20},
        {"{bl10t2b4xr[bCt#117]}", 400 - 67},
        {"{bl10t2b4[bCt#117]}", 20 + (380 - 67) / 2},
    };
    for (const Case& c : cases) {
        auto root = Arrange(c.text, {0, 0, 400, 100});
        EXPECT_EQ(root->minimum, (ASize{67, 16})) << c.text;
        EXPECT_EQ(root->margins, (AMargins{20, 4, 0, 8})) << c.text;
        EXPECT_EQ(root->content, (ARect{c.left, 40, c.left + 67, 56})) << c.text;
        EXPECT_EQ(root->controlRect, root->content) << c.text;
    }
}

TEST_F(LayoutGeometry, OnlyTheStretchingColumnGrows)
{
    auto root = Arrange("{t2Wel10t4xl{b[bR#113]}{bWe[egt#-4]}}", {0, 0, 500, 100});
    const ALayoutElement& radio = *root->children[0];
    const ALayoutElement& edit = *root->children[1];
    EXPECT_TRUE(root->stretchX);
    EXPECT_EQ(root->minimum.cx, 46 + 2 + 64 + 2);
    // The radio button keeps its minimum width; everything else goes to the edit's column.
    EXPECT_EQ(radio.cell.left, 20);
    EXPECT_EQ(radio.content.Width(), 46);
    EXPECT_EQ(edit.cell, (ARect{66, radio.cell.top, 500, radio.cell.bottom}));
    // The edit's frame lies in its margins: the window covers the cell.
    EXPECT_EQ(edit.content, (ARect{68, radio.cell.top + 2, 498, radio.cell.bottom - 2}));
    EXPECT_EQ(edit.controlRect, edit.cell);
}

TEST_F(LayoutGeometry, SpareSplitEquallyRemainderToTheLastStretchingTrack)
{
    auto root = Arrange("{t2{bw10p}{bw20p}}", {0, 0, 35, 10});
    EXPECT_EQ(root->children[0]->cell.Width(), 12);
    EXPECT_EQ(root->children[1]->cell.Width(), 23);
    EXPECT_EQ(root->children[1]->cell.right, 35);

    auto rows = Arrange("{t1{bh10p}{bH5p}{bh20p}}", {0, 0, 10, 42});
    EXPECT_EQ(rows->children[0]->cell.Height(), 13);
    EXPECT_EQ(rows->children[1]->cell.Height(), 5);
    EXPECT_EQ(rows->children[2]->cell.Height(), 24);
}

TEST_F(LayoutGeometry, FillingTableWithoutStretchScalesItsTracks)
{
    auto root = Arrange("{t2xe{bW10pH10p}{bW30p}}", {0, 0, 80, 10});
    EXPECT_FALSE(root->stretchX);
    EXPECT_EQ(root->children[0]->cell, (ARect{0, 0, 20, 10}));
    EXPECT_EQ(root->children[1]->cell, (ARect{20, 0, 80, 10}));
    // Without e the table keeps its minimum width, centred.
    auto centred = Arrange("{t2{bW10pH10p}{bW30p}}", {0, 0, 80, 10});
    EXPECT_EQ(centred->children[0]->cell, (ARect{20, 0, 30, 10}));
}

TEST_F(LayoutGeometry, HiddenChildTakesNoSpace)
{
    auto columns = Arrange("{t3{bW10pH10p}{b~W20p}{bW30p}}", {0, 0, 40, 10});
    EXPECT_EQ(columns->minimum.cx, 40);
    EXPECT_FALSE(columns->columnTracks[1].used);
    EXPECT_FALSE(columns->children[1]->arranged);
    EXPECT_EQ(columns->children[2]->cell, (ARect{10, 0, 40, 10}));

    auto rows = Arrange("{t1{bH10p}{b~H20p{b[s#-1]}}{bH30p}}", {0, 0, 10, 40});
    EXPECT_EQ(rows->minimum.cy, 40);
    EXPECT_EQ(rows->children[2]->cell.top, 10);
    // The hidden element's descendants are not arranged either.
    EXPECT_FALSE(rows->children[1]->children[0]->arranged);

    // A box around a hidden child is empty.
    auto box = Arrange("{b{b~W50p}}", {0, 0, 100, 100});
    EXPECT_EQ(box->minimum, (ASize{0, 0}));
}

TEST_F(LayoutGeometry, StackShowsOnlyItsFirstVisibleChildAndStretchesLikeAllOfThem)
{
    auto both = Arrange("{S{bW10p}{bW20p}}", {0, 0, 100, 10});
    EXPECT_TRUE(both->children[0]->visible);
    EXPECT_FALSE(both->children[1]->visible);
    EXPECT_EQ(both->minimum.cx, 20);  // every page counts, so switching never resizes
    EXPECT_TRUE(both->children[0]->arranged);
    EXPECT_FALSE(both->children[1]->arranged);

    auto none = Arrange("{S{b~W10p}{b~W20p}{b~}}", {0, 0, 100, 10});
    EXPECT_EQ(ShownStackChild(*none), 0);

    auto later = Arrange("{S{b~}{b}{b}}", {0, 0, 100, 10});
    EXPECT_EQ(ShownStackChild(*later), 1);
    EXPECT_FALSE(later->children[2]->visible);

    EXPECT_TRUE(SelectStackChild(*later, 2));
    EXPECT_EQ(ShownStackChild(*later), 2);
    EXPECT_FALSE(SelectStackChild(*later, 3));
    EXPECT_FALSE(SelectStackChild(*later, -1));
    EXPECT_EQ(ShownStackChild(*later), 2);
    // It stretches only when every child does.
    EXPECT_TRUE(Arrange("{S{bWe}{bw5}}", {0, 0, 10, 10})->stretchX);
    EXPECT_FALSE(Arrange("{S{bWe}{bW5}}", {0, 0, 10, 10})->stretchX);
}

TEST_F(LayoutGeometry, TabControlStackMakesRoomForTabsAndGivesPagesItsDisplayArea)
{
    auto root = Arrange("{S[t]{bW100pH50p}{b~W80pH60p}}", {0, 0, 104, 82});
    EXPECT_EQ(root->minimum, (ASize{104, 82}));
    EXPECT_EQ(root->children[0]->cell, (ARect{2, 20, 102, 80}));
    EXPECT_EQ(root->controlRect, (ARect{0, 0, 104, 82}));
}

TEST_F(LayoutGeometry, UnitLengthsFollowTheFontPixelLengthsStay)
{
    auto root = ParseLayout("{bW10H10pl4t3p}");
    metrics.SetFontHeight(16);
    MeasureLayout(*root, metrics);
    EXPECT_EQ(root->minimum, (ASize{20, 10}));
    EXPECT_EQ(root->margins.left, 8);
    EXPECT_EQ(root->margins.top, 3);
    metrics.SetFontHeight(24);
    MeasureLayout(*root, metrics);
    EXPECT_EQ(root->minimum, (ASize{30, 10}));
    EXPECT_EQ(root->margins.left, 12);
    EXPECT_EQ(root->margins.top, 3);
    // Truncated: 3 units of a 13-pixel font are 39 / 8 = 4 pixels.
    metrics.SetFontHeight(13);
    MeasureLayout(*root, metrics);
    EXPECT_EQ(root->margins.left, 6);
}

TEST_F(LayoutGeometry, StandardControlMinimumSizes)
{
    struct Case { const char* text; ASize minimum; AMargins margins; };
    const Case cases[] = {
        {"{b[bt#117]}", {100, 28}, {}},      // push button 50 x 14 units
        {"{b[bDt#117]}", {100, 28}, {}},
        {"{b[bPt#117]}", {100, 28}, {}},
        {"{b[bw#117]}", {100, 28}, {}},
        {"{b[bi#117]}", {28, 28}, {}},       // icon button 14 x 14 units
        {"{b[bC#117]}", {35 + 32, 16}, {}},  // check box: text and twice the font height
        {"{b[bR#113]}", {14 + 32, 16}, {}},
        {"{b[bR\x07&Yes\x07]}", {21 + 32, 16}, {}},  // "&" marks the mnemonic and takes no room
        {"{b[s#117]}", {35, 16}, {}},
        {"{b[s#-5]}", {0, 16}, {}},
        {"{b[si#-5]}", {32, 32}, {}},
        {"{b[e#-5]}", {64, 16}, {2, 2, 2, 2}},   // edit-like: 32 units by the font height, framed
        {"{b[D#-5]}", {64, 16}, {2, 2, 2, 2}},
        {"{b[T#-5]}", {64, 16}, {2, 2, 2, 2}},
        {"{b[r#-5]}", {64, 16}, {2, 2, 2, 2}},
        {"{bW80p[e#-5]}", {80, 16}, {2, 2, 2, 2}},  // W only raises the minimum
        {"{bl1p[e#-5]}", {64, 16}, {2, 2, 2, 2}},   // margins only raise too
        {"{bl5p[e#-5]}", {64, 16}, {5, 2, 2, 2}},
    };
    for (const Case& c : cases) {
        auto root = Arrange(c.text, {0, 0, 300, 100});
        EXPECT_EQ(root->minimum, c.minimum) << c.text;
        EXPECT_EQ(root->margins, c.margins) << c.text;
    }
}

TEST_F(LayoutGeometry, CaptionsAndBorders)
{
    struct Case { const char* text; int minWidth; AMargins margins; int captionTop; int borderTop; };
    const Case cases[] = {
        // The etched and bump lines run through the caption: no room above for them.
        {"{b#117(e:f)[bt#-1]}", 100, {2, 16, 2, 2}, 0, 8},
        {"{b#117(b:tb)[bt#-1]}", 100, {0, 16, 0, 2}, 0, 8},
        {"{b#117(R:f)[bt#-1]}", 100, {2, 18, 2, 2}, 2, 0},
        {"{b#117(s:lt)[bt#-1]}", 100, {1, 17, 0, 0}, 1, 0},
        {"{b(r:f)[bt#-1]}", 100, {1, 1, 1, 1}, 0, 0},
        {"{b(:t)[bt#-1]}", 100, {0, 2, 0, 0}, 0, 0},
        {"{b#117[s#-1]}", 35 + 16, {0, 16, 0, 0}, 0, 0},  // the caption widens the element
    };
    for (const Case& c : cases) {
        auto root = Arrange(c.text, {0, 0, 300, 100});
        EXPECT_EQ(root->minimum.cx, c.minWidth) << c.text;
        EXPECT_EQ(root->margins, c.margins) << c.text;
        if (root->HasCaption()) {
            EXPECT_EQ(root->captionRect.top, c.captionTop) << c.text;
            EXPECT_EQ(root->captionRect.left, root->content.left) << c.text;
            EXPECT_EQ(root->captionRect.Width(), 35 + 16) << c.text;
            EXPECT_EQ(root->captionRect.Height(), 16) << c.text;
        }
        EXPECT_EQ(BorderRect(*root, 16).top, c.borderTop) << c.text;
    }
}

TEST_F(LayoutGeometry, TableLinesUpTheMarginsOfAColumnAndARow)
{
    auto root = Arrange("{t2{bl3p}{bt4p}{bb6p}{br5p}}", {0, 0, 100, 100});
    const AMargins expected[] = {{3, 4, 0, 0}, {0, 4, 5, 0}, {3, 0, 0, 6}, {0, 0, 5, 6}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(root->children[i]->margins, expected[i]) << i;
    EXPECT_EQ(root->minimum, (ASize{8, 10}));
}

TEST_F(LayoutGeometry, TooSmallAClientStillGivesMinimumSizes)
{
    auto root = Arrange("{t2{bW50pH10p}{bW50p}}", {0, 0, 60, 10});
    EXPECT_EQ(root->content.Width(), 100);
    EXPECT_EQ(root->children[1]->cell, (ARect{50, 0, 100, 10}));
    EXPECT_EQ(MinimumClientSize(*Arrange("{bm3pW50pH5p}", {0, 0, 1, 1})), (ASize{56, 11}));
}

TEST_F(LayoutGeometry, SplitterBarIsClampedBetweenThePanes)
{
    auto root = Arrange("{sx{bWehe}{bW30phe}}", {0, 0, 300, 40});
    ALayoutElement& first = *root->children[0];
    ALayoutElement& bar = *root->children[1];
    ALayoutElement& second = *root->children[2];
    first.width = ALength::Pixels(50);  // a first pane of at least 50 pixels that stretches
    MeasureLayout(*root, metrics);
    ArrangeLayout(*root, {0, 0, 300, 40}, metrics);
    EXPECT_EQ(root->minimum.cx, 85);
    // Never placed: a table of three cells, the stretching pane and bar share the spare room.
    EXPECT_EQ(first.cell.Width(), 50 + 107);
    EXPECT_EQ(bar.cell.Width(), 5 + 108);

    struct Case { int position; int barLeft; };
    const Case cases[] = {
        {150, 148},  // centred on the position
        {10, 50},    // not into the first pane's minimum
        {290, 265},  // nor into the second's
    };
    for (const Case& c : cases) {
        MoveSplitterBar(*root, c.position);
        ArrangeLayout(*root, {0, 0, 300, 40}, metrics);
        EXPECT_EQ(bar.cell, (ARect{c.barLeft, 0, c.barLeft + 5, 40})) << c.position;
        EXPECT_EQ(first.cell, (ARect{0, 0, c.barLeft, 40})) << c.position;
        EXPECT_EQ(second.cell, (ARect{c.barLeft + 5, 0, 300, 40})) << c.position;
    }
    // A smaller window re-clamps the bar the user placed.
    ArrangeLayout(*root, {0, 0, 85, 40}, metrics);
    EXPECT_EQ(bar.cell.left, 50);
    EXPECT_EQ(*root->barOffset, 50);

    // One pane hidden: the other takes everything and the bar goes away.
    second.visible = false;
    MeasureLayout(*root, metrics);
    ArrangeLayout(*root, {0, 0, 300, 40}, metrics);
    EXPECT_EQ(first.cell, (ARect{0, 0, 300, 40}));
    EXPECT_FALSE(bar.arranged);
    EXPECT_FALSE(second.arranged);
    EXPECT_EQ(root->minimum.cx, 50);
}

TEST_F(LayoutGeometry, VerticalSplitterWithItsOwnBarThickness)
{
    auto root = Arrange("{syB8p{bH20p}{bH30p}}", {0, 0, 50, 200});
    MoveSplitterBar(*root, 100);
    ArrangeLayout(*root, {0, 0, 50, 200}, metrics);
    EXPECT_EQ(root->children[1]->cell.top, 96);
    EXPECT_EQ(root->children[1]->cell.bottom, 104);
    EXPECT_EQ(root->children[2]->cell.top, 104);
    EXPECT_EQ(root->children[2]->cell.bottom, 200);
}

TEST_F(LayoutGeometry, TabOrderSortsStablyUnnumberedLast)
{
    auto root = Arrange("{t1{b*3[bt#-1]}{b[bt#-2]}{b*1[bt#-3]}{b[bt#-4]}{b#117*2[bt#-5]}{b#-9*0}}", {0, 0, 500, 500});
    std::vector<ATabStop> stops = CollectTabOrder(*root);
    ASSERT_EQ(stops.size(), 6u);
    const int expectedIds[] = {-3, 117, -5, -1, -2, -4};
    for (int i = 0; i < 6; ++i) {
        const ATabStop& stop = stops[i];
        int id = stop.kind == ATabStop::Kind::Caption ? stop.element->id : stop.element->control->id;
        EXPECT_EQ(id, expectedIds[i]) << i;
    }
    EXPECT_EQ(stops[1].kind, ATabStop::Kind::Caption);
}

TEST_F(LayoutGeometry, CaptionWindowsExceptTitleAndTabs)
{
    auto root = ParseLayout("{b#105{S[t]{b#106}{b#107}}}");
    EXPECT_TRUE(HasCaptionWindow(*root));  // a child form's root has one
    root->captionIsTitle = true;
    EXPECT_FALSE(HasCaptionWindow(*root));  // the window title
    EXPECT_FALSE(HasCaptionWindow(*root->children[0]->children[0]));  // on its tab
    EXPECT_EQ(CollectTabOrder(*root).size(), 1u);  // only the tab control

    // Captions without a window of their own take no room.
    MeasureLayout(*root, metrics);
    EXPECT_EQ(root->margins.top, 0);
    EXPECT_EQ(root->children[0]->children[0]->margins.top, 0);
    root->captionIsTitle = false;
    MeasureLayout(*root, metrics);
    EXPECT_EQ(root->margins.top, 16);
}

TEST_F(LayoutGeometry, ChildFormIsMeasuredAndArrangedInItsOwnWindow)
{
    auto child = ParseLayout("{bW80pH20pm2p*4[e#-1]}");
    auto root = ParseLayout("{t2{bW10p}{b#-3}}");
    ALayoutElement* place = FindElement(*root, -3);
    ASSERT_NE(place, nullptr);
    place->embeddedRoot = child.get();
    MeasureLayout(*root, metrics);
    EXPECT_EQ(place->minimum, (ASize{84, 24}));
    ArrangeLayout(*root, {0, 0, 94, 24}, metrics);
    EXPECT_EQ(place->content, (ARect{10, 0, 94, 24}));
    EXPECT_EQ(child->cell, (ARect{0, 0, 84, 24}));
    EXPECT_EQ(child->content, (ARect{2, 2, 82, 22}));
    EXPECT_EQ(child->controlRect, (ARect{0, 0, 84, 24}));
    std::vector<ATabStop> stops = CollectTabOrder(*root);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].kind, ATabStop::Kind::ChildForm);
}

TEST_F(LayoutGeometry, LookupsByElementAndControlId)
{
    auto root = ParseLayout("{t2{b#-4[e#-5]}{b#7[bt#-4]}}");
    EXPECT_EQ(FindElement(*root, -4), root->children[0].get());
    EXPECT_EQ(FindElement(*root, 7), root->children[1].get());
    EXPECT_EQ(FindControlElement(*root, -4), root->children[1].get());
    EXPECT_EQ(FindElement(*root, -99), nullptr);
    EXPECT_EQ(FindControlElement(*root, 0), nullptr);
}

TEST_F(LayoutGeometry, EveryProgramLayoutArrangesInsideALargeEnoughWindow)
{
    const char* layouts[] = {
        "{b#325{t3xe{bW190Her8#-1}{t1l8yt(:l){b[bgt#326]}{bt8[bt#327]}{bt8[bt#328]}{bt8{bWe(:t)}}{bt8[bt#717]}"
        "{bt8[bt#718]}}}}",
        "{b{sx#-10{SWeHe#-12[tt#-14]}{bw150He#-16{bWeHe(s:f)}}}}",
        "{t2{br2}{bW117}{bxr[sg#416]}{b{bWe[Dt#-10]}}{bxr[s#417]}{bt2p{bWe[Tt#-11]}}{bxr[s#418]}{bt2p{bWe[Dt#-12]}}}",
    };
    for (const char* text : layouts) {
        auto root = ParseLayout(text);
        MeasureLayout(*root, metrics);
        ASize size = MinimumClientSize(*root);
        ARect client{0, 0, size.cx + 37, size.cy + 11};
        ArrangeLayout(*root, client, metrics);
        ForEachElement(*root, [&](ALayoutElement& e) {
            if (!e.arranged)
                return;
            EXPECT_GE(e.cell.left, 0) << text;
            EXPECT_LE(e.cell.right, client.right) << text;
            EXPECT_LE(e.content.right, e.cell.right) << text;
            EXPECT_GE(e.content.Width(), e.minimum.cx) << text;
            EXPECT_GE(e.content.Height(), e.minimum.cy) << text;
        });
    }
}

}  // namespace
