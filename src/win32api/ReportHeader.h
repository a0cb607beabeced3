// The header of a report list control: column titles, dividers to drag or double-click,
// a click to sort, the right button for the menu of columns.
#pragma once
#include <QWidget>

#include <string>

namespace Win32API::VelvixControls::Reports::Implementation {

class AReportWindow;

// A column title as the header and its menu show it: no mnemonic mark, no colon.
QString MenuTitle(const std::u16string& title);

class AReportHeader : public QWidget {
    Q_OBJECT
public:
    explicit AReportHeader(AReportWindow* report);
    QSize sizeHint() const override;
    // The column whose right divider is under x (within a few pixels), -1 for none.
    int DividerAt(int x) const;
    void ShowColumnMenu(const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    AReportWindow* report_;
    int resizedColumn_ = -1;
    int pressedColumn_ = -1;
    int resizeOrigin_ = 0;
    int originalWidth_ = 0;
};

}  // namespace Win32API::VelvixControls::Reports::Implementation
