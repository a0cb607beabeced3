// report balances and report rates.
#include "ReportCommands.h"
#include "ReportRun.h"

#include "analysis/BalanceLines.h"
#include "analysis/RateChart.h"

namespace Cli {

using namespace Database;
namespace Reports = UserInterface::Reports;

namespace {

constexpr int kBalanceColumn = Reports::ColumnText::kBalance, kRateColumn = Reports::ColumnText::kRate;
constexpr int kExecutedLine = Reports::kExecutedLineName, kFullLine = Reports::kFullLineName,
              kExchangeStep = Reports::ColumnText::kExchangeDifference;
constexpr int kRateDecimals = 4;

const char* StepName(Reports::ABalanceStepKind kind)
{
    switch (kind) {
    case Reports::ABalanceStepKind::Start: return "start";
    case Reports::ABalanceStepKind::ExchangeDifference: return "exchange";
    case Reports::ABalanceStepKind::Transaction: return "transaction";
    case Reports::ABalanceStepKind::End: return "end";
    }
    return "";
}

AJson LineJson(const Reports::ABalanceLine& line)
{
    AJson points = AJson::array();
    for (const auto& point : line.points)
        points.push_back({{"date", JsonDate(point.date)},
                          {"time", point.time},
                          {"kind", StepName(point.kind)},
                          {"value", JsonAmount(point.value)}});
    return points;
}

void PrintLine(const ACliContext& context, const Reports::ABalanceLine& line, int title, const ACurrencyFacts& currency)
{
    context.out << Utf8(context.strings.Text(title)) << '\n';
    ATextTable table;
    table.Row({ColumnTitle(context, kDateColumn), ColumnTitle(context, kBalanceColumn, currency.code), u""});
    for (const auto& point : line.points)
        table.Row({PeopleDate(context, point.date), PeopleAmount(context, point.value, currency.decimals),
                   point.kind == Reports::ABalanceStepKind::ExchangeDifference
                       ? std::u16string(context.strings.Text(kExchangeStep))
                       : std::u16string()});
    table.Print(context.out);
}

AJson RatePointsJson(const std::vector<Reports::ARatePoint>& points)
{
    AJson list = AJson::array();
    for (const auto& point : points)
        list.push_back({{"date", JsonDate(point.date)}, {"value", JsonAmount(point.value)}});
    return list;
}

}  // namespace

AExitCode RunReportBalances(const ACliContext& context, const AParsedArguments& arguments)
{
    AReportRun run(context, arguments);
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Balances;
    if (!run.PrepareReport({"--from", "--to", "--currency"}, p, [&p](AReportOptionReader& read) {
            return read.Currency("--currency", p.currency) && read.Accounts(p.accounts);
        }))
        return run.ExitCode();
    const Reports::ABalanceReport report = Reports::ComputeBalances(run.Db(), p);
    const ACurrencyFacts currency = run.Facts(p.currency);
    return run.Finish(
        {"balances", p.period, currency.code, &report.messages},
        [&](AJson& json) {
            json["executed"] = LineJson(report.executed);
            json["full"] = LineJson(report.full);
        },
        [&] {
            PrintLine(context, report.executed, kExecutedLine, currency);
            context.out << '\n';
            PrintLine(context, report.full, kFullLine, currency);
        });
}

AExitCode RunReportRates(const ACliContext& context, const AParsedArguments& arguments)
{
    AReportRun run(context, arguments);
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Rates;
    if (!run.PrepareReport({"--from", "--to", "--rate", "--in"}, p, [&p](AReportOptionReader& read) {
            return read.Currency("--rate", p.rateCurrency) && read.Currency("--in", p.rateInCurrency);
        }))
        return run.ExitCode();
    const Reports::ARateChart chart = Reports::ComputeRates(run.Db(), p);
    const ACurrencyFacts rate = run.Facts(p.rateCurrency), in = run.Facts(p.rateInCurrency);
    return run.Finish(
        {"rates", p.period, std::nullopt, nullptr},
        [&](AJson& json) {
            json["rate"] = Utf8(rate.code);
            json["in"] = Utf8(in.code);
            json["stored"] = RatePointsJson(chart.stored);
            json["before"] = RatePointsJson(chart.before);
            json["after"] = RatePointsJson(chart.after);
        },
        [&] {
            // The stored rates, framed by the rates in force at the period's edges.
            ATextTable table;
            table.Row({ColumnTitle(context, kDateColumn),
                       ColumnTitle(context, kRateColumn) + u" " + rate.code + u", " + in.code});
            std::vector<Reports::ARatePoint> rows;
            if (!chart.before.empty())
                rows.push_back(chart.before.front());
            rows.insert(rows.end(), chart.stored.begin(), chart.stored.end());
            if (!chart.after.empty())
                rows.push_back(chart.after.back());
            else if (chart.stored.empty() && !chart.before.empty())
                rows.push_back(chart.before.back());
            for (const auto& point : rows)
                table.Row({PeopleDate(context, point.date), PeopleAmount(context, point.value, kRateDecimals)});
            table.Print(context.out);
        });
}

}  // namespace Cli
