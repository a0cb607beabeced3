#include "ui/reports/ReportResults.h"

#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/reports/ChartAdapters.h"
#include "ui/reports/ShareBar.h"
#include "win32api/APieCtrl.h"
#include "win32api/ChrtCtrl.h"
#include "win32api/HistCtrl.h"

#include <algorithm>

namespace UserInterface::Reports {

using namespace Database;
using namespace Win32API::VelvixControls;
using namespace Win32API::VelvixControls::Reports;

namespace {

constexpr int kExecutedLine = kExecutedLineName, kFullLine = kFullLineName;
constexpr AColour kShareBar = 0x00C08040;

// A row of the turnover list: its texts, and the two shares its bars show.
class ATurnoverRowItem final : public ARecordItem {
public:
    ATurnoverRowItem(std::uint32_t id, std::vector<std::u16string> texts, double ofParent, double ofTotal, bool bold)
        : ARecordItem(id), texts_(std::move(texts)), ofParent_(ofParent), ofTotal_(ofTotal), bold_(bold)
    {
    }
    std::u16string Text(int column) const override
    {
        return column >= 0 && column < static_cast<int>(texts_.size()) ? texts_[static_cast<std::size_t>(column)]
                                                                       : std::u16string();
    }
    unsigned CellProperty(int column) const override
    {
        const bool number = column == kSumColumn || column == kParentShareColumn || column == kTotalShareColumn;
        return (bold_ && column == kNameColumn ? kCellBold : kCellPlain) | (number ? kCellRightAligned : kCellPlain);
    }
    void DrawCell(AReportCanvas& canvas, int column, const ARect& rect, const ACellStyle& style) const override
    {
        if (column != kParentBarColumn && column != kTotalBarColumn) {
            ARecordItem::DrawCell(canvas, column, rect, style);
            return;
        }
        DrawShareBar(canvas, rect, style, column == kParentBarColumn ? ofParent_ : ofTotal_, kShareBar);
    }

private:
    std::vector<std::u16string> texts_;
    double ofParent_, ofTotal_;
    bool bold_;
};

std::u16string PeriodText(const AProgramContext& context, const AReportParameters& parameters)
{
    return DateText(context, parameters.period.Start()) + u" - " + DateText(context, parameters.period.End());
}

// "<kind>, <period>" and then what the chart holds, one line each.
void Describe(QWidget& chart, const AProgramContext& context, const AReportParameters& parameters,
              const std::vector<std::u16string>& lines)
{
    const std::u16string kind(context.Strings().Text(ReportKindLabel(parameters.kind)));
    chart.setAccessibleName(ToQString(kind));
    std::u16string text = kind + u", " + PeriodText(context, parameters);
    for (const std::u16string& line : lines)
        text += u"\n" + line;
    chart.setAccessibleDescription(ToQString(text));
}

// A balance line as the chart draws it: the steps of one day become one point with the
// day's last value (ten years of a busy file would otherwise ask for a hundred thousand
// steps the width of a pixel). `steps` keeps, for each drawn point, the range of the
// line's points it stands for, so that tooltips still count every step.
struct ADrawnLine {
    AChartControl::ALine line;
    std::vector<std::pair<std::size_t, std::size_t>> steps;
};

ADrawnLine LineOf(const ABalanceLine& line, Charts::ARgb colour, QString name)
{
    ADrawnLine drawn{{{}, QColor(colour.r, colour.g, colour.b), AChartControl::ALineStyle::Normal, std::move(name)}, {}};
    for (std::size_t i = 0; i < line.points.size(); ++i) {
        const ABalancePoint& point = line.points[i];
        const bool step = point.kind == ABalanceStepKind::Transaction || point.kind == ABalanceStepKind::ExchangeDifference;
        if (step && !drawn.steps.empty()) {
            const ABalancePoint& previous = line.points[drawn.steps.back().second];
            const bool previousStep =
                previous.kind == ABalanceStepKind::Transaction || previous.kind == ABalanceStepKind::ExchangeDifference;
            if (previousStep && previous.date == point.date) {
                drawn.line.points.back().value = point.value;
                drawn.steps.back().second = i;
                continue;
            }
        }
        drawn.line.points.push_back({point.date, point.time, point.value});
        drawn.steps.emplace_back(i, i);
    }
    return drawn;
}

AChartControl::ALine RateLine(const std::vector<ARatePoint>& points, AChartControl::ALineStyle style)
{
    AChartControl::ALine line{{}, QColor(0, 110, 60), style, {}};
    for (const ARatePoint& point : points)
        line.points.push_back({point.date, 0, point.value});
    return line;
}

}  // namespace

AReportCurrency ReportCurrency(ADatabase& db, AReference<ACurrency> currency)
{
    const ACurrency* record = db.Currencies().Record(currency);
    return {CurrencyCode(db, currency), record ? static_cast<int>(std::min<std::uint32_t>(record->precision, 4)) : 2};
}

void AddTurnoverRows(AReportItemImpl& root, const AProgramContext& context, const ATurnoverReport& report,
                     const AReportCurrency& currency)
{
    if (report.root < 0)
        return;
    const auto& locale = context.Strings().Locale();
    const auto add = [&](const auto& self, AReportItemImpl& parent, int index) -> void {
        const ATurnoverNode& node = report.nodes[static_cast<std::size_t>(index)];
        const double ofParent = ShareOfParent(report, index), ofTotal = ShareOfTotal(report, index);
        std::vector<std::u16string> texts{node.name, AmountText(context, node.Sum(), currency.decimals) + u" " + currency.code,
                                          std::u16string(), ShareText(locale, ofParent), std::u16string(),
                                          ShareText(locale, ofTotal)};
        auto* item = parent.AddChild(std::make_unique<ATurnoverRowItem>(static_cast<std::uint32_t>(index + 1),
                                                                        std::move(texts), ofParent, ofTotal,
                                                                        !node.children.empty()));
        for (int child : node.children)
            self(self, *item, child);
    };
    add(add, root, report.root);
}

void ShowTurnover(APieChart& chart, const AProgramContext& context, const ATurnoverReport& report,
                  const AReportParameters& parameters, const AReportCurrency& currency)
{
    chart.SetMessage({});
    chart.SetStrings(context.strings.get());
    chart.SetCurrency(currency.code, currency.decimals);
    chart.SetRoot(PieFromTurnover(report));
    std::vector<std::u16string> lines;
    if (report.root >= 0) {
        const ATurnoverNode& root = report.nodes[static_cast<std::size_t>(report.root)];
        lines.push_back(root.name + u": " + AmountText(context, root.Sum(), currency.decimals) + u" " + currency.code);
        for (int child : root.children) {
            const ATurnoverNode& node = report.nodes[static_cast<std::size_t>(child)];
            lines.push_back(node.name + u": " + AmountText(context, node.Sum(), currency.decimals) + u" " + currency.code);
        }
    }
    Describe(chart, context, parameters, lines);
}

void ShowDynamics(AHistogram& chart, const AProgramContext& context, const ADynamicsReport& report,
                  const AReportParameters& parameters, const AReportCurrency& currency)
{
    chart.SetMessage({});
    chart.SetStrings(context.strings.get());
    chart.SetCurrency(currency.code, currency.decimals);
    LoadDynamics(chart, report);
    std::vector<std::u16string> lines;
    for (const ADynamicsSeries& series : report.series) {
        AMoney total = 0;
        for (AMoney sum : series.values.sums)
            total += sum;
        lines.push_back(series.name + u": " + AmountText(context, total, currency.decimals) + u" " + currency.code);
    }
    Describe(chart, context, parameters, lines);
}

void ShowBalances(AChartControl& chart, const AProgramContext& context, const ABalanceReport& report,
                  const AReportParameters& parameters, const AReportCurrency& currency)
{
    chart.SetMessage({});
    chart.SetStrings(context.strings.get());
    chart.SetDecimals(currency.decimals);
    chart.SetZeroLine(false);
    chart.SetSmoothing(false);
    const auto& strings = context.Strings();
    std::vector<ADrawnLine> drawn{LineOf(report.executed, kExecutedLineColour, TableText(strings, kExecutedLine)),
                                  LineOf(report.full, kFullLineColour, TableText(strings, kFullLine))};
    chart.SetLines({drawn[0].line, drawn[1].line});
    const ABalanceLine lines[] = {report.executed, report.full};
    chart.SetTooltipSource([&context, lines = std::vector<ABalanceLine>(std::begin(lines), std::end(lines)),
                            steps = std::vector{drawn[0].steps, drawn[1].steps}, currency](const AChartControl::AHit& hit) {
        if (hit.line < 0 || hit.line >= static_cast<int>(lines.size()))
            return QString();
        const auto& ranges = steps[static_cast<std::size_t>(hit.line)];
        if (hit.first >= ranges.size() || hit.last >= ranges.size())
            return QString();
        const ABalanceLine& line = lines[static_cast<std::size_t>(hit.line)];
        return ToQString(BalanceTooltip(context.Strings(), FiguresOf(line, ranges[hit.first].first, ranges[hit.last].second),
                                        currency.code, currency.decimals))
            .remove(u'\r');
    });
    std::vector<std::u16string> described;
    for (int n : {0, 1}) {
        const ABalanceLine& line = lines[n];
        const AMoney closing = line.points.empty() ? 0 : line.points.back().value;
        described.push_back(std::u16string(strings.Text(n == 0 ? kExecutedLine : kFullLine)) + u": " +
                            AmountText(context, closing, currency.decimals) + u" " + currency.code);
    }
    Describe(chart, context, parameters, described);
}

void ShowRates(AChartControl& chart, const AProgramContext& context, const ARateChart& rates,
               const AReportParameters& parameters, const std::u16string& pair)
{
    chart.SetMessage({});
    chart.SetStrings(context.strings.get());
    chart.SetDecimals(4);
    chart.SetZeroLine(rates.zeroLine);
    chart.SetSmoothing(rates.smooth);
    chart.SetLines({RateLine(rates.before, AChartControl::ALineStyle::Continuation),
                    RateLine(rates.stored, AChartControl::ALineStyle::Normal),
                    RateLine(rates.after, AChartControl::ALineStyle::Continuation)});
    const std::vector<AChartControl::ALine> lines = chart.Lines();
    chart.SetTooltipSource([&context, lines](const AChartControl::AHit& hit) {
        if (hit.line < 0 || hit.line >= static_cast<int>(lines.size()) ||
            hit.last >= lines[static_cast<std::size_t>(hit.line)].points.size())
            return QString();
        const AChartControl::APoint& point = lines[static_cast<std::size_t>(hit.line)].points[hit.last];
        return ToQString(DateText(context, point.date) + u": " + AmountText(context, point.value, 4));
    });
    std::vector<std::u16string> described{pair};
    if (!rates.stored.empty())
        described.push_back(DateText(context, rates.stored.front().date) + u": " +
                            AmountText(context, rates.stored.front().value, 4) + u", " +
                            DateText(context, rates.stored.back().date) + u": " +
                            AmountText(context, rates.stored.back().value, 4));
    Describe(chart, context, parameters, described);
}

}  // namespace UserInterface::Reports
