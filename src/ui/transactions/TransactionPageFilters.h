// The filter pane of the transactions page: the period selector (the kind picker with the
// previous, current and next period, the two dates, the budget-date tick while the file keeps
// budget dates), the account chooser (or, with the expanded account list, the ticked account
// tree and the scope), one ticked category chooser per classifier, the comment
// search and the reset. Each change hands the page a new filter at once.
#pragma once
#include "analysis/TransactionPageFilter.h"
#include "ui/RecordListPage.h"
#include "win32api/DynaForm.h"

#include <functional>
#include <memory>
#include <vector>


namespace UserInterface::Filters {
class AAccountChooser;
class AAccountTicks;
class ACategoryChooser;
class AClassifierRows;
class APeriodSelector;
}
namespace Win32API::VelvixControls::Reports::Implementation {
class AReportPicker;
}

namespace UserInterface::Transactions {

class ATransactionPageFilters final : public Win32API::VelvixForms::ADialogForm {
    Q_OBJECT
public:
    static constexpr std::int16_t kCommentId = -23, kAccountId = -24;
    static constexpr int kReset = 148;
    using AChanged = std::function<void(Filters::ATransactionPageFilter)>;

    ATransactionPageFilters(const AProgramContext& context, Database::ADatabase& db, AChanged changed);
    ~ATransactionPageFilters() override;

    // Shows the values of `filter` without reporting a change.
    void Show(const Filters::ATransactionPageFilter& filter);
    // The filter a new page starts with: the current month, nothing else narrowing.
    static Filters::ATransactionPageFilter Initial(const AProgramContext& context, Database::ADatabase& db);

    Win32API::VelvixControls::Reports::Implementation::AReportPicker* KindPicker() const;
    // Rereads the account and category trees after the records changed, keeping the choices.
    void RefillChoosers();
    // Follows the expanded-account-list option: the drop-down, or the tick tree with the scope.
    void ApplyOptions();
    // Without the tick tree, a selection the drop-down cannot show (a set of accounts no folder
    // holds, transfers only) becomes the one it shows, so that the list never hides more than
    // the pane says; true when `filter` changed.
    bool FitToOptions(Filters::ATransactionPageFilter& filter);

private:
    // Shows the selection in both account controls; false when the drop-down cannot show it.
    bool ShowAccounts(const Filters::AAccountSelection& accounts);
    void Change(const std::function<void(Filters::ATransactionPageFilter&)>& edit);
    void OnCommand(int id);

    const AProgramContext& context_;
    Database::ADatabase& db_;
    AChanged changed_;
    Filters::ATransactionPageFilter filter_;
    std::unique_ptr<Filters::APeriodSelector> period_;
    std::unique_ptr<Filters::AAccountChooser> accounts_;
    std::unique_ptr<Filters::AAccountTicks> ticks_;
    bool expanded_ = false;
    std::unique_ptr<Filters::AClassifierRows> classifiers_;
    bool showing_ = false;
};

}  // namespace UserInterface::Transactions
