// The rows of a report list control and what the keyboard and the mouse do to them: the tree
// flattened (children only under expanded items), sorted for lists, the focused row and the
// selection. Plain C++, so the rules are tested without any window.
#pragma once
#include "win32api/ReportItem.h"
#include "win32api/ReportMode.h"

#include <functional>
#include <string_view>
#include <vector>

namespace Win32API::VelvixControls::Reports {

// Codes the control reports to its parent.
enum AReportNotification : int {
    kNotifySelectionChanged = 0,
    kNotifyDoubleClick = 1,
    kNotifyRightClickOnFocused = 2,
    kNotifyCheckChanging = 5,  // the change happens only if the answer is true
    kNotifyLinkClicked = 6,
};

enum class AReportKey { Up, Down, PageUp, PageDown, Home, End, Left, Right, ExpandAll, Space, Plus, Minus };

// What the window must do after a key the model handled.
enum class AKeyOutcome { Handled, ScrollLeft, ScrollRight, Ignored };

class AReportListModel {
public:
    // Answers a notification; only the answer to kNotifyCheckChanging counts.
    using ANotifier = std::function<bool(int code)>;

    explicit AReportListModel(AReportMode* mode = nullptr);
    ~AReportListModel();
    AReportListModel(const AReportListModel&) = delete;
    AReportListModel& operator=(const AReportListModel&) = delete;

    AReportMode* Mode() const { return mode_; }
    void SetMode(AReportMode* mode);
    AReportItemImpl& Root() { return *root_; }
    void SetNotifier(ANotifier notifier) { notifier_ = std::move(notifier); }
    // The list of a picker reports through the picker: no selection notifications.
    void SetPickerList(bool pickerList) { pickerList_ = pickerList; }

    // ---- rows
    // Flattens the tree, sorts a sorted list, keeps the focus on its item if it is still a
    // row, else clears it (the item loses its selection) and notifies.
    void Rebuild();
    bool IsStale() const { return stale_; }
    void RebuildIfStale()
    {
        if (stale_)
            Rebuild();
    }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    AReportItemImpl* Row(int row) const;
    // The row of an item, -1 when it is not a row.
    int RowOf(const AReportItemImpl* item) const;
    int Focus() const { return focus_; }
    AReportItemImpl* FocusedItem() const { return Row(focus_); }
    std::vector<AReportItemImpl*> SelectedItems() const;
    // The first row after `after` (going round to the top, and to `after` itself last) with
    // `text` in one of its shown columns, letter case ignored; -1 for none or an empty text.
    int FindRow(std::u16string_view text, int after) const;

    // ---- operations of the control
    // Focuses a row (clamped) with the selection rules of the keyboard: Shift extends from
    // the anchor and Ctrl moves only the focus in multi-selection mode.
    void FocusRow(int row, bool shift = false, bool ctrl = false);
    AKeyOutcome HandleKey(AReportKey key, bool shift, bool ctrl, int pageRows, bool hasHorizontalScroll);
    void PressRow(int row, bool shift, bool ctrl);
    void RightPressRow(int row);
    // A release on the row pressed last; over a link cell of a selected row it is reported.
    void ReleaseRow(int row, bool overLink);
    void DoubleClickRow(int row);
    // Asks the parent, then toggles; false when refused or not possible.
    bool ToggleCheck(int row);
    void SetExpanded(AReportItemImpl& item, bool expanded);
    void ExpandAll(AReportItemImpl& item);
    // Expands the ancestors of a tree item that is not a row, then focuses it.
    void MakeVisible(AReportItemImpl& item);
    // No row focused.
    void Clear();
    // Deletes every item.
    void DeleteAllItems();

    // The item whose check state is about to change, while kNotifyCheckChanging is asked.
    AReportItemImpl* CheckingItem() const { return checkingItem_; }

    // ---- from the items
    void TreeChanged() { stale_ = true; }
    void ItemDestroyed(AReportItemImpl* item);
    void SubtreeCleared(AReportItemImpl* parent);

private:
    bool Notify(int code);
    void SortRows(int column, bool descending);
    bool IsTree() const { return mode_ && mode_->IsTree(); }
    bool IsMulti() const { return mode_ && mode_->MultiSelect(); }
    bool SelectOnly(int row);
    bool SelectRange(int from, int to);
    void Forget(AReportItemImpl* item, bool includingItem);

    AReportMode* mode_;
    std::unique_ptr<AReportItemImpl> root_;
    std::vector<AReportItemImpl*> rows_;
    ANotifier notifier_;
    int focus_ = -1;
    AReportItemImpl* focusItem_ = nullptr;
    AReportItemImpl* anchorItem_ = nullptr;
    AReportItemImpl* pressedItem_ = nullptr;
    AReportItemImpl* checkingItem_ = nullptr;
    bool pressedWasSelected_ = false;
    bool focusLost_ = false;
    bool stale_ = false;
    bool pickerList_ = false;
};

}  // namespace Win32API::VelvixControls::Reports
