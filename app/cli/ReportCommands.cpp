// report turnover and report dynamics.
#include "ReportCommands.h"

#include "ReportOptions.h"
#include "ReportOutput.h"

#include "analysis/Dynamics.h"
#include "analysis/Turnover.h"

namespace Cli {

using namespace Database;
namespace Reports = UserInterface::Reports;

namespace {

constexpr int kNameColumn = 80, kSumColumn = 94, kParentShareColumn = 92, kTotalShareColumn = 95;
constexpr int kDateColumn = 62;
constexpr int kNothingToShow = 172;

std::u16string Percent(const ACliContext& context, double share)
{
    return PeopleAmount(context, static_cast<AMoney>(share * 100.0 * 10'000.0 + (share >= 0 ? 0.5 : -0.5)), 2);
}

AJson TurnoverNodeJson(const Reports::ATurnoverReport& report, int index)
{
    const Reports::ATurnoverNode& node = report.nodes[static_cast<std::size_t>(index)];
    AJson children = AJson::array();
    for (int child : node.children)
        children.push_back(TurnoverNodeJson(report, child));
    return {{"name", Utf8(node.name)},
            {"income", JsonAmount(node.income)},
            {"expense", JsonAmount(node.expense)},
            {"children", std::move(children)}};
}

void TurnoverRows(const ACliContext& context, const Reports::ATurnoverReport& report, int index, int depth,
                  int decimals, ATextTable& table)
{
    const Reports::ATurnoverNode& node = report.nodes[static_cast<std::size_t>(index)];
    table.Row({std::u16string(static_cast<std::size_t>(depth) * 2, u' ') + node.name,
               PeopleAmount(context, node.Sum(), decimals), Percent(context, Reports::ShareOfParent(report, index)),
               Percent(context, Reports::ShareOfTotal(report, index))});
    for (int child : node.children)
        TurnoverRows(context, report, child, depth + 1, decimals, table);
}

}  // namespace

AExitCode RunReportTurnover(const ACliContext& context, const AParsedArguments& arguments)
{
    ADatabase db;
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Turnover;
    AExitCode opened = kDone;
    const auto failure = PrepareReport(context, arguments, {"--from", "--to", "--currency", "--group-by"}, db, p,
                                       [](AReportOptionReader& read, Reports::AReportParameters& q) {
                                           return read.Currency("--currency", q.currency) &&
                                                  read.Grouping(q.grouping) && read.Accounts(q.accounts) &&
                                                  read.Kinds(q.kinds);
                                       },
                                       opened);
    if (failure)
        return *failure;
    const Reports::ATurnoverReport report = Reports::ComputeTurnover(db, context.strings, p);
    const AJson messages = ReportMessages(context, report.messages);
    const ACurrencyFacts currency = FactsOf(db, p.currency);
    if (arguments.Flag("--json")) {
        AJson json = ReportJson("turnover", p.period);
        json["currency"] = Utf8(currency.code);
        json["root"] = report.root >= 0 ? TurnoverNodeJson(report, report.root) : AJson();
        json["messages"] = messages;
        context.out << json.dump(2) << '\n';
    } else if (report.root < 0) {
        context.out << Utf8(context.strings.Text(kNothingToShow)) << '\n';
    } else {
        ATextTable table;
        table.Row({std::u16string(context.strings.Text(kNameColumn)),
                   context.strings.Format(kSumColumn, {std::u16string_view(currency.code)}),
                   std::u16string(context.strings.Text(kParentShareColumn)),
                   std::u16string(context.strings.Text(kTotalShareColumn))});
        TurnoverRows(context, report, report.root, 0, currency.decimals, table);
        table.Print(context.out);
    }
    return Outcome(opened, !report.messages.empty());
}

AExitCode RunReportDynamics(const ACliContext& context, const AParsedArguments& arguments)
{
    ADatabase db;
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Dynamics;
    AExitCode opened = kDone;
    const auto failure = PrepareReport(context, arguments, {"--from", "--to", "--currency", "--bucket", "--series"}, db, p,
                                       [](AReportOptionReader& read, Reports::AReportParameters& q) {
                                           return read.Currency("--currency", q.currency) && read.Bucket(q.bucket) &&
                                                  read.SeriesList(q.series);
                                       },
                                       opened);
    if (failure)
        return *failure;
    const Reports::ADynamicsReport report = Reports::ComputeDynamics(db, p);
    const AJson messages = ReportMessages(context, report.messages);
    const ACurrencyFacts currency = FactsOf(db, p.currency);
    const std::size_t buckets = report.boundaries.empty() ? 0 : report.boundaries.size() - 1;
    if (arguments.Flag("--json")) {
        AJson bucketList = AJson::array(), seriesList = AJson::array();
        for (std::size_t b = 0; b < buckets; ++b)
            bucketList.push_back({{"from", JsonDate(report.boundaries[b])},
                                  {"to", JsonDate(report.boundaries[b + 1] - 1)}});
        for (const auto& series : report.series) {
            AJson values = AJson::array();
            for (AMoney sum : series.values.sums)
                values.push_back(JsonAmount(sum));
            seriesList.push_back({{"name", Utf8(series.name)}, {"values", std::move(values)}});
        }
        AJson json = ReportJson("dynamics", p.period);
        json["currency"] = Utf8(currency.code);
        json["bucket"] = static_cast<int>(p.bucket);
        json["buckets"] = std::move(bucketList);
        json["series"] = std::move(seriesList);
        json["messages"] = messages;
        context.out << json.dump(2) << '\n';
    } else {
        ATextTable table;
        std::vector<std::u16string> header{std::u16string(context.strings.Text(kDateColumn))};
        for (const auto& series : report.series)
            header.push_back(series.name + u", " + currency.code);
        table.Row(std::move(header));
        for (std::size_t b = 0; b < buckets; ++b) {
            std::vector<std::u16string> row{PeopleDate(context, report.boundaries[b])};
            for (const auto& series : report.series)
                row.push_back(PeopleAmount(context, series.values.sums[b], currency.decimals));
            table.Row(std::move(row));
        }
        table.Print(context.out);
    }
    return Outcome(opened, !report.messages.empty());
}

}  // namespace Cli
