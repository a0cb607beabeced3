// The drop-down picker ("FD-RD", layout letter r): a field showing the chosen item's text and
// a button that drops its report list down in a window of its own.
#pragma once
#include "win32api/AControl.h"
#include "win32api/ReportListModel.h"
#include "win32api/ToolkitLook.h"

#include <QPointer>
#include <QWidget>

class QFrame;

namespace Win32API::VelvixControls::Reports::Implementation {

class AReportWindow;

class AReportPicker : public QWidget, public AControl {
    Q_OBJECT
public:
    explicit AReportPicker(QWidget* parent = nullptr);
    ~AReportPicker() override;

    AReportListModel& Model() { return model_; }
    // The mode belongs to the owner and must outlive the picker.
    void SetMode(AReportMode* mode);
    AReportItemImpl& Root() { return model_.Root(); }
    // After the items changed; keeps the chosen item when it is still there.
    void RebuildRows();
    AReportItemImpl* SelectedItem() { return model_.FocusedItem(); }
    void Select(AReportItemImpl* item);
    void SetLook(const AToolkitLook& look);
    const AToolkitLook& Look() const { return look_; }

    void Open();
    void Close();
    bool IsOpen() const { return popup_ != nullptr; }
    AReportWindow* List() const { return list_; }

    QSize sizeHint() const override;

signals:
    // kNotifySelectionChanged when the user picked another item.
    void Notify(int code, bool* answer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Pick();
    void ReportChange(AReportItemImpl* before);

    AReportListModel model_;
    AToolkitLook look_;
    QPointer<QFrame> popup_;
    AReportWindow* list_ = nullptr;
    AReportItemImpl* pickedBeforeOpening_ = nullptr;
};

}  // namespace Win32API::VelvixControls::Reports::Implementation

namespace Win32API::VelvixControls::Reports {
using Implementation::AReportPicker;
}
