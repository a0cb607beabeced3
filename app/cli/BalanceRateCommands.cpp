// report balances and report rates.
#include "ReportCommands.h"
#include "ReportOptions.h"
#include "ReportOutput.h"

#include "analysis/BalanceLines.h"
#include "analysis/RateChart.h"

namespace Cli {

using namespace Database;
namespace Reports = UserInterface::Reports;

namespace {

constexpr int kDateColumn = 62, kBalanceColumn = 68, kRateColumn = 88;
constexpr int kExecutedLine = 52, kFullLine = 33, kExchangeStep = 175;
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
    table.Row({std::u16string(context.strings.Text(kDateColumn)),
               std::u16string(context.strings.Text(kBalanceColumn)) + u", " + currency.code, u""});
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
    ADatabase db;
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Balances;
    AExitCode opened = kDone;
    const auto failure = PrepareReport(context, arguments, {"--from", "--to", "--currency"}, db, p,
                                       [](AReportOptionReader& read, Reports::AReportParameters& q) {
                                           return read.Currency("--currency", q.currency) &&
                                                  read.Accounts(q.accounts);
                                       },
                                       opened);
    if (failure)
        return *failure;
    const Reports::ABalanceReport report = Reports::ComputeBalances(db, p);
    const AJson messages = ReportMessages(context, report.messages);
    const ACurrencyFacts currency = FactsOf(db, p.currency);
    if (arguments.Flag("--json")) {
        AJson json = ReportJson("balances", p.period);
        json["currency"] = Utf8(currency.code);
        json["executed"] = LineJson(report.executed);
        json["full"] = LineJson(report.full);
        json["messages"] = messages;
        context.out << json.dump(2) << '\n';
    } else {
        PrintLine(context, report.executed, kExecutedLine, currency);
        context.out << '\n';
        PrintLine(context, report.full, kFullLine, currency);
    }
    return Outcome(opened, !report.messages.empty());
}

AExitCode RunReportRates(const ACliContext& context, const AParsedArguments& arguments)
{
    ADatabase db;
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Rates;
    AExitCode opened = kDone;
    const auto failure = PrepareReport(context, arguments, {"--from", "--to", "--rate", "--in"}, db, p,
                                       [](AReportOptionReader& read, Reports::AReportParameters& q) {
                                           return read.Currency("--rate", q.rateCurrency) &&
                                                  read.Currency("--in", q.rateInCurrency);
                                       },
                                       opened);
    if (failure)
        return *failure;
    const Reports::ARateChart chart = Reports::ComputeRates(db, p);
    const ACurrencyFacts rate = FactsOf(db, p.rateCurrency), in = FactsOf(db, p.rateInCurrency);
    if (arguments.Flag("--json")) {
        AJson json = ReportJson("rates", p.period);
        json["rate"] = Utf8(rate.code);
        json["in"] = Utf8(in.code);
        json["stored"] = RatePointsJson(chart.stored);
        json["before"] = RatePointsJson(chart.before);
        json["after"] = RatePointsJson(chart.after);
        context.out << json.dump(2) << '\n';
    } else {
        // The stored rates, framed by the rates in force at the period's edges.
        ATextTable table;
        table.Row({std::u16string(context.strings.Text(kDateColumn)),
                   std::u16string(context.strings.Text(kRateColumn)) + u" " + rate.code + u", " + in.code});
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
    }
    return opened;
}

}  // namespace Cli
