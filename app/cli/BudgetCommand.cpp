// budget: plan against fact of every budget row.
#include "CliMessages.h"
#include "DataFileAccess.h"
#include "ReportCommands.h"
#include "ReportOptions.h"
#include "ReportOutput.h"

#include "analysis/Budget.h"

namespace Cli {

using namespace Database;
namespace Budget = UserInterface::Budget;

namespace {

constexpr int kItemColumn = 667, kPlanColumn = 668, kFactColumn = 669, kExecutionColumn = 671;
constexpr int kBadPeriod = 463;

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
    table.Row({std::u16string(static_cast<std::size_t>(depth) * 2, u' ') + row.name,
               Budget::AmountCell(locale, row.plan, row.planKnown, row.planUnconvertible, decimals),
               Budget::AmountCell(locale, row.fact, row.factKnown, row.factUnconvertible, decimals),
               Budget::ExecutionCell(locale, row)});
    for (int child : row.children)
        Rows(context, budget, child, depth + 1, decimals, table);
}

}  // namespace

AExitCode RunBudget(const ACliContext& context, const AParsedArguments& arguments)
{
    if (!RequireOptions(context, arguments, {"--from", "--to", "--currency"}))
        return kUsageError;
    ADatabase db;
    const AOpenOutcome opened = OpenDataFile(context, db, arguments.positionals[0]);
    if (!opened.open)
        return opened.exitCode;
    Budget::ABudgetParameters p;
    AReportOptionReader read(context, db, arguments);
    if (!read.Period(p.period) || !read.Currency("--currency", p.currency))
        return read.Failure();
    if (!p.period.Valid()) {
        PrintMessage(context, context.err, kBadPeriod);
        return kFailed;
    }
    p.hideUnplanned = arguments.Flag("--hide-unplanned");
    const Budget::ABudgetTable budget = Budget::ComputeBudget(db, p);
    const ACurrencyFacts currency = FactsOf(db, p.currency);
    if (arguments.Flag("--json")) {
        AJson rows = AJson::array();
        for (int top : budget.tops)
            if (!budget.rows[static_cast<std::size_t>(top)].hidden)
                rows.push_back(RowJson(budget, top));
        AJson json = ReportJson("budget", p.period);
        json["currency"] = Utf8(currency.code);
        json["rows"] = std::move(rows);
        context.out << json.dump(2) << '\n';
    } else {
        ATextTable table;
        table.Row({std::u16string(context.strings.Text(kItemColumn)),
                   std::u16string(context.strings.Text(kPlanColumn)) + u", " + currency.code,
                   std::u16string(context.strings.Text(kFactColumn)) + u", " + currency.code,
                   std::u16string(context.strings.Text(kExecutionColumn))});
        for (int top : budget.tops)
            Rows(context, budget, top, 0, currency.decimals, table);
        table.Print(context.out);
    }
    return opened.exitCode;
}

}  // namespace Cli
