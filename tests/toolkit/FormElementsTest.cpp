#include "LayoutTestMetrics.h"
#include "ToolkitTestApp.h"

#include "win32api/DynaForm.h"
#include "win32api/FormElements.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Win32API::VelvixForms;

namespace {

TEST(FormElements, RemovingAnElementTakesItsWindowsAndChildFormsWithIt)
{
    ToolkitTests::TestApplication();
    auto strings = LayoutTests::MakeStrings();
    ADialogForm form("{b{S#-1{b#-2{bW40[b#1]}}{b#-3}{b#-4}}}", strings.get());
    ASSERT_TRUE(form.Create());
    auto* child = new ADialogForm("{bWeHe[s#-9]}", strings.get());
    ASSERT_TRUE(form.InsertForm(-3, child));
    QPointer<QWidget> button = form.Control(1);
    QPointer<ADialogForm> placed = child;
    ASSERT_TRUE(button);

    EXPECT_TRUE(RemoveElement(form, -2));
    EXPECT_EQ(form.FindElement(-2), nullptr);
    EXPECT_TRUE(button.isNull());
    EXPECT_EQ(form.FindElement(-1)->children.size(), 2u);
    EXPECT_TRUE(form.SelectStackChild(-1, 0));  // the stack shows what is left

    EXPECT_TRUE(RemoveElement(form, -3));
    EXPECT_TRUE(placed.isNull());
    EXPECT_NE(form.FindElement(-4), nullptr);

    // The root and ids the form does not have stay as they are.
    EXPECT_FALSE(RemoveElement(form, -99));
    form.Root()->id = -50;
    EXPECT_FALSE(RemoveElement(form, -50));
    EXPECT_NE(form.Root(), nullptr);
}

}  // namespace
