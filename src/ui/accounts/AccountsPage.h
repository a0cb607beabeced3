// The accounts page: the account plan chosen above the list (while the file uses several) as a
// tree of its folders with their accounts, balances, currency and comment; accounts placed
// nowhere in the plan come last. Its commands add, change, move, lock and delete accounts,
// folders and plans through the dialogs and the model, and open an account's transactions.
#pragma once
#include "database/AccountCommands.h"
#include "database/FolderCommands.h"
#include "ui/RecordListPage.h"

#include <QAction>
#include <QPointer>


#include <memory>
#include <vector>


namespace UserInterface::Accounts {

class AAccountPlanCombo;

namespace PageCommand {
// The commands' ids are the ids of their captions.
constexpr int kAddAccount = Database::AccountMessage::kAdd, kMoveAccount = Database::AccountMessage::kMove,
              kAddPlan = Database::FolderMessage::kAddPlan, kAddFolder = Database::FolderMessage::kAddFolder,
              kMoveFolder = Database::FolderMessage::kMove;
constexpr int kLockAccount = Database::AccountMessage::kLock, kUnlockAccount = Database::AccountMessage::kUnlock,
              kLockFolder = Database::FolderMessage::kLock, kUnlockFolder = Database::FolderMessage::kUnlock;
constexpr int kOpenTransactions = 184;  // "Операции по счёту "#s""
}  // namespace PageCommand

class AAccountsPage final : public ARecordListPage {
public:
    static constexpr std::int16_t kListId = -1, kPlanRowId = -3, kPlanPickerId = -4;

    AAccountsPage(const AProgramContext& context, Database::ADatabase& db);
    ~AAccountsPage() override;

    // The plan the page shows.
    Database::AReference<Database::AAccountFolder> Plan() const;
    // The accounts the commands act on: the selected rows, or the focused one.
    std::vector<Database::AReference<Database::AAccount>> SelectedAccounts() const;
    Database::AReference<Database::AAccountFolder> FocusedFolder() const;
    // The item text of a command, as the Actions menu shows it now.
    QString CommandText(int command) const;

    // The columns and the chosen plan.
    void ReadSettings(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> WriteSettings() const override;

    void FillActionsMenu(QMenu& menu) override;
    bool IsCommandEnabled(int command) const override;
    void RunCommand(int command) override;

protected:
    std::string Layout() const override;
    void Created() override;
    void Fill(Win32API::VelvixControls::Reports::AReportItemImpl& root) override;

private:
    Database::AReference<Database::AAccount> FocusedAccount() const;
    // Where something new goes: the focused folder, the focused account's folder, or the plan.
    Database::AReference<Database::AAccountFolder> TargetFolder() const;
    Database::ADBSettings FileSettings() const;
    void ChangeFocused();
    void DeleteAccounts();
    void DeleteFolder();
    void OpenTransactions();
    std::u16string QuantityText(Database::AReference<Database::AAccount> account) const;

    std::unique_ptr<AAccountPlanCombo> plans_;
    std::uint32_t readPlan_ = 0;  // the plan the settings named before the combo was made
    bool quantitiesHidden_ = false;  // the quantity column hidden because the file keeps none
    std::vector<QPointer<QAction>> named_;  // the menu items whose texts follow the focus
    QMetaObject::Connection menuShown_;
};

}  // namespace UserInterface::Accounts
