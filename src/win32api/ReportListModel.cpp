#include "win32api/ReportListModel.h"

#include "core/TextSearch.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace Win32API::VelvixControls::Reports {

namespace {

// Whether `x` is `item` (when counted) or lies below it.
bool IsWithin(const AReportItemImpl* x, const AReportItemImpl* item, bool includingItem)
{
    for (const AReportItemImpl* y = includingItem ? x : x->Parent(); y; y = y->Parent())
        if (y == item)
            return true;
    return false;
}

}  // namespace

AReportListModel::AReportListModel(AReportMode* mode) : mode_(mode), root_(std::make_unique<AReportItemImpl>())
{
    root_->Attach(this);
}

AReportListModel::~AReportListModel()
{
    // The items go with the control; nobody needs to hear about each of them.
    root_->Attach(nullptr);
}

void AReportListModel::SetMode(AReportMode* mode)
{
    mode_ = mode;
    stale_ = true;
}

AReportItemImpl* AReportListModel::Row(int row) const
{
    if (stale_ || row < 0 || row >= RowCount())
        return nullptr;
    return rows_[static_cast<std::size_t>(row)];
}

int AReportListModel::RowOf(const AReportItemImpl* item) const
{
    if (!item || stale_)
        return -1;
    int row = item->row_;
    return row >= 0 && row < RowCount() && rows_[static_cast<std::size_t>(row)] == item ? row : -1;
}

std::vector<AReportItemImpl*> AReportListModel::SelectedItems() const
{
    std::vector<AReportItemImpl*> selected;
    if (!stale_)
        for (AReportItemImpl* item : rows_)
            if (item->selected_)
                selected.push_back(item);
    return selected;
}

int AReportListModel::FindRow(std::u16string_view text, int after) const
{
    if (text.empty() || stale_ || rows_.empty() || !mode_)
        return -1;
    const std::u16string folded = UserInterface::Filters::FoldCase(text);
    const int count = RowCount();
    const int start = after < 0 || after >= count ? 0 : after + 1;
    for (int i = 0; i < count; ++i) {
        const int row = (start + i) % count;
        const AReportItemImpl& item = *rows_[static_cast<std::size_t>(row)];
        for (int c = 0; c < mode_->ColumnCount(); ++c)
            if (mode_->Column(c).shown && UserInterface::Filters::ContainsFolded(item.Text(c), folded))
                return row;
    }
    return -1;
}

void AReportListModel::Rebuild()
{
    rows_.clear();
    // Depth-first without recursion: trees from data files can be deep.
    std::vector<std::pair<AReportItemImpl*, int>> pending;
    for (auto it = root_->children_.rbegin(); it != root_->children_.rend(); ++it)
        pending.emplace_back(it->get(), 0);
    while (!pending.empty()) {
        auto [item, depth] = pending.back();
        pending.pop_back();
        item->depth_ = depth;
        rows_.push_back(item);
        if (item->expanded_)
            for (auto it = item->children_.rbegin(); it != item->children_.rend(); ++it)
                pending.emplace_back(it->get(), depth + 1);
    }
    if (!IsTree() && mode_ && mode_->SortIndex() >= 0)
        SortRows(mode_->SortIndex(), mode_->SortDescending());
    else
        for (std::size_t i = 0; i < rows_.size(); ++i)
            rows_[i]->row_ = static_cast<int>(i);
    stale_ = false;

    focus_ = RowOf(focusItem_);
    if (focus_ < 0 && (focusItem_ || focusLost_)) {
        if (focusItem_)
            focusItem_->selected_ = false;
        focusItem_ = nullptr;
        focusLost_ = false;
        Notify(kNotifySelectionChanged);
    }
}

namespace {

// A row's key, kept together with the row so that sorting touches one compact array. The
// first four code units of the text, packed so that integer order is text order, settle
// most comparisons without reading the text.
struct AKeyedRow {
    std::int64_t number;
    std::uint64_t prefix;
    std::uint32_t textOffset;
    std::uint32_t textLength;
    int position;
};

std::uint64_t TextPrefix(std::u16string_view text)
{
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 4; ++i)
        prefix = prefix << 16 | (i < text.size() ? text[i] : 0u);
    return prefix;
}

// Sorts by number and text prefix first, which needs no text; then each run of equal
// prefixes by the whole texts, copied next to each other so that the comparisons stay in
// the cache instead of reading all over the texts of 100,000 rows.
void SortKeyedRows(std::vector<AKeyedRow>& keyed, const std::u16string& texts, bool descending)
{
    auto headOrder = [](const AKeyedRow& a, const AKeyedRow& b) {
        int c = a.number < b.number ? -1 : a.number > b.number;
        return c != 0 ? c : (a.prefix < b.prefix ? -1 : a.prefix > b.prefix);
    };
    std::sort(keyed.begin(), keyed.end(), [&](const AKeyedRow& a, const AKeyedRow& b) {
        int c = headOrder(a, b);
        return c == 0 ? a.position < b.position : (descending ? c > 0 : c < 0);
    });
    std::u16string local;
    for (std::size_t begin = 0, end = 0; begin < keyed.size(); begin = end) {
        bool longText = false;
        for (end = begin; end < keyed.size() && headOrder(keyed[begin], keyed[end]) == 0; ++end)
            longText = longText || keyed[end].textLength > 4;
        if (end - begin < 2 || !longText)
            continue;
        // Code units stored big-endian compare in code-unit order with memcmp.
        local.clear();
        for (std::size_t i = begin; i < end; ++i) {
            std::uint32_t offset = static_cast<std::uint32_t>(local.size());
            for (std::uint32_t k = 0; k < keyed[i].textLength; ++k) {
                char16_t unit = texts[keyed[i].textOffset + k];
                local.push_back(static_cast<char16_t>((unit >> 8) | (unit << 8)));
            }
            keyed[i].textOffset = offset;
        }
        const char16_t* base = local.data();
        std::sort(keyed.begin() + static_cast<std::ptrdiff_t>(begin), keyed.begin() + static_cast<std::ptrdiff_t>(end),
                  [&](const AKeyedRow& a, const AKeyedRow& b) {
                      std::uint32_t common = std::min(a.textLength, b.textLength);
                      int c = std::memcmp(base + a.textOffset, base + b.textOffset, common * sizeof(char16_t));
                      if (c == 0)
                          c = a.textLength < b.textLength ? -1 : a.textLength > b.textLength;
                      return c == 0 ? a.position < b.position : (descending ? c > 0 : c < 0);
                  });
    }
}

}  // namespace

// Equal items keep their tree order: the tree position breaks ties, which lets the faster
// unstable sort give the stable result.
void AReportListModel::SortRows(int column, bool descending)
{
    std::vector<AKeyedRow> keyed;
    std::u16string texts;  // every key text, one after another
    keyed.reserve(rows_.size());
    bool allKeyed = true;
    for (std::size_t i = 0; i < rows_.size() && allKeyed; ++i) {
        ASortKey key;
        allKeyed = rows_[i]->SortKey(column, key);
        keyed.push_back({key.number, TextPrefix(key.text), static_cast<std::uint32_t>(texts.size()),
                         static_cast<std::uint32_t>(key.text.size()), static_cast<int>(i)});
        texts.append(key.text);
    }
    std::vector<int> order(rows_.size());
    if (allKeyed) {
        SortKeyedRows(keyed, texts, descending);
        for (std::size_t i = 0; i < keyed.size(); ++i)
            order[i] = keyed[i].position;
    } else {
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            int c = rows_[static_cast<std::size_t>(a)]->Compare(*rows_[static_cast<std::size_t>(b)], column);
            if (c == 0)
                return a < b;
            return descending ? c > 0 : c < 0;
        });
    }
    // Row numbers are written in tree order, which is close to the order of the items in
    // memory; writing them in sorted order would jump all over it.
    std::vector<AReportItemImpl*> sorted(rows_.size());
    std::vector<int> rowNumber(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto from = static_cast<std::size_t>(order[i]);
        sorted[i] = rows_[from];
        rowNumber[from] = static_cast<int>(i);
    }
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i]->row_ = rowNumber[i];
    rows_ = std::move(sorted);
}

bool AReportListModel::Notify(int code)
{
    if (code == kNotifySelectionChanged && pickerList_)
        return true;
    return notifier_ ? notifier_(code) : true;
}

bool AReportListModel::SelectOnly(int row)
{
    bool changed = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        bool selected = static_cast<int>(i) == row;
        changed = changed || rows_[i]->selected_ != selected;
        rows_[i]->selected_ = selected;
    }
    return changed;
}

bool AReportListModel::SelectRange(int from, int to)
{
    if (from > to)
        std::swap(from, to);
    bool changed = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        int r = static_cast<int>(i);
        bool selected = r >= from && r <= to;
        changed = changed || rows_[i]->selected_ != selected;
        rows_[i]->selected_ = selected;
    }
    return changed;
}

void AReportListModel::FocusRow(int row, bool shift, bool ctrl)
{
    RebuildIfStale();
    if (rows_.empty())
        return;
    row = std::clamp(row, 0, RowCount() - 1);
    bool changed = row != focus_;
    if (IsMulti() && shift) {
        int anchor = RowOf(anchorItem_);
        if (anchor < 0) {
            anchor = row;
            anchorItem_ = rows_[static_cast<std::size_t>(row)];
        }
        changed = SelectRange(anchor, row) || changed;
    } else if (!(IsMulti() && ctrl)) {
        changed = SelectOnly(row) || changed;
        anchorItem_ = rows_[static_cast<std::size_t>(row)];
    }
    focus_ = row;
    focusItem_ = rows_[static_cast<std::size_t>(row)];
    if (changed)
        Notify(kNotifySelectionChanged);
}

AKeyOutcome AReportListModel::HandleKey(AReportKey key, bool shift, bool ctrl, int pageRows, bool hasHorizontalScroll)
{
    RebuildIfStale();
    AReportItemImpl* item = FocusedItem();
    const int page = std::max(1, pageRows);
    int target = focus_;
    switch (key) {
    case AReportKey::Up: target = focus_ - 1; break;
    case AReportKey::Down: target = focus_ + 1; break;
    case AReportKey::PageUp: target = focus_ - page; break;
    case AReportKey::PageDown: target = focus_ + page; break;
    case AReportKey::Home: target = 0; break;
    case AReportKey::End: target = RowCount() - 1; break;
    case AReportKey::Left:
        if (!IsTree()) {
            if (hasHorizontalScroll)
                return AKeyOutcome::ScrollLeft;
            target = focus_ - 1;
        } else if (item && item->HasChildren() && item->expanded_) {
            SetExpanded(*item, false);
            return AKeyOutcome::Handled;
        } else if (item && item->parent_ != root_.get()) {
            target = RowOf(item->parent_);
        } else {
            target = focus_ - 1;
        }
        break;
    case AReportKey::Right:
        if (!IsTree()) {
            if (hasHorizontalScroll)
                return AKeyOutcome::ScrollRight;
        } else if (item && item->HasChildren() && !item->expanded_) {
            SetExpanded(*item, true);
            return AKeyOutcome::Handled;
        }
        target = focus_ + 1;
        break;
    case AReportKey::ExpandAll:
        if (!IsTree() || !item)
            return AKeyOutcome::Ignored;
        ExpandAll(*item);
        return AKeyOutcome::Handled;
    case AReportKey::Space:
        if (!item)
            return AKeyOutcome::Ignored;
        ToggleCheck(focus_);
        return AKeyOutcome::Handled;
    case AReportKey::Plus:
    case AReportKey::Minus:
        if (!IsTree() || !item)
            return AKeyOutcome::Ignored;
        SetExpanded(*item, key == AReportKey::Plus);
        return AKeyOutcome::Handled;
    }
    if (rows_.empty())
        return AKeyOutcome::Ignored;
    if (focus_ < 0)
        target = std::max(target, 0);
    FocusRow(target, shift, ctrl);
    return AKeyOutcome::Handled;
}

void AReportListModel::PressRow(int row, bool shift, bool ctrl)
{
    RebuildIfStale();
    AReportItemImpl* item = Row(row);
    if (!item)
        return;
    pressedItem_ = item;
    pressedWasSelected_ = item->selected_;
    if (!IsMulti()) {
        FocusRow(row);
        return;
    }
    for (AReportItemImpl* r : rows_)
        r->mark_ = false;
    item->mark_ = true;
    if (ctrl && !shift) {
        // Ctrl and a click add the row to the selection or take it out.
        item->selected_ = !item->selected_;
        focus_ = row;
        focusItem_ = anchorItem_ = item;
        Notify(kNotifySelectionChanged);
        return;
    }
    FocusRow(row, shift, false);
}

void AReportListModel::RightPressRow(int row)
{
    RebuildIfStale();
    if (!Row(row))
        return;
    if (!IsMulti() && row == focus_) {
        Notify(kNotifyRightClickOnFocused);
        return;
    }
    // In a multi-selection the menu is for the whole selection when the row belongs to it.
    bool keepSelection = IsMulti() && Row(row)->selected_;
    FocusRow(row, false, keepSelection);
}

void AReportListModel::ReleaseRow(int row, bool overLink)
{
    AReportItemImpl* item = Row(row);
    bool sameRow = item && item == pressedItem_;
    bool wasSelected = pressedWasSelected_;
    pressedItem_ = nullptr;
    if (sameRow && wasSelected && item->selected_ && overLink)
        Notify(kNotifyLinkClicked);
}

void AReportListModel::DoubleClickRow(int row)
{
    if (Row(row))
        Notify(kNotifyDoubleClick);
}

bool AReportListModel::ToggleCheck(int row)
{
    AReportItemImpl* item = Row(row);
    if (!item || item->CheckState() == ACheckState::None || !item->CanToggleCheck())
        return false;
    checkingItem_ = item;
    bool allowed = Notify(kNotifyCheckChanging);
    checkingItem_ = nullptr;
    // The parent may have rebuilt or deleted things while answering.
    if (!allowed || RowOf(item) != row)
        return false;
    item->SetChecked(item->CheckState() != ACheckState::Checked);
    return true;
}

void AReportListModel::SetExpanded(AReportItemImpl& item, bool expanded)
{
    if (item.expanded_ == expanded)
        return;
    // Collapsing over the focus brings the focus up to the collapsed item.
    bool focusInside = !expanded && focusItem_ && IsWithin(focusItem_, &item, false);
    if (focusInside) {
        focusItem_->selected_ = false;
        focusItem_ = &item;
    }
    item.expanded_ = expanded;
    Rebuild();
    if (focusInside)
        FocusRow(RowOf(&item));
}

void AReportListModel::ExpandAll(AReportItemImpl& item)
{
    std::vector<AReportItemImpl*> pending{&item};
    while (!pending.empty()) {
        AReportItemImpl* x = pending.back();
        pending.pop_back();
        x->expanded_ = true;
        for (auto& child : x->children_)
            pending.push_back(child.get());
    }
    Rebuild();
}

void AReportListModel::MakeVisible(AReportItemImpl& item)
{
    RebuildIfStale();
    if (RowOf(&item) < 0 && IsTree()) {
        for (AReportItemImpl* p = item.parent_; p && p != root_.get(); p = p->parent_)
            p->expanded_ = true;
        Rebuild();
    }
    int row = RowOf(&item);
    if (row >= 0)
        FocusRow(row);
}

void AReportListModel::Clear()
{
    focus_ = -1;
    focusItem_ = nullptr;
}

void AReportListModel::DeleteAllItems()
{
    root_->DeleteChildren();
    Rebuild();
}

void AReportListModel::Forget(AReportItemImpl* item, bool includingItem)
{
    if (focusItem_ && IsWithin(focusItem_, item, includingItem)) {
        focusItem_ = nullptr;
        focusLost_ = true;
    }
    if (anchorItem_ && IsWithin(anchorItem_, item, includingItem))
        anchorItem_ = nullptr;
    if (pressedItem_ && IsWithin(pressedItem_, item, includingItem))
        pressedItem_ = nullptr;
    if (checkingItem_ && IsWithin(checkingItem_, item, includingItem))
        checkingItem_ = nullptr;
    stale_ = true;
}

void AReportListModel::ItemDestroyed(AReportItemImpl* item)
{
    Forget(item, true);
}

void AReportListModel::SubtreeCleared(AReportItemImpl* parent)
{
    Forget(parent, false);
}

}  // namespace Win32API::VelvixControls::Reports
