// The report list control: model glue, scrolling, keyboard and mouse.
#include "win32api/ReportWindow.h"

#include "win32api/ReportAccessible.h"
#include "win32api/ReportDecorations.h"
#include "win32api/ReportHeader.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace Win32API::VelvixControls::Reports::Implementation {

AReportWindow::AReportWindow(QWidget* parent, AReportListModel* sharedModel)
    : QAbstractScrollArea(parent),
      ownModel_(sharedModel ? nullptr : std::make_unique<AReportListModel>()),
      model_(sharedModel ? sharedModel : ownModel_.get()),
      header_(new AReportHeader(this))
{
    InstallReportAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(1);
    model_->SetNotifier([this](int code) {
        if (code == kNotifySelectionChanged)
            AnnounceSelectionChanged(*this);
        bool answer = true;
        emit Notify(code, &answer);
        return answer;
    });
    UpdateMetrics();
}

AReportWindow::~AReportWindow()
{
    // A shared model outlives this window; it must not call back into it.
    model_->SetNotifier(nullptr);
}

void AReportWindow::SetMode(AReportMode* mode)
{
    model_->SetMode(mode);
    RebuildRows();
}

AReportItemImpl* AReportWindow::AddItem(AReportItemImpl& parent, std::unique_ptr<AReportItemImpl> item)
{
    return parent.AddChild(std::move(item));
}

void AReportWindow::RebuildRows()
{
    rebuildQueued_ = false;
    model_->Rebuild();
    UpdateScrollBars();
    if (model_->Focus() >= 0)
        EnsureRowVisible(model_->Focus());
    Refresh();
    AnnounceRowsChanged(*this);
    AnnounceFocus(true);
}

void AReportWindow::AnnounceFocus(bool evenIfUnchanged)
{
    const int focus = model_->Focus();
    if (hasFocus() && (evenIfUnchanged || focus != announcedFocus_))
        AnnounceFocusedRow(*this, focus);
    announcedFocus_ = focus;
}

void AReportWindow::Refresh()
{
    viewport()->update();
    header_->update();
}

void AReportWindow::MakeVisible(AReportItemImpl& item)
{
    model_->MakeVisible(item);
    AfterModelAction();
}

void AReportWindow::Clear()
{
    model_->Clear();
    Refresh();
}

void AReportWindow::SetLook(const AToolkitLook& look)
{
    look_ = look;
    Refresh();
}

void AReportWindow::SetPickerList(bool pickerList)
{
    pickerList_ = pickerList;
    model_->SetPickerList(pickerList);
}

void AReportWindow::UpdateMetrics()
{
    rowHeight_ = fontMetrics().height() + 4;
    setViewportMargins(0, HeaderHeight(), 0, 0);
    UpdateScrollBars();
}

int AReportWindow::HeaderHeight() const
{
    return header_->sizeHint().height();
}

int AReportWindow::PageRows() const
{
    return std::max(1, viewport()->height() / rowHeight_);
}

int AReportWindow::FirstVisibleRow() const
{
    return verticalScrollBar()->value();
}

void AReportWindow::UpdateScrollBars()
{
    const int rows = model_->IsStale() ? 0 : model_->RowCount();
    verticalScrollBar()->setPageStep(PageRows());
    verticalScrollBar()->setRange(0, std::max(0, rows - PageRows()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(std::max(1, rowHeight_));
    horizontalScrollBar()->setRange(0, std::max(0, ContentWidth() - viewport()->width()));
    header_->setGeometry(viewport()->x(), frameWidth(), viewport()->width(), HeaderHeight());
}

void AReportWindow::EnsureRowVisible(int row)
{
    if (row < 0)
        return;
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + PageRows())
        bar->setValue(row - PageRows() + 1);
}

int AReportWindow::RowAt(int y) const
{
    if (y < 0)
        return -1;
    int row = FirstVisibleRow() + y / rowHeight_;
    return row < model_->RowCount() ? row : -1;
}

int AReportWindow::ColumnLeft(int column) const
{
    AReportMode* mode = Mode();
    int x = 0;
    for (int c = 0; mode && c < column && c < mode->ColumnCount(); ++c)
        if (mode->Column(c).shown)
            x += mode->Column(c).width;
    return x;
}

int AReportWindow::ContentWidth() const
{
    AReportMode* mode = Mode();
    return mode ? ColumnLeft(mode->ColumnCount()) : 0;
}

int AReportWindow::ColumnAt(int x) const
{
    AReportMode* mode = Mode();
    int content = x + horizontalScrollBar()->value();
    for (int c = 0, left = 0; mode && c < mode->ColumnCount(); ++c) {
        if (!mode->Column(c).shown)
            continue;
        int right = left + mode->Column(c).width;
        if (content >= left && content < right)
            return c;
        left = right;
    }
    return -1;
}

bool AReportWindow::ToggleColumn(int column)
{
    AReportMode* mode = Mode();
    if (!mode || column < 0 || column >= mode->ColumnCount())
        return false;
    if (!mode->SetColumnShown(column, !mode->Column(column).shown))
        return false;
    UpdateScrollBars();
    Refresh();
    return true;
}

void AReportWindow::GetMinimumSize(VelvixForms::ASize& size) const
{
    size.cx = std::max(size.cx, fontMetrics().height() * 5);
    size.cy = std::max(size.cy, HeaderHeight() + 3 * rowHeight_ + 2 * frameWidth());
}

AReportWindow::AHit AReportWindow::HitTest(const QPoint& point) const
{
    AHit hit;
    hit.row = RowAt(point.y());
    hit.column = ColumnAt(point.x());
    AReportItemImpl* item = model_->Row(hit.row);
    if (!item || hit.column < 0)
        return hit;
    const int left = ColumnLeft(hit.column) - horizontalScrollBar()->value();
    const int top = (hit.row - FirstVisibleRow()) * rowHeight_;
    QRect cell(left, top, Mode()->Column(hit.column).width, rowHeight_);
    if (hit.column == FirstShownColumn(*Mode())) {
        ADecorations decorations = LayOutDecorations(*item, cell, Mode()->IsTree(), rowHeight_);
        hit.onExpandButton = item->HasChildren() && decorations.expandBox.contains(point);
        hit.onCheckBox = decorations.checkBox.isValid() && decorations.checkBox.contains(point);
    }
    hit.onLink = (item->CellProperty(hit.column) & kCellLink) != 0;
    return hit;
}

void AReportWindow::AfterModelAction()
{
    UpdateScrollBars();
    EnsureRowVisible(model_->Focus());
    Refresh();
    AnnounceFocus(false);
}

void AReportWindow::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    AReportKey key;
    switch (event->key()) {
    case Qt::Key_Up: key = AReportKey::Up; break;
    case Qt::Key_Down: key = AReportKey::Down; break;
    case Qt::Key_PageUp: key = AReportKey::PageUp; break;
    case Qt::Key_PageDown: key = AReportKey::PageDown; break;
    case Qt::Key_Home: key = AReportKey::Home; break;
    case Qt::Key_End: key = AReportKey::End; break;
    case Qt::Key_Left: key = AReportKey::Left; break;
    case Qt::Key_Right: key = AReportKey::Right; break;
    case Qt::Key_Space: key = AReportKey::Space; break;
    case Qt::Key_Asterisk:
        if (!(event->modifiers() & Qt::KeypadModifier)) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        key = AReportKey::ExpandAll;
        break;
    default:
        if (event->text() == QLatin1String("+"))
            key = AReportKey::Plus;
        else if (event->text() == QLatin1String("-"))
            key = AReportKey::Minus;
        else {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
    }
    model_->RebuildIfStale();
    bool hasHorizontalScroll = horizontalScrollBar()->maximum() > 0;
    switch (model_->HandleKey(key, shift, ctrl, PageRows(), hasHorizontalScroll)) {
    case AKeyOutcome::ScrollLeft: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case AKeyOutcome::ScrollRight: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case AKeyOutcome::Ignored: event->ignore(); return;
    case AKeyOutcome::Handled: break;
    }
    AfterModelAction();
}

void AReportWindow::mousePressEvent(QMouseEvent* event)
{
    if (!pickerList_)
        setFocus(Qt::MouseFocusReason);
    model_->RebuildIfStale();
    AHit hit = HitTest(event->position().toPoint());
    AReportItemImpl* item = model_->Row(hit.row);
    if (!item)
        return;
    if (event->button() == Qt::RightButton) {
        model_->RightPressRow(hit.row);
        AfterModelAction();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (hit.onExpandButton) {
        model_->SetExpanded(*item, !item->IsExpanded());
        AfterModelAction();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    model_->PressRow(hit.row, shift, ctrl);
    if (hit.onCheckBox)
        model_->ToggleCheck(model_->RowOf(item));
    AfterModelAction();
}

void AReportWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    AHit hit = HitTest(event->position().toPoint());
    model_->ReleaseRow(hit.row, hit.onLink && !hit.onCheckBox && !hit.onExpandButton);
}

void AReportWindow::mouseMoveEvent(QMouseEvent* event)
{
    AHit hit = HitTest(event->position().toPoint());
    AReportItemImpl* item = model_->Row(hit.row);
    bool link = item && hit.onLink && item->IsSelected();
    viewport()->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void AReportWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    AHit hit = HitTest(event->position().toPoint());
    if (hit.onExpandButton || hit.onCheckBox) {
        mousePressEvent(event);  // a quick second click on a button is a click
        return;
    }
    // The double click acts on the row under the pointer even when no press reached it first.
    if (hit.row >= 0 && hit.row != model_->Focus()) {
        model_->PressRow(hit.row, false, false);
        AfterModelAction();
    }
    model_->DoubleClickRow(hit.row);
}

void AReportWindow::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void AReportWindow::scrollContentsBy(int, int)
{
    Refresh();
}

void AReportWindow::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    // Clients follow the focused row, not the control itself.
    AnnounceFocus(true);
}

void AReportWindow::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void AReportWindow::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateMetrics();
}

}  // namespace Win32API::VelvixControls::Reports::Implementation
