#include "database/PreviousGenerationConvert.h"

#include "database/engine/StepGuard.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace Database::PreviousGeneration {

namespace {

using Engine::ASlot;
using Engine::ATableImpl;

template <class T>
using AOffsetMap = std::unordered_map<AOffset, AReference<T>>;

// The old records become new ones in the order of their offsets, so that after
// renumbering the identifiers follow the order of the old file.
template <class T, class Offset>
std::vector<std::size_t> OrderByOffset(const std::vector<T>& items, Offset offsetOf)
{
    std::vector<std::size_t> order(items.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return offsetOf(items[a]) < offsetOf(items[b]); });
    return order;
}

template <class T>
std::vector<std::size_t> OrderByOffset(const std::vector<T>& items)
{
    return OrderByOffset(items, [](const T& item) { return item.offset; });
}

// Hands out times of day that no other transaction of the same date has, moving
// on one millisecond at a time from the one asked for. A taken time remembers
// where the search went on from it, so a file with many transactions at one
// moment does not make every later one walk the whole run again.
class AUniqueTimes {
public:
    std::int32_t Take(ADate date, std::int32_t time)
    {
        std::vector<std::uint64_t> walked;
        std::int32_t free = time;
        for (auto it = next_.find(Key(date, free)); it != next_.end(); it = next_.find(Key(date, free))) {
            walked.push_back(it->first);
            free = it->second;
            if (walked.size() > static_cast<std::size_t>(kMillisecondsPerDay))
                return time;  // a full day; a file can't hold that many transactions
        }
        for (std::uint64_t key : walked)
            next_[key] = free;
        next_[Key(date, free)] = free + 1 == kMillisecondsPerDay ? 0 : free + 1;
        return free;
    }

private:
    static constexpr std::int32_t kMillisecondsPerDay = 86400000;
    static std::uint64_t Key(ADate date, std::int32_t time)
    {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(date)) << 32 | static_cast<std::uint32_t>(time);
    }
    std::unordered_map<std::uint64_t, std::int32_t> next_;
};

class AConverter {
public:
    AConverter(ADatabase& db, const AOldData& data) : db_(db), data_(data) {}

    void Run()
    {
        Currencies();
        Rates();
        Accounts();
        Classifiers();
        Transactions();
        db_.CreateDefaultPages();
    }

private:
    AReference<AString> OptionalText(const std::optional<std::u16string>& text)
    {
        return text ? db_.NewText(*text) : AReference<AString>();
    }

    void Currencies();
    void Rates();
    void Accounts();
    void Classifiers();
    void Transactions();
    AReference<AAccountFolder> AccountPlan();

    ADatabase& db_;
    const AOldData& data_;
    AOffsetMap<ACurrency> currencies_;
    AOffsetMap<AAccount> accounts_;
    // Categories by classifier: the items (income and expense trees), agents, projects.
    AOffsetMap<ACategory> items_, agents_, projects_;
    bool hasAgents_ = false, hasProjects_ = false;
};

void AConverter::Currencies()
{
    for (std::size_t i : OrderByOffset(data_.currencies)) {
        const AOldCurrency& old = data_.currencies[i];
        ACurrency currency{db_.NewText(old.name), db_.NewText(old.code), 2};
        currencies_[old.offset] = ATableImpl<ACurrency>::RefTo(db_.Currencies().Create(currency));
    }
}

void AConverter::Rates()
{
    // A pair keeps the order of the first rate that names it; the header stands
    // where that rate stood in the file.
    struct AHeader {
        AOffset creator, currency1, currency2;
    };
    struct AValue {
        AOffset offset;
        std::size_t header;
        ADate date;
        AMoney amount1, amount2;
    };
    std::vector<AHeader> headers;
    std::vector<AValue> values;
    std::map<std::pair<AOffset, AOffset>, std::size_t> byPair;
    for (const AOldRate& rate : data_.rates) {
        const auto key = std::minmax(rate.currency1, rate.currency2);
        auto [it, added] = byPair.emplace(std::pair(key.first, key.second), headers.size());
        if (added)
            headers.push_back({rate.offset, rate.currency1, rate.currency2});
        const bool swapped = headers[it->second].currency1 != rate.currency1;
        values.push_back({rate.offset, it->second, rate.date, swapped ? rate.amount2 : rate.amount1,
                          swapped ? rate.amount1 : rate.amount2});
    }
    std::vector<AReference<ARateHeader>> headerRefs(headers.size());
    for (std::size_t i : OrderByOffset(headers, [](const AHeader& h) { return h.creator; })) {
        ARateHeader header{currencies_.at(headers[i].currency1), currencies_.at(headers[i].currency2)};
        headerRefs[i] = ATableImpl<ARateHeader>::RefTo(db_.RateHeaders().Create(header));
    }
    for (std::size_t i : OrderByOffset(values)) {
        const AValue& value = values[i];
        db_.RateValues().Create(ARateValue{headerRefs[value.header], value.date, value.amount1, value.amount2});
    }
}

AReference<AAccountFolder> AConverter::AccountPlan()
{
    for (const auto* slot : db_.Folders().Live())
        if (slot->Record().parent.IsNull())
            return ATableImpl<AAccountFolder>::RefTo(slot);
    FD_VERIFY(false);  // the defaults always hold "Все счета"
    return {};
}

void AConverter::Accounts()
{
    const AReference<AAccountFolder> plan = AccountPlan();
    for (std::size_t i : OrderByOffset(data_.accounts)) {
        const AOldAccount& old = data_.accounts[i];
        AAccount account;
        account.name = db_.NewText(old.name);
        account.currency = currencies_.at(old.currency);
        const auto reference = ATableImpl<AAccount>::RefTo(db_.Accounts().Create(account));
        accounts_[old.offset] = reference;
        db_.Placements().Create(AAccountPlacement{reference, plan});
    }
}

void AConverter::Classifiers()
{
    hasAgents_ = data_.agents.HasChildren();
    hasProjects_ = data_.projects.HasChildren();
    struct ATree {
        const AOldTree* old;
        AOffsetMap<ACategory>* map;
    };
    std::vector<ATree> trees = {{&data_.income, &items_}, {&data_.expense, &items_}};
    if (hasAgents_)
        trees.push_back({&data_.agents, &agents_});
    if (hasProjects_)
        trees.push_back({&data_.projects, &projects_});

    // All nodes in the order of their offsets; parents are set once every node exists.
    struct ANode {
        const ATree* tree;
        std::size_t index;
        AOffset offset;
    };
    std::vector<ANode> nodes;
    for (const ATree& tree : trees)
        for (std::size_t i = 0; i < tree.old->nodes.size(); ++i)
            nodes.push_back({&tree, i, tree.old->nodes[i].offset});
    std::sort(nodes.begin(), nodes.end(), [](const ANode& a, const ANode& b) { return a.offset < b.offset; });
    std::unordered_map<AOffset, ASlot<ACategory>*> slots;
    auto& categories = db_.Categories();
    for (const ANode& node : nodes) {
        const AOldCategory& old = node.tree->old->nodes[node.index];
        ASlot<ACategory>* slot = categories.Create(ACategory{db_.NewText(old.name), OptionalText(old.comment), {}});
        slots[old.offset] = slot;
        (*node.tree->map)[old.offset] = ATableImpl<ACategory>::RefTo(slot);
    }
    for (const ANode& node : nodes) {
        const AOldCategory& old = node.tree->old->nodes[node.index];
        if (old.parent >= 0) {
            const AOffset parent = node.tree->old->nodes[static_cast<std::size_t>(old.parent)].offset;
            categories.Change(slots.at(old.offset))->parent = ATableImpl<ACategory>::RefTo(slots.at(parent));
        }
    }

    auto rootOf = [&](const AOldTree& tree) { return ATableImpl<ACategory>::RefTo(slots.at(tree.nodes[0].offset)); };
    auto addClassifier = [&](std::u16string_view plural, std::u16string_view singular, AReference<ACategory> root1,
                             AReference<ACategory> root2, bool inTransfers) {
        AClassifier classifier;
        classifier.singular = db_.NewText(singular);
        classifier.plural = db_.NewText(plural);
        classifier.root1 = root1;
        classifier.root2 = root2;
        classifier.separateTrees = root2.IsNull() ? 0 : 1;
        classifier.useInTransfers = inTransfers ? 1 : 0;
        db_.Classifiers().Create(classifier);
    };
    addClassifier(u"Статьи", u"Статья", rootOf(data_.income), rootOf(data_.expense), false);
    if (hasAgents_)
        addClassifier(u"Агенты", u"Агент", rootOf(data_.agents), {}, false);
    if (hasProjects_)
        addClassifier(u"Проекты", u"Проект", rootOf(data_.projects), {}, true);
}

void AConverter::Transactions()
{
    // Times are made unique in file order, the order the old program read them in.
    std::vector<std::int32_t> times(data_.transactions.size());
    AUniqueTimes unique;
    for (std::size_t i = 0; i < times.size(); ++i)
        times[i] = unique.Take(data_.transactions[i].date, data_.transactions[i].time);

    std::vector<AReference<ATransaction>> made(data_.transactions.size());
    for (std::size_t i : OrderByOffset(data_.transactions)) {
        const AOldTransaction& old = data_.transactions[i];
        ATransaction t;
        t.account1 = accounts_.at(old.account1);
        t.amount1 = old.amount1;
        t.balance1 = old.balance1;
        if (old.transfer) {
            t.account2 = accounts_.at(old.account2);
            t.amount2 = old.amount2;
            t.balance2 = old.balance2;
        }
        t.date = t.budgetDate = old.date;
        t.time = times[i];
        t.executed = old.executed ? 1 : 0;
        t.locked = old.locked ? 1 : 0;
        t.recurrence = old.recurrence[0];
        t.recurrenceCount = old.recurrence[1];
        t.recurrenceEnd = static_cast<ADate>(old.recurrence[2]);
        t.comment = OptionalText(old.comment);
        made[i] = ATableImpl<ATransaction>::RefTo(db_.Transactions().Create(t));
    }

    auto relate = [&](const AOffsetMap<ACategory>& map, AOffset category, AReference<ATransaction> transaction) {
        // A reference to a node outside the converted trees is dropped, not guessed at.
        if (auto it = map.find(category); category != 0 && it != map.end())
            db_.Relations().Create(ARelation{it->second, transaction});
    };
    for (std::size_t i = 0; i < made.size(); ++i) {
        const AOldTransaction& old = data_.transactions[i];
        if (!old.transfer) {
            relate(items_, old.itemCategory, made[i]);
            if (hasAgents_)
                relate(agents_, old.agentCategory, made[i]);
        }
        if (hasProjects_)
            relate(projects_, old.projectCategory, made[i]);
    }
}

}  // namespace

void ConvertInto(ADatabase& db, const AOldData& data)
{
    Engine::AStepGuard step(db, {});
    AConverter(db, data).Run();
    db.CommitStep();
    db.ClearHistory();
    // No table is left out: the converted classifiers were made first in their
    // table, so their identifiers, which the pages name, stay as they are.
    db.Renumber(0);
}

}  // namespace Database::PreviousGeneration
