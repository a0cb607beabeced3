// Painting the report list control: only the rows in view.
#include "win32api/ReportDecorations.h"
#include "win32api/QtReportCanvas.h"
#include "win32api/QtText.h"
#include "win32api/ReportWindow.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionButton>

#include <algorithm>

namespace Win32API::VelvixControls::Reports::Implementation {

namespace {

AColour ToColour(const QColor& colour)
{
    return static_cast<AColour>(colour.red()) | static_cast<AColour>(colour.green()) << 8 |
           static_cast<AColour>(colour.blue()) << 16;
}

ARect ToARect(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

int FirstShownColumn(const AReportMode& mode)
{
    for (int c = 0; c < mode.ColumnCount(); ++c)
        if (mode.Column(c).shown)
            return c;
    return -1;
}

ADecorations LayOutDecorations(const AReportItemImpl& item, const QRect& cell, bool tree, int rowHeight)
{
    ADecorations d;
    const int box = std::max(9, rowHeight - 8) | 1;  // odd, so the sign sits centred
    int x = cell.left() + 2;
    if (tree) {
        x += item.Depth() * rowHeight;
        if (item.HasChildren())
            d.expandBox = QRect(x + (rowHeight - box) / 2, cell.top() + (rowHeight - box) / 2, box, box);
        x += rowHeight;
    }
    if (item.CheckState() != ACheckState::None) {
        int size = rowHeight - 4;
        d.checkBox = QRect(x, cell.top() + 2, size, size);
        x += size + 3;
    }
    d.icon = QRect(x, cell.top(), item.IconWidth(), rowHeight);
    x += item.IconWidth();
    d.text = QRect(x, cell.top(), std::max(0, cell.right() + 1 - x), rowHeight);
    return d;
}

void AReportWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    AReportMode* mode = Mode();
    if (model_->IsStale()) {
        // Rebuilding notifies the parent; that must not happen inside painting.
        if (!rebuildQueued_) {
            rebuildQueued_ = true;
            QMetaObject::invokeMethod(this, &AReportWindow::RebuildRows, Qt::QueuedConnection);
        }
        return;
    }
    if (!mode)
        return;
    AQtReportCanvas canvas(&painter, font());
    const bool active = hasFocus() || pickerList_;
    const int first = FirstVisibleRow();
    const int last = std::min(model_->RowCount(), first + viewport()->height() / rowHeight_ + 1);
    const int scroll = horizontalScrollBar()->value();
    const int decorated = FirstShownColumn(*mode);
    const int width = std::max(viewport()->width(), ContentWidth() - scroll);

    for (int row = first; row < last; ++row) {
        const AReportItemImpl& item = *model_->Row(row);
        const QRect line(0, (row - first) * rowHeight_, width, rowHeight_);
        ACellStyle cellStyle;
        cellStyle.link = look_.refColor;
        cellStyle.underlineLinks = look_.linksUnderlined;
        cellStyle.selected = item.IsSelected();
        cellStyle.background = row % 2 == 0 ? look_.oddLineColor : look_.evenLineColor;
        cellStyle.text = ToColour(palette().color(QPalette::Text));
        if (cellStyle.selected && active) {
            cellStyle.background = ToColour(palette().color(QPalette::Highlight));
            cellStyle.text = ToColour(palette().color(QPalette::HighlightedText));
        } else if (cellStyle.selected) {
            cellStyle.background = kInactiveSelectionColor;
        }
        painter.fillRect(line, ToQColor(cellStyle.background));

        for (int c = 0, left = -scroll; c < mode->ColumnCount(); ++c) {
            if (!mode->Column(c).shown)
                continue;
            QRect cell(left, line.top(), mode->Column(c).width, rowHeight_);
            left += cell.width();
            if (cell.right() < 0 || cell.left() > viewport()->width())
                continue;
            painter.setClipRect(cell);
            QRect textRect = cell;
            if (c == decorated) {
                ADecorations d = LayOutDecorations(item, cell, mode->IsTree(), rowHeight_);
                if (!d.expandBox.isEmpty()) {
                    painter.setPen(palette().color(QPalette::Mid));
                    painter.setBrush(palette().color(QPalette::Base));
                    painter.drawRect(d.expandBox.adjusted(0, 0, -1, -1));
                    painter.setPen(palette().color(QPalette::Text));
                    QPoint centre = d.expandBox.center();
                    int arm = d.expandBox.width() / 2 - 2;
                    painter.drawLine(centre.x() - arm, centre.y(), centre.x() + arm, centre.y());
                    if (!item.IsExpanded())
                        painter.drawLine(centre.x(), centre.y() - arm, centre.x(), centre.y() + arm);
                }
                if (d.checkBox.isValid()) {
                    QStyleOptionButton option;
                    option.initFrom(this);
                    option.rect = d.checkBox;
                    option.state = QStyle::State_Enabled |
                                   (item.CheckState() == ACheckState::Checked ? QStyle::State_On : QStyle::State_Off);
                    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, this);
                }
                if (d.icon.width() > 0)
                    item.DrawIcon(canvas, ToARect(d.icon));
                textRect = d.text;
            }
            item.DrawCell(canvas, c, ToARect(textRect), cellStyle);
        }
        painter.setClipping(false);
        if (row == model_->Focus() && active) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = line.adjusted(0, 0, -1, -1);
            option.backgroundColor = ToQColor(cellStyle.background);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }
}

void AReportWindow::AutoSizeColumn(int column)
{
    AReportMode* mode = Mode();
    if (!mode || column < 0 || column >= mode->ColumnCount() || !mode->AutoSizeColumns())
        return;
    model_->RebuildIfStale();
    QPainter* none = nullptr;
    AQtReportCanvas canvas(none, font());
    int width = fontMetrics().horizontalAdvance(ToQString(mode->ColumnTitle(column)).remove('&')) + 12;
    const bool decorated = column == FirstShownColumn(*mode);
    for (int row = 0; row < model_->RowCount(); ++row) {
        const AReportItemImpl& item = *model_->Row(row);
        int needed = item.TextWidth(canvas, column);
        if (decorated)
            needed += LayOutDecorations(item, QRect(0, 0, 0, rowHeight_), mode->IsTree(), rowHeight_).text.left();
        width = std::max(width, needed + 2);
    }
    mode->SetColumnWidth(column, width);
    UpdateScrollBars();
    Refresh();
}

}  // namespace Win32API::VelvixControls::Reports::Implementation
