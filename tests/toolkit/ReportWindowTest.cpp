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
            if (code == kNotifyCheckChanging)
                *answer = allowCheck;
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

    std::unique_ptr<ATestMode> mode;
    std::unique_ptr<AReportWindow> window;
    std::vector<int> codes;
    bool allowCheck = true;
};

TEST_F(ReportWindow, KeysScrollTheFocusIntoView)
{
    Make(false, false, 200);
    Key(Qt::Key_End);
    EXPECT_EQ(window->Model().Focus(), 199);
    EXPECT_EQ(window->FirstVisibleRow(), 200 - window->PageRows());
    Key(Qt::Key_Home);
    EXPECT_EQ(window->FirstVisibleRow(), 0);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(window->Model().Focus(), window->PageRows());
}

TEST_F(ReportWindow, VetoedCheckChangeLeavesTheBox)
{
    Make(false, false, 0);
    auto* item = Add(window->Root(), u"check", 1, ACheckState::Unchecked);
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
    Key(Qt::Key_Space);
    EXPECT_EQ(item->CheckState(), ACheckState::Unchecked);
}

TEST_F(ReportWindow, LeftOnAnExpandedItemCollapsesThenMovesUp)
{
    Make(true, false, 0);
    auto* parent = Add(window->Root(), u"parent", 1);
    auto* child = Add(*parent, u"child", 2);
    Add(*child, u"grandchild", 3);
    window->RebuildRows();
    window->MakeVisible(*child);
    Key(Qt::Key_Left);
    EXPECT_FALSE(child->IsExpanded());
    EXPECT_EQ(window->Model().FocusedItem(), child);
    Key(Qt::Key_Left);
    EXPECT_EQ(window->Model().FocusedItem(), parent);
    // The numeric keypad's * opens everything below.
    QTest::keyClick(window.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(window->Model().RowCount(), 3);
    QTest::keyClicks(window.get(), "-");
    EXPECT_EQ(window->Model().RowCount(), 1);
    // A click on the expand button opens the item again.
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, RowPoint(0, 2 + window->RowHeight() / 2));
    EXPECT_EQ(window->Model().RowCount(), 3);
}

TEST_F(ReportWindow, ShiftAndCtrlInMultiSelection)
{
    Make(false, true, 6);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(window->Model().SelectedItems().size(), 3u);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(window->Model().Focus(), 3);
    EXPECT_EQ(window->Model().SelectedItems().size(), 3u);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, Qt::ControlModifier, RowPoint(5));
    EXPECT_EQ(window->Model().SelectedItems().size(), 4u);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, Qt::ControlModifier, RowPoint(0));
    EXPECT_EQ(window->Model().SelectedItems().size(), 3u);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, Qt::ShiftModifier, RowPoint(2));
    EXPECT_EQ(window->Model().SelectedItems().size(), 3u);  // rows 0..2 from the anchor
    EXPECT_TRUE(window->Model().Row(0)->IsSelected());
    EXPECT_FALSE(window->Model().Row(5)->IsSelected());
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

TEST_F(ReportWindow, LinkClickOnAnAlreadySelectedRow)
{
    Make(false, false, 3);
    const int linkX = mode->Column(0).width + mode->Column(1).width + 10;
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, RowPoint(1, linkX));
    EXPECT_EQ(Count(kNotifyLinkClicked), 0);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, RowPoint(1, linkX));
    EXPECT_EQ(Count(kNotifyLinkClicked), 1);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, RowPoint(1, 10));  // not a link cell
    EXPECT_EQ(Count(kNotifyLinkClicked), 1);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, RowPoint(2));
    QTest::mouseDClick(window->viewport(), Qt::LeftButton, {}, RowPoint(2));
    EXPECT_EQ(Count(kNotifyDoubleClick), 1);
    EXPECT_EQ(window->Model().Focus(), 2);
    QTest::mouseClick(window->viewport(), Qt::RightButton, {}, RowPoint(2));
    EXPECT_EQ(Count(kNotifyRightClickOnFocused), 1);
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
    ReportPicker() : mode(false, false) { ToolkitTests::TestApplication(); }
    ATestMode mode;
};

TEST_F(ReportPicker, PickingARowClosesTheListAndReports)
{
    AReportPicker picker;
    picker.resize(200, 24);
    picker.SetMode(&mode);
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
    AReportPicker picker;
    picker.resize(200, 24);
    picker.SetMode(&mode);
    auto* swatch = new ASwatchItem(u"green", 1);
    picker.Root().AddChild(std::unique_ptr<AReportItemImpl>(swatch));
    picker.RebuildRows();
    picker.Select(swatch);
    const QImage image = picker.grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() / 3, image.height() / 2), QColor(0, 0xFF, 0));
}

}  // namespace
