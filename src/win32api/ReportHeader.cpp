#include "win32api/ReportHeader.h"

#include "win32api/ReportWindow.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <algorithm>

namespace Win32API::VelvixControls::Reports::Implementation {

namespace {

constexpr int kDividerSlack = 3;
constexpr int kMinimumColumnWidth = 8;

}  // namespace

QString MenuTitle(const std::u16string& title)
{
    return QString::fromUtf16(title.data(), static_cast<qsizetype>(title.size())).remove('&').remove(':');
}

AReportHeader::AReportHeader(AReportWindow* report) : QWidget(report), report_(report)
{
    setMouseTracking(true);
}

QSize AReportHeader::sizeHint() const
{
    return QSize(100, fontMetrics().height() + 8);
}

int AReportHeader::DividerAt(int x) const
{
    AReportMode* mode = report_->Mode();
    const int scroll = report_->horizontalScrollBar()->value();
    for (int c = 0, right = -scroll; mode && c < mode->ColumnCount(); ++c) {
        if (!mode->Column(c).shown)
            continue;
        right += mode->Column(c).width;
        if (std::abs(x - right) <= kDividerSlack)
            return c;
    }
    return -1;
}

void AReportHeader::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    AReportMode* mode = report_->Mode();
    const AToolkitLook& look = report_->Look();
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!mode)
        return;
    int left = -report_->horizontalScrollBar()->value();
    for (int c = 0; c < mode->ColumnCount(); ++c) {
        if (!mode->Column(c).shown)
            continue;
        QRect section(left, 0, mode->Column(c).width, height());
        left += section.width();
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = section;
        option.text = MenuTitle(mode->ColumnTitle(c));
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.state |= look.raisedHeaders ? QStyle::State_Raised : QStyle::State_None;
        if (mode->SortIndex() == c)
            option.sortIndicator = mode->SortDescending() ? QStyleOptionHeader::SortDown : QStyleOptionHeader::SortUp;
        if (look.raisedHeaders) {
            style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, this);
        } else {
            // Flat: the title and a divider only.
            painter.setPen(palette().color(QPalette::Mid));
            painter.drawLine(section.topRight(), section.bottomRight());
            painter.drawLine(section.bottomLeft(), section.bottomRight());
        }
        // The label and the sort arrow are placed here: styles differ in how they share a
        // narrow section between them.
        const int arrow = option.sortIndicator != QStyleOptionHeader::None ? height() / 2 : 0;
        QStyleOptionHeader label = option;
        label.rect = section.adjusted(4, 0, -4 - arrow, 0);
        label.sortIndicator = QStyleOptionHeader::None;
        style()->drawControl(QStyle::CE_HeaderLabel, &label, &painter, this);
        if (arrow > 0) {
            QStyleOptionHeader indicator = option;
            indicator.rect = QRect(section.right() - arrow - 2, section.top() + height() / 4, arrow, height() / 2);
            style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &indicator, &painter, this);
        }
    }
}

void AReportHeader::ShowColumnMenu(const QPoint& globalPosition)
{
    AReportMode* mode = report_->Mode();
    if (!mode)
        return;
    QMenu menu(this);
    for (int c = 0; c < mode->ColumnCount(); ++c) {
        if (!mode->Column(c).hideable)
            continue;
        QAction* action = menu.addAction(MenuTitle(mode->ColumnTitle(c)));
        action->setCheckable(true);
        action->setChecked(mode->Column(c).shown);
        action->setData(100 + c);
    }
    if (menu.isEmpty())
        return;
    if (QAction* chosen = menu.exec(globalPosition))
        report_->ToggleColumn(chosen->data().toInt() - 100);
}

void AReportHeader::mousePressEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (event->button() == Qt::RightButton) {
        ShowColumnMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    resizedColumn_ = DividerAt(x);
    if (resizedColumn_ >= 0) {
        resizeOrigin_ = x;
        originalWidth_ = report_->Mode()->Column(resizedColumn_).width;
        return;
    }
    pressedColumn_ = report_->ColumnAt(x);
}

void AReportHeader::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (resizedColumn_ >= 0) {
        report_->Mode()->SetColumnWidth(resizedColumn_, std::max(kMinimumColumnWidth, originalWidth_ + x - resizeOrigin_));
        report_->UpdateScrollBars();
        report_->Refresh();
        return;
    }
    setCursor(DividerAt(x) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void AReportHeader::mouseReleaseEvent(QMouseEvent* event)
{
    AReportMode* mode = report_->Mode();
    const int column = report_->ColumnAt(event->position().toPoint().x());
    if (resizedColumn_ < 0 && mode && column >= 0 && column == pressedColumn_ && column < 127) {
        // A click on a title sorts by it; a second click turns the order round.
        auto number = static_cast<std::int8_t>(column + 1);
        mode->SetSortColumn(mode->SortColumn() == number ? static_cast<std::int8_t>(-number) : number);
        report_->RebuildRows();
    }
    resizedColumn_ = pressedColumn_ = -1;
}

void AReportHeader::mouseDoubleClickEvent(QMouseEvent* event)
{
    int column = DividerAt(event->position().toPoint().x());
    if (column >= 0)
        report_->AutoSizeColumn(column);
    resizedColumn_ = -1;
}

}  // namespace Win32API::VelvixControls::Reports::Implementation
