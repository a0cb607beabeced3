#include "ReportTestItems.h"
#include "ToolkitTestApp.h"

#include "win32api/ReportWindow.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

using namespace ReportTests;

namespace {

class ReportAccessibility : public ::testing::Test {
protected:
    ReportAccessibility()
    {
        ToolkitTests::TestApplication();
    }

    QAccessibleInterface* Make(bool tree, bool multi)
    {
        mode = std::make_unique<ATestMode>(tree, multi);
        window = std::make_unique<AReportWindow>();
        window->resize(400, 300);
        window->SetMode(mode.get());
        ATestItem* parent = Add(window->Root(), u"Еда", 10);
        Add(*parent, u"Хлеб", 20);
        Add(window->Root(), u"Дом", 30, ACheckState::Checked);
        window->RebuildRows();
        window->show();
        QApplication::setActiveWindow(window.get());
        window->setFocus();
        return QAccessible::queryAccessibleInterface(window.get());
    }
    static QString Name(QAccessibleInterface* cell) { return cell ? cell->text(QAccessible::Name) : QString("-"); }

    std::unique_ptr<ATestMode> mode;
    std::unique_ptr<AReportWindow> window;
};

TEST_F(ReportAccessibility, ListsAndTreesShowHeadersThenCellsRowByRow)
{
    struct ACase {
        bool tree;
        QAccessible::Role role, cellRole;
    };
    for (const ACase& c : {ACase{false, QAccessible::Table, QAccessible::Cell},
                           ACase{true, QAccessible::Tree, QAccessible::TreeItem}}) {
        SCOPED_TRACE(c.tree);
        QAccessibleInterface* table = Make(c.tree, false);
        ASSERT_NE(table, nullptr);
        ASSERT_NE(table->tableInterface(), nullptr);
        EXPECT_EQ(table->role(), c.role);
        EXPECT_EQ(table->tableInterface()->rowCount(), 3);
        EXPECT_EQ(table->tableInterface()->columnCount(), 3);
        ASSERT_EQ(table->childCount(), 12);
        const QStringList expected{"Название", "Число", "Ссылка", "Еда", "10", "10",
                                   "Хлеб",     "20",    "20",     "Дом", "30", "30"};
        for (int i = 0; i < table->childCount(); ++i) {
            QAccessibleInterface* child = table->child(i);
            EXPECT_EQ(Name(child), expected[i]) << i;
            EXPECT_EQ(table->indexOfChild(child), i);
            EXPECT_EQ(child->role(), i < 3 ? QAccessible::ColumnHeader : c.cellRole) << i;
            EXPECT_EQ(child->parent(), table);
        }
        EXPECT_EQ(table->tableInterface()->columnDescription(1), "Число");
        QAccessibleTableCellInterface* cell = table->tableInterface()->cellAt(2, 1)->tableCellInterface();
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->rowIndex(), 2);
        EXPECT_EQ(cell->columnIndex(), 1);
        EXPECT_EQ(Name(cell->columnHeaderCells().value(0)), "Число");
        EXPECT_TRUE(table->child(9)->state().checked);
        EXPECT_EQ(table->child(3)->state().expandable, c.tree);
    }
}

TEST_F(ReportAccessibility, HiddenColumnsAreLeftOutAndCellsAreFoundByPosition)
{
    QAccessibleInterface* table = Make(false, false);
    window->ToggleColumn(1);
    EXPECT_EQ(table->tableInterface()->columnCount(), 2);
    EXPECT_EQ(Name(table->child(1)), "Ссылка");
    for (auto [row, column] : {std::pair{0, 0}, {2, 1}, {-1, 1}}) {
        QAccessibleInterface* cell = table->child((row + 1) * 2 + column);
        QAccessibleInterface* hit = table->childAt(cell->rect().center().x(), cell->rect().center().y());
        EXPECT_EQ(hit, cell) << row << "," << column;
    }
}

// The offscreen platform has no accessibility bridge, so the events themselves are seen only by
// a real client (the focus and selection events follow the states checked here).
TEST_F(ReportAccessibility, FocusAndSelectionAreStates)
{
    QAccessibleInterface* table = Make(false, true);
    EXPECT_TRUE(table->state().multiSelectable);
    QTest::keyClick(window.get(), Qt::Key_Down);
    QTest::keyClick(window.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(table->tableInterface()->selectedRows(), (QList<int>{0, 1}));
    EXPECT_EQ(table->tableInterface()->selectedCellCount(), 6);
    EXPECT_EQ(table->focusChild(), table->tableInterface()->cellAt(1, 0));
    EXPECT_TRUE(table->focusChild()->state().focused);
    EXPECT_TRUE(table->child(3)->state().selected);
    EXPECT_FALSE(table->child(3)->state().focused);
    EXPECT_FALSE(table->child(9)->state().selected);

    ASSERT_TRUE(table->tableInterface()->selectRow(2));
    EXPECT_EQ(table->tableInterface()->selectedRows(), (QList<int>{2}));
}

TEST_F(ReportAccessibility, RebuildingTheRowsDropsCellsBeyondThem)
{
    QAccessibleInterface* table = Make(false, false);
    QAccessibleInterface* last = table->tableInterface()->cellAt(2, 0);
    ASSERT_TRUE(last->isValid());
    window->Root().DeleteChildren();
    Add(window->Root(), u"Новый", 1);
    window->RebuildRows();
    EXPECT_EQ(table->tableInterface()->rowCount(), 1);
    EXPECT_EQ(table->childCount(), 6);
    EXPECT_EQ(Name(table->tableInterface()->cellAt(0, 0)), "Новый");
    EXPECT_EQ(table->tableInterface()->cellAt(2, 0), nullptr);
}

}  // namespace
