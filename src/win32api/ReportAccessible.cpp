// The accessible interfaces of the report list control. Cells are addressed by row and shown
// column and read their item when asked, so a client never hears a text the list no longer
// shows; a rebuild of the rows drops the cells handed out before it.
#include "win32api/ReportAccessible.h"

#include "win32api/QtText.h"
#include "win32api/ReportDecorations.h"
#include "win32api/ReportHeader.h"
#include "win32api/ReportWindow.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QScrollBar>

#include <unordered_map>
#include <vector>

namespace Win32API::VelvixControls::Reports::Implementation {

namespace {

// The mode's column behind the n-th shown column, -1 when there is none.
int ModeColumn(const AReportWindow& window, int shown)
{
    const AReportMode* mode = window.Mode();
    for (int c = 0; mode && c < mode->ColumnCount(); ++c)
        if (mode->Column(c).shown && shown-- == 0)
            return c;
    return -1;
}

int ShownColumns(const AReportWindow& window)
{
    return window.Mode() ? window.Mode()->ShownColumnCount() : 0;
}

int Rows(AReportWindow& window)
{
    return window.Model().IsStale() ? 0 : window.Model().RowCount();
}

// A cell of a row, or with row -1 the header of its column.
class AReportCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    AReportCellAccessible(AReportWindow* window, int row, int column) : window_(window), row_(row), column_(column)
    {
    }

    bool isValid() const override
    {
        return window_ && column_ < ShownColumns(*window_) && row_ < Rows(*window_);
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return isValid() ? parent()->window() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(window_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return {};
        const int column = ModeColumn(*window_, column_);
        if (row_ < 0)
            return MenuTitle(window_->Mode()->ColumnTitle(column));
        AReportItemImpl* item = Item();
        return item ? ToQString(item->Text(column)) : QString();
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const int column = ModeColumn(*window_, column_);
        const int left = window_->ColumnLeft(column) - window_->horizontalScrollBar()->value();
        const int width = window_->Mode()->Column(column).width;
        QWidget* viewport = window_->viewport();
        if (row_ < 0) {
            QPoint topLeft(left, -window_->HeaderHeight());
            return QRect(viewport->mapToGlobal(topLeft), QSize(width, window_->HeaderHeight()));
        }
        QPoint topLeft(left, (row_ - window_->FirstVisibleRow()) * window_->RowHeight());
        return QRect(viewport->mapToGlobal(topLeft), QSize(width, window_->RowHeight()));
    }

    QAccessible::Role role() const override
    {
        if (row_ < 0)
            return QAccessible::ColumnHeader;
        return window_ && window_->Mode() && window_->Mode()->IsTree() ? QAccessible::TreeItem : QAccessible::Cell;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.disabled = !window_->isEnabled();
        QRect shown(window_->viewport()->mapToGlobal(QPoint(0, 0)), window_->viewport()->size());
        state.invisible = !window_->isVisible() || (row_ >= 0 && !shown.intersects(rect()));
        AReportItemImpl* item = Item();
        if (!item)
            return state;
        state.selectable = state.focusable = true;
        state.selected = item->IsSelected();
        state.focused = row_ == window_->Model().Focus() && window_->hasFocus();
        if (ModeColumn(*window_, column_) != FirstShownColumn(*window_->Mode()))
            return state;
        if (item->CheckState() != ACheckState::None) {
            state.checkable = true;
            state.checked = item->CheckState() == ACheckState::Checked;
        }
        if (window_->Mode()->IsTree() && item->HasChildren()) {
            state.expandable = true;
            state.expanded = item->IsExpanded();
            state.collapsed = !item->IsExpanded();
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface && row_ >= 0)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override
    {
        AReportItemImpl* item = Item();
        return item && item->IsSelected();
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    int Row() const { return row_; }
    int Column() const { return column_; }

private:
    AReportItemImpl* Item() const { return window_ && row_ >= 0 ? window_->Model().Row(row_) : nullptr; }

    QPointer<AReportWindow> window_;
    int row_;
    int column_;
};

class AReportAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit AReportAccessible(AReportWindow* window) : QAccessibleWidget(window, QAccessible::Table) {}
    ~AReportAccessible() override { ForgetCells(); }

    QAccessible::Role role() const override
    {
        return Window().Mode() && Window().Mode()->IsTree() ? QAccessible::Tree : QAccessible::Table;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.multiSelectable = Window().Mode() && Window().Mode()->MultiSelect();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The headers first, then the cells row by row.
    int childCount() const override { return columnCount() * (1 + rowCount()); }
    QAccessibleInterface* child(int index) const override
    {
        const int columns = columnCount();
        if (index < 0 || index >= childCount())
            return nullptr;
        return Cell(index / columns - 1, index % columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        auto* cell = dynamic_cast<const AReportCellAccessible*>(child);
        if (!cell || !cell->isValid() || cell->parent() != this)
            return -1;
        return (cell->Row() + 1) * columnCount() + cell->Column();
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        AReportWindow& window = Window();
        const QPoint point = window.viewport()->mapFromGlobal(QPoint(x, y));
        const int column = window.ColumnAt(point.x());
        if (column < 0 || !window.Mode()->Column(column).shown)
            return nullptr;
        int shown = 0;
        for (int c = 0; c < column; ++c)
            shown += window.Mode()->Column(c).shown;
        if (point.y() < 0)
            return point.y() >= -window.HeaderHeight() ? Cell(-1, shown) : nullptr;
        const int row = window.RowAt(point.y());
        return row >= 0 && row < rowCount() ? Cell(row, shown) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const int focus = Window().Model().Focus();
        return focus >= 0 && focus < rowCount() && columnCount() > 0 ? Cell(focus, 0) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return Cell(row, column);
    }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (int row : selectedRows())
            for (int column = 0; column < columnCount(); ++column)
                cells.append(Cell(row, column));
        return cells;
    }
    QString columnDescription(int column) const override
    {
        const int c = ModeColumn(Window(), column);
        return c < 0 ? QString() : MenuTitle(Window().Mode()->ColumnTitle(c));
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    int columnCount() const override { return ShownColumns(Window()); }
    int rowCount() const override { return Rows(Window()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        for (AReportItemImpl* item : Window().Model().SelectedItems())
            rows.append(Window().Model().RowOf(item));
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        AReportItemImpl* item = Window().Model().Row(row);
        return item && item->IsSelected();
    }
    // Selecting a row is what a click on it does: it becomes the focused and only selected row.
    bool selectRow(int row) override
    {
        AReportItemImpl* item = Window().Model().Row(row);
        if (!item)
            return false;
        Window().MakeVisible(*item);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { ForgetCells(); }

private:
    AReportWindow& Window() const { return *static_cast<AReportWindow*>(widget()); }

    QAccessibleInterface* Cell(int row, int column) const
    {
        const std::int64_t key = (static_cast<std::int64_t>(row) + 1) << 16 | column;
        auto found = cells_.find(key);
        if (found != cells_.end())
            return QAccessible::accessibleInterface(found->second);
        auto* cell = new AReportCellAccessible(&Window(), row, column);
        cells_.emplace(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    void ForgetCells()
    {
        for (const auto& [key, id] : cells_)
            QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

    mutable std::unordered_map<std::int64_t, QAccessible::Id> cells_;
};

QList<QAccessibleInterface*> AReportCellAccessible::columnHeaderCells() const
{
    QAccessibleInterface* table = parent();
    QAccessibleInterface* header = table ? table->child(column_) : nullptr;
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

QAccessibleInterface* ReportFactory(const QString&, QObject* object)
{
    auto* window = qobject_cast<AReportWindow*>(object);
    return window ? new AReportAccessible(window) : nullptr;
}

}  // namespace

void InstallReportAccessibility()
{
    static const bool installed = (QAccessible::installFactory(&ReportFactory), true);
    (void)installed;
}

void AnnounceRowsChanged(AReportWindow& window)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent event(&window, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

void AnnounceFocusedRow(AReportWindow& window, int row)
{
    const int columns = ShownColumns(window);
    if (!QAccessible::isActive() || row < 0 || row >= Rows(window) || columns == 0)
        return;
    QAccessibleEvent event(&window, QAccessible::Focus);
    event.setChild((row + 1) * columns);
    QAccessible::updateAccessibility(&event);
}

void AnnounceSelectionChanged(AReportWindow& window)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(&window, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&event);
}

}  // namespace Win32API::VelvixControls::Reports::Implementation
