// The single-line edit of the layout language ("[e...]") with the small buttons its flags
// put inside its frame (701 the drop-down, 702-707 push buttons). What a button does is the
// owner's: the edit reports the press.
#pragma once
#include "win32api/AControl.h"
#include "win32api/EditButtons.h"

#include <QLineEdit>

namespace Win32API::VelvixControls {

class AEdit : public QLineEdit, public AControl {
    Q_OBJECT
public:
    explicit AEdit(std::string_view flags, QWidget* parent = nullptr);

    const std::vector<int>& ButtonIds() const { return ids_; }
    // The drop-down button's side ("drop-down on the right" setting); applies at once.
    void SetDropDownOnRight(bool onRight);
    std::vector<AFrameButton> Buttons() const;
    // The button under a point, 0 for none.
    int ButtonAt(const QPoint& point) const;

signals:
    void FrameButtonClicked(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void UpdateTextMargins();

    std::vector<int> ids_;
    bool dropDownOnRight_ = false;
    int pressed_ = 0;
    int hot_ = 0;
};

}  // namespace Win32API::VelvixControls
