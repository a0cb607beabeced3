#include "LayoutTestMetrics.h"
#include "ToolkitTestApp.h"

#include "win32api/DynaForm.h"
#include "win32api/FormMetrics.h"
#include "win32api/APieCtrl.h"
#include "win32api/ChrtCtrl.h"
#include "win32api/HistCtrl.h"
#include "win32api/AEdit.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"
#include "win32api/TabControl.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimeEdit>

#include <gtest/gtest.h>

using namespace Win32API::VelvixForms;
using Win32API::VelvixControls::AChartControl;
using Win32API::VelvixControls::AHistogram;
using Win32API::VelvixControls::APieChart;
using Win32API::VelvixControls::ATabControl;

namespace {

QString Q(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const ARect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

class DynaForm : public ::testing::Test {
protected:
    DynaForm() : strings(LayoutTests::MakeStrings()) { ToolkitTests::TestApplication(); }

    std::unique_ptr<ADialogForm> MakeForm(std::string layout, QSize size = {400, 300})
    {
        auto form = std::make_unique<ADialogForm>(std::move(layout), strings.get());
        EXPECT_TRUE(form->Create());
        form->resize(size);
        form->Relayout();
        return form;
    }
    std::unique_ptr<UtilityClasses::Strings::AStrings> strings;
};

TEST_F(DynaForm, OneWindowPerControlLetter)
{
    auto form = MakeForm("{t1{b[bt#-1]}{b[bCt#-2]}{b[bRt#-3]}{b[st#-4]}{b[et#-5]}{b[Dt#-6]}{b[Tt#-7]}{b[p#-8]}"
                         "{b[S#-9]}{b[w#-10]}{b[g#-11]}{b[h#-12]}{b[c#-13]}{S[t#-14]{b}}{b[bD#-15]}}");
    const QMetaObject* kinds[] = {&QPushButton::staticMetaObject,  &QCheckBox::staticMetaObject,
                                  &QRadioButton::staticMetaObject, &QLabel::staticMetaObject,
                                  &QLineEdit::staticMetaObject,    &QDateEdit::staticMetaObject,
                                  &QTimeEdit::staticMetaObject,    &QProgressBar::staticMetaObject,
                                  &QStatusBar::staticMetaObject,   &QTextBrowser::staticMetaObject,
                                  &AChartControl::staticMetaObject, &AHistogram::staticMetaObject,
                                  &APieChart::staticMetaObject,    &ATabControl::staticMetaObject};
    for (int i = 0; i < 14; ++i)
        EXPECT_TRUE(kinds[i]->cast(form->Control(static_cast<std::int16_t>(-1 - i)))) << kinds[i]->className();
    EXPECT_EQ(form->DefaultButtonId(), -15);
    EXPECT_TRUE(form->ControlAs<QPushButton>(-15)->isDefault());
    EXPECT_EQ(form->Control(-99), nullptr);
}

TEST_F(DynaForm, CommonFlags)
{
    auto form = MakeForm("{t1{b[ed#-1]}{b[et#-2]}{b[e#-3]}{b[eh#-4]}{b[e=*#-5]}}");
    form->show();
    EXPECT_FALSE(form->Control(-1)->isEnabled());
    EXPECT_TRUE(form->Control(-2)->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(form->Control(-3)->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(form->Control(-4)->isVisible());
    form->ShowControl(-4, true);
    EXPECT_TRUE(form->Control(-4)->isVisible());
    auto* edit = form->ControlAs<QLineEdit>(-5);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight);
}

TEST_F(DynaForm, TextsComeFromTheStringTableAndFollowALanguageSwitch)
{
    auto form = MakeForm("{b#105{t1{b[bCt#117]}{b#136[s#-1]}{b[b\x07Inline\x07#-2]}{b[s#-3]}}}");
    auto* check = form->ControlAs<QCheckBox>(117);
    EXPECT_EQ(check->text(), Q(strings->Text(117)));
    ALayoutElement* captioned = form->FindElement(136);
    ASSERT_NE(captioned, nullptr);
    auto* caption = qobject_cast<QLabel*>(form->CaptionWindow(136));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), Q(strings->Text(136)));
    EXPECT_EQ(form->ControlAs<QPushButton>(-2)->text(), "Inline");
    EXPECT_EQ(form->windowTitle(), Q(strings->Text(105)));  // the root's caption of a window
    EXPECT_EQ(form->CaptionWindow(105), nullptr);

    // Code sets texts of negative ids; switching the language must not wipe them.
    form->ControlAs<QLabel>(-3)->setText("set by code");
    auto other = LayoutTests::MakeStrings();
    other->SetText(117, u"Сделать очень длинную подпись у галочки");
    other->SetText(105, u"Параметры");
    int widthBefore = check->width();
    form->ApplyTexts(other.get());
    EXPECT_EQ(form->ControlAs<QCheckBox>(117), check);  // the same window, not rebuilt
    EXPECT_EQ(check->text(), Q(other->Text(117)));
    EXPECT_EQ(form->windowTitle(), "Параметры");
    EXPECT_EQ(form->ControlAs<QLabel>(-3)->text(), "set by code");
    EXPECT_GT(check->width(), widthBefore);  // remeasured
}

TEST_F(DynaForm, WindowsCoverTheirArrangedRectangles)
{
    auto form = MakeForm("{bm4#140(e:f){t2Wel10t4xl{b[bR#113]}{bWe[egt#-4]}}}", {500, 200});
    ALayoutElement* radio = FindControlElement(*form->Root(), 113);
    ALayoutElement* edit = FindControlElement(*form->Root(), -4);
    EXPECT_EQ(form->Control(113)->geometry(), ToQRect(radio->controlRect));
    EXPECT_EQ(form->Control(-4)->geometry(), ToQRect(edit->controlRect));
    EXPECT_EQ(form->Control(-4)->geometry().right(), 500 - 1 - form->Root()->margins.right);
    EXPECT_EQ(form->CaptionWindow(140), nullptr);  // the title of the window
    EXPECT_EQ(form->minimumSizeHint(), QSize(form->MinimumClientSize().cx, form->MinimumClientSize().cy));
    // The table stretches horizontally only: the window may not grow taller than its minimum.
    EXPECT_EQ(form->maximumHeight(), form->MinimumClientSize().cy);
    EXPECT_EQ(form->maximumWidth(), QWIDGETSIZE_MAX);
}

TEST_F(DynaForm, HidingAnElementFreesItsSpace)
{
    auto form = MakeForm("{t1yt{b#-1[bt#-10]}{b#-2[bt#-11]}{b[bt#-12]}}");
    form->show();
    const int firstTop = form->Control(-10)->y();
    const int lastTop = form->Control(-12)->y();
    form->ShowElement(-2, false);
    EXPECT_FALSE(form->Control(-11)->isVisible());
    EXPECT_FALSE(form->IsElementShown(-2));
    EXPECT_LT(form->Control(-12)->y(), lastTop);
    EXPECT_EQ(form->Control(-10)->y(), firstTop);
    form->ShowElement(-2, true);
    EXPECT_TRUE(form->Control(-11)->isVisible());
    EXPECT_EQ(form->Control(-12)->y(), lastTop);
}

TEST_F(DynaForm, TabControlStackSwitchesPages)
{
    auto form = MakeForm("{S#-1[tt#-2]{b\x07One\x07[e#-3]}{b#106[e#-4]}{b~\x07Hidden\x07[e#-5]}}");
    form->show();
    auto* tabs = form->ControlAs<ATabControl>(-2);
    ASSERT_EQ(tabs->TabBar()->count(), 2);  // one tab per child not hidden
    EXPECT_EQ(tabs->TabBar()->tabText(0), "One");
    EXPECT_EQ(tabs->TabBar()->tabText(1), Q(strings->Text(106)));
    EXPECT_TRUE(form->Control(-3)->isVisible());
    EXPECT_FALSE(form->Control(-4)->isVisible());
    // Pages lie inside the display area, under the tabs.
    EXPECT_GE(form->Control(-3)->y(), tabs->y() + tabs->TabBar()->height());

    tabs->TabBar()->setCurrentIndex(1);
    EXPECT_FALSE(form->Control(-3)->isVisible());
    EXPECT_TRUE(form->Control(-4)->isVisible());

    EXPECT_TRUE(form->SelectStackChild(-1, 0));
    EXPECT_EQ(tabs->TabBar()->currentIndex(), 0);
    EXPECT_TRUE(form->Control(-3)->isVisible());
    EXPECT_TRUE(form->SelectStackChild(-1, 2));
    EXPECT_TRUE(form->Control(-5)->isVisible());
    EXPECT_FALSE(form->SelectStackChild(-1, 3));
}

TEST_F(DynaForm, RadioButtonsAreExclusiveWithinTheirGroup)
{
    auto form = MakeForm("{t1{b[bRg#-1]}{b[bR#-2]}{b[bRg#-3]}{b[bR#-4]}}");
    auto radio = [&](int id) { return form->ControlAs<QRadioButton>(static_cast<std::int16_t>(id)); };
    radio(-1)->click();
    radio(-3)->click();
    EXPECT_TRUE(radio(-1)->isChecked());
    EXPECT_TRUE(radio(-3)->isChecked());
    radio(-2)->click();
    EXPECT_FALSE(radio(-1)->isChecked());
    EXPECT_TRUE(radio(-2)->isChecked());
    EXPECT_TRUE(radio(-3)->isChecked());
}

TEST_F(DynaForm, TabKeyFollowsTheTabOrderNumbers)
{
    auto form = MakeForm("{t1{b*2[et#-1]}{b[et#-2]}{b*1[et#-3]}{b[ed#-4]}{b[et#-5]}}");
    form->show();
    QApplication::setActiveWindow(form.get());
    form->Control(-3)->setFocus();
    const int expected[] = {-1, -2, -5, -3};  // -4 is disabled and skipped
    for (int id : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), form->Control(static_cast<std::int16_t>(id))) << id;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), form->Control(-5));
}

TEST_F(DynaForm, SplitterBarFollowsTheMouseWithinItsLimits)
{
    auto form = MakeForm("{sx#-1{bWehe[e#-2]}{bW100phe[e#-3]}}", {400, 100});
    form->show();
    ALayoutElement* bar = form->Root()->children[1].get();
    QPoint centre = ToQRect(bar->cell).center();
    QTest::mousePress(form.get(), Qt::LeftButton, {}, centre);
    QTest::mouseMove(form.get(), QPoint(150, 50));
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(150, 50));
    EXPECT_EQ(bar->cell.left, 150 - 2);
    EXPECT_EQ(form->Control(-2)->geometry().right() + 1, 148);
    // Not into the second pane's minimum width.
    form->PlaceSplitterBar(390);
    EXPECT_EQ(bar->cell.left, 400 - 104 - 5);  // the edit's frame is part of the pane
    EXPECT_EQ(form->Control(-3)->width(), 104);
    // Resizing keeps the place the user chose.
    form->resize(600, 100);
    form->Relayout();
    EXPECT_EQ(bar->cell.left, 291);
}

TEST_F(DynaForm, ElementsAndChildFormsInsertedAtRunTime)
{
    auto form = MakeForm("{t1#-1{b[s\x07Top\x07]}}");
    EXPECT_TRUE(form->InsertElements(-1, "{b[bt#-5]}{b#-6[et#-7]}"));
    ASSERT_NE(form->ControlAs<QPushButton>(-5), nullptr);
    EXPECT_NE(form->ControlAs<QLineEdit>(-7), nullptr);
    EXPECT_GT(form->Control(-7)->y(), form->Control(-5)->y());

    auto* child = new ADialogForm("{b#117[e#-20]}", strings.get());
    EXPECT_TRUE(form->InsertForm(-1, child));
    form->show();
    ASSERT_NE(child->ControlAs<QLineEdit>(-20), nullptr);
    EXPECT_EQ(child->parentWidget(), form.get());
    EXPECT_GT(child->y(), form->Control(-7)->y());
    // A child form's root shows its caption itself.
    ASSERT_NE(child->CaptionWindow(117), nullptr);
    EXPECT_TRUE(child->CaptionWindow(117)->isVisible());
    EXPECT_GE(child->width(), child->MinimumClientSize().cx);
    // It fills the place it is given: the whole cell of its column.
    const ALayoutElement& place = *form->Root()->children.back();
    EXPECT_EQ(child->geometry(), ToQRect(place.content));
    EXPECT_EQ(place.content.Width(), place.cell.Width() - place.margins.left - place.margins.right);
    // Hiding inside the child form gives its room back in the parent.
    const int parentHeight = form->MinimumClientSize().cy;
    child->ShowElement(117, false);
    EXPECT_LT(form->MinimumClientSize().cy, parentHeight);
    EXPECT_EQ(place.cell.Width(), form->Root()->content.Width());

    // A form created on its own before it was inserted grows with what it shows.
    auto* early = new ADialogForm("{t1{b[e#-30]}{b~#-31H40}}", strings.get());
    ASSERT_TRUE(early->Create());
    EXPECT_TRUE(form->InsertElements(-1, "{b#-8}"));
    EXPECT_TRUE(form->InsertForm(-8, early));
    early->ShowElement(-31, true);
    EXPECT_GE(early->height(), early->MinimumClientSize().cy);
}

TEST_F(DynaForm, InvalidLayoutReachesTheAssertionRoutine)
{
    LayoutTests::AAssertionRecorder recorder;
    ADialogForm form("{b[e][e]}", strings.get());
    EXPECT_FALSE(form.Create());
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_NE(recorder.reports[0].find("DynaFormTest.cpp"), std::string::npos);
    EXPECT_FALSE(form.IsCreated());
    EXPECT_EQ(form.Control(0), nullptr);
}

TEST_F(DynaForm, LargerFontMakesUnitLengthsLarger)
{
    auto form = MakeForm("{bW100H10p}");
    ASize before = form->MinimumClientSize();
    QFont font = form->font();
    font.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() * 2 : 30);
    form->SetBaseFont(font);
    ASize after = form->MinimumClientSize();
    EXPECT_GT(after.cx, before.cx);
    EXPECT_EQ(after.cx, 100 * form->Metrics().FontHeight() / 8);
    EXPECT_EQ(after.cy, 10);
}

TEST_F(DynaForm, LookReachesEveryControlAtOnce)
{
    auto form = MakeForm("{t1{b[R#-1]}{b[e=#-2]}{b#-3}}");
    auto* child = new ADialogForm("{b[r#-4]}", strings.get());
    form->InsertForm(-3, child);
    Win32API::VelvixControls::AToolkitLook look;
    look.oddLineColor = 0x00123456;
    look.dropDownOnRight = true;
    look.visualTheme = false;
    form->SetLook(look);
    EXPECT_EQ(form->ControlAs<Win32API::VelvixControls::Reports::AReportWindow>(-1)->Look().oddLineColor, 0x00123456u);
    auto* edit = form->ControlAs<Win32API::VelvixControls::AEdit>(-2);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->ButtonAt(QPoint(edit->width() - 5, edit->height() / 2)), 701);
    auto* picker = child->ControlAs<Win32API::VelvixControls::Reports::AReportPicker>(-4);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->Look().oddLineColor, 0x00123456u);
}

TEST_F(DynaForm, ButtonsReportCommands)
{
    auto form = MakeForm("{t1{b[bt#-1]}{b[bCt#-2]}}");
    QSignalSpy spy(form.get(), &ADialogForm::Command);
    form->ControlAs<QPushButton>(-1)->click();
    form->ControlAs<QCheckBox>(-2)->click();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][0].toInt(), -1);
    EXPECT_EQ(spy[1][0].toInt(), -2);
}

}  // namespace
