// The tab control of a stack ("[t]"): a row of tabs over a framed display area in which the
// stack's pages are placed as sibling windows.
#pragma once
#include "win32api/AControl.h"

#include <QWidget>

class QTabBar;

namespace Win32API::VelvixControls {

class ATabControl : public QWidget, public AControl {
    Q_OBJECT
public:
    explicit ATabControl(QWidget* parent = nullptr);

    QTabBar* TabBar() const { return tabBar_; }
    // The part of `area` (in the parent's coordinates, the control covering it) left for pages.
    QRect DisplayArea(const QRect& area) const;
    int FrameWidth() const { return 2; }
    // Wide enough for every tab.
    void GetMinimumSize(VelvixForms::ASize& size) const override;

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* tabBar_;
};

}  // namespace Win32API::VelvixControls
