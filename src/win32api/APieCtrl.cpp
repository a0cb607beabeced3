#include "win32api/APieCtrl.h"

// The model's templates use "slots" as a name, which Qt defines as a macro.
#pragma push_macro("slots")
#undef slots
#pragma pop_macro("slots")

#include "core/AStrings.h"
#include "win32api/ChartPainting.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <utility>

namespace Win32API::VelvixControls {

namespace ChartMath = UserInterface::Charts;

APieChart::AItem* APieChart::AItem::AddChild(std::unique_ptr<AItem> child)
{
    children_.push_back(std::move(child));
    return children_.back().get();
}

APieChart::APieChart(QWidget* parent) : AGraphicsControl(parent) { setMouseTracking(true); }

APieChart::~APieChart() = default;

void APieChart::SetStrings(const UtilityClasses::Strings::AStrings* strings) { strings_ = strings; }

void APieChart::SetCurrency(std::u16string code, int decimals)
{
    currency_ = std::move(code);
    decimals_ = decimals;
}

void APieChart::SetRoot(std::unique_ptr<AItem> root)
{
    SetHovered(nullptr);
    root_ = std::move(root);
    Relayout();
}

void APieChart::Relayout()
{
    flat_.clear();
    std::vector<ChartMath::ARingItem> items;
    if (root_) {
        // Depth-first without recursion: a deep tree cannot exhaust the stack.
        struct APending {
            AItem* item;
            std::size_t parent;
            int depth;
        };
        std::vector<APending> pending{{root_.get(), SIZE_MAX, 0}};
        while (!pending.empty()) {
            const APending next = pending.back();
            pending.pop_back();
            const std::size_t index = items.size();
            flat_.push_back(next.item);
            next.item->depth_ = next.depth;  // hidden items too, which the layout skips
            items.push_back({next.item->first_, next.item->second_, {}});
            if (next.parent != SIZE_MAX)
                items[next.parent].children.push_back(index);
            for (auto child = next.item->children_.rbegin(); child != next.item->children_.rend(); ++child)
                pending.push_back({child->get(), index, next.depth + 1});
        }
    }
    layout_ = ChartMath::LayoutRing(items, width(), height(), fontMetrics().height());
    for (std::size_t i = 0; i < flat_.size(); ++i) {
        const ChartMath::ARingSlice& slice = layout_.slices[i];
        AItem& item = *flat_[i];
        item.start_ = slice.start;
        item.sweep_ = slice.sweep;
        item.visible_ = slice.visible;
        item.colour_ = Charts::ToQColor(slice.colour);
    }
    update();
}

APieChart::AItem* APieChart::HitTest(QPoint point) const
{
    if (!Message().isEmpty())
        return nullptr;
    const int index = ChartMath::RingHitTest(layout_, point.x(), point.y());
    if (index < 0 || static_cast<std::size_t>(index) >= flat_.size() || !flat_[index]->visible_)
        return nullptr;
    return flat_[index];
}

void APieChart::SetSelected(AItem* item)
{
    for (AItem* each : flat_)
        each->selected_ = each == item;
    update();
}

QString APieChart::TooltipText(const AItem& item) const
{
    if (!strings_)
        return ToQString(item.name_);
    return Charts::TooltipText(
        ChartMath::RingTooltip(*strings_, item.name_, item.first_, item.second_, currency_, decimals_));
}

void APieChart::SetHovered(AItem* item)
{
    if (hovered_ == item)
        return;
    hovered_ = item;
    if (item)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    update();
}

bool APieChart::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const AItem* item = HitTest(help->pos())) {
            QToolTip::showText(help->globalPos(), TooltipText(*item), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return AGraphicsControl::event(event);
}

void APieChart::resizeEvent(QResizeEvent* event)
{
    AGraphicsControl::resizeEvent(event);
    Relayout();
}

void APieChart::changeEvent(QEvent* event)
{
    AGraphicsControl::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Relayout();  // the ring width leaves room for one line of the font
}

void APieChart::mouseMoveEvent(QMouseEvent* event)
{
    SetHovered(HitTest(event->position().toPoint()));
    AGraphicsControl::mouseMoveEvent(event);
}

void APieChart::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        if (AItem* item = HitTest(event->position().toPoint())) {
            SetSelected(item);
            emit ItemClicked(item);
            return;
        }
    AGraphicsControl::mousePressEvent(event);
}

void APieChart::leaveEvent(QEvent* event)
{
    SetHovered(nullptr);
    AGraphicsControl::leaveEvent(event);
}

void APieChart::DrawItem(QPainter& painter, const AItem& item) const
{
    const QPointF centre(layout_.centreX, layout_.centreY);
    const double width = layout_.ringWidth;
    QPainterPath path;
    if (item.depth_ == 0) {
        path.addEllipse(centre, width, width);
    } else {
        const double inner = item.depth_ * width, outer = inner + width;
        const QRectF outerBox(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
        const QRectF innerBox(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner);
        // Our angles run clockwise from the top; Qt's run anticlockwise from three o'clock.
        const double start = 90.0 - item.start_;
        path.arcMoveTo(outerBox, start);
        path.arcTo(outerBox, start, -item.sweep_);
        path.arcTo(innerBox, start - item.sweep_, item.sweep_);
        path.closeSubpath();
    }
    QColor fill = item.colour_;
    if (&item == hovered_)
        fill = fill.lighter(item.colour_.lightness() < 60 ? 200 : 125);
    painter.setBrush(fill);
    painter.setPen(QPen(palette().color(QPalette::Base), 1.25));
    painter.drawPath(path);
    if (item.selected_) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.drawPath(path);
    }
}

void APieChart::DrawChart(QPainter& painter)
{
    if (flat_.empty())
        return;
    // Selected items last, so that their frame is not covered by a neighbour.
    for (const AItem* item : flat_)
        if (item->visible_ && !item->selected_)
            DrawItem(painter, *item);
    for (const AItem* item : flat_)
        if (item->visible_ && item->selected_)
            DrawItem(painter, *item);
    const double radius = ChartMath::OutlineRadius(layout_);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Charts::ToQColor(ChartMath::kOutlineColour), 1.5));
    painter.drawEllipse(QPointF(layout_.centreX, layout_.centreY), radius, radius);
}

}  // namespace Win32API::VelvixControls
