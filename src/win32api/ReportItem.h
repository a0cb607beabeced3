// Items of the report list control: a tree the owner builds from its records. The control
// asks items for texts, check states, ordering and cell drawing; it knows nothing of records.
#pragma once
#include "win32api/LayoutGeometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Win32API::VelvixControls::Reports {

using VelvixForms::ARect;

class AReportListModel;

// Colours are 0x00BBGGRR, as the settings store them.
using AColour = std::uint32_t;

enum ATextFlags : unsigned {
    kTextLeft = 0,
    kTextRight = 1,
    kTextCentre = 2,
    kTextUnderline = 4,
    kTextBold = 8,
};

// Where items draw: the control hands its painter over in this shape.
class AReportCanvas {
public:
    virtual ~AReportCanvas() = default;
    virtual void FillRect(const ARect& rect, AColour colour) = 0;
    // One line, no prefix processing, cut with an ellipsis when too long.
    virtual void DrawText(const ARect& rect, std::u16string_view text, AColour colour, unsigned flags) = 0;
    virtual int TextWidth(std::u16string_view text, unsigned flags = 0) const = 0;
};

// How the cell being drawn looks: the row's background and text, the link colour.
struct ACellStyle {
    AColour background = 0x00FFFFFF;
    AColour text = 0;
    AColour link = 0x00FF0000;
    bool underlineLinks = true;
    bool selected = false;
};

enum class ACheckState : std::uint8_t { None, Unchecked, Checked };

// A value that orders items of one column exactly as their comparison does: a number, then a
// text compared by its UTF-16 code units. Items that can give one let big lists sort fast.
struct ASortKey {
    std::int64_t number = 0;
    std::u16string_view text;  // must stay valid while the rows are rebuilt
};

// Per-cell properties an item may report (slot 6).
enum ACellProperty : unsigned {
    kCellPlain = 0,
    kCellLink = 1,        // drawn in the link colour; a click on it is reported
    kCellRightAligned = 2,
    kCellBold = 4,
};

class AReportItemImpl {
public:
    AReportItemImpl() = default;
    AReportItemImpl(const AReportItemImpl&) = delete;
    AReportItemImpl& operator=(const AReportItemImpl&) = delete;
    // Deletes the children; the control forgets the item.
    virtual ~AReportItemImpl();

    // ---- what owners override (slot order of the control's item interface)
    virtual int Compare(const AReportItemImpl& other, int column) const;
    virtual void DrawIcon(AReportCanvas& canvas, const ARect& rect) const;
    virtual void DrawSingleText(AReportCanvas& canvas, const ARect& rect, const ACellStyle& style) const;
    virtual int IconWidth() const { return 0; }
    virtual std::u16string Text(int column) const;
    virtual unsigned CellProperty(int column) const;
    // The width a column's text needs: its extent and one pixel.
    virtual int TextWidth(const AReportCanvas& canvas, int column) const;
    // The text the picker shows in its field.
    virtual std::u16string SingleText() const { return Text(0); }
    virtual std::uint32_t RecordId() const { return 0; }
    virtual bool CanToggleCheck() const { return true; }
    virtual void DrawCell(AReportCanvas& canvas, int column, const ARect& rect, const ACellStyle& style) const;
    virtual ACheckState CheckState() const { return ACheckState::None; }
    // Called when the user toggles the check box and the parent allowed it.
    virtual void SetChecked(bool checked) { (void)checked; }
    // The item's sort key for a column, when its comparison is that of the key; the default
    // has none and the comparison is used.
    virtual bool SortKey(int column, ASortKey& key) const
    {
        (void)column;
        (void)key;
        return false;
    }

    // ---- the tree
    // Appends `child`, makes this its parent and attaches it to this item's control.
    AReportItemImpl* AddChild(std::unique_ptr<AReportItemImpl> child);
    // Takes the child out of the tree (null when it is not a child of this item).
    std::unique_ptr<AReportItemImpl> TakeChild(AReportItemImpl* child);
    void DeleteChildren();
    const std::vector<std::unique_ptr<AReportItemImpl>>& Children() const { return children_; }
    bool HasChildren() const { return !children_.empty(); }
    AReportItemImpl* Parent() const { return parent_; }
    AReportListModel* Owner() const { return owner_; }

    bool IsExpanded() const { return expanded_; }
    void SetExpandedFlag(bool expanded) { expanded_ = expanded; }
    bool IsSelected() const { return selected_; }
    void SetSelectedFlag(bool selected) { selected_ = selected; }
    bool IsMarked() const { return mark_; }
    void SetMark(bool mark) { mark_ = mark; }
    // Depth below the root (top-level items are 0), as of the last rebuild.
    int Depth() const { return depth_; }

private:
    friend class AReportListModel;
    void Attach(AReportListModel* owner);

    std::vector<std::unique_ptr<AReportItemImpl>> children_;
    AReportListModel* owner_ = nullptr;
    AReportItemImpl* parent_ = nullptr;
    bool expanded_ = true;
    bool selected_ = false;
    bool mark_ = false;
    int depth_ = 0;
    int row_ = -1;  // index among the rows at the last rebuild; checked against the rows
};

// An item over a value of the owner (a record, a record id, a report line...).
template <typename T>
class AReportItem : public AReportItemImpl {
public:
    explicit AReportItem(T data) : data_(std::move(data)) {}
    const T& Data() const { return data_; }
    T& Data() { return data_; }

    int Compare(const AReportItemImpl& other, int column) const override
    {
        return CompareData(static_cast<const AReportItem<T>&>(other), column);
    }

protected:
    // Items of one list are of one type; by default the column texts decide.
    virtual int CompareData(const AReportItem<T>& other, int column) const
    {
        return AReportItemImpl::Compare(other, column);
    }

private:
    T data_;
};

}  // namespace Win32API::VelvixControls::Reports
