#include "win32api/HistCtrl.h"

// The model's templates use "slots" as a name, which Qt defines as a macro.
#pragma push_macro("slots")
#undef slots
#pragma pop_macro("slots")
#include "core/AStrings.h"
#include "core/Assert.h"
#include "core/FormatAmount.h"
#include "core/FormatDate.h"
#include "core/LocaleInfo.h"
#include "win32api/ChartPainting.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <limits>

namespace Win32API::VelvixControls {

namespace ChartMath = UserInterface::Charts;
using namespace VelvixControls::Charts;

namespace {

// A sum that saturates instead of wrapping: the caller counts the failure.
bool AddSaturating(AHistogram::AMoney& sum, AHistogram::AMoney amount)
{
    if (!__builtin_add_overflow(sum, amount, &sum))
        return true;
    sum = amount < 0 ? std::numeric_limits<AHistogram::AMoney>::min() : std::numeric_limits<AHistogram::AMoney>::max();
    return false;
}

const std::vector<const AHistogram::ATransactionSlot*> kNoTransactions;

}  // namespace

AHistogram::AHistogram(QWidget* parent)
    : AGraphicsControl(parent), fallbackLocale_(UtilityClasses::Strings::RussianLocale())
{
}

void AHistogram::SetStrings(const UtilityClasses::Strings::AStrings* strings)
{
    strings_ = strings;
    update();
}

void AHistogram::SetCurrency(std::u16string code, int decimals)
{
    currency_ = std::move(code);
    decimals_ = std::clamp(decimals, 0, 4);
    update();
}

void AHistogram::Clear()
{
    series_.clear();
    boundaries_.clear();
    cells_.clear();
    failures_ = 0;
    update();
}

int AHistogram::AddSeries(const ASeries& series)
{
    series_.push_back(series);
    cells_.emplace_back(BucketCount());
    update();
    return static_cast<int>(series_.size() - 1);
}

void AHistogram::SetBoundaries(std::vector<ADate> boundaries)
{
    FD_VERIFY(std::is_sorted(boundaries.begin(), boundaries.end()));
    std::sort(boundaries.begin(), boundaries.end());
    boundaries_ = std::move(boundaries);
    for (auto& row : cells_)
        row.assign(BucketCount(), ACellData{});
    failures_ = 0;
    update();
}

bool AHistogram::AddValue(AMoney amount, ADate date, int series, const ATransactionSlot* transaction)
{
    // The bucket is the last boundary not after the date.
    const auto after = std::upper_bound(boundaries_.begin(), boundaries_.end(), date);
    const auto bucket = static_cast<int>(after - boundaries_.begin()) - 1;
    if (!FD_VERIFY(series >= 0 && series < SeriesCount() && bucket >= 0 && bucket < BucketCount()))
        return false;
    ACellData& cell = cells_[series][bucket];
    if (!AddSaturating(cell.sum, amount))
        ++failures_;
    if (transaction)
        cell.transactions.push_back(transaction);
    update();
    return true;
}

void AHistogram::SetBucket(int series, int bucket, AMoney sum, std::vector<const ATransactionSlot*> transactions)
{
    if (series < 0 || series >= SeriesCount() || bucket < 0 || bucket >= BucketCount())
        return;
    cells_[series][bucket] = {sum, std::move(transactions)};
    update();
}

AHistogram::AMoney AHistogram::Value(int series, int bucket) const
{
    if (series < 0 || series >= SeriesCount() || bucket < 0 || bucket >= BucketCount())
        return 0;
    return cells_[series][bucket].sum;
}

const std::vector<const AHistogram::ATransactionSlot*>& AHistogram::Transactions(int series, int bucket) const
{
    if (series < 0 || series >= SeriesCount() || bucket < 0 || bucket >= BucketCount())
        return kNoTransactions;
    return cells_[series][bucket].transactions;
}

const UtilityClasses::Strings::LocaleInfo& AHistogram::Locale() const
{
    return strings_ ? strings_->Locale() : fallbackLocale_;
}

QString AHistogram::DateLabel(ADate date) const
{
    return ToQString(UtilityClasses::Strings::FormatDate(date, Locale().shortDatePicture, Locale()));
}

QString AHistogram::AmountLabel(AMoney amount) const
{
    return ToQString(UtilityClasses::Strings::FormatAmount(amount, decimals_, true, Locale()));
}

std::pair<AHistogram::AMoney, AHistogram::AMoney> AHistogram::ValueRange() const
{
    bool any = false, bars = false;
    AMoney lowest = 0, highest = 0;
    for (std::size_t s = 0; s < series_.size(); ++s) {
        bars = bars || series_[s].showBars;
        for (const ACellData& cell : cells_[s]) {
            const AMoney value = ChartMath::DisplayedValue(cell.sum, series_[s].debitsAboveZero);
            lowest = any ? std::min(lowest, value) : value;
            highest = any ? std::max(highest, value) : value;
            any = true;
        }
    }
    // Bars stand on the zero line, so it must be on the plot: an axis starting above zero
    // would cut every bar short and hide the lowest one altogether.
    if (bars)
        return {std::min<AMoney>(lowest, 0), std::max<AMoney>(highest, 0)};
    return {lowest, highest};
}

AHistogram::AGeometry AHistogram::Geometry() const
{
    AGeometry geometry;
    const QFontMetrics metrics = fontMetrics();
    const int fh = metrics.height();
    geometry.fontHeight = fh;
    const int legendHeight = series_.empty() ? 0 : ChartMath::LegendHeight(series_.size(), fh);
    int labelLength = 0;
    for (ADate date : boundaries_)
        labelLength = std::max(labelLength, metrics.horizontalAdvance(DateLabel(date)));
    const int labelsHeight = fh / 2 + 4 + labelLength + fh / 2;
    const int top = fh;
    const int plotHeight = std::max(1, height() - top - labelsHeight - legendHeight);
    const auto [lowest, highest] = ValueRange();
    geometry.axis = ChartMath::ComputeValueAxis(lowest, highest, plotHeight, fh);
    int tickLength = 0;
    for (AMoney tick : ChartMath::AxisTicks(geometry.axis))
        tickLength = std::max(tickLength, metrics.horizontalAdvance(AmountLabel(tick)));
    const int left = fh / 2 + tickLength + fh / 2 + 3;
    geometry.plot = QRect(left, top, std::max(1, width() - left - fh), plotHeight);
    geometry.dateLabels = QRect(0, geometry.plot.bottom() + 1, width(), labelsHeight);
    geometry.legend = QRect(fh / 2, geometry.dateLabels.bottom() + 1, std::max(0, width() - fh), legendHeight);
    return geometry;
}

int AHistogram::BucketX(std::size_t boundary, const AGeometry& geometry) const
{
    return ChartMath::DateToX(boundaries_[boundary], boundaries_.front(), boundaries_.back(), geometry.plot.left(),
                              geometry.plot.width() - 1);
}

std::vector<ChartMath::ACell> AHistogram::CellsOf(int bucket, const AGeometry& geometry) const
{
    std::vector<ChartMath::ACellSeries> series;
    std::vector<AMoney> values;
    for (std::size_t s = 0; s < series_.size(); ++s) {
        series.push_back({series_[s].showBars, series_[s].debitsAboveZero});
        values.push_back(cells_[s][bucket].sum);
    }
    return ChartMath::CellGeometry(BucketX(bucket, geometry), BucketX(bucket + 1, geometry), series, values,
                                   geometry.axis, geometry.plot.bottom(), geometry.plot.height() - 1);
}

int AHistogram::BucketAt(QPoint point) const
{
    if (BucketCount() == 0 || !Message().isEmpty())
        return -1;
    const AGeometry geometry = Geometry();
    if (!geometry.plot.contains(point))
        return -1;
    for (int bucket = 0; bucket < BucketCount(); ++bucket)
        if (point.x() < BucketX(bucket + 1, geometry))
            return point.x() >= BucketX(bucket, geometry) ? bucket : -1;
    return BucketCount() - 1;  // the plot's last pixel column
}

QString AHistogram::BucketTooltip(int bucket) const
{
    if (bucket < 0 || bucket >= BucketCount())
        return {};
    const ADate first = boundaries_[bucket], last = boundaries_[bucket + 1] - 1;
    QString text = DateLabel(first);
    if (last > first)
        text += QStringLiteral(" \u2013 ") + DateLabel(last);
    std::vector<ChartMath::ATooltipValue> values;
    for (std::size_t s = 0; s < series_.size(); ++s)
        values.push_back({series_[s].name, cells_[s][bucket].sum});
    return text + TooltipText(ChartMath::BucketTooltip(Locale(), values, currency_, decimals_));
}

bool AHistogram::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = BucketTooltip(BucketAt(help->pos()));
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return AGraphicsControl::event(event);
}

void AHistogram::DrawChart(QPainter& painter)
{
    if (BucketCount() == 0)
        return;
    const AGeometry geometry = Geometry();
    DrawAxes(painter, geometry);
    DrawBars(painter, geometry);
    DrawLines(painter, geometry);
    DrawDateLabels(painter, geometry);
    DrawLegend(painter, geometry);
}

void AHistogram::DrawAxes(QPainter& painter, const AGeometry& geometry) const
{
    const QRect& plot = geometry.plot;
    const int fh = geometry.fontHeight;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(GridColour(palette()));
    for (std::size_t b = 0; b < boundaries_.size(); ++b) {
        const int x = BucketX(b, geometry);
        painter.drawLine(x, plot.top(), x, plot.bottom());
    }
    const std::vector<AMoney> ticks = ChartMath::AxisTicks(geometry.axis);
    for (AMoney tick : ticks) {
        const int y = ChartMath::ValueToY(tick, geometry.axis, plot.bottom(), plot.height() - 1);
        painter.drawLine(plot.left(), y, plot.right(), y);
    }
    painter.setPen(palette().color(QPalette::Text));
    painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom());
    // Zero may lie outside an axis that starts above it; the axis then sits on the edge.
    const int zeroY =
        std::clamp(ChartMath::ValueToY(0, geometry.axis, plot.bottom(), plot.height() - 1), plot.top(), plot.bottom());
    painter.drawLine(plot.left(), zeroY, plot.right(), zeroY);
    for (AMoney tick : ticks) {
        const int y = ChartMath::ValueToY(tick, geometry.axis, plot.bottom(), plot.height() - 1);
        painter.drawLine(plot.left() - fh / 2, y, plot.left() + fh / 2, y);
        const QRect label(0, y - fh / 2, plot.left() - fh / 2 - 3, fh);
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, AmountLabel(tick));
    }
    painter.restore();
}

void AHistogram::DrawDateLabels(QPainter& painter, const AGeometry& geometry) const
{
    const int fh = geometry.fontHeight;
    std::vector<int> xs;
    for (std::size_t b = 0; b < boundaries_.size(); ++b)
        xs.push_back(BucketX(b, geometry));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette().color(QPalette::Text));
    const int tickEnd = geometry.plot.bottom() + fh / 2;
    for (std::size_t b : ChartMath::WrittenLabels(xs, fh)) {
        painter.drawLine(xs[b], geometry.plot.bottom(), xs[b], tickEnd);
        painter.save();
        painter.translate(xs[b], tickEnd + 3);
        painter.rotate(-90);  // read from the bottom up, ending at the tick
        const int length = geometry.dateLabels.height();
        painter.drawText(QRect(-length, -fh / 2, length, fh), Qt::AlignRight | Qt::AlignVCenter,
                         DateLabel(boundaries_[b]));
        painter.restore();
    }
    painter.restore();
}

void AHistogram::DrawBars(QPainter& painter, const AGeometry& geometry) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(geometry.plot);
    for (int bucket = 0; bucket < BucketCount(); ++bucket) {
        const std::vector<ChartMath::ACell> cells = CellsOf(bucket, geometry);
        for (std::size_t s = 0; s < cells.size(); ++s) {
            const ChartMath::ACell& cell = cells[s];
            if (!cell.hasBar || cells_[s][bucket].sum == 0)
                continue;
            const QColor colour = ToQColor(ChartMath::SeriesBarColour(series_[s].hue));
            const QRect bar(QPoint(qRound(cell.bar.left), cell.bar.top),
                            QPoint(std::max(qRound(cell.bar.left), qRound(cell.bar.right) - 1), cell.bar.bottom));
            painter.fillRect(bar, colour);
            // A darker edge keeps overlapping bars of neighbouring series apart.
            painter.setPen(colour.darker(125));
            painter.drawRect(bar.adjusted(0, 0, -1, 0));
        }
    }
    painter.restore();
}

void AHistogram::DrawLines(QPainter& painter, const AGeometry& geometry) const
{
    const QRect& plot = geometry.plot;
    const double zeroY = ChartMath::ValueToY(0, geometry.axis, plot.bottom(), plot.height() - 1) + 0.5;
    std::vector<std::vector<ChartMath::ACell>> cells;
    for (int bucket = 0; bucket < BucketCount(); ++bucket)
        cells.push_back(CellsOf(bucket, geometry));
    painter.save();
    painter.setClipRect(plot.adjusted(0, -3, 0, 3));
    for (std::size_t s = 0; s < series_.size(); ++s) {
        if (!series_[s].showLine)
            continue;
        QPolygonF line;
        for (const auto& bucketCells : cells)
            line << QPointF(bucketCells[s].pointX + 0.5, bucketCells[s].pointY + 0.5);
        const QColor colour = ToQColor(ChartMath::SeriesLineColour(series_[s].hue));
        QPolygonF area = line;
        area.prepend(QPointF(plot.left() + 0.5, line.front().y()));
        area.append(QPointF(plot.right() + 0.5, line.back().y()));
        QPolygonF drawn = area;
        area.append(QPointF(plot.right() + 0.5, zeroY));
        area.prepend(QPointF(plot.left() + 0.5, zeroY));
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQColor(ChartMath::SeriesLineColour(series_[s].hue), 32));
        painter.drawPolygon(area);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(drawn);
        for (const QPointF& point : line)
            DrawMarker(painter, point, colour, 5);
    }
    painter.restore();
}

void AHistogram::DrawLegend(QPainter& painter, const AGeometry& geometry) const
{
    std::vector<ALegendItem> items;
    for (const ASeries& series : series_) {
        const bool bar = series.showBars;
        items.push_back(
            {ToQString(series.name),
             ToQColor(bar ? ChartMath::SeriesBarColour(series.hue) : ChartMath::SeriesLineColour(series.hue)), bar});
    }
    VelvixControls::Charts::DrawLegend(painter, palette(), geometry.legend, items, geometry.fontHeight);
}

}  // namespace Win32API::VelvixControls
