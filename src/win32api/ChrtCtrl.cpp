#include "win32api/ChrtCtrl.h"

#include "core/HistogramScale.h"
#include "core/AStrings.h"
#include "core/FormatAmount.h"
#include "core/FormatDate.h"
#include "win32api/ChartPainting.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Win32API::VelvixControls {

using namespace Charts;

namespace {

constexpr double kMillisecondsPerDay = 86'400'000.0;
// How far from the mouse, in pixels, the points of a hit may lie.
constexpr double kHitReach = 3;

double TimeOf(const AChartControl::APoint& point) { return point.date + point.time / kMillisecondsPerDay; }

const char16_t* PictureOf(ADateTickKind kind)
{
    switch (kind) {
    case ADateTickKind::Day:
    case ADateTickKind::Week: return u"d MMM";
    case ADateTickKind::Month:
    case ADateTickKind::Quarter:
    case ADateTickKind::HalfYear: return u"MMM yyyy";
    default: return u"yyyy";
    }
}

AMoney SaturatedAdd(AMoney value, AMoney delta)
{
    AMoney sum;
    if (__builtin_add_overflow(value, delta, &sum))
        return delta < 0 ? std::numeric_limits<AMoney>::min() : std::numeric_limits<AMoney>::max();
    return sum;
}

}  // namespace

AChartControl::AChartControl(QWidget* parent)
    : AGraphicsControl(parent), fallbackLocale_(UtilityClasses::Strings::RussianLocale())
{
    setMouseTracking(true);
}

void AChartControl::SetStrings(const UtilityClasses::Strings::AStrings* strings)
{
    strings_ = strings;
    update();
}

void AChartControl::SetDecimals(int decimals)
{
    decimals_ = std::clamp(decimals, 0, 4);
    update();
}

void AChartControl::SetZeroLine(bool shown)
{
    zeroLine_ = shown;
    update();
}

void AChartControl::SetSmoothing(bool smooth)
{
    smooth_ = smooth;
    update();
}

void AChartControl::SetLines(std::vector<ALine> lines)
{
    lines_ = std::move(lines);
    hover_.reset();
    update();
}

const UtilityClasses::Strings::LocaleInfo& AChartControl::Locale() const
{
    return strings_ ? strings_->Locale() : fallbackLocale_;
}

QString AChartControl::ValueLabel(AMoney value) const
{
    return ToQString(UtilityClasses::Strings::FormatAmount(value, decimals_, true, Locale()));
}

QString AChartControl::DateLabel(ADate date, ADateTickKind kind) const
{
    return ToQString(UtilityClasses::Strings::FormatDate(date, PictureOf(kind), Locale()));
}

AChartControl::AGeometry AChartControl::Geometry() const
{
    AGeometry geometry;
    const QFontMetrics metrics = fontMetrics();
    const int fh = metrics.height();
    geometry.fontHeight = fh;
    bool any = false;
    AMoney lowest = 0, highest = 0;
    for (const ALine& line : lines_)
        for (const APoint& point : line.points) {
            const double time = TimeOf(point);
            geometry.firstTime = any ? std::min(geometry.firstTime, time) : time;
            geometry.lastTime = any ? std::max(geometry.lastTime, time) : time;
            lowest = any ? std::min(lowest, point.value) : point.value;
            highest = any ? std::max(highest, point.value) : point.value;
            any = true;
        }
    // A little room above and below the values, so that lines and markers at the extremes do
    // not run along the plot's edge; zero is never passed, a line resting on it stays there.
    const AMoney room = static_cast<AMoney>((static_cast<double>(highest) - static_cast<double>(lowest)) / 20);
    const bool aboveZero = lowest >= 0, belowZero = highest <= 0;
    lowest = SaturatedAdd(lowest, -room);
    highest = SaturatedAdd(highest, room);
    if (aboveZero)
        lowest = std::max<AMoney>(lowest, 0);
    if (belowZero)
        highest = std::min<AMoney>(highest, 0);
    if (zeroLine_) {
        lowest = std::min<AMoney>(lowest, 0);
        highest = std::max<AMoney>(highest, 0);
    }
    if (geometry.lastTime <= geometry.firstTime)
        geometry.lastTime = geometry.firstTime + 1;
    const int named = static_cast<int>(
        std::count_if(lines_.begin(), lines_.end(), [](const ALine& line) { return !line.name.isEmpty(); }));
    const int legendHeight = named ? UserInterface::Charts::LegendHeight(named, fh) : 0;
    const int top = fh;
    const int plotHeight = std::max(1, height() - top - (fh + fh / 2 + 4) - legendHeight);
    geometry.axis = RoundAxis(lowest, highest, std::max(1, plotHeight / (2 * fh)), decimals_);
    int labelWidth = 0;
    for (AMoney tick : UserInterface::Charts::AxisTicks(geometry.axis))
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(ValueLabel(tick)));
    const int left = fh / 2 + labelWidth + fh / 2 + 2;
    geometry.plot = QRect(left, top, std::max(1, width() - left - fh), plotHeight);
    geometry.legend = QRect(fh / 2, height() - legendHeight, std::max(0, width() - fh), legendHeight);
    return geometry;
}

double AChartControl::XOf(const APoint& point, const AGeometry& geometry) const
{
    const double span = geometry.lastTime - geometry.firstTime;
    return geometry.plot.left() + (TimeOf(point) - geometry.firstTime) / span * (geometry.plot.width() - 1);
}

double AChartControl::YOf(AMoney value, const AGeometry& geometry) const
{
    const double low = static_cast<double>(geometry.axis.low), high = static_cast<double>(geometry.axis.high);
    return geometry.plot.bottom() - (static_cast<double>(value) - low) / (high - low) * (geometry.plot.height() - 1);
}

std::optional<std::size_t> AChartControl::PointBefore(const ALine& line, double x, const AGeometry& geometry) const
{
    const auto after = std::upper_bound(line.points.begin(), line.points.end(), x,
                                        [&](double at, const APoint& point) { return at < XOf(point, geometry); });
    if (after == line.points.begin())
        return std::nullopt;
    return static_cast<std::size_t>(after - line.points.begin() - 1);
}

std::optional<AChartControl::AHit> AChartControl::HitTest(QPoint point) const
{
    if (!Message().isEmpty())
        return std::nullopt;
    const AGeometry geometry = Geometry();
    if (!geometry.plot.contains(point))
        return std::nullopt;
    std::optional<AHit> best;
    double bestDistance = 0;
    for (std::size_t l = 0; l < lines_.size(); ++l) {
        const ALine& line = lines_[l];
        const std::optional<std::size_t> last = PointBefore(line, point.x() + kHitReach, geometry);
        if (!last)
            continue;
        std::size_t first = *last;
        while (first > 0 && XOf(line.points[first - 1], geometry) >= point.x() - kHitReach)
            --first;
        // A line ends at its last point: further right it is not under the mouse.
        if (*last + 1 == line.points.size() && XOf(line.points[*last], geometry) < point.x() - kHitReach)
            continue;
        const double distance = std::fabs(YOf(line.points[*last].value, geometry) - point.y());
        if (!best || distance < bestDistance) {
            best = AHit{static_cast<int>(l), first, *last};
            bestDistance = distance;
        }
    }
    return best;
}

bool AChartControl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<AHit> hit = HitTest(help->pos());
        const QString text = hit && tooltipSource_ ? tooltipSource_(*hit) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), TooltipText(text.toStdU16String()), this);
        }
        return true;
    }
    return AGraphicsControl::event(event);
}

void AChartControl::mouseMoveEvent(QMouseEvent* event)
{
    const std::optional<AHit> hit = HitTest(event->position().toPoint());
    const bool changed =
        hit.has_value() != hover_.has_value() || (hit && (hit->line != hover_->line || hit->last != hover_->last));
    hover_ = hit;
    if (changed)
        update();
    AGraphicsControl::mouseMoveEvent(event);
}

void AChartControl::leaveEvent(QEvent* event)
{
    if (hover_) {
        hover_.reset();
        update();
    }
    AGraphicsControl::leaveEvent(event);
}

void AChartControl::DrawChart(QPainter& painter)
{
    if (lines_.empty())
        return;
    const AGeometry geometry = Geometry();
    DrawGrid(painter, geometry);
    painter.save();
    painter.setClipRect(geometry.plot.adjusted(-1, -2, 1, 2));
    for (const ALine& line : lines_)
        if (line.style == ALineStyle::Normal)
            DrawArea(painter, line, geometry);
    DrawAxes(painter, geometry);  // over the areas, under the lines
    for (const ALine& line : lines_)
        if (line.style == ALineStyle::Continuation)
            DrawLine(painter, line, geometry);
    for (const ALine& line : lines_)
        if (line.style == ALineStyle::Normal)
            DrawLine(painter, line, geometry);
    painter.restore();
    DrawHover(painter, geometry);
    std::vector<ALegendItem> legend;
    for (const ALine& line : lines_)
        if (!line.name.isEmpty())
            legend.push_back(
                {line.name, line.colour, false, line.style == ALineStyle::Continuation ? Qt::DashLine : Qt::SolidLine});
    DrawLegend(painter, palette(), geometry.legend, legend, geometry.fontHeight);
}

void AChartControl::DrawGrid(QPainter& painter, const AGeometry& geometry) const
{
    const QRect& plot = geometry.plot;
    const int fh = geometry.fontHeight;
    const QFontMetrics metrics = fontMetrics();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor grid = GridColour(palette());
    const QColor text = palette().color(QPalette::Text);
    for (AMoney tick : UserInterface::Charts::AxisTicks(geometry.axis)) {
        const int y = qRound(YOf(tick, geometry));
        painter.setPen(grid);
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(text);
        painter.drawText(QRect(0, y - fh / 2, plot.left() - fh / 2, fh), Qt::AlignRight | Qt::AlignVCenter,
                         ValueLabel(tick));
    }
    // Calendar ticks: the finest kind whose labels fit side by side.
    const ADate firstDay = static_cast<ADate>(std::ceil(geometry.firstTime));
    const ADate lastDay = static_cast<ADate>(std::floor(geometry.lastTime));
    const ADateTicks ticks = DateTicks(firstDay, lastDay, plot.width(), [&](ADateTickKind kind) {
        int widest = 0;
        for (int month = 1; month <= 12; ++month)
            widest = std::max(widest, metrics.horizontalAdvance(DateLabel(Dates::FromYmd(2000, month, 28), kind)));
        return widest;
    });
    int lastLabelRight = std::numeric_limits<int>::min() / 2;
    for (ADate date : ticks.dates) {
        const int x = qRound(XOf({date, 0, 0}, geometry));
        painter.setPen(grid);
        painter.drawLine(x, plot.top(), x, plot.bottom());
        painter.setPen(text);
        painter.drawLine(x, plot.bottom(), x, plot.bottom() + fh / 2);
        const QString label = DateLabel(date, ticks.kind);
        const int labelWidth = metrics.horizontalAdvance(label);
        const int labelLeft = std::clamp(x - labelWidth / 2, 0, std::max(0, width() - labelWidth));
        if (labelLeft < lastLabelRight + fh / 2)
            continue;
        painter.drawText(QRect(labelLeft, plot.bottom() + fh / 2 + 2, labelWidth, fh), Qt::AlignCenter, label);
        lastLabelRight = labelLeft + labelWidth;
    }
    painter.restore();
}

void AChartControl::DrawAxes(QPainter& painter, const AGeometry& geometry) const
{
    const QRect& plot = geometry.plot;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom());
    painter.drawLine(plot.left(), plot.bottom(), plot.right(), plot.bottom());
    if (zeroLine_) {
        const int y = qRound(YOf(0, geometry));
        painter.drawLine(plot.left(), y, plot.right(), y);
    }
    painter.restore();
}

QPainterPath AChartControl::LinePath(const ALine& line, const AGeometry& geometry) const
{
    QPainterPath path;
    if (line.points.empty())
        return path;
    auto at = [&](const APoint& point, AMoney value) {
        return QPointF(XOf(point, geometry) + 0.5, YOf(value, geometry) + 0.5);
    };
    if (smooth_) {
        std::vector<ACurvePoint> points;
        for (const APoint& point : line.points) {
            const QPointF p = at(point, point.value);
            points.push_back({p.x(), p.y()});
        }
        const std::vector<ACurveSegment> segments = MonotoneCurve(points);
        path.moveTo(points.front().x, segments.empty() ? points.back().y : segments.front().from.y);
        for (const ACurveSegment& segment : segments)
            path.cubicTo(segment.control1.x, segment.control1.y, segment.control2.x, segment.control2.y, segment.to.x,
                         segment.to.y);
        return path;
    }
    // A value holds until the next point, where the line steps to the new one.
    path.moveTo(at(line.points.front(), line.points.front().value));
    for (std::size_t i = 1; i < line.points.size(); ++i) {
        path.lineTo(at(line.points[i], line.points[i - 1].value));
        path.lineTo(at(line.points[i], line.points[i].value));
    }
    return path;
}

void AChartControl::DrawArea(QPainter& painter, const ALine& line, const AGeometry& geometry) const
{
    const QPainterPath path = LinePath(line, geometry);
    if (path.isEmpty())
        return;
    // A faint area down to zero, or to the plot's floor or ceiling when zero lies beyond it.
    const double floor = std::clamp<double>(YOf(0, geometry), geometry.plot.top(), geometry.plot.bottom()) + 0.5;
    QPainterPath area = path;
    area.lineTo(path.currentPosition().x(), floor);
    area.lineTo(path.elementAt(0).x, floor);
    area.closeSubpath();
    QColor fill = line.colour;
    fill.setAlpha(28);
    painter.fillPath(area, fill);
}

void AChartControl::DrawLine(QPainter& painter, const ALine& line, const AGeometry& geometry) const
{
    const QPainterPath path = LinePath(line, geometry);
    if (path.isEmpty())
        return;
    const bool continuation = line.style == ALineStyle::Continuation;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(line.colour, continuation ? 1.5 : 2, continuation ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap,
                        Qt::RoundJoin));
    painter.drawPath(path);
}

void AChartControl::DrawHover(QPainter& painter, const AGeometry& geometry) const
{
    if (!hover_ || hover_->line < 0 || static_cast<std::size_t>(hover_->line) >= lines_.size())
        return;
    const ALine& line = lines_[hover_->line];
    if (hover_->last >= line.points.size())
        return;
    const APoint& point = line.points[hover_->last];
    const QPointF at(XOf(point, geometry) + 0.5, YOf(point.value, geometry) + 0.5);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
    painter.drawLine(QPointF(at.x(), geometry.plot.top()), QPointF(at.x(), geometry.plot.bottom()));
    painter.setPen(QPen(line.colour, 2));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawEllipse(at, 4, 4);
}

}  // namespace Win32API::VelvixControls
