// budget: plan against fact of every budget row.
#include "ReportCommands.h"
#include "ReportRun.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/Budget.h"
#include "analysis/PageRprt.h"

namespace Cli {

using namespace Database;
namespace Budget = UserInterface::Budget;

namespace {

constexpr int kItemColumn = Budget::BudgetText::kArticleColumn, kPlanColumn = Budget::BudgetText::kPlanColumn,
              kFactColumn = Budget::BudgetText::kFactColumn,
              kExecutionColumn = Budget::BudgetText::kFulfilmentShareColumn;
using UserInterface::Reports::ReportMessage::kBadPeriod;

AJson AmountOrNull(AMoney amount, bool known, bool unconvertible)
{
    return known && !unconvertible ? AJson(JsonAmount(amount)) : AJson();
}

AJson RowJson(const Budget::ABudgetTable& table, int index)
{
    const Budget::ABudgetRow& row = table.rows[static_cast<std::size_t>(index)];
    AJson children = AJson::array();
    for (int child : row.children)
        if (!table.rows[static_cast<std::size_t>(child)].hidden)
            children.push_back(RowJson(table, child));
    const auto execution = Budget::Execution(row);
    return {{"name", Utf8(row.name)},
            {"article", row.article},
            {"plan", AmountOrNull(row.plan, row.planKnown, row.planUnconvertible)},
            {"fact", AmountOrNull(row.fact, row.factKnown, row.factUnconvertible)},
            {"planUnconvertible", row.planUnconvertible},
            {"factUnconvertible", row.factUnconvertible},
            {"execution", execution ? AJson(*execution) : AJson()},
            {"children", std::move(children)}};
}

void Rows(const ACliContext& context, const Budget::ABudgetTable& budget, int index, int depth, int decimals,
          ATextTable& table)
{
    const Budget::ABudgetRow& row = budget.rows[static_cast<std::size_t>(index)];
    if (row.hidden)
        return;
    const auto& locale = context.strings.Locale();
    table.Row({Indented(row.name, depth),
               Budget::AmountCell(locale, row.plan, row.planKnown, row.planUnconvertible, decimals),
               Budget::AmountCell(locale, row.fact, row.factKnown, row.factUnconvertible, decimals),
               Budget::ExecutionCell(locale, row)});
    for (int child : row.children)
        Rows(context, budget, child, depth + 1, decimals, table);
}

}  // namespace

AExitCode RunBudget(const ACliContext& context, const AParsedArguments& arguments)
{
    AReportRun run(context, arguments);
    Budget::ABudgetParameters p;
    if (!run.Prepare({"--from", "--to", "--currency"}, p.period,
                     [&p](AReportOptionReader& read) { return read.Currency("--currency", p.currency); },
                     [&p] { return p.period.Valid() ? std::nullopt : std::optional<int>(kBadPeriod); }))
        return run.ExitCode();
    p.hideUnplanned = arguments.Flag("--hide-unplanned");
    const Budget::ABudgetTable budget = Budget::ComputeBudget(run.Db(), p);
    const ACurrencyFacts currency = run.Facts(p.currency);
    return run.Finish(
        {"budget", p.period, currency.code, nullptr},
        [&](AJson& json) {
            AJson rows = AJson::array();
            for (int top : budget.tops)
                if (!budget.rows[static_cast<std::size_t>(top)].hidden)
                    rows.push_back(RowJson(budget, top));
            json["rows"] = std::move(rows);
        },
        [&] {
            ATextTable table;
            table.Row({ColumnTitle(context, kItemColumn), ColumnTitle(context, kPlanColumn, currency.code),
                       ColumnTitle(context, kFactColumn, currency.code), ColumnTitle(context, kExecutionColumn)});
            for (int top : budget.tops)
                Rows(context, budget, top, 0, currency.decimals, table);
            table.Print(context.out);
        });
}

}  // namespace Cli
