// Forms: applying the arrangement to the windows, the tab order, borders and splitter bars.
#include "win32api/DynaForm.h"

#include "win32api/FormMetrics.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QApplication>
#include <QRadioButton>

namespace Win32API::VelvixForms {

namespace {

QRect ToQRect(const ARect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

bool IsGroupStart(const ALayoutElement& e, ATabStop::Kind kind)
{
    // Captions are created with WS_GROUP; controls carry it with the g flag.
    return kind == ATabStop::Kind::Caption || (kind == ATabStop::Kind::Control && e.control->HasFlag('g'));
}

}  // namespace

void ADialogForm::Relayout(bool remeasure, bool reorder)
{
    if (!root_ || inRelayout_)
        return;
    inRelayout_ = true;
    bool remeasured = remeasure || measureDirty_;
    if (remeasured) {
        MeasureLayout(*root_, *metrics_);
        measureDirty_ = false;
        UpdateSizeLimits();
    }
    if (reorder || orderDirty_) {
        ApplyTabOrder();
        orderDirty_ = false;
    }
    ArrangeLayout(*root_, {0, 0, width(), height()}, *metrics_);
    // One batch of moves, one repaint.
    setUpdatesEnabled(false);
    ApplyGeometry(*root_);
    setUpdatesEnabled(true);
    update();
    inRelayout_ = false;
    // A child form that changed its minimum size changes its parent's layout too.
    if (auto* parentForm = qobject_cast<ADialogForm*>(parentWidget()); parentForm && remeasured)
        parentForm->Relayout(true, false);
}

void ADialogForm::HideWindows(ALayoutElement& e)
{
    ForEachElement(e, [](ALayoutElement& x) {
        ADialogFrame* frame = FrameOf(x);
        if (!frame)
            return;
        for (QWidget* w : {frame->caption.data(), frame->control.data(), static_cast<QWidget*>(frame->childForm.data())})
            if (w)
                w->hide();
    });
}

void ADialogForm::ApplyGeometry(ALayoutElement& e)
{
    if (!e.arranged) {
        HideWindows(e);
        return;
    }
    ADialogFrame* frame = FrameOf(e);
    if (frame->caption) {
        frame->caption->setGeometry(ToQRect(e.captionRect));
        frame->caption->show();
    }
    if (frame->control) {
        frame->control->setGeometry(ToQRect(e.controlRect));
        frame->control->setVisible(!frame->controlHidden);
    }
    if (frame->childForm) {
        frame->childForm->setGeometry(ToQRect(e.content));
        frame->childForm->show();
        frame->childForm->Relayout();
    }
    for (auto& child : e.children)
        ApplyGeometry(*child);
}

// The windows of this form (and of its child forms, in their place) in tab order, and which
// of them start a group.
void ADialogForm::AppendTabChain(std::vector<QWidget*>& chain, std::vector<bool>& groupStarts)
{
    for (const ATabStop& stop : CollectTabOrder(*root_)) {
        ADialogFrame* frame = FrameOf(*stop.element);
        switch (stop.kind) {
        case ATabStop::Kind::Caption:
            chain.push_back(frame->caption);
            groupStarts.push_back(true);
            break;
        case ATabStop::Kind::Control:
            chain.push_back(frame->control);
            groupStarts.push_back(IsGroupStart(*stop.element, stop.kind));
            break;
        case ATabStop::Kind::ChildForm:
            frame->childForm->AppendTabChain(chain, groupStarts);
            break;
        }
    }
}

void ADialogForm::ApplyTabOrder()
{
    std::vector<QWidget*> chain;
    std::vector<bool> groupStarts;
    AppendTabChain(chain, groupStarts);
    tabChain_.assign(chain.begin(), chain.end());

    // Radio buttons are exclusive from one group start to the next, as the dialog manager does.
    for (QButtonGroup* group : radioGroups_)
        delete group;
    radioGroups_.clear();
    QButtonGroup* group = nullptr;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (groupStarts[i])
            group = nullptr;
        auto* radio = qobject_cast<QRadioButton*>(chain[i]);
        if (!radio)
            continue;
        if (!group) {
            group = new QButtonGroup(this);
            radioGroups_.push_back(group);
        }
        group->addButton(radio);
    }
    // A static's "&" mnemonic focuses the next window in the order.
    for (std::size_t i = 0; i + 1 < chain.size(); ++i)
        if (auto* label = qobject_cast<QLabel*>(chain[i]))
            for (std::size_t j = i + 1; j < chain.size(); ++j)
                if (!qobject_cast<QLabel*>(chain[j])) {
                    label->setBuddy(chain[j]);
                    break;
                }
}

ASize ADialogForm::MinimumClientSize() const
{
    return root_ ? VelvixForms::MinimumClientSize(*root_) : ASize{};
}

QSize ADialogForm::minimumSizeHint() const
{
    ASize size = MinimumClientSize();
    return QSize(size.cx, size.cy);
}

QSize ADialogForm::sizeHint() const
{
    return minimumSizeHint();
}

// A top-level form cannot be made smaller than its root, nor larger in a direction in which
// nothing stretches.
void ADialogForm::UpdateSizeLimits()
{
    updateGeometry();
    if (!IsTopLevelForm())
        return;
    ASize size = MinimumClientSize();
    setMinimumSize(size.cx, size.cy);
    setMaximumSize(root_->stretchX ? QWIDGETSIZE_MAX : size.cx, root_->stretchY ? QWIDGETSIZE_MAX : size.cy);
}

void ADialogForm::PlaceSplitterBar(int position, std::int16_t splitterId)
{
    if (!root_)
        return;
    ALayoutElement* splitter = nullptr;
    ForEachElement(*root_, [&](ALayoutElement& e) {
        if (!splitter && e.IsSplitter() && (splitterId == 0 || e.id == splitterId))
            splitter = &e;
    });
    if (!splitter)
        return;
    MeasureLayout(*root_, *metrics_);
    ArrangeLayout(*root_, {0, 0, width(), height()}, *metrics_);
    MoveSplitterBar(*splitter, position);
    Relayout(true, false);
}

ALayoutElement* ADialogForm::SplitterBarAt(const QPoint& point)
{
    ALayoutElement* found = nullptr;
    if (root_)
        ForEachElement(*root_, [&](ALayoutElement& e) {
            if (e.isSplitterBar && e.arranged && e.cell.Contains(point.x(), point.y()))
                found = e.parent;
        });
    return found;
}

void ADialogForm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        draggedSplitter_ = SplitterBarAt(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void ADialogForm::mouseMoveEvent(QMouseEvent* event)
{
    QPoint point = event->position().toPoint();
    if (draggedSplitter_) {
        MoveSplitterBar(*draggedSplitter_, draggedSplitter_->splitterAxis == 'x' ? point.x() : point.y());
        Relayout();
        return;
    }
    if (ALayoutElement* splitter = SplitterBarAt(point))
        setCursor(splitter->splitterAxis == 'x' ? Qt::SplitHCursor : Qt::SplitVCursor);
    else
        unsetCursor();
}

void ADialogForm::mouseReleaseEvent(QMouseEvent* event)
{
    draggedSplitter_ = nullptr;
    QWidget::mouseReleaseEvent(event);
}

// Tab and Shift+Tab walk the form's own order (Qt's focus chain cannot be rebuilt reliably
// once windows exist), skipping what cannot take the focus now.
bool ADialogForm::focusNextPrevChild(bool next)
{
    if (auto* parentForm = qobject_cast<ADialogForm*>(parentWidget()))
        return parentForm->focusNextPrevChild(next);
    std::vector<QWidget*> candidates;
    for (const QPointer<QWidget>& w : tabChain_)
        if (w && w->isVisibleTo(this) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            candidates.push_back(w);
    if (candidates.empty())
        return QWidget::focusNextPrevChild(next);
    QWidget* focus = QApplication::focusWidget();
    auto current = std::find_if(candidates.begin(), candidates.end(),
                                [&](QWidget* w) { return focus && (w == focus || w->isAncestorOf(focus)); });
    std::ptrdiff_t count = static_cast<std::ptrdiff_t>(candidates.size());
    std::ptrdiff_t index = current == candidates.end() ? (next ? -1 : 0) : current - candidates.begin();
    index = ((index + (next ? 1 : -1)) % count + count) % count;
    candidates[static_cast<std::size_t>(index)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void ADialogForm::resizeEvent(QResizeEvent*)
{
    Relayout();
}

namespace {

struct AEdgeColours {
    QColor topLeft, bottomRight;
};

// The two lines of a 3D edge, outer then inner, as the platform draws them.
std::vector<AEdgeColours> EdgeLines(char style, const QPalette& palette)
{
    const QColor light = palette.color(QPalette::Light), mid = palette.color(QPalette::Mid);
    const QColor dark = palette.color(QPalette::Dark), midlight = palette.color(QPalette::Midlight);
    switch (style) {
    case 'R': return {{light, dark}, {midlight, mid}};
    case 'S': return {{mid, light}, {dark, midlight}};
    case 'e': return {{mid, light}, {light, mid}};
    case 'b': return {{light, mid}, {mid, light}};
    case 'r': return {{light, mid}};
    case 's': return {{mid, light}};
    default: return {};
    }
}

void DrawEdgeLines(QPainter& painter, QRect r, std::uint8_t edges, const std::vector<AEdgeColours>& lines)
{
    for (const AEdgeColours& line : lines) {
        if (r.width() <= 0 || r.height() <= 0)
            return;
        if (edges & kEdgeLeft)
            painter.fillRect(r.left(), r.top(), 1, r.height(), line.topLeft);
        if (edges & kEdgeTop)
            painter.fillRect(r.left(), r.top(), r.width(), 1, line.topLeft);
        if (edges & kEdgeRight)
            painter.fillRect(r.right(), r.top(), 1, r.height(), line.bottomRight);
        if (edges & kEdgeBottom)
            painter.fillRect(r.left(), r.bottom(), r.width(), 1, line.bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

}  // namespace

void ADialogForm::paintEvent(QPaintEvent*)
{
    if (!root_)
        return;
    QPainter painter(this);
    if (isWindow())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    const int fontHeight = metrics_->FontHeight();
    ForEachElement(*root_, [&](ALayoutElement& e) {
        if (!e.arranged || !e.borderEdges)
            return;
        QRect r = ToQRect(BorderRect(e, fontHeight));
        painter.save();
        // The line runs behind the caption text, not through it.
        if (ADialogFrame* frame = FrameOf(e); frame && frame->caption && r.top() > e.cell.top)
            painter.setClipRegion(QRegion(rect()).subtracted(QRegion(ToQRect(e.captionRect))));
        if (classicBorders_)
            DrawEdgeLines(painter, r, e.borderEdges, EdgeLines(e.borderStyle, palette()));
        else
            DrawEdgeLines(painter, r, e.borderEdges, {{palette().color(QPalette::Mid), palette().color(QPalette::Mid)}});
        painter.restore();
    });
}

}  // namespace Win32API::VelvixForms
