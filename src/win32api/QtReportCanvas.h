// The canvas report items draw on, over a QPainter: the list rows and the picker's field.
#pragma once
#include "win32api/ReportItem.h"

#include <QFont>

class QPainter;

namespace Win32API::VelvixControls::Reports::Implementation {

class AQtReportCanvas : public AReportCanvas {
public:
    AQtReportCanvas(QPainter* painter, const QFont& font);
    void FillRect(const ARect& rect, AColour colour) override;
    void DrawText(const ARect& rect, std::u16string_view text, AColour colour, unsigned flags) override;
    int TextWidth(std::u16string_view text, unsigned flags) const override;

private:
    QPainter* painter_;
    QFont font_, bold_;
};

}  // namespace Win32API::VelvixControls::Reports::Implementation
