// The time chart: account balances and exchange rates as stepped (or smoothed) lines over
// a date axis, with round value ticks, an optional zero line and the owner's tooltips.
#pragma once
#include "core/LocaleInfo.h"
#include "win32api/ChartScales.h"
#include "win32api/GraphicsControl.h"

#include <QColor>
#include <QRect>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace UtilityClasses::Strings {
class AStrings;
}

namespace Win32API::VelvixControls {

class AChartControl : public AGraphicsControl {
    Q_OBJECT
public:
    using AMoney = std::int64_t;

    struct APoint {
        ADate date = 0;
        std::int32_t time = 0;  // milliseconds since midnight
        AMoney value = 0;       // the value from this moment on
    };
    enum class ALineStyle {
        Normal,
        Continuation,  // where the values are carried over, not known: dashed and without an area
    };
    struct ALine {
        std::vector<APoint> points;  // in time order
        QColor colour;
        ALineStyle style = ALineStyle::Normal;
        QString name;  // named lines get a legend entry
    };
    // A line and the run of its points that lie under the mouse (first..last inclusive).
    struct AHit {
        int line = -1;
        std::size_t first = 0;
        std::size_t last = 0;
    };
    using ATooltipSource = std::function<QString(const AHit& hit)>;

    struct AGeometry {
        QRect plot;
        QRect legend;
        Charts::AValueAxis axis;
        double firstTime = 0;  // in days, with the time of day as a fraction
        double lastTime = 0;
        int fontHeight = 0;
    };

    explicit AChartControl(QWidget* parent = nullptr);

    void SetStrings(const UtilityClasses::Strings::AStrings* strings);
    // Decimals of the value labels: the report currency's, or 4 for rates.
    void SetDecimals(int decimals);
    // "Показывать нулевую линию": the axis reaches zero and the zero line is drawn.
    void SetZeroLine(bool shown);
    // "Сгладить ступеньки аппроксимации": a smooth curve through the points replaces the steps.
    void SetSmoothing(bool smooth);
    bool ZeroLine() const { return zeroLine_; }
    bool Smoothing() const { return smooth_; }

    void SetLines(std::vector<ALine> lines);
    const std::vector<ALine>& Lines() const { return lines_; }
    void SetTooltipSource(ATooltipSource source) { tooltipSource_ = std::move(source); }

    AGeometry Geometry() const;
    double XOf(const APoint& point, const AGeometry& geometry) const;
    double YOf(AMoney value, const AGeometry& geometry) const;
    // The line nearest to the point at its x, and its points within a few pixels of the
    // point's x (or the last point before it); nothing outside the plot or before a line starts.
    std::optional<AHit> HitTest(QPoint point) const;

protected:
    void DrawChart(QPainter& painter) override;
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const UtilityClasses::Strings::LocaleInfo& Locale() const;
    QString ValueLabel(AMoney value) const;
    QString DateLabel(ADate date, Charts::ADateTickKind kind) const;
    // The value the line shows at x: the last point at or before it, or nothing before the line.
    std::optional<std::size_t> PointBefore(const ALine& line, double x, const AGeometry& geometry) const;
    void DrawGrid(QPainter& painter, const AGeometry& geometry) const;
    void DrawAxes(QPainter& painter, const AGeometry& geometry) const;
    void DrawArea(QPainter& painter, const ALine& line, const AGeometry& geometry) const;
    void DrawLine(QPainter& painter, const ALine& line, const AGeometry& geometry) const;
    void DrawHover(QPainter& painter, const AGeometry& geometry) const;
    class QPainterPath LinePath(const ALine& line, const AGeometry& geometry) const;

    const UtilityClasses::Strings::AStrings* strings_ = nullptr;
    UtilityClasses::Strings::LocaleInfo fallbackLocale_;
    int decimals_ = 2;
    bool zeroLine_ = false;
    bool smooth_ = false;
    std::vector<ALine> lines_;
    ATooltipSource tooltipSource_;
    std::optional<AHit> hover_;
};

}  // namespace Win32API::VelvixControls
