#include "ToolkitTestApp.h"

#include "win32api/AEdit.h"
#include "win32api/DateCtrl.h"
#include "win32api/PickerFormat.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Win32API::VelvixControls;
using Win32API::VelvixForms::ARect;

namespace {

TEST(EditButtons, FlagsSwitchOnTheirButtons)
{
    EXPECT_EQ(FrameButtonIds(""), std::vector<int>{});
    EXPECT_EQ(FrameButtonIds("=t"), std::vector<int>{701});
    EXPECT_EQ(FrameButtonIds("X.=I"), (std::vector<int>{701, 702, 703, 707}));
    EXPECT_EQ(FrameButtonIds("\x95"), (std::vector<int>{704, 705, 706}));
}

TEST(EditButtons, SquaresFromTheRightEdgeDropDownByTheSetting)
{
    const ARect window{0, 0, 200, 24};  // inner height 20
    struct Case { std::vector<int> ids; bool onRight; std::vector<std::pair<int, int>> lefts; };
    const Case cases[] = {
        {{701}, false, {{701, 2}}},
        {{701}, true, {{701, 178}}},
        {{702, 707}, false, {{702, 178}, {707, 158}}},
        {{707, 701, 702}, false, {{701, 2}, {702, 178}, {707, 158}}},
        {{707, 701, 702}, true, {{701, 178}, {702, 158}, {707, 138}}},
        {{704, 705, 706}, true, {{704, 178}, {705, 158}, {706, 138}}},
    };
    for (const Case& c : cases) {
        std::vector<AFrameButton> buttons = LayOutFrameButtons(c.ids, window, c.onRight);
        ASSERT_EQ(buttons.size(), c.lefts.size());
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i].id, c.lefts[i].first);
            EXPECT_EQ(buttons[i].rect, (ARect{c.lefts[i].second, 2, c.lefts[i].second + 20, 22})) << buttons[i].id;
        }
    }
}

TEST(EditButtons, PressAndReleaseOnAButtonReportsIt)
{
    ToolkitTests::TestApplication();
    AEdit edit("=X");
    edit.resize(200, 24);
    edit.show();
    QSignalSpy clicked(&edit, &AEdit::FrameButtonClicked);
    const QPoint dropDown(12, 12), clear(188, 12), text(100, 12);
    QTest::mouseClick(&edit, Qt::LeftButton, {}, dropDown);
    QTest::mouseClick(&edit, Qt::LeftButton, {}, clear);
    QTest::mouseClick(&edit, Qt::LeftButton, {}, text);
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked[0][0].toInt(), 701);
    EXPECT_EQ(clicked[1][0].toInt(), 707);
    // Released elsewhere: nothing.
    QTest::mousePress(&edit, Qt::LeftButton, {}, clear);
    QTest::mouseRelease(&edit, Qt::LeftButton, {}, text);
    EXPECT_EQ(clicked.count(), 2);
    // The text keeps clear of the buttons; the setting moves the drop-down live.
    EXPECT_GE(edit.textMargins().left(), 20);
    EXPECT_GE(edit.textMargins().right(), 20);
    edit.SetDropDownOnRight(true);
    EXPECT_EQ(edit.ButtonAt(dropDown), 0);
    EXPECT_EQ(edit.ButtonAt(clear), 701);
    EXPECT_EQ(edit.textMargins().left(), 0);
    // A disabled edit's buttons do nothing.
    edit.setEnabled(false);
    QTest::mouseClick(&edit, Qt::LeftButton, {}, clear);
    EXPECT_EQ(clicked.count(), 2);
}

TEST(PickerFormat, PicturesBecomeEditorFormats)
{
    struct Case { const char16_t* picture; const char16_t* format; };
    const Case cases[] = {
        {u"dd.MM.yyyy", u"dd.MM.yyyy"},
        {u"d/M/yy", u"d/M/yy"},
        {u"y", u"yy"},
        {u"dddd, d MMMM yyyy 'г.'", u"dddd, d MMMM yyyy 'г.'"},
        {u"HH:mm:ss", u"hh:mm:ss"},
        {u"H:mm", u"h:mm"},
        {u"h:mm tt", u"h:mm AP"},
        {u"hh:mm", u"hh:mm AP"},       // a 12-hour clock needs its AM/PM field
        {u"'It''s' d", u"'It''s' d"},
        {u"d 'open", u"d 'open'"},      // an unclosed quote is closed
        {u"dd g", u"dd 'g'"},           // other letters are text
    };
    for (const Case& c : cases)
        EXPECT_EQ(EditorFormatFromPicture(c.picture), std::u16string(c.format)) << std::string(c.picture, c.picture + 4);
}

TEST(Pickers, HoldTheProgramsDatesAndTimes)
{
    ToolkitTests::TestApplication();
    ADatePicker date;
    for (ADate day : {0, 1, -1, 46362, -657434, 2958465}) {
        date.SetDate(day);
        EXPECT_EQ(date.Date(), day);
    }
    EXPECT_EQ(ToQDate(0), QDate(1899, 12, 30));
    EXPECT_EQ(FromQDate(QDate(2026, 12, 6)), 46362);
    date.SetDate(9999999);
    EXPECT_EQ(date.Date(), 2958465);
    date.SetDate(-9999999);
    EXPECT_EQ(date.Date(), -657434);

    ATimePicker time;
    time.SetTime(45296789);
    EXPECT_EQ(time.Time(), 45296000);  // whole seconds
    time.SetTime(-5);
    EXPECT_EQ(time.Time(), 0);
    time.SetTime(86400000);
    EXPECT_EQ(time.Time(), 86399000);
}

}  // namespace
