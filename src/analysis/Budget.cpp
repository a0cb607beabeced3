#include "analysis/Budget.h"

#include "analysis/BudgetPlan.h"
#include "analysis/CategoryMap.h"
#include "analysis/Filters.h"
#include "analysis/ReportConversion.h"
#include "analysis/Series.h"
#include "core/FormatAmount.h"
#include "database/Money.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>

namespace UserInterface::Budget {

using namespace Database;

namespace {

class ABudgetBuilder {
public:
    ABudgetBuilder(ADatabase& db, const ABudgetParameters& p)
        : db_(db), p_(p), categories_(db), converter_(db, p.currency)
    {
        // The fact counts by budget date exactly when the data file keeps budget dates.
        const bool budgetDates = Filters::FileSettings(db).budgetDates != 0;
        Filters::ADatePeriod period(p.period.Start(), p.period.End(), p.period.Kind(), budgetDates);
        transactions_ = Filters::TransactionsInPeriod(db, period, budgetDates);
        byBudgetDate_ = budgetDates;
    }

    ABudgetTable Build()
    {
        // Rows in tree order from the tops; a parent chain that loops (a damaged file) is cut.
        visited_.assign(db_.BudgetItems().SlotCount(), false);
        AddChildren(AReference<ABudgetItem>(), -1);
        for (int top : table_.tops)
            Compute(top);
        return std::move(table_);
    }

private:
    void AddChildren(AReference<ABudgetItem> parent, int parentRow)
    {
        std::deque<std::pair<AReference<ABudgetItem>, int>> pending{{parent, parentRow}};
        while (!pending.empty()) {
            auto [current, currentRow] = pending.front();
            pending.pop_front();
            ABudgetItem probe;
            probe.parent = current;
            for (const auto* child : db_.BudgetItems().EqualRange(2, probe)) {
                if (visited_[child->position])
                    continue;
                visited_[child->position] = true;
                const int row = AddRow(*child, currentRow);
                pending.emplace_back(Engine::ATableImpl<ABudgetItem>::RefTo(child), row);
            }
        }
    }

    int AddRow(const Engine::ASlot<ABudgetItem>& slot, int parentRow)
    {
        ABudgetRow row;
        row.item = Engine::ATableImpl<ABudgetItem>::RefTo(&slot);
        const ABudgetItem& item = slot.Record();
        row.article = !item.series.IsNull();
        const ASeries* series = db_.Series().Record(item.series);
        row.name = row.article ? (series ? db_.Text(series->name) : std::u16string()) : db_.Text(item.name);
        row.parent = parentRow;
        table_.rows.push_back(std::move(row));
        const int index = static_cast<int>(table_.rows.size()) - 1;
        if (parentRow >= 0)
            table_.rows[static_cast<std::size_t>(parentRow)].children.push_back(index);
        else
            table_.tops.push_back(index);
        return index;
    }

    ABudgetRow& Row(int index) { return table_.rows[static_cast<std::size_t>(index)]; }

    void Compute(int index)
    {
        for (int child : Row(index).children)
            Compute(child);
        ABudgetRow& row = Row(index);
        const bool hasPlans = row.article && ArticlePlan(row);
        if (!hasPlans)
            ChildrenPlan(row);
        if (row.article)
            ArticleFact(row);
        else
            ChildrenFact(row);
        row.hidden = p_.hideUnplanned && !row.planKnown;
    }

    // False when the article has no plan record of a kind other than 0 in the period's years.
    bool ArticlePlan(ABudgetRow& row)
    {
        const int firstYear = Dates::ToYmd(p_.period.Start()).year, lastYear = Dates::ToYmd(p_.period.End()).year;
        ABudgetLimit probe;
        probe.item = row.item;
        bool any = false;
        for (const auto* slot : db_.BudgetLimits().EqualRange(2, probe)) {
            const ABudgetLimit& limit = slot->Record();
            const int year = YearOf(limit);
            if (limit.kind == ABudgetLimit::kNoPlan || year < firstYear || year > lastYear)
                continue;
            any = true;
            if (row.planUnconvertible)
                continue;  // the summing stopped at the first failure
            const auto span = ClipToYear(limit, p_.period.Start(), p_.period.End());
            std::optional<AMoney> plan = PlanOverPeriod(limit, p_.period.Start(), p_.period.End());
            AMoney value = plan ? *plan : 0;
            if (!plan || !span || !converter_.Convert(limit.currency, span->start, value) ||
                !Money::Add(row.plan, value, row.plan))
                row.planUnconvertible = true;
        }
        row.planKnown = any;
        return any;
    }

    void ChildrenPlan(ABudgetRow& row)
    {
        bool childKnown = false;
        for (int child : row.children) {
            const ABudgetRow& c = Row(child);
            childKnown = childKnown || c.planKnown;
            row.planUnconvertible = row.planUnconvertible || c.planUnconvertible;
            if (c.planKnown && !c.planUnconvertible && !Money::Add(row.plan, c.plan, row.plan))
                row.planUnconvertible = true;
        }
        row.planKnown = !p_.hideUnplanned || childKnown;
    }

    void ArticleFact(ABudgetRow& row)
    {
        const ABudgetItem* item = db_.BudgetItems().Record(row.item);
        const auto series = item ? Series::LoadSeries(db_, item->series, categories_) : std::nullopt;
        if (!series)
            return;  // a series that no longer exists measures nothing
        row.factKnown = true;
        if (Series::FirstUnconvertibleAccount(*series, converter_)) {
            row.factUnconvertible = true;
            return;
        }
        const std::vector<ADate> oneBucket{p_.period.Start(), p_.period.End() + 1};
        const auto sums = Series::SumOverBuckets(Series::SelectItems(db_, *series, transactions_), oneBucket,
                                                 converter_, byBudgetDate_);
        row.fact = sums.sums.empty() ? 0 : sums.sums[0];
        row.factUnconvertible = sums.failures != 0;
    }

    void ChildrenFact(ABudgetRow& row)
    {
        for (int child : row.children) {
            const ABudgetRow& c = Row(child);
            if (!c.factKnown)
                continue;
            row.factKnown = true;
            row.factUnconvertible = row.factUnconvertible || c.factUnconvertible;
            if (!c.factUnconvertible && !Money::Add(row.fact, c.fact, row.fact))
                row.factUnconvertible = true;
        }
    }

    ADatabase& db_;
    const ABudgetParameters& p_;
    ACategoryMap categories_;
    AReportConverter converter_;
    Filters::ATransactionList transactions_;
    bool byBudgetDate_ = false;
    std::vector<bool> visited_;
    ABudgetTable table_;
};

}  // namespace

ABudgetTable ComputeBudget(ADatabase& db, const ABudgetParameters& parameters)
{
    if (!parameters.period.Valid())
        return {};
    return ABudgetBuilder(db, parameters).Build();
}

std::u16string AmountCell(const UtilityClasses::Strings::LocaleInfo& locale, AMoney amount, bool known,
                          bool unconvertible, int decimals)
{
    if (!known)
        return {};
    // Cut to the shown decimals, not rounded: the plan arithmetic truncates, and a weekly
    // 100,00 over 365 days is 5 214,28 however many hidden digits follow.
    AMoney shown = unconvertible ? 0 : amount;
    AMoney unit = 1;
    for (int d = std::clamp(decimals, 0, 4); d < 4; ++d)
        unit *= 10;
    shown -= shown % unit;
    std::u16string text = UtilityClasses::Strings::FormatAmount(shown, decimals, true, locale);
    if (unconvertible)
        for (char16_t& c : text)
            if (c == u'0')
                c = u'?';
    return text;
}

std::optional<double> Execution(const ABudgetRow& row)
{
    if (!row.planKnown || !row.factKnown || row.planUnconvertible || row.factUnconvertible)
        return std::nullopt;
    if (row.plan == 0)
        return 0.0;
    return static_cast<double>(row.fact) / static_cast<double>(row.plan) * 100.0;
}

std::u16string ExecutionCell(const UtilityClasses::Strings::LocaleInfo& locale, const ABudgetRow& row)
{
    const std::optional<double> execution = Execution(row);
    if (!execution)
        return {};
    // Two decimals in the locale's style: the percentage as an amount of hundredths.
    const double units = std::round(*execution * 10'000.0);
    const AMoney amount = units >= 9.2e18 ? INT64_MAX : units <= -9.2e18 ? INT64_MIN : static_cast<AMoney>(units);
    return UtilityClasses::Strings::FormatAmount(amount, 2, true, locale) + u" %";
}

std::vector<std::uint8_t> SaveBudgetSettings(ADatabase& db, const ABudgetParameters& p,
                                             const std::vector<std::uint8_t>& treeState, ADate today,
                                             bool improvedDateRange)
{
    std::vector<std::uint8_t> bytes;
    APageWriter out(bytes);
    out.U8(kBudgetSettingsVersion);
    out.Flag(p.hideUnplanned);
    p.period.Save(out, today, improvedDateRange, Filters::FileSettings(db).budgetDates != 0);
    out.Ref(db, p.currency);
    bytes.insert(bytes.end(), treeState.begin(), treeState.end());
    return bytes;
}

bool LoadBudgetSettings(ADatabase& db, const std::vector<std::uint8_t>& bytes, ADate today,
                        ABudgetParameters& parameters, std::vector<std::uint8_t>& treeState)
{
    AByteCursor in(bytes.data(), bytes.size());
    std::uint8_t version = 0;
    if (!in.ReadInt(version))
        return false;
    if (version != kBudgetSettingsVersion) {
        parameters.hideUnplanned = false;
        return false;
    }
    ABudgetParameters read = parameters;
    if (!ReadFlag(in, read.hideUnplanned) ||
        !read.period.Load(in, today, Filters::TransactionDateRange(db, false)) || !ReadRef(in, db, read.currency))
        return false;
    treeState.assign(in.Here(), in.Here() + in.Remaining());
    parameters = std::move(read);
    return true;
}

}  // namespace UserInterface::Budget
