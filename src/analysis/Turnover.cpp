#include "analysis/Turnover.h"

#include "core/FormatAmount.h"
#include "core/LocaleInfo.h"

#include <cmath>

#include "analysis/AnalysisTexts.h"
#include "analysis/CategoryMap.h"
#include "analysis/ReportConversion.h"
#include "database/Lookups.h"
#include "database/Money.h"
#include "database/StepView.h"

namespace UserInterface::Reports {

using namespace Database;
using Filters::ATransactionSlot;

namespace {

using namespace TurnoverText;

class ATurnoverBuilder {
public:
    ATurnoverBuilder(ADatabase& db, const UtilityClasses::Strings::AStrings& strings, const AReportParameters& p)
        : db_(db), strings_(strings), p_(p), categories_(db)
    {
    }

    void BuildSkeleton();
    // Adds one amount, in the account's currency, to a node.
    void Add(int node, AReference<AAccount> account, ADate date, AMoney amount, AReportConverter& converter);
    void Count(const ATransactionSlot& slot, const std::vector<bool>& selected, AReportConverter& converter);
    ATurnoverReport Finish();

    std::size_t failures = 0;

private:
    int AddNode(int parent, std::u16string name, ATurnoverLink link, std::uint32_t word)
    {
        ATurnoverNode node;
        node.name = std::move(name);
        node.link = link;
        node.linkWord = word;
        node.parent = parent;
        nodes_.push_back(std::move(node));
        const int index = static_cast<int>(nodes_.size()) - 1;
        if (parent >= 0)
            nodes_[static_cast<std::size_t>(parent)].children.push_back(index);
        return index;
    }
    // The category's subtree below `node`; map[slot position] gets each category's node.
    void CopyChildren(AReference<ACategory> category, int node, std::vector<int>& map);
    void AddAccountNodes(int top, int pattern, std::vector<int>& map);
    void AddFolderNodes(AReference<AAccountFolder> folder, int node, int pattern, std::vector<int>& map,
                        std::vector<bool>& placed);
    std::u16string AccountNodeName(int pattern, const AAccount& account) const
    {
        return strings_.Format(pattern, {std::u16string_view(db_.Text(account.name))});
    }
    static int Lookup(const std::vector<int>& map, std::uint32_t word)
    {
        const std::size_t position = word / 2 - 1;
        return word != 0 && (word & 1) == 0 && position < map.size() ? map[position] : -1;
    }

    ADatabase& db_;
    const UtilityClasses::Strings::AStrings& strings_;
    const AReportParameters& p_;
    ACategoryMap categories_;
    std::vector<ATurnoverNode> nodes_;
    int incomeTop_ = -1, expenseTop_ = -1, unknownIncome_ = -1, unknownExpense_ = -1;
    std::vector<int> incomeNodes_, expenseNodes_;   // by category slot position
    std::vector<int> arrivingNodes_, leavingNodes_;  // by account slot position
};

void ATurnoverBuilder::CopyChildren(AReference<ACategory> category, int node, std::vector<int>& map)
{
    // An explicit stack: a deep (or, in a damaged file, looping) tree must not exhaust ours.
    std::vector<std::pair<AReference<ACategory>, int>> pending{{category, node}};
    while (!pending.empty()) {
        auto [parent, parentNode] = pending.back();
        pending.pop_back();
        ACategory probe;
        probe.parent = parent;
        for (const auto* child : db_.Categories().EqualRange(2, probe)) {
            if (map[child->position] >= 0)
                continue;
            const int childNode = AddNode(parentNode, db_.Text(child->Record().name), ATurnoverLink::Category,
                                          Engine::ATableImpl<ACategory>::RefTo(child).Word());
            map[child->position] = childNode;
            pending.emplace_back(Engine::ATableImpl<ACategory>::RefTo(child), childNode);
        }
    }
}

void ATurnoverBuilder::AddFolderNodes(AReference<AAccountFolder> folder, int node, int pattern,
                                      std::vector<int>& map, std::vector<bool>& placed)
{
    std::vector<std::pair<AReference<AAccountFolder>, int>> pending{{folder, node}};
    std::vector<bool> visited(db_.Folders().SlotCount(), false);
    while (!pending.empty()) {
        auto [current, currentNode] = pending.back();
        pending.pop_back();
        if (!current.IsResolved() || visited[current.SlotPosition()])
            continue;
        visited[current.SlotPosition()] = true;
        AAccountPlacement placementProbe;
        placementProbe.folder = current;
        for (const auto* placement : db_.Placements().EqualRange(3, placementProbe)) {
            const auto* account = db_.Accounts().Get(placement->Record().account);
            if (!account || !account->Exists() || placed[account->position])
                continue;
            placed[account->position] = true;
            map[account->position] = AddNode(currentNode, AccountNodeName(pattern, account->Record()),
                                             ATurnoverLink::Account, placement->Record().account.Word());
        }
        AAccountFolder folderProbe;
        folderProbe.parent = current;
        for (const auto* child : db_.Folders().EqualRange(2, folderProbe)) {
            const int childNode = AddNode(currentNode, db_.Text(child->Record().name), ATurnoverLink::Folder,
                                          Engine::ATableImpl<AAccountFolder>::RefTo(child).Word());
            pending.emplace_back(Engine::ATableImpl<AAccountFolder>::RefTo(child), childNode);
        }
    }
}

void ATurnoverBuilder::AddAccountNodes(int top, int pattern, std::vector<int>& map)
{
    map.assign(db_.Accounts().SlotCount(), -1);
    std::vector<bool> placed(db_.Accounts().SlotCount(), false);
    if (Filters::FileSettings(db_).accountFolders) {
        const auto* plan = FirstLive(db_.Folders(), [](const AAccountFolder& f) { return f.parent.IsNull(); });
        if (plan)
            AddFolderNodes(Engine::ATableImpl<AAccountFolder>::RefTo(plan), top, pattern, map, placed);
    }
    // Without folders, and for accounts outside the first plan: a flat list under the top.
    for (const auto* account : db_.Accounts().Live())
        if (!placed[account->position])
            map[account->position] = AddNode(top, AccountNodeName(pattern, account->Record()), ATurnoverLink::Account,
                                             Engine::ATableImpl<AAccount>::RefTo(account).Word());
}

void ATurnoverBuilder::BuildSkeleton()
{
    const AClassifier* classifier = db_.Classifiers().Record(p_.grouping);
    const std::size_t categoryCount = db_.Categories().SlotCount();
    incomeNodes_.assign(categoryCount, -1);
    expenseNodes_.assign(categoryCount, -1);
    auto rootName = [&](AReference<ACategory> root, int pattern) {
        const ACategory* record = db_.Categories().Record(root);
        if (record && !db_.Text(record->name).empty())
            return db_.Text(record->name);
        return strings_.Format(pattern, {std::u16string_view(db_.Text(classifier->plural))});
    };
    auto mapRoot = [](std::vector<int>& map, AReference<ACategory> root, int node) {
        if (root.IsResolved() && root.SlotPosition() < map.size())
            map[root.SlotPosition()] = node;
    };
    if (classifier && classifier->separateTrees) {
        // The classifier's own income and expense roots are the two tops.
        incomeTop_ = AddNode(-1, rootName(classifier->root1, kIncomeTopOfClassifier), ATurnoverLink::Category,
                             classifier->root1.Word());
        expenseTop_ = AddNode(-1, rootName(classifier->root2, kExpenseTopOfClassifier), ATurnoverLink::Category,
                              classifier->root2.Word());
        // One category has one node whichever its side: both maps point at it.
        mapRoot(incomeNodes_, classifier->root1, incomeTop_);
        mapRoot(incomeNodes_, classifier->root2, expenseTop_);
        CopyChildren(classifier->root1, incomeTop_, incomeNodes_);
        CopyChildren(classifier->root2, expenseTop_, incomeNodes_);
        expenseNodes_ = incomeNodes_;
    } else {
        incomeTop_ = AddNode(-1, std::u16string(strings_.Text(kAllIncome)), ATurnoverLink::None, 0);
        expenseTop_ = AddNode(-1, std::u16string(strings_.Text(kAllExpense)), ATurnoverLink::None, 0);
        if (classifier) {
            mapRoot(incomeNodes_, classifier->root1, incomeTop_);
            mapRoot(expenseNodes_, classifier->root1, expenseTop_);
            CopyChildren(classifier->root1, incomeTop_, incomeNodes_);
            CopyChildren(classifier->root1, expenseTop_, expenseNodes_);
        }
    }
    unknownIncome_ = AddNode(incomeTop_, std::u16string(strings_.Text(kUnknownIncome)), ATurnoverLink::None, 0);
    unknownExpense_ = AddNode(expenseTop_, std::u16string(strings_.Text(kUnknownExpense)), ATurnoverLink::None, 0);
    AddAccountNodes(incomeTop_, kTransferFrom, arrivingNodes_);
    AddAccountNodes(expenseTop_, kTransferTo, leavingNodes_);
}

void ATurnoverBuilder::Add(int node, AReference<AAccount> account, ADate date, AMoney amount,
                           AReportConverter& converter)
{
    ATurnoverNode& target = nodes_[static_cast<std::size_t>(node)];
    AMoney& sum = amount > 0 ? target.income : target.expense;
    if (!converter.ConvertFromAccount(account, date, amount) || !Money::Add(sum, amount, sum))
        ++failures;
}

void ATurnoverBuilder::Count(const ATransactionSlot& slot, const std::vector<bool>& selected,
                             AReportConverter& converter)
{
    const ATransaction& t = slot.Record();
    if (!t.executed)
        return;
    auto isSelected = [&](AReference<AAccount> a) {
        return a.IsResolved() && a.SlotPosition() < selected.size() && selected[a.SlotPosition()];
    };
    if (!t.account2.IsNull()) {
        const bool first = isSelected(t.account1), second = isSelected(t.account2);
        if (first == second)
            return;  // between two selected accounts, or two others: no turnover
        const AMoney amount = first ? t.amount1 : t.amount2;
        const AReference<AAccount> side = first ? t.account1 : t.account2;
        const AReference<AAccount> counterpart = first ? t.account2 : t.account1;
        if (amount < 0 && p_.kinds.transferDebits) {
            const int node = Lookup(leavingNodes_, counterpart.Word());
            Add(node >= 0 ? node : unknownExpense_, side, t.date, amount, converter);
        } else if (amount > 0 && p_.kinds.transferCredits) {
            const int node = Lookup(arrivingNodes_, counterpart.Word());
            Add(node >= 0 ? node : unknownIncome_, side, t.date, amount, converter);
        }
        return;
    }
    if (!isSelected(t.account1))
        return;
    // Here a zero amount is an expense.
    const bool income = t.amount1 > 0;
    if (income ? !p_.kinds.income : !p_.kinds.expense)
        return;
    const AReference<ACategory> category =
        categories_.NodeOf(Engine::ATableImpl<ATransaction>::RefTo(&slot), p_.grouping);
    int node = Lookup(income ? incomeNodes_ : expenseNodes_, category.Word());
    if (node < 0)
        node = income ? unknownIncome_ : unknownExpense_;
    Add(node, t.account1, t.date, t.amount1, converter);
}

ATurnoverReport ATurnoverBuilder::Finish()
{
    // Children always come after their parents in the skeleton: one backward pass sums up.
    for (std::size_t i = nodes_.size(); i-- > 0;) {
        const ATurnoverNode& node = nodes_[i];
        if (node.parent < 0)
            continue;
        ATurnoverNode& parent = nodes_[static_cast<std::size_t>(node.parent)];
        if (!Money::Add(parent.income, node.income, parent.income) ||
            !Money::Add(parent.expense, node.expense, parent.expense))
            ++failures;
    }
    // Incoming sums are never negative and outgoing ones never positive, so a zero node
    // has only zero nodes below it: keeping the non-zero ones removes whole subtrees.
    ATurnoverReport report;
    std::vector<int> renumbered(nodes_.size(), -1);
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const ATurnoverNode& node = nodes_[i];
        if (node.income == 0 && node.expense == 0)
            continue;
        renumbered[i] = static_cast<int>(report.nodes.size());
        ATurnoverNode kept = node;
        kept.children.clear();
        kept.parent = node.parent >= 0 ? renumbered[static_cast<std::size_t>(node.parent)] : -1;
        report.nodes.push_back(std::move(kept));
        if (report.nodes.back().parent >= 0)
            report.nodes[static_cast<std::size_t>(report.nodes.back().parent)].children.push_back(renumbered[i]);
    }
    const int income = renumbered[static_cast<std::size_t>(incomeTop_)];
    const int expense = renumbered[static_cast<std::size_t>(expenseTop_)];
    if (income >= 0 && expense >= 0) {
        ATurnoverNode root;
        root.name = std::u16string(strings_.Text(kFinancialResult));
        root.income = report.nodes[static_cast<std::size_t>(income)].income;
        root.expense = report.nodes[static_cast<std::size_t>(expense)].expense;
        root.children = {income, expense};
        report.root = static_cast<int>(report.nodes.size());
        report.nodes[static_cast<std::size_t>(income)].parent = report.root;
        report.nodes[static_cast<std::size_t>(expense)].parent = report.root;
        report.nodes.push_back(std::move(root));
        report.resultRoot = true;
    } else {
        report.root = income >= 0 ? income : expense;
    }
    report.failures = failures;
    return report;
}

// The top a node belongs to: the display root's child, or the root itself when it is a top.
int TopOf(const ATurnoverReport& report, int node)
{
    while (node >= 0) {
        const int parent = report.nodes[static_cast<std::size_t>(node)].parent;
        if (parent < 0 || (report.resultRoot && parent == report.root))
            return node;
        node = parent;
    }
    return node;
}

double Share(const ATurnoverReport& report, int node, int over)
{
    if (node < 0 || over < 0 || node == report.root)
        return 1.0;
    const double denominator = report.nodes[static_cast<std::size_t>(over)].Turnover();
    return denominator == 0 ? 1.0 : report.nodes[static_cast<std::size_t>(node)].Turnover() / denominator;
}

}  // namespace

ATurnoverReport ComputeTurnover(ADatabase& db, const UtilityClasses::Strings::AStrings& strings,
                                const AReportParameters& p, const ATurnoverOptions& options)
{
    AReportConverter converter(db, p.currency);
    std::vector<AReportMessage> messages;
    std::vector<bool> selected(db.Accounts().SlotCount(), false);
    for (AReference<AAccount> account : p.accounts.Accounts()) {
        const AAccount* record = db.Accounts().Record(account);
        if (!record || (options.hideClosedAccounts && record->locked))
            continue;
        if (!converter.CanConvertAccount(account)) {
            messages.push_back(UnconvertibleAccountMessage(db, account, p.currency));
            continue;
        }
        selected[account.SlotPosition()] = true;
    }

    ATurnoverBuilder builder(db, strings, p);
    builder.BuildSkeleton();
    Filters::ATransactionList list =
        Filters::TransactionsInPeriod(db, p.period, Filters::FileSettings(db).budgetDates != 0);
    Filters::PutInSlotOrder(db, list);  // sums do not depend on the order
    Filters::ApplyClassifierTest(db, list, p.classifierFilters);
    Filters::ApplyCommentTest(db, list, p.commentText);
    for (const ATransactionSlot* slot : list)
        builder.Count(*slot, selected, converter);
    ATurnoverReport report = builder.Finish();
    report.messages = std::move(messages);
    return report;
}

double ShareOfParent(const ATurnoverReport& report, int node)
{
    return Share(report, node, node >= 0 ? report.nodes[static_cast<std::size_t>(node)].parent : -1);
}

double ShareOfTotal(const ATurnoverReport& report, int node) { return Share(report, node, TopOf(report, node)); }

std::u16string ShareText(const UtilityClasses::Strings::LocaleInfo& locale, double share)
{
    const double units = std::round(share * 100.0 * 10'000.0);
    const AMoney amount = units >= 9.2e18 ? INT64_MAX : units <= -9.2e18 ? INT64_MIN : static_cast<AMoney>(units);
    return UtilityClasses::Strings::FormatAmount(amount, 2, true, locale);
}

}  // namespace UserInterface::Reports
