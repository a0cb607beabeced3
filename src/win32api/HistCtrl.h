// The histogram: data series over time buckets, as bars and lines with a value axis, the
// bucket dates under the plot and a legend below them.
#pragma once
#include "core/HistogramScale.h"
#include "win32api/GraphicsControl.h"

#include <QRect>

#include <string>
#include <vector>

namespace UtilityClasses::Strings {
class AStrings;
}
namespace Database {
struct ATransaction;
namespace Engine {
template <class T>
struct ASlot;
}
}  // namespace Database

namespace Win32API::VelvixControls {

class AHistogram : public AGraphicsControl {
    Q_OBJECT
public:
    using AMoney = std::int64_t;
    using ATransactionSlot = Database::Engine::ASlot<Database::ATransaction>;

    struct ASeries {
        std::u16string name;
        int hue = 0;
        bool debitsAboveZero = false;  // "Расходы и списания над нулевой линией"
        bool showBars = true;
        bool showLine = true;
    };

    // Where the parts of the control lie for the current size and data.
    struct AGeometry {
        QRect plot;        // the value axis runs along its left edge
        QRect dateLabels;  // under the plot
        QRect legend;      // under the date labels
        UserInterface::Charts::AValueAxis axis;
        int fontHeight = 0;
    };

    explicit AHistogram(QWidget* parent = nullptr);

    // Texts and the locale for tooltips and labels; without them labels use Russian data.
    void SetStrings(const UtilityClasses::Strings::AStrings* strings);
    // The report currency: its code in tooltips, its decimals on the axis.
    void SetCurrency(std::u16string code, int decimals);

    // Drops every series, bucket and value.
    void Clear();
    // Series come first, then the boundaries, then the values. Answers the series' index.
    int AddSeries(const ASeries& series);
    // An ordered list of dates; bucket i covers [boundary i, boundary i + 1). Values added
    // before are dropped.
    void SetBoundaries(std::vector<ADate> boundaries);
    // Adds the amount to the bucket whose range holds the date. A date outside every bucket
    // or an unknown series is the caller's mistake: it is reported and the value left out.
    // A sum that would overflow stays at the largest amount of its sign and counts as a failure.
    bool AddValue(AMoney amount, ADate date, int series, const ATransactionSlot* transaction);
    // Sets one bucket's sum and the transactions behind it, as a computed report gives them;
    // an unknown series or bucket is left out.
    void SetBucket(int series, int bucket, AMoney sum, std::vector<const ATransactionSlot*> transactions);
    // Amounts the computation itself could not add count as failures too.
    void AddFailures(std::size_t count) { failures_ += count; }

    int SeriesCount() const { return static_cast<int>(series_.size()); }
    int BucketCount() const { return boundaries_.size() < 2 ? 0 : static_cast<int>(boundaries_.size() - 1); }
    AMoney Value(int series, int bucket) const;
    const std::vector<const ATransactionSlot*>& Transactions(int series, int bucket) const;
    std::size_t Failures() const { return failures_; }

    AGeometry Geometry() const;
    // The bucket under a point of the plot, or -1.
    int BucketAt(QPoint point) const;
    // The bucket's dates, then a line per series with its amount and the currency code.
    QString BucketTooltip(int bucket) const;

protected:
    void DrawChart(QPainter& painter) override;
    bool event(QEvent* event) override;

private:
    struct ACellData {
        AMoney sum = 0;
        std::vector<const ATransactionSlot*> transactions;
    };
    const UtilityClasses::Strings::LocaleInfo& Locale() const;
    QString DateLabel(ADate date) const;
    QString AmountLabel(AMoney amount) const;
    // The lowest and highest drawn values, and zero when a series shows bars.
    std::pair<AMoney, AMoney> ValueRange() const;
    int BucketX(std::size_t boundary, const AGeometry& geometry) const;
    void DrawAxes(QPainter& painter, const AGeometry& geometry) const;
    void DrawDateLabels(QPainter& painter, const AGeometry& geometry) const;
    void DrawBars(QPainter& painter, const AGeometry& geometry) const;
    void DrawLines(QPainter& painter, const AGeometry& geometry) const;
    void DrawLegend(QPainter& painter, const AGeometry& geometry) const;
    std::vector<UserInterface::Charts::ACell> CellsOf(int bucket, const AGeometry& geometry) const;

    const UtilityClasses::Strings::AStrings* strings_ = nullptr;
    UtilityClasses::Strings::LocaleInfo fallbackLocale_;
    std::u16string currency_;
    int decimals_ = 2;
    std::vector<ASeries> series_;
    std::vector<ADate> boundaries_;
    std::vector<std::vector<ACellData>> cells_;  // [series][bucket]
    std::size_t failures_ = 0;
};

}  // namespace Win32API::VelvixControls
