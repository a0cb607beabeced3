// Base of the chart controls: a message set by the owner (a validation message of a report)
// replaces the drawing.
#pragma once
#include "win32api/AControl.h"

#include <QString>
#include <QWidget>

namespace Win32API::VelvixControls {

class AGraphicsControl : public QWidget, public AControl {
    Q_OBJECT
public:
    explicit AGraphicsControl(QWidget* parent = nullptr);

    // An empty message shows the drawing again.
    void SetMessage(const QString& message);
    const QString& Message() const { return message_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws the chart itself; only called while there is no message.
    virtual void DrawChart(class QPainter& painter);

private:
    QString message_;
};

}  // namespace Win32API::VelvixControls
