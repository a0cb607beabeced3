// report turnover and report dynamics.
#include "ReportCommands.h"

#include "ReportRun.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/Dynamics.h"
#include "analysis/Turnover.h"
#include "core/CommonTexts.h"

namespace Cli {

using namespace Database;
namespace Reports = UserInterface::Reports;

namespace {

constexpr int kNameColumn = UtilityClasses::Strings::CommonText::kName, kSumColumn = Reports::ColumnText::kAmountIn,
              kParentShareColumn = Reports::ColumnText::kParentShare,
              kTotalShareColumn = Reports::ColumnText::kTotalShare;
constexpr int kNothingToShow = UserInterface::Filters::kNoTransactionsMessage;

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
    table.Row({Indented(node.name, depth), PeopleAmount(context, node.Sum(), decimals),
               Percent(context, Reports::ShareOfParent(report, index)),
               Percent(context, Reports::ShareOfTotal(report, index))});
    for (int child : node.children)
        TurnoverRows(context, report, child, depth + 1, decimals, table);
}

}  // namespace

AExitCode RunReportTurnover(const ACliContext& context, const AParsedArguments& arguments)
{
    AReportRun run(context, arguments);
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Turnover;
    if (!run.PrepareReport({"--from", "--to", "--currency", "--group-by"}, p, [&p](AReportOptionReader& read) {
            return read.Currency("--currency", p.currency) && read.Grouping(p.grouping) && read.Accounts(p.accounts) &&
                   read.Kinds(p.kinds);
        }))
        return run.ExitCode();
    const Reports::ATurnoverReport report = Reports::ComputeTurnover(run.Db(), context.strings, p);
    const ACurrencyFacts currency = run.Facts(p.currency);
    return run.Finish(
        {"turnover", p.period, currency.code, &report.messages},
        [&](AJson& json) { json["root"] = report.root >= 0 ? TurnoverNodeJson(report, report.root) : AJson(); },
        [&] {
            if (report.root < 0) {
                context.out << Utf8(context.strings.Text(kNothingToShow)) << '\n';
                return;
            }
            ATextTable table;
            table.Row({ColumnTitle(context, kNameColumn),
                       context.strings.Format(kSumColumn, {std::u16string_view(currency.code)}),
                       ColumnTitle(context, kParentShareColumn), ColumnTitle(context, kTotalShareColumn)});
            TurnoverRows(context, report, report.root, 0, currency.decimals, table);
            table.Print(context.out);
        });
}

AExitCode RunReportDynamics(const ACliContext& context, const AParsedArguments& arguments)
{
    AReportRun run(context, arguments);
    Reports::AReportParameters p;
    p.kind = Reports::AReportKind::Dynamics;
    const auto readOptions = [&p](AReportOptionReader& read) {
        return read.Currency("--currency", p.currency) && read.Bucket(p.bucket) && read.SeriesList(p.series);
    };
    if (!run.PrepareReport({"--from", "--to", "--currency", "--bucket", "--series"}, p, readOptions))
        return run.ExitCode();
    const Reports::ADynamicsReport report = Reports::ComputeDynamics(run.Db(), p);
    const ACurrencyFacts currency = run.Facts(p.currency);
    const std::size_t buckets = report.boundaries.empty() ? 0 : report.boundaries.size() - 1;
    return run.Finish(
        {"dynamics", p.period, currency.code, &report.messages},
        [&](AJson& json) {
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
            json["bucket"] = static_cast<int>(p.bucket);
            json["buckets"] = std::move(bucketList);
            json["series"] = std::move(seriesList);
        },
        [&] {
            ATextTable table;
            std::vector<std::u16string> header{ColumnTitle(context, kDateColumn)};
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
        });
}

}  // namespace Cli
