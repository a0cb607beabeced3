#include "win32api/ReportItem.h"

#include "win32api/ReportListModel.h"

#include <algorithm>

namespace Win32API::VelvixControls::Reports {

AReportItemImpl::~AReportItemImpl()
{
    if (owner_)
        owner_->ItemDestroyed(this);
    // The subtree goes one item at a time, not by recursion: trees can be very deep. The
    // control has heard of the whole subtree already.
    std::vector<std::unique_ptr<AReportItemImpl>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<AReportItemImpl> item = std::move(pending.back());
        pending.pop_back();
        item->owner_ = nullptr;
        for (auto& child : item->children_)
            pending.push_back(std::move(child));
        item->children_.clear();
    }
}

int AReportItemImpl::Compare(const AReportItemImpl& other, int column) const
{
    return Text(column).compare(other.Text(column));
}

void AReportItemImpl::DrawIcon(AReportCanvas&, const ARect&) const {}

void AReportItemImpl::DrawSingleText(AReportCanvas& canvas, const ARect& rect, const ACellStyle& style) const
{
    canvas.DrawText(rect, SingleText(), style.text, kTextLeft);
}

std::u16string AReportItemImpl::Text(int) const
{
    return {};
}

unsigned AReportItemImpl::CellProperty(int) const
{
    return kCellPlain;
}

int AReportItemImpl::TextWidth(const AReportCanvas& canvas, int column) const
{
    unsigned flags = (CellProperty(column) & kCellBold) ? unsigned{kTextBold} : 0u;
    return canvas.TextWidth(Text(column), flags) + 1;
}

void AReportItemImpl::DrawCell(AReportCanvas& canvas, int column, const ARect& rect, const ACellStyle& style) const
{
    unsigned property = CellProperty(column);
    unsigned flags = (property & kCellRightAligned) ? kTextRight : kTextLeft;
    if (property & kCellBold)
        flags |= kTextBold;
    AColour colour = style.text;
    // A selected row keeps its own text colour, so links stay readable on the highlight.
    if ((property & kCellLink) && !style.selected) {
        colour = style.link;
        if (style.underlineLinks)
            flags |= kTextUnderline;
    }
    canvas.DrawText(rect, Text(column), colour, flags);
}

void AReportItemImpl::Attach(AReportListModel* owner)
{
    // Iterative: trees from data files can be deep.
    std::vector<AReportItemImpl*> pending{this};
    while (!pending.empty()) {
        AReportItemImpl* item = pending.back();
        pending.pop_back();
        item->owner_ = owner;
        for (auto& child : item->children_)
            pending.push_back(child.get());
    }
}

AReportItemImpl* AReportItemImpl::AddChild(std::unique_ptr<AReportItemImpl> child)
{
    AReportItemImpl* added = child.get();
    added->parent_ = this;
    added->Attach(owner_);
    children_.push_back(std::move(child));
    if (owner_)
        owner_->TreeChanged();
    return added;
}

std::unique_ptr<AReportItemImpl> AReportItemImpl::TakeChild(AReportItemImpl* child)
{
    auto it = std::find_if(children_.begin(), children_.end(), [&](const auto& c) { return c.get() == child; });
    if (it == children_.end())
        return nullptr;
    std::unique_ptr<AReportItemImpl> taken = std::move(*it);
    children_.erase(it);
    // The control forgets it as if it had been deleted.
    if (owner_)
        owner_->ItemDestroyed(taken.get());
    taken->parent_ = nullptr;
    taken->Attach(nullptr);
    return taken;
}

void AReportItemImpl::DeleteChildren()
{
    if (owner_)
        owner_->SubtreeCleared(this);
    // Detach first so the destructors don't report each item one by one.
    for (auto& child : children_)
        child->Attach(nullptr);
    children_.clear();
}

}  // namespace Win32API::VelvixControls::Reports
