// The filter pane of the transactions page: the period selector (the kind picker with the
// previous, current and next period, the two dates, the budget-date tick while the file keeps
// budget dates), the account chooser, one ticked category chooser per classifier, the comment
// search and the reset. Each change hands the page a new filter at once.
#pragma once
#include "analysis/TransactionPageFilter.h"
#include "ui/RecordListPage.h"
#include "win32api/DynaForm.h"

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;

namespace UserInterface::Filters {
class AAccountChooser;
class ACategoryChooser;
}
namespace Win32API::VelvixControls {
class ADatePicker;
}
namespace Win32API::VelvixControls::Reports::Implementation {
class AReportPicker;
}

namespace UserInterface::Transactions {

class ATransactionPageFilters final : public Win32API::VelvixForms::ADialogForm {
    Q_OBJECT
public:
    static constexpr std::int16_t kKindId = -20, kStartId = -21, kEndId = -22, kCommentId = -23, kAccountId = -24;
    static constexpr std::int16_t kByBudgetDateId = 60;
    static constexpr int kPrevious = 61, kCurrent = 20, kNext = 63, kReset = 148;
    using AChanged = std::function<void(Filters::ATransactionPageFilter)>;

    ATransactionPageFilters(const AProgramContext& context, Database::ADatabase& db, AChanged changed);
    ~ATransactionPageFilters() override;

    // Shows the values of `filter` without reporting a change.
    void Show(const Filters::ATransactionPageFilter& filter);
    // The filter a new page starts with: the current month, nothing else narrowing.
    static Filters::ATransactionPageFilter Initial(const AProgramContext& context, Database::ADatabase& db);

    Win32API::VelvixControls::Reports::Implementation::AReportPicker* KindPicker() const { return kind_; }
    // Rereads the account and category trees after the records changed, keeping the choices.
    void RefillChoosers();

private:
    // One classifier's row: the tick captioned with its name and the chooser of its node.
    struct AClassifierRow {
        QCheckBox* tick = nullptr;
        std::unique_ptr<Filters::ACategoryChooser> chooser;
    };
    void AddClassifierRows();
    void ShowAccounts(const Filters::AAccountSelection& accounts);
    Filters::AClassifierSelections ChosenClassifiers() const;
    void Change(const std::function<void(Filters::ATransactionPageFilter&)>& edit);
    void OnCommand(int id);

    const AProgramContext& context_;
    Database::ADatabase& db_;
    AChanged changed_;
    Filters::ATransactionPageFilter filter_;
    std::unique_ptr<APageMode> kindMode_;
    Win32API::VelvixControls::Reports::Implementation::AReportPicker* kind_ = nullptr;
    Win32API::VelvixControls::ADatePicker* start_ = nullptr;
    Win32API::VelvixControls::ADatePicker* end_ = nullptr;
    std::unique_ptr<Filters::AAccountChooser> accounts_;
    std::vector<AClassifierRow> classifiers_;
    bool showing_ = false;
};

}  // namespace UserInterface::Transactions
