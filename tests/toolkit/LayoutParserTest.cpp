#include "LayoutTestMetrics.h"

#include "core/Assert.h"

#include <gtest/gtest.h>

#include <string>

using namespace Win32API::VelvixForms;

namespace {

// The layouts of the program's dialogs, pages and wizard steps, as written in their sources.
const char* const kProgramLayouts[] = {
    "{b#105{S#-1[tt#-2]{bm4xeyt}{bm4xeyt}{bm4xeyt}{bm4xeyt}}}",
    "{bm4xeyt{t1xe{t1l10b8#136xl(:t){bt4xl[bCt#137]}{bt4xl[bCt#138]}{bt4xl[bCt#139]}}{t1l10b8#140xl(:t){bt4xl"
    "[bCt#141]}}{t1l10b8#142xl(:t){bt4xl[bRg#143]}{bt4xl[bR#144]}}}}",
    "{b#325{t3xe{bW190Her8#-1}{t1l8yt(:l){b[bgt#326]}{bt8[bt#327]}{bt8[bt#328]}{bt8{bWe(:t)}}{bt8[bt#717]}{bt8"
    "[bt#718]}}}}",
    "{bl10t2b4xl[bCt#117]}",
    "{bxe{t1b2xl{bt4xl[bRg#420]}{bt4xl[bR#421]}{bt4b4xl[bR#422]}{t2b4{b#-37xl[bR#423]}{bh8}}{t2b4xr{b#-38[bgt#"
    "424]}{bh14}}}}",
    "{bxe{t5{bWe}{t1{bxl[bRg#412]}{bt4xl[bR#413]}}{bWe}{t1{bxl[bR#414]}{bt4xl[bR#701]}}{bWe}}}",
    "{byt{t1{t2{bm4#-272yt[sig#-270]}{bm4yt[s#-271]}}{t1~t4#-273{bWe(:t)}{bWet4{bl10xl[bCgt#462]}}}}}",
    "{b{sx#-10{SWeHe#-12[tt#-14]}{b~w150He#-16{bWeHe(s:f)}}}}",
    "{b{t2{br4xr[sr#329]}{bW140{bxe[et#-10]}}{bt4xr[sr#330]}{bW140#-11}}}",
    "{t2Wel10t4xl{b[bR#113]}{bWe[egt#-4]}}",
    "{t2{br2}{bW117}{bxr[sg#416]}{b{bWe[Dt#-10]}}{bxr[s#417]}{bt2p{bWe[Tt#-11]}}{bxr[s#418]}{bt2p{bWe[Dt#-12]}}}",
    "{t2{br2}{bWe}{bxr[sg#436]}{b{bWe[etX#-14]}}{bt4xr[sg#-29]}{b{bWe[etX#-33]}}{bt4xr[sg#-30]}{b{bWe[etX#-34]}}"
    "{bt4xr[sg#-31]}{b{bWe[etX#-35]}}{bt4xr[sg#-32]}{b{bWe[etX#-36]}}}",
    "{t3yt{br2}{bW120}{bWel2}{t2xr{bWe#-16*1[srg#-16]}{b#-13}}{b{bWe#-23*2[e=t#-23]}}{t2xl{b#-20*3[s#-20]}{bWe}}"
    "{b#-17xr*4[bRlrg#-17]}{b{bWe#-24*7[e=gt#-24]}}{t2xl{b#-21*8[s#-21]}{bWe}}{b#-18xr*5[bRlr#-18]}{b{bWe#-25*9"
    "[e=t#-25]}}{t2xl{b#-22*10[s#-22]}{bWe}}{b#-19xr*6[bRlr#-19]}{b{bWe#-26*11[e=t#-26]}}{bWe{bWe#-27*12}}}",
    "{t1l10b8#129xl(:t){b}}",
    "{b#-42}",  // a page's element in the main window's stack, named by minus its record id
};

TEST(LayoutParser, EveryLayoutOfTheProgramParses)
{
    for (const char* text : kProgramLayouts) {
        ALayoutParseResult result = TryParseLayout(text);
        EXPECT_TRUE(result.ok) << text << " fails at " << result.errorOffset;
    }
}

TEST(LayoutParser, ReadsEveryAttribute)
{
    auto e = ParseLayout("{t3W12w4pH7h8dl1r2dt3pb4#-7\x07" "Caption\x07(R:lb)*9~xryb}");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->type, 't');
    EXPECT_EQ(e->columns, 3);
    // A later width wins, and w makes it stretch.
    EXPECT_EQ(e->width.value, 4);
    EXPECT_EQ(e->width.unit, ALength::Unit::Pixels);
    EXPECT_TRUE(e->widthStretch);
    EXPECT_EQ(e->height.value, 8);
    EXPECT_EQ(e->height.unit, ALength::Unit::Units);
    EXPECT_TRUE(e->heightStretch);
    EXPECT_EQ(e->marginLeft.value, 1);
    EXPECT_EQ(e->marginRight.unit, ALength::Unit::Units);
    EXPECT_EQ(e->marginTop.unit, ALength::Unit::Pixels);
    EXPECT_EQ(e->marginBottom.value, 4);
    EXPECT_EQ(e->id, -7);
    EXPECT_EQ(e->inlineCaption, "Caption");
    EXPECT_EQ(e->borderStyle, 'R');
    EXPECT_EQ(e->borderEdges, kEdgeLeft | kEdgeBottom);
    EXPECT_EQ(e->tabOrder, 9);
    EXPECT_FALSE(e->visible);
    EXPECT_EQ(e->alignX, 'r');
    EXPECT_EQ(e->alignY, 'b');
}

TEST(LayoutParser, DefaultsAndShortForms)
{
    auto e = ParseLayout("{bm3(:f)[e=*.IX\x95#-300\x07txt\x07]}");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->marginLeft.value, 3);
    EXPECT_EQ(e->marginBottom.value, 3);
    EXPECT_EQ(e->borderStyle, 'e');  // the style may be left out
    EXPECT_EQ(e->borderEdges, kEdgeAll);
    EXPECT_EQ(e->alignX, 'c');
    EXPECT_EQ(e->tabOrder, 0xFFFF);
    EXPECT_TRUE(e->visible);
    ASSERT_TRUE(e->control.has_value());
    EXPECT_EQ(e->control->type, 'e');
    EXPECT_EQ(e->control->id, -300);
    EXPECT_EQ(e->control->flags, "=*.IX\x95");
    EXPECT_EQ(e->control->inlineText, "txt");

    auto we = ParseLayout("{bWe}");
    EXPECT_TRUE(we->width.IsExpand());
    EXPECT_TRUE(we->widthStretch);
    auto fixed = ParseLayout("{bW12}");
    EXPECT_FALSE(fixed->widthStretch);
}

TEST(LayoutParser, SplitterGetsItsBarBetweenThePanesAndATabbedStackItsPages)
{
    for (const char* text : {"{sx{b}{b}}", "{syB7p{b}{b}}"}) {
        auto e = ParseLayout(text);
        ASSERT_NE(e, nullptr) << text;
        ASSERT_EQ(e->children.size(), 3u);
        const ALayoutElement& bar = *e->children[1];
        EXPECT_TRUE(bar.isSplitterBar);
        EXPECT_TRUE(bar.widthStretch && bar.heightStretch);
        EXPECT_EQ(bar.parent, e.get());
        const ALength& thickness = e->splitterAxis == 'x' ? bar.width : bar.height;
        EXPECT_EQ(thickness.unit, ALength::Unit::Pixels);
        EXPECT_EQ(thickness.value, e->splitterAxis == 'x' ? 5 : 7);
        EXPECT_EQ(e->columns, e->splitterAxis == 'x' ? 3 : 1);
    }
    // A stack with a tab control makes its children pages.
    auto tabs = ParseLayout("{S[t]{b}{b}}");
    ASSERT_NE(tabs, nullptr);
    EXPECT_TRUE(tabs->HasTabControl());
    EXPECT_TRUE(tabs->children[0]->isTabPage && tabs->children[1]->isTabPage);
    EXPECT_FALSE(ParseLayout("{S{b}}")->children[0]->isTabPage);
}

TEST(LayoutParser, SequenceForInsertingAtRunTime)
{
    ALayoutParseResult result = TryParseLayout("{b#-1}{t2{b}{b}}{b[s]}", true);
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(result.elements.size(), 3u);
    EXPECT_EQ(result.elements[1]->type, 't');
    // One element only where a whole layout is expected.
    EXPECT_FALSE(TryParseLayout("{b}{b}").ok);
    // The string ends with its NUL.
    EXPECT_TRUE(TryParseLayout(std::string_view("{b}\0junk", 8)).ok);
}

TEST(LayoutParser, StringsOutsideTheGrammarFailWhereTheyLeaveIt)
{
    struct Case { const char* text; std::size_t offset; };
    const Case cases[] = {
        {"", 0},
        {"b}", 0},
        {"{", 1},
        {"{q}", 1},            // unknown type
        {"{t}", 2},            // table without its column count
        {"{t0{b}}", 3},        // no columns
        {"{sz{b}{b}}", 2},     // splitter axis
        {"{bk}", 2},           // unknown attribute
        {"{bxq}", 3},          // alignment letter not in its list
        {"{byl}", 3},
        {"{b{b}{b}}", 5},      // a box with two children
        {"{b{b}[s]}", 5},      // a control after children
        {"{b[s][s]}", 5},      // two controls
        {"{b[s]{b}}", 5},      // a box with a control and a child
        {"{t2{b}[s]}", 6},
        {"{sx{b}}", 6},        // a splitter with one pane
        {"{sx{b}{b}{b}}", 9},  // ... or three
        {"{sx[s]{b}{b}}", 3},
        {"{bB5}", 2},          // bar thickness outside a splitter
        {"{b[q]}", 3},         // unknown control
        {"{b[bZ]}", 4},        // a flag buttons don't have
        {"{b[sC]}", 4},
        {"{b[e=#]}", 6},       // id without digits
        {"{b[b#40000]}", 9},   // id outside 16 bits
        {"{b#-32769}", 8},
        {"{b*65536}", 7},
        {"{bW}", 3},           // length without digits
        {"{bW9999999}", 8},
        {"{b(q:f)}", 3},       // unknown border style
        {"{b(:q)}", 4},        // unknown edge
        {"{b(e)}", 4},
        {"{b\x07open}", 2},    // inline caption not closed
        {"{b[b\x07open]}", 4},
        {"{b[bCCCCCCCCCCCCCCCC]}", 19},  // more than 15 flags
        {"{b}x", 3},           // something after the layout
        {"{b", 2},
    };
    for (const Case& c : cases) {
        ALayoutParseResult result = TryParseLayout(c.text);
        EXPECT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.errorOffset, c.offset) << c.text;
        EXPECT_TRUE(result.elements.empty()) << c.text;
    }
}

TEST(LayoutParser, DeepNestingIsRefusedNotOverflowed)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "{b";
    EXPECT_FALSE(TryParseLayout(deep).ok);
}

TEST(LayoutParser, InvalidLayoutReachesTheAssertionRoutineWithTheCallersLine)
{
    LayoutTests::AAssertionRecorder recorder;
    const int line = __LINE__ + 1;
    auto root = ParseLayout("{b{b}{b}}");
    EXPECT_EQ(root, nullptr);
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_NE(recorder.reports[0].find("LayoutParserTest.cpp (" + std::to_string(line) + ")"), std::string::npos)
        << recorder.reports[0];

    AElementList list = ParseLayoutSequence("{b}{x}");
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(recorder.reports.size(), 2u);
    EXPECT_EQ(ParseLayoutSequence("{b}{b}").size(), 2u);
    EXPECT_EQ(recorder.reports.size(), 2u);
}

TEST(LayoutParser, RandomMutationsOfRealLayoutsNeverCrash)
{
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    const std::string alphabet = "{}[]()#*~:-0123456789bBtTsSxyeEwWhHlrmcdpf=.IX\x07\x95";
    for (const char* base : kProgramLayouts) {
        std::string text = base;
        for (int round = 0; round < 200; ++round) {
            std::string mutated = text;
            for (int k = 0; k < 3; ++k) {
                std::size_t at = next() % mutated.size();
                switch (next() % 3) {
                case 0: mutated[at] = alphabet[next() % alphabet.size()]; break;
                case 1: mutated.erase(at, 1); break;
                default: mutated.insert(at, 1, alphabet[next() % alphabet.size()]); break;
                }
            }
            ALayoutParseResult result = TryParseLayout(mutated);
            if (!result.ok) {
                EXPECT_LE(result.errorOffset, mutated.size());
            }
            for (std::size_t cut = 0; cut < text.size(); cut += 7)
                EXPECT_FALSE(TryParseLayout(text.substr(0, cut)).ok);
        }
    }
}

}  // namespace
