#include "ReportTestItems.h"
#include "ToolkitTestApp.h"

#include "win32api/ReportHeader.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace ReportTests;
using Win32API::VelvixControls::AToolkitLook;
using Win32API::VelvixControls::kInactiveSelectionColor;

namespace {

QColor FromColour(std::uint32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

class ReportWindow : public ::testing::Test {
protected:
    ReportWindow() { ToolkitTests::TestApplication(); }

    void Make(bool tree, bool multi, int items)
    {
        mode = std::make_unique<ATestMode>(tree, multi);
        window = std::make_unique<AReportWindow>();
        window->resize(400, 300);
        window->SetMode(mode.get());
        for (int i = 0; i < items; ++i)
            Add(window->Root(), std::u16string(1, char16_t(u'a' + i % 26)), 100 - i);
        window->RebuildRows();
        QObject::connect(window.get(), &AReportWindow::Notify, [this](int code, bool* answer) {
            codes.push_back(code);
            if (code == kNotifyCheckChanging) {
                *answer = allowCheck;
                checking = window->Model().CheckingItem();
            }
        });
        window->show();
        QApplication::setActiveWindow(window.get());
        window->setFocus();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(window.get(), key, modifiers);
    }
    QPoint RowPoint(int row, int x = 30) const
    {
        return QPoint(x, (row - window->FirstVisibleRow()) * window->RowHeight() + window->RowHeight() / 2);
    }
    int Count(int code) const { return static_cast<int>(std::count(codes.begin(), codes.end(), code)); }
    std::u16string Selected() const
    {
        std::u16string names;
        for (AReportItemImpl* item : window->Model().SelectedItems())
            names += item->Text(0);
        return names;
    }

    std::unique_ptr<ATestMode> mode;
    std::unique_ptr<AReportWindow> window;
    std::vector<int> codes;
    bool allowCheck = true;
    AReportItemImpl* checking = nullptr;  // the item the last check question was about
};

// The keys move the focus, clamped to the rows and a page at a time by the rows shown, and
// scroll it into view; the focused row is the one selected.
TEST_F(ReportWindow, KeysMoveTheFocusClampedToTheRowsAndScrollItIntoView)
{
    Make(false, false, 200);
    const int page = window->PageRows();
    struct Step { Qt::Key key; int focus; };
    const Step steps[] = {
        {Qt::Key_Down, 0},  // from no focus to the first row
        {Qt::Key_PageDown, page}, {Qt::Key_PageDown, 2 * page}, {Qt::Key_End, 199}, {Qt::Key_Down, 199},
        {Qt::Key_PageDown, 199}, {Qt::Key_PageUp, 199 - page}, {Qt::Key_Up, 198 - page}, {Qt::Key_Home, 0},
        {Qt::Key_Up, 0}, {Qt::Key_Right, 1}, {Qt::Key_Left, 0},
    };
    for (const Step& s : steps) {
        Key(s.key);
        EXPECT_EQ(window->Model().Focus(), s.focus) << s.key;
        ASSERT_EQ(window->Model().SelectedItems().size(), 1u);
        EXPECT_EQ(window->Model().SelectedItems()[0], window->Model().FocusedItem());
        EXPECT_LE(window->FirstVisibleRow(), s.focus);
        EXPECT_GT(window->FirstVisibleRow() + page, s.focus);
    }
    Key(Qt::Key_End);
    EXPECT_EQ(window->FirstVisibleRow(), 200 - page);
}

// The parent may refuse a change of the check box, by Space or by a click on the box; items
// without a box or that refuse the toggle don't ask.
TEST_F(ReportWindow, TheParentsAnswerDecidesTheCheckChange)
{
    Make(false, false, 0);
    auto* item = Add(window->Root(), u"check", 1, ACheckState::Unchecked);
    auto* plain = Add(window->Root(), u"plain", 2);
    window->RebuildRows();
    Key(Qt::Key_Down);
    allowCheck = false;
    Key(Qt::Key_Space);
    EXPECT_EQ(item->CheckState(), ACheckState::Unchecked);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, RowPoint(0, 8));
    EXPECT_EQ(item->CheckState(), ACheckState::Unchecked);
    EXPECT_EQ(Count(kNotifyCheckChanging), 2);
    allowCheck = true;
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, RowPoint(0, 8));
    EXPECT_EQ(item->CheckState(), ACheckState::Checked);
    EXPECT_EQ(checking, item);
    Key(Qt::Key_Space);
    EXPECT_EQ(item->CheckState(), ACheckState::Unchecked);
    item->togglable = false;
    Key(Qt::Key_Space);
    EXPECT_EQ(item->CheckState(), ACheckState::Unchecked);
    Key(Qt::Key_Down);
    Key(Qt::Key_Space);
    EXPECT_EQ(plain->CheckState(), ACheckState::None);
    EXPECT_EQ(Count(kNotifyCheckChanging), 4);
}

// Left collapses, then goes to the parent; Right expands, then goes to the first child; - and
// + close and open the focused item, the keypad's * everything below it, a click its button.
TEST_F(ReportWindow, TheKeysWalkAndFoldTheTree)
{
    Make(true, false, 0);
    auto* a = Add(window->Root(), u"a", 1);
    auto* b = Add(*a, u"b", 2);
    auto* c = Add(*b, u"c", 3);
    auto* d = Add(*a, u"d", 4);
    Add(window->Root(), u"e", 5);
    window->RebuildRows();
    const auto focused = [&] { return window->Model().FocusedItem(); };
    window->MakeVisible(*b);
    Key(Qt::Key_Left);
    EXPECT_FALSE(b->IsExpanded());
    EXPECT_EQ(focused(), b);
    EXPECT_EQ(window->Model().RowCount(), 4);
    Key(Qt::Key_Left);
    EXPECT_EQ(focused(), a);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_TRUE(b->IsExpanded());
    EXPECT_EQ(focused(), b);
    Key(Qt::Key_Right);
    EXPECT_EQ(focused(), c);
    // A top-level item without children goes to the previous row.
    Key(Qt::Key_End);
    Key(Qt::Key_Left);
    EXPECT_EQ(focused(), d);

    Key(Qt::Key_Home);
    QTest::keyClicks(window.get(), "-");
    EXPECT_EQ(window->Model().RowCount(), 2);
    QTest::keyClicks(window.get(), "+");
    EXPECT_EQ(window->Model().RowCount(), 5);
    window->Model().SetExpanded(*b, false);
    QTest::keyClicks(window.get(), "-");
    QTest::keyClick(window.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(window->Model().RowCount(), 5);
    QTest::keyClicks(window.get(), "-");
    EXPECT_EQ(window->Model().RowCount(), 2);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, RowPoint(0, 2 + window->RowHeight() / 2));
    EXPECT_EQ(window->Model().RowCount(), 5);
}

// Keys: Shift extends from the anchor, Ctrl moves only the focus. Mouse: Ctrl toggles a row,
// Shift selects from the anchor, the last Ctrl-clicked row.
TEST_F(ReportWindow, ShiftAndCtrlInMultiSelection)
{
    Make(false, true, 6);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), u"bcd");
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), u"bc");
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(window->Model().Focus(), 5);
    EXPECT_EQ(Selected(), u"bc");
    const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(window->viewport(), Qt::LeftButton, modifiers, RowPoint(row));
    };
    click(4, Qt::ControlModifier);
    EXPECT_EQ(Selected(), u"bce");
    click(2, Qt::ControlModifier);
    EXPECT_EQ(Selected(), u"be");
    click(0, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), u"abc");
    EXPECT_TRUE(window->Model().Row(0)->IsMarked());
    EXPECT_FALSE(window->Model().Row(2)->IsMarked());  // marks are cleared on every click
    click(5, {});
    EXPECT_EQ(Selected(), u"f");
}

TEST_F(ReportWindow, HeaderClickSortsAndTurnsTheOrderRound)
{
    Make(false, false, 5);
    auto* header = window->findChild<Win32API::VelvixControls::Reports::Implementation::AReportHeader*>();
    ASSERT_NE(header, nullptr);
    const int numberColumnX = mode->Column(0).width + 10;
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(numberColumnX, 5));
    EXPECT_EQ(mode->SortColumn(), 2);
    EXPECT_EQ(window->Model().Row(0)->Text(1), u"96");
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(numberColumnX, 5));
    EXPECT_EQ(mode->SortColumn(), -2);
    EXPECT_EQ(window->Model().Row(0)->Text(1), u"100");
}

TEST_F(ReportWindow, DividerDoubleClickFitsTheColumnAndTheLastColumnStays)
{
    Make(false, false, 0);
    Add(window->Root(), u"a rather long name for a narrow column", 1);
    window->RebuildRows();
    mode->SetColumnWidth(0, 20);
    auto* header = window->findChild<Win32API::VelvixControls::Reports::Implementation::AReportHeader*>();
    QTest::mouseDClick(header, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_GT(mode->Column(0).width, window->fontMetrics().horizontalAdvance("a rather long name for a narrow"));

    EXPECT_TRUE(window->ToggleColumn(1));
    EXPECT_TRUE(window->ToggleColumn(2));
    EXPECT_FALSE(window->ToggleColumn(0));
    EXPECT_TRUE(mode->Column(0).shown);
    EXPECT_EQ(window->ColumnAt(5), 0);
}

// A link is clicked only on a row selected before, pressed and released over the link; a right
// click moves the focus, and only on the focused row is it told; a double click needs a row.
TEST_F(ReportWindow, ClicksOnLinksRowsAndBelowThem)
{
    Make(false, false, 3);
    const int linkX = mode->Column(0).width + mode->Column(1).width + 10;
    auto* viewport = window->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, RowPoint(1, linkX));
    EXPECT_EQ(Count(kNotifyLinkClicked), 0);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, RowPoint(1, linkX));
    EXPECT_EQ(Count(kNotifyLinkClicked), 1);
    EXPECT_EQ(Count(kNotifySelectionChanged), 1);  // unchanged the second time
    QTest::mouseClick(viewport, Qt::LeftButton, {}, RowPoint(1, 10));  // not a link cell
    QTest::mousePress(viewport, Qt::LeftButton, {}, RowPoint(1, linkX));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, RowPoint(2, linkX));
    EXPECT_EQ(Count(kNotifyLinkClicked), 1);
    QTest::mouseClick(viewport, Qt::RightButton, {}, RowPoint(2));
    EXPECT_EQ(window->Model().Focus(), 2);
    EXPECT_EQ(Count(kNotifyRightClickOnFocused), 0);
    QTest::mouseClick(viewport, Qt::RightButton, {}, RowPoint(2));
    EXPECT_EQ(Count(kNotifyRightClickOnFocused), 1);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, RowPoint(2));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, RowPoint(7));
    EXPECT_EQ(Count(kNotifyDoubleClick), 1);
}

TEST_F(ReportWindow, RowColoursAlternateAndSelectionFollowsTheFocus)
{
    Make(false, false, 4);
    AToolkitLook look;
    look.oddLineColor = 0x00112233;
    look.evenLineColor = 0x00445566;
    window->SetLook(look);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, RowPoint(2));
    auto pixel = [&](int row) {
        QImage image = window->viewport()->grab().toImage();
        return image.pixelColor(RowPoint(row, window->viewport()->width() - 3));
    };
    EXPECT_EQ(pixel(0), FromColour(0x00112233));  // the first row counts as odd
    EXPECT_EQ(pixel(1), FromColour(0x00445566));
    EXPECT_EQ(pixel(3), FromColour(0x00445566));
    EXPECT_EQ(pixel(2), window->palette().color(QPalette::Highlight));
    window->clearFocus();
    window->setAttribute(Qt::WA_UnderMouse, false);
    EXPECT_FALSE(window->hasFocus());
    EXPECT_EQ(pixel(2), FromColour(kInactiveSelectionColor));
}

class ReportPicker : public ::testing::Test {
protected:
    ReportPicker() : mode(false, false)
    {
        picker.resize(200, 24);
        picker.SetMode(&mode);
    }
    QApplication& application = ToolkitTests::TestApplication();  // before any widget
    ATestMode mode;
    AReportPicker picker;
};

TEST_F(ReportPicker, PickingARowClosesTheListAndReports)
{
    Add(picker.Root(), u"first", 1);
    auto* second = Add(picker.Root(), u"second", 2);
    picker.RebuildRows();
    picker.show();
    std::vector<int> codes;
    QObject::connect(&picker, &AReportPicker::Notify, [&](int code, bool*) { codes.push_back(code); });

    picker.Open();
    ASSERT_TRUE(picker.IsOpen());
    AReportWindow* list = picker.List();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->IsPickerList());
    QPoint rowTwo(20, list->RowHeight() + list->RowHeight() / 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowTwo);
    QApplication::processEvents();
    EXPECT_FALSE(picker.IsOpen());
    EXPECT_EQ(picker.SelectedItem(), second);
    EXPECT_EQ(codes, std::vector<int>{kNotifySelectionChanged});

    // Escape takes back the arrows' choice.
    picker.Open();
    QTest::keyClick(picker.List(), Qt::Key_Up);
    QTest::keyClick(picker.List(), Qt::Key_Escape);
    EXPECT_FALSE(picker.IsOpen());
    EXPECT_EQ(picker.SelectedItem(), second);
    EXPECT_EQ(codes.size(), 1u);

    // Arrows on the closed field choose too.
    QTest::keyClick(&picker, Qt::Key_Up);
    EXPECT_EQ(picker.SelectedItem()->Text(0), u"first");
    EXPECT_EQ(codes.size(), 2u);
}

// An item that draws its own field, as the colour combo's swatches do.
class ASwatchItem final : public ATestItem {
public:
    using ATestItem::ATestItem;
    void DrawSingleText(AReportCanvas& canvas, const ARect& rect, const ACellStyle&) const override
    {
        canvas.FillRect(rect, 0x0000FF00);
    }
};

TEST_F(ReportPicker, TheClosedFieldIsDrawnByTheChosenItem)
{
    auto* swatch = new ASwatchItem(u"green", 1);
    picker.Root().AddChild(std::unique_ptr<AReportItemImpl>(swatch));
    picker.RebuildRows();
    picker.Select(swatch);
    const QImage image = picker.grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() / 3, image.height() / 2), QColor(0, 0xFF, 0));
}

}  // namespace
