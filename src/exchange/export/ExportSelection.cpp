#include "exchange/export/ExportSelection.h"

#include "database/StepView.h"

#include <algorithm>

namespace ExportImport {

using Database::Engine::ASlot;

namespace {

constexpr int kDayOrderIndex = 3;  // date, time, change stamp

// Chosen accounts by slot position, for a constant-time test per side.
class AAccountFilter {
public:
    AAccountFilter(ADatabase& db, const std::optional<std::vector<AReference<AAccount>>>& accounts)
        : all_(!accounts)
    {
        if (all_)
            return;
        chosen_.assign(db.Accounts().SlotCount(), false);
        for (const AReference<AAccount> account : *accounts)
            if (account.IsResolved() && account.SlotPosition() < chosen_.size())
                chosen_[account.SlotPosition()] = true;
    }

    bool Takes(AReference<AAccount> account) const
    {
        if (account.IsNull())
            return false;
        if (all_)
            return true;
        return account.IsResolved() && account.SlotPosition() < chosen_.size() && chosen_[account.SlotPosition()];
    }

private:
    bool all_;
    std::vector<bool> chosen_;
};

}  // namespace

AExportSelection SelectEverything(ADatabase& db, const AModuleGuid& module)
{
    AExportSelection selection;
    selection.module = module;
    for (const auto* slot : db.Classifiers().Live())
        selection.classifierList.push_back(Database::Engine::ATableImpl<AClassifier>::RefTo(slot));
    return selection;
}

std::vector<const ASlot<ATransaction>*> SelectTransactions(ADatabase& db, const AExportSelection& selection)
{
    const auto& byDay = db.Transactions().IndexAt(kDayOrderIndex);
    auto first = byDay.begin();
    auto last = byDay.end();
    if (selection.period) {
        const AExportPeriod period = *selection.period;
        first = std::partition_point(byDay.begin(), byDay.end(),
                                     [&](const ASlot<ATransaction>* slot) { return slot->Record().date < period.first; });
        last = std::partition_point(first, byDay.end(),
                                    [&](const ASlot<ATransaction>* slot) { return slot->Record().date <= period.last; });
    }
    const AAccountFilter filter(db, selection.transactionAccounts);
    std::vector<const ASlot<ATransaction>*> selected;
    selected.reserve(static_cast<std::size_t>(last - first));
    for (auto it = first; it != last; ++it) {
        const ATransaction& transaction = (*it)->Record();
        if (filter.Takes(transaction.account1) || filter.Takes(transaction.account2))
            selected.push_back(*it);
    }
    return selected;
}

}  // namespace ExportImport
