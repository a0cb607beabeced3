// The turnover report (kind 0): the period's executed transactions of the selected
// accounts summed into the nodes of one classifier, with transfer nodes per counterpart
// account, as a tree whose parents include their children.
#pragma once

#include "analysis/PageRprt.h"
#include "analysis/ReportMessage.h"
#include "core/AStrings.h"

#include <string>
#include <vector>

namespace UserInterface::Reports {

enum class ATurnoverLink : std::uint8_t { None, Category, Account, Folder };

struct ATurnoverNode {
    std::u16string name;
    ATurnoverLink link = ATurnoverLink::None;
    std::uint32_t linkWord = 0;  // the reference word of the category, account or folder
    AMoney income = 0;   // incoming amounts (>= 0)
    AMoney expense = 0;  // outgoing amounts (<= 0)
    int parent = -1;
    std::vector<int> children;

    // "Сумма": both sums added.
    AMoney Sum() const { return income + expense; }
    // What the shares compare: money in plus money out.
    double Turnover() const { return static_cast<double>(income) - static_cast<double>(expense); }
};

struct ATurnoverReport {
    std::vector<ATurnoverNode> nodes;  // the kept nodes; children listed in skeleton order
    int root = -1;                     // -1: every sum is zero and there is nothing to show
    bool resultRoot = false;           // the root is "Финансовый результат" over both tops
    std::vector<AReportMessage> messages;  // accounts left out for want of a conversion path
    std::size_t failures = 0;  // amounts whose conversion or sum overflowed, left out
};

struct ATurnoverOptions {
    // "Спрятать закрытые счета (Ctrl+G)": a blocked account then counts as not selected.
    bool hideClosedAccounts = false;
};

// Expects parameters that passed ValidateReport.
ATurnoverReport ComputeTurnover(Database::ADatabase& db, const UtilityClasses::Strings::AStrings& strings,
                                const AReportParameters& parameters, const ATurnoverOptions& options = {});

// The two share columns, as fractions (the list shows them × 100). We take "от оборота
// родителя" as the node's turnover over its parent's, and "к общему обороту" as the node's
// turnover over the turnover of its own top ("Все поступления" or "Все списания", or the
// classifier's root), so that the shares of one side add up to 100 % on their own. The
// display root, and a node whose denominator is zero, get 1.
double ShareOfParent(const ATurnoverReport& report, int node);
double ShareOfTotal(const ATurnoverReport& report, int node);
// A share as the list shows it: times 100, two decimals, in the locale's style.
std::u16string ShareText(const UtilityClasses::Strings::LocaleInfo& locale, double share);

}  // namespace UserInterface::Reports
