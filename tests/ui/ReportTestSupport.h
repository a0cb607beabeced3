// What the reports and budget page tests share: the user's hands on a period selector and on
// a drop-down picker of a pane.
#pragma once
#include "UiTestSupport.h"

#include "win32api/AControl.h"
#include "win32api/DateCtrl.h"
#include "win32api/ReportPicker.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace UiTests {

// The dates as the user picks them in the two date fields ("С:" and "по:").
inline void PickPeriod(QWidget& pane, ADate start, ADate end)
{
    using Win32API::VelvixControls::ADatePicker;
    Named<ADatePicker>(pane, "по:")->SetDate(Dates::FromYmd(9000, 1, 1));
    Named<ADatePicker>(pane, "С:")->SetDate(start);
    Named<ADatePicker>(pane, "по:")->SetDate(end);
    QApplication::processEvents();
}

// Row `row` of the named picker, reached with the arrow keys from its top.
inline void PickRow(QWidget& pane, const char* picker, int row)
{
    auto* field = Named<Win32API::VelvixControls::Reports::AReportPicker>(pane, picker);
    ASSERT_NE(field, nullptr) << picker;
    field->setFocus();
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(field, Qt::Key_Up);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(field, Qt::Key_Down);
}

}  // namespace UiTests
