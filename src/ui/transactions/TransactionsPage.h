// The transactions page: the list of the transactions that pass the page's filter, the
// filter pane beside it, the totals and counts below it, and the commands on its selection.
#pragma once
#include "analysis/TransactionPageFilter.h"
#include "analysis/TransactionTotals.h"
#include "core/FormatText.h"
#include "database/TransactionCommands.h"
#include "ui/RecordListPage.h"
#include "ui/transactions/TransactionDialog.h"
#include "ui/transactions/TransactionItem.h"
#include "win32api/MessageBox.h"

#include <memory>
#include <vector>

namespace UserInterface::Transactions {

class ATransactionPageFilters;

namespace PageCommand {
// The commands' ids are the ids of their captions.
constexpr int kDuplicate = 167, kLock = Database::TransactionMessage::kLock,
              kUnlock = Database::TransactionMessage::kUnlock, kExecute = Database::TransactionMessage::kExecute;
constexpr int kShowFilters = 146, kHideFilters = 147, kFind = 180, kFindNext = 181;
}

class ATransactionsPage final : public ARecordListPage {
public:
    static constexpr std::int16_t kListId = -1, kSplitterId = -2, kFilterPaneId = -3, kStatusId = -5;

    ATransactionsPage(const AProgramContext& context, Database::ADatabase& db);
    ~ATransactionsPage() override;

    const Filters::ATransactionPageFilter& Filter() const { return filter_; }
    // The filter pane changed a value: the list follows at once.
    void SetFilter(Filters::ATransactionPageFilter filter);
    ATransactionPageFilters* FilterPane() const { return pane_; }
    // The transactions the commands act on: the selected rows, or the focused one.
    Database::ATransactionSlots Selection() const;
    // The text under the list: counts, the period's totals, the sum of the selection.
    std::u16string StatusText() const;

    void FillActionsMenu(QMenu& menu) override;
    bool IsCommandEnabled(int command) const override;
    void RunCommand(int command) override;
    void ReadSettings(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> WriteSettings() const override;
    void ApplyLook(const Win32API::VelvixControls::AToolkitLook& look, const QFont& font) override;

protected:
    std::string Layout() const override;
    void Created() override;
    void Fill(Win32API::VelvixControls::Reports::AReportItemImpl& root) override;
    int InitialFocusRow(int rowCount) const override { return rowCount - 1; }

private:
    void AddClassifierColumn(int n);
    void AddClassifierColumns();
    void ShowColumnsOfFile();
    void UpdateStatus();
    int Ask(int textId, int titleId, std::initializer_list<UtilityClasses::Strings::FormatArg> args,
            Win32API::VelvixForms::AMessageButtons buttons, Win32API::VelvixForms::AMessageIcon icon);
    // Shows 198 and answers true when the selection holds a locked transaction.
    bool RefuseLocked(const Database::ATransactionSlots& selection);
    void OpenDialog(ATransactionDialogMode mode);
    void DeleteSelection();
    void LockSelection(bool lock);
    void ExecuteSelection();
    // "Искать текст:" asked, then the next row holding it; "Текст "#s" не найден." when none does.
    void Find();
    void FindNext();

    ATransactionRows rows_;
    Filters::ATransactionPageFilter filter_;
    ATransactionPageFilters* pane_ = nullptr;
    std::vector<bool> hiddenByFile_;  // per column
    std::size_t listed_ = 0;
    bool paneShown_ = true;
    std::u16string findText_;
    Filters::ATransactionTotals totals_;
};

}  // namespace UserInterface::Transactions
