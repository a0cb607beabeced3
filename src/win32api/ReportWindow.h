// The report list control ("FD-RV", layout letter R): one owner-drawn scroll area that shows
// the rows of its list model with a header, and turns keys and clicks into the model's rules.
#pragma once
#include "win32api/AControl.h"
#include "win32api/ReportListModel.h"
#include "win32api/ToolkitLook.h"

#include <QAbstractScrollArea>

#include <memory>

namespace Win32API::VelvixControls::Reports::Implementation {

class AReportHeader;

class AReportWindow : public QAbstractScrollArea, public AControl {
    Q_OBJECT
public:
    // The control's own list model, or (for a picker's list) the picker's.
    explicit AReportWindow(QWidget* parent = nullptr, AReportListModel* sharedModel = nullptr);
    ~AReportWindow() override;

    AReportListModel& Model() { return *model_; }
    AReportMode* Mode() const { return model_->Mode(); }
    // The mode belongs to the owner and must outlive the control.
    void SetMode(AReportMode* mode);
    AReportItemImpl& Root() { return model_->Root(); }
    AReportItemImpl* AddItem(AReportItemImpl& parent, std::unique_ptr<AReportItemImpl> item);

    // After the tree changed: rebuilds the rows, updates the scroll bars, keeps the focus in view.
    void RebuildRows();
    // Repaints the rows and the header.
    void Refresh();
    void MakeVisible(AReportItemImpl& item);
    void Clear();
    void SetLook(const AToolkitLook& look);
    const AToolkitLook& Look() const { return look_; }
    // The list of an open picker draws its selection as focused and reports nothing itself.
    void SetPickerList(bool pickerList);
    bool IsPickerList() const { return pickerList_; }

    int RowHeight() const { return rowHeight_; }
    int HeaderHeight() const;
    // Whole rows that fit below the header.
    int PageRows() const;
    int FirstVisibleRow() const;
    void EnsureRowVisible(int row);
    // Row under a point of the viewport, -1 for none.
    int RowAt(int y) const;
    // Column of the mode under a viewport x, -1 for none.
    int ColumnAt(int x) const;
    // Left edge of a shown column in content coordinates (before horizontal scrolling).
    int ColumnLeft(int column) const;
    int ContentWidth() const;
    // Fits a column to its widest text (a double click on its divider).
    void AutoSizeColumn(int column);
    // Shows or hides a column from the header's menu; the last shown one stays.
    bool ToggleColumn(int column);

    void GetMinimumSize(VelvixForms::ASize& size) const override;

signals:
    // The design's notification codes; for kNotifyCheckChanging the handler may clear *answer.
    void Notify(int code, bool* answer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class AReportHeader;
    struct AHit {
        int row = -1;
        int column = -1;
        bool onExpandButton = false;
        bool onCheckBox = false;
        bool onLink = false;
    };
    AHit HitTest(const QPoint& point) const;
    void UpdateMetrics();
    void UpdateScrollBars();
    void AfterModelAction();
    // Tells assistive clients about the focused row when it moved (or always).
    void AnnounceFocus(bool evenIfUnchanged);

    std::unique_ptr<AReportListModel> ownModel_;
    AReportListModel* model_;
    AReportHeader* header_;
    AToolkitLook look_;
    int rowHeight_ = 18;
    bool pickerList_ = false;
    bool rebuildQueued_ = false;
    int announcedFocus_ = -1;
};

}  // namespace Win32API::VelvixControls::Reports::Implementation

namespace Win32API::VelvixControls::Reports {
using Implementation::AReportWindow;
}
