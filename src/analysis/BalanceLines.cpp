#include "analysis/BalanceLines.h"

#include "analysis/ReportConversion.h"
#include "core/FormatAmount.h"
#include "database/Money.h"
#include "database/Recurrence.h"

#include <algorithm>
#include <memory>
#include <queue>

namespace UserInterface::Reports {

using namespace Database;
using Filters::ATransactionSlot;

namespace {

constexpr std::int32_t kEndOfDay = 86399999;
using namespace BalanceText;

// One thing that moves balances: a transaction, or an occurrence of a recurring one.
struct AItem {
    ADate date;
    std::int32_t time;
    const ATransactionSlot* slot;
    bool occurrence;
};

// Balances of the selected accounts for one line, their values in the report currency
// on the current day, and the line's points.
class ALineState {
public:
    ALineState(const std::vector<AReference<AAccount>>& accounts, ADatabase& db) : accounts_(accounts)
    {
        for (AReference<AAccount> account : accounts)
            balances_.push_back(db.Accounts().Record(account)->initialBalance);
        converted_.assign(accounts.size(), 0);
    }

    void Apply(const ATransaction& t, int side1, int side2, std::size_t& failures)
    {
        const bool states = t.Kind() == ATransactionKind::Balance;
        auto apply = [&](int local, AMoney amount, AMoney balance) {
            if (local < 0)
                return;
            AMoney& running = balances_[static_cast<std::size_t>(local)];
            if (states)
                running = balance;
            else if (!Money::Add(running, amount, running))
                ++failures;
        };
        apply(side1, t.amount1, t.balance1);
        apply(side2, t.amount2, t.balance2);
    }

    // Converts every balance at date; answers the total.
    AMoney ConvertAll(AReportConverter& converter, ADate date, std::size_t& failures)
    {
        for (std::size_t i = 0; i < accounts_.size(); ++i)
            converted_[i] = ConvertOne(converter, i, date, failures);
        return Total(failures);
    }
    AMoney Reconvert(AReportConverter& converter, int local, ADate date, std::size_t& failures)
    {
        if (local >= 0)
            converted_[static_cast<std::size_t>(local)] =
                ConvertOne(converter, static_cast<std::size_t>(local), date, failures);
        return Total(failures);
    }

    void Point(ADate date, std::int32_t time, AMoney value, ABalanceStepKind kind,
               const ATransactionSlot* slot = nullptr, bool occurrence = false)
    {
        line.points.push_back({date, time, value, kind,
                               slot ? Engine::ATableImpl<ATransaction>::RefTo(slot) : AReference<ATransaction>(),
                               occurrence});
    }
    AMoney Last() const { return line.points.back().value; }

    ABalanceLine line;

private:
    AMoney ConvertOne(AReportConverter& converter, std::size_t i, ADate date, std::size_t& failures)
    {
        AMoney value = balances_[i];
        if (!converter.ConvertFromAccount(accounts_[i], date, value)) {
            ++failures;
            return 0;
        }
        return value;
    }
    AMoney Total(std::size_t& failures) const
    {
        AMoney total = 0;
        for (AMoney value : converted_)
            if (!Money::Add(total, value, total))
                ++failures;
        return total;
    }

    const std::vector<AReference<AAccount>>& accounts_;
    std::vector<AMoney> balances_;
    std::vector<AMoney> converted_;
};

// The coming occurrences of recurring planned transactions, earliest first.
class AOccurrenceQueue {
public:
    void Add(const ATransactionSlot* slot, ADate until)
    {
        const ATransaction& t = slot->Record();
        const auto rule = Recurrence::ARule::FromWords(t.recurrence, t.recurrenceCount, t.recurrenceEnd);
        if (!rule.active)
            return;
        walks_.push_back({std::make_unique<Recurrence::AOccurrences>(rule, t.date), slot});
        Advance(walks_.size() - 1, until);
    }
    bool Empty() const { return heap_.empty(); }
    const AItem& Top() const { return heap_.top().item; }
    void Pop(ADate until)
    {
        const std::size_t walk = heap_.top().walk;
        heap_.pop();
        Advance(walk, until);
    }

private:
    struct AWalk {
        std::unique_ptr<Recurrence::AOccurrences> occurrences;
        const ATransactionSlot* slot;
    };
    struct AEntry {
        AItem item;
        std::size_t walk;
        std::uint64_t order;
        bool operator<(const AEntry& other) const  // reversed: the heap's top is the earliest
        {
            if (item.date != other.item.date)
                return item.date > other.item.date;
            if (item.time != other.item.time)
                return item.time > other.item.time;
            return order > other.order;
        }
    };
    void Advance(std::size_t walk, ADate until)
    {
        AWalk& w = walks_[walk];
        // The transaction itself is the first occurrence; the queue holds the ones after it.
        if (!w.occurrences->Next() || w.occurrences->Date() > until)
            return;
        heap_.push({{w.occurrences->Date(), w.slot->Record().time, w.slot, true}, walk, next_++});
    }

    std::vector<AWalk> walks_;
    std::priority_queue<AEntry> heap_;
    std::uint64_t next_ = 0;
};

bool Before(const AItem& a, const AItem& b)
{
    return a.date != b.date ? a.date < b.date : a.time < b.time;
}

}  // namespace

ABalanceReport ComputeBalances(ADatabase& db, const AReportParameters& p)
{
    ABalanceReport report;
    AReportConverter converter(db, p.currency);
    std::vector<AReference<AAccount>> accounts;
    std::vector<int> localOf(db.Accounts().SlotCount(), -1);
    for (AReference<AAccount> account : p.accounts.Accounts()) {
        if (!db.Accounts().Record(account))
            continue;
        if (!converter.CanConvertAccount(account)) {
            report.messages.push_back(UnconvertibleAccountMessage(db, account, p.currency));
            continue;
        }
        localOf[account.SlotPosition()] = static_cast<int>(accounts.size());
        accounts.push_back(account);
    }
    auto local = [&](AReference<AAccount> account) {
        return account.IsResolved() && account.SlotPosition() < localOf.size() ? localOf[account.SlotPosition()] : -1;
    };

    const ADate start = p.period.Start(), end = p.period.End();
    ALineState executed(accounts, db), full(accounts, db);
    AOccurrenceQueue occurrences;
    std::size_t& failures = report.failures;

    // Index 3: date, time of day, then change stamp, the order balances are kept in.
    const auto& index = db.Transactions().IndexAt(3);
    auto upTo = std::partition_point(index.begin(), index.end(),
                                     [&](const ATransactionSlot* s) { return s->Record().date <= end; });
    std::vector<AItem> transactions;
    for (auto it = index.begin(); it != upTo; ++it) {
        const ATransaction& t = (*it)->Record();
        if (local(t.account1) < 0 && local(t.account2) < 0)
            continue;
        transactions.push_back({t.date, t.time, *it, false});
        if (!t.executed)
            occurrences.Add(*it, end);
    }

    // The rate dates inside the period: only on those can converted balances change.
    std::vector<ADate> rateDays;
    for (const auto* rate : db.RateValues().IndexAt(3))
        if (rate->Record().date > start && rate->Record().date <= end)
            rateDays.push_back(rate->Record().date);
    rateDays.erase(std::unique(rateDays.begin(), rateDays.end()), rateDays.end());

    std::size_t nextTransaction = 0;
    auto nextItem = [&]() -> std::optional<AItem> {
        const bool haveTransaction = nextTransaction < transactions.size();
        if (!haveTransaction && occurrences.Empty())
            return std::nullopt;
        if (haveTransaction && (occurrences.Empty() || !Before(occurrences.Top(), transactions[nextTransaction])))
            return transactions[nextTransaction++];
        AItem item = occurrences.Top();
        occurrences.Pop(end);
        return item;
    };
    auto apply = [&](const AItem& item, bool points) {
        const ATransaction& t = item.slot->Record();
        const int side1 = local(t.account1), side2 = local(t.account2);
        auto step = [&](ALineState& line) {
            line.Apply(t, side1, side2, failures);
            if (!points)
                return;
            line.Reconvert(converter, side1, item.date, failures);
            const AMoney total = line.Reconvert(converter, side2, item.date, failures);
            line.Point(item.date, item.time, total, ABalanceStepKind::Transaction, item.slot, item.occurrence);
        };
        step(full);
        if (t.executed && !item.occurrence)
            step(executed);
    };

    // Opening balances from everything dated before the start.
    std::optional<AItem> item = nextItem();
    for (; item && item->date < start; item = nextItem())
        apply(*item, false);
    for (ALineState* line : {&executed, &full})
        line->Point(start, 0, line->ConvertAll(converter, start, failures), ABalanceStepKind::Start);

    auto rateDay = rateDays.begin();
    while (item || rateDay != rateDays.end()) {
        const ADate day = std::min(item ? item->date : Dates::kMaxDate,
                                   rateDay != rateDays.end() ? *rateDay : Dates::kMaxDate);
        if (day > end)
            break;
        if (rateDay != rateDays.end() && *rateDay == day) {
            ++rateDay;
            for (ALineState* line : {&executed, &full}) {
                const AMoney total = line->ConvertAll(converter, day, failures);
                if (total != line->Last())
                    line->Point(day, 0, total, ABalanceStepKind::ExchangeDifference);
            }
        }
        for (; item && item->date == day; item = nextItem())
            apply(*item, true);
    }
    for (ALineState* line : {&executed, &full})
        line->Point(end, kEndOfDay, line->Last(), ABalanceStepKind::End);
    report.executed = std::move(executed.line);
    report.full = std::move(full.line);
    return report;
}

ABalanceFigures FiguresOf(const ABalanceLine& line, std::size_t first, std::size_t last)
{
    ABalanceFigures figures;
    if (line.points.empty())
        return figures;
    last = std::min(last, line.points.size() - 1);
    first = std::min(first, last);
    figures.opening = first == 0 ? line.points[0].value : line.points[first - 1].value;
    AMoney previous = figures.opening;
    for (std::size_t i = first; i <= last; ++i) {
        const ABalancePoint& point = line.points[i];
        const AMoney change = point.value - previous;
        if (point.kind == ABalanceStepKind::ExchangeDifference) {
            figures.exchange += change;
        } else if (point.kind == ABalanceStepKind::Transaction) {
            ++figures.transactions;
            (change > 0 ? figures.increases : figures.decreases) += change;
        }
        previous = point.value;
    }
    figures.closing = previous;
    return figures;
}

std::u16string BalanceTooltip(const UtilityClasses::Strings::AStrings& strings, const ABalanceFigures& f,
                              std::u16string_view code, int decimals)
{
    auto amount = [&](AMoney value) {
        return UtilityClasses::Strings::FormatAmount(value, decimals, true, strings.Locale()) + u" " +
               std::u16string(code);
    };
    if (f.transactions == 0 && f.exchange == 0)
        return amount(f.closing);
    std::u16string text = std::u16string(strings.Text(kOpening)) + amount(f.opening);
    if (f.exchange != 0)
        text += std::u16string(strings.Text(kExchange)) + amount(f.exchange);
    text += std::u16string(strings.Text(kCount));
    for (char c : std::to_string(f.transactions))
        text += static_cast<char16_t>(c);
    if (f.increases != 0)
        text += std::u16string(strings.Text(kIncreases)) + amount(f.increases);
    if (f.decreases != 0)
        text += std::u16string(strings.Text(kDecreases)) + amount(f.decreases);
    text += std::u16string(strings.Text(kClosing)) + amount(f.closing);
    return text;
}

}  // namespace UserInterface::Reports
