// report balances and report rates.
#include "DataFileAccess.h"
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
    if (!RequireOptions(context, arguments, {"--from", "--to", "--currency"}))
        return kUsageError;
    ADatabase db;
    const AOpenOutcome opened = OpenDataFile(context, db, arguments.positionals[0]);
    if (!opened.open)
        return opened.exitCode;
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Balances;
    AReportOptionReader read(context, db, arguments);
    if (!read.Period(p.period) || !read.Currency("--currency", p.currency) || !read.Accounts(p.accounts))
        return read.Failure();
    if (!ValidateForCli(context, db, p))
        return kFailed;
    const Reports::ABalanceReport report = Reports::ComputeBalances(db, p);
    const AJson messages = ReportMessages(context, report.messages);
    const ACurrencyFacts currency = FactsOf(db, p.currency);
    if (arguments.Flag("--json")) {
        AJson json = {{"report", "balances"},
                      {"from", JsonDate(p.period.Start())},
                      {"to", JsonDate(p.period.End())},
                      {"currency", Utf8(currency.code)},
                      {"executed", LineJson(report.executed)},
                      {"full", LineJson(report.full)},
                      {"messages", messages}};
        context.out << json.dump(2) << '\n';
    } else {
        PrintLine(context, report.executed, kExecutedLine, currency);
        context.out << '\n';
        PrintLine(context, report.full, kFullLine, currency);
    }
    return Outcome(opened.exitCode, !report.messages.empty());
}

AExitCode RunReportRates(const ACliContext& context, const AParsedArguments& arguments)
{
    if (!RequireOptions(context, arguments, {"--from", "--to", "--rate", "--in"}))
        return kUsageError;
    ADatabase db;
    const AOpenOutcome opened = OpenDataFile(context, db, arguments.positionals[0]);
    if (!opened.open)
        return opened.exitCode;
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Rates;
    AReportOptionReader read(context, db, arguments);
    if (!read.Period(p.period) || !read.Currency("--rate", p.rateCurrency) || !read.Currency("--in", p.rateInCurrency))
        return read.Failure();
    if (!ValidateForCli(context, db, p))
        return kFailed;
    const Reports::ARateChart chart = Reports::ComputeRates(db, p);
    const ACurrencyFacts rate = FactsOf(db, p.rateCurrency), in = FactsOf(db, p.rateInCurrency);
    if (arguments.Flag("--json")) {
        AJson json = {{"report", "rates"},
                      {"from", JsonDate(p.period.Start())},
                      {"to", JsonDate(p.period.End())},
                      {"rate", Utf8(rate.code)},
                      {"in", Utf8(in.code)},
                      {"stored", RatePointsJson(chart.stored)},
                      {"before", RatePointsJson(chart.before)},
                      {"after", RatePointsJson(chart.after)}};
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
    return opened.exitCode;
}

}  // namespace Cli
