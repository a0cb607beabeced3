#include "ui/accounts/AccountsPage.h"

#pragma push_macro("slots")
#undef slots
#include "analysis/AccountPageTree.h"
#include "analysis/AnalysisTexts.h"
#include "core/CommonTexts.h"
#include "database/AccountCommands.h"
#include "database/Balances.h"
#include "database/DatabaseRules.h"
#include "database/FolderCommands.h"
#pragma pop_macro("slots")

#include "ui/InterfaceTexts.h"
#include "ui/MainForm.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/accounts/AccountDialog.h"
#include "ui/accounts/AccountForms.h"
#include "ui/accounts/AccountPlanCombo.h"
#include "ui/accounts/FolderDialog.h"
#include "ui/transactions/TransactionsPage.h"
#include "win32api/DynaForm.h"

#include <QAction>
#include <QMenu>

namespace UserInterface::Accounts {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;
using Win32API::VelvixForms::AMessageButtons;
using Win32API::VelvixForms::AMessageIcon;

namespace {

constexpr int kLooseAccounts = UtilityClasses::Strings::CommonText::kLooseAccounts;
constexpr std::uint32_t kSettingsTag = 0x50415246;  // "FRAP"
constexpr std::uint16_t kSettingsVersion = 1;
enum AColumn { kName, kCurrency, kInitial, kCurrent, kComment, kQuantity, kColumns };
constexpr int kQuantityTitle = Transactions::kQuantityLabel;

// One row: an account plan or folder, an account, or the heading over accounts in no folder.
class AAccountRow final : public ARecordItem {
public:
    using AKind = ATreeNode::AKind;
    AAccountRow(AKind kind, std::uint32_t id, std::vector<std::u16string> texts, bool bold)
        : ARecordItem(id), kind_(kind), texts_(std::move(texts)), bold_(bold)
    {
    }
    AKind Kind() const { return kind_; }
    std::u16string Text(int column) const override
    {
        return column >= 0 && static_cast<std::size_t>(column) < texts_.size() ? texts_[static_cast<std::size_t>(column)]
                                                                              : std::u16string();
    }
    unsigned CellProperty(int column) const override
    {
        const unsigned align =
            column == kInitial || column == kCurrent || column == kQuantity ? kCellRightAligned : kCellPlain;
        return align | (bold_ && column == kName ? kCellBold : kCellPlain);
    }

private:
    AKind kind_;
    std::vector<std::u16string> texts_;
    bool bold_;
};

const AAccountRow* RowOf(const AReportItemImpl* item) { return dynamic_cast<const AAccountRow*>(item); }

}  // namespace

AAccountsPage::AAccountsPage(const AProgramContext& context, ADatabase& db)
    : ARecordListPage(context, db, true,
                      {AAccount::kTableId, AAccountFolder::kTableId, AAccountPlacement::kTableId,
                       ATransaction::kTableId, ACurrency::kTableId, AString::kTableId, ADBSettings::kTableId})
{
    Mode().AddTitledColumn(UtilityClasses::Strings::CommonText::kName, 240, false);
    Mode().AddTitledColumn(SharedText::kCurrency, 70);
    Mode().AddTitledColumn(AccountText::kInitialBalanceTitle, 150);
    Mode().AddTitledColumn(AccountText::kCurrentBalanceTitle, 150);
    Mode().AddTitledColumn(SharedText::kNote, 220);
    Mode().AddComputedColumn(
        [this] {
            std::u16string title(context_.Strings().Text(kQuantityTitle));  // "Количество:" as a title
            std::erase(title, u'&');
            std::erase(title, u':');
            return title;
        },
        110);
    Mode().SetMultiSelect(true);
}

AAccountsPage::~AAccountsPage() = default;

std::string AAccountsPage::Layout() const
{
    return "{t1WeHe{bxlb4#-3{t2{bxr[s#646]}{bl4W160[rt#-4]}}}{bWeHe[Rt#-1]}}";
}

void AAccountsPage::Created()
{
    plans_ = std::make_unique<AAccountPlanCombo>(*Form()->ControlAs<AReportPicker>(kPlanPickerId), db_);
    if (readPlan_)
        plans_->Choose(Engine::ATableImpl<AAccountFolder>::RefTo(db_.Folders().Find(readPlan_)));
    connect(plans_.get(), &AAccountPlanCombo::Changed, this, [this] { Refill(); });
    connect(Report(), &AReportWindow::Notify, this, [this](int code, bool*) {
        if (code == kNotifyDoubleClick && IsCommandEnabled(Command::kChange))
            RunCommand(Command::kChange);
    });
}

ADBSettings AAccountsPage::FileSettings() const
{
    const auto& live = db_.Settings().Live();
    return live.empty() ? ADBSettings{} : live.front()->Record();
}

AReference<AAccountFolder> AAccountsPage::Plan() const
{
    if (plans_ && FileSettings().accountPlans)
        if (const auto plan = plans_->Plan(); db_.Folders().Record(plan))
            return plan;
    const auto plans = AccountPlans(db_);
    return plans.empty() ? AReference<AAccountFolder>() : plans.front();
}

void AAccountsPage::Fill(AReportItemImpl& root)
{
    const ADBSettings settings = FileSettings();
    if (plans_) {
        plans_->Fill();
        Form()->ShowElement(kPlanRowId, settings.accountPlans != 0);
    }
    // The quantity column comes and goes with the file's quantities, unless the user hid it.
    const bool quantities = settings.quantities != 0;
    if (!quantities && Mode().Column(kQuantity).shown && Mode().SetColumnShown(kQuantity, false))
        quantitiesHidden_ = true;
    else if (quantities && quantitiesHidden_ && Mode().SetColumnShown(kQuantity, true))
        quantitiesHidden_ = false;
    const bool bold = context_.Options().Flag(UserInterface::Settings::kBoldGroupAccounts);
    const bool hideClosed = context_.Options().Flag(UserInterface::Settings::kHideClosedAccounts);
    std::vector<AReportItemImpl*> parents{&root};
    for (const ATreeNode& node : PlanTree(db_, Plan(), settings.accountFolders != 0, hideClosed)) {
        const auto depth = static_cast<std::size_t>(node.depth);
        if (depth >= parents.size())
            continue;
        std::unique_ptr<AAccountRow> row;
        if (node.kind == ATreeNode::AKind::Account) {
            const auto* slot = db_.Accounts().Find(node.id);
            const AAccount& account = slot->Record();
            const auto ref = Engine::ATableImpl<AAccount>::RefTo(slot);
            const int precision = AccountPrecision(db_, ref);
            row = std::make_unique<AAccountRow>(
                node.kind, node.id,
                std::vector<std::u16string>{db_.Text(account.name), CurrencyCode(db_, account.currency),
                                            AmountText(context_, account.initialBalance, precision),
                                            AmountText(context_, CurrentBalance(db_, ref), precision),
                                            db_.Text(account.comment), quantities ? QuantityText(ref) : u""},
                false);
        } else if (node.kind == ATreeNode::AKind::Folder) {
            const AAccountFolder& folder = db_.Folders().Find(node.id)->Record();
            row = std::make_unique<AAccountRow>(
                node.kind, node.id,
                std::vector<std::u16string>{db_.Text(folder.name), {}, {}, {}, db_.Text(folder.comment)}, bold);
        } else {
            row = std::make_unique<AAccountRow>(
                node.kind, 0, std::vector<std::u16string>{std::u16string(context_.Strings().Text(kLooseAccounts))},
                bold);
        }
        parents.resize(depth + 1);
        parents.push_back(parents[depth]->AddChild(std::move(row)));
    }
}

std::u16string AAccountsPage::QuantityText(AReference<AAccount> account) const
{
    const auto held = HeldQuantity(db_, account);
    return held ? AmountText(context_, *held, 4) : std::u16string();
}

std::vector<std::uint8_t> AAccountsPage::WriteSettings() const
{
    const auto* plan = db_.Folders().Get(Plan());
    return TaggedSettings(kSettingsTag, kSettingsVersion,
                          [&](APageWriter& out) { out.U32(plan ? plan->id : 0); });
}

void AAccountsPage::ReadSettings(std::span<const std::uint8_t> bytes)
{
    std::uint32_t plan = 0;
    if (!ReadTaggedSettings(bytes, kSettingsTag, kSettingsVersion, [&](AByteCursor& in) { return in.ReadInt(plan); }))
        return;
    readPlan_ = plan;
    if (plans_) {
        plans_->Choose(Engine::ATableImpl<AAccountFolder>::RefTo(db_.Folders().Find(plan)));
        Refill();
    }
}

// ---- the selection

std::vector<AReference<AAccount>> AAccountsPage::SelectedAccounts() const
{
    std::vector<AReference<AAccount>> accounts;
    if (!Report())
        return accounts;
    auto take = [&](const AReportItemImpl* item) {
        const AAccountRow* row = RowOf(item);
        if (row && row->Kind() == ATreeNode::AKind::Account) {
            const auto ref = Engine::ATableImpl<AAccount>::RefTo(db_.Accounts().Find(row->RecordId()));
            if (ref && std::find(accounts.begin(), accounts.end(), ref) == accounts.end())
                accounts.push_back(ref);
        }
    };
    for (const AReportItemImpl* item : Report()->Model().SelectedItems())
        take(item);
    if (accounts.empty())
        take(Report()->Model().FocusedItem());
    return accounts;
}

AReference<AAccount> AAccountsPage::FocusedAccount() const
{
    const AAccountRow* row = Report() ? RowOf(Report()->Model().FocusedItem()) : nullptr;
    if (!row || row->Kind() != ATreeNode::AKind::Account)
        return {};
    return Engine::ATableImpl<AAccount>::RefTo(db_.Accounts().Find(row->RecordId()));
}

AReference<AAccountFolder> AAccountsPage::FocusedFolder() const
{
    const AAccountRow* row = Report() ? RowOf(Report()->Model().FocusedItem()) : nullptr;
    if (!row || row->Kind() != ATreeNode::AKind::Folder)
        return {};
    return Engine::ATableImpl<AAccountFolder>::RefTo(db_.Folders().Find(row->RecordId()));
}

AReference<AAccountFolder> AAccountsPage::TargetFolder() const
{
    if (const auto folder = FocusedFolder())
        return folder;
    if (const auto account = FocusedAccount())
        if (const auto folder = FolderInPlan(db_, account, Plan()))
            return folder;
    return Plan();
}

// ---- commands

void AAccountsPage::FillActionsMenu(QMenu& menu)
{
    using namespace PageCommand;
    const std::initializer_list<std::initializer_list<int>> groups = {
        {Command::kAdd, kAddFolder, kAddPlan},
        {Command::kChange, Command::kDelete, kMoveAccount, kMoveFolder},
        {kLockAccount, kUnlockAccount, kLockFolder, kUnlockFolder},
        {kOpenTransactions}};
    for (const auto& group : groups) {
        if (!menu.actions().isEmpty() && !menu.actions().back()->isSeparator())
            menu.addSeparator();
        for (int id : group)
            menu.addAction(QString())->setData(id);
    }
    // The items that name what they do follow the focus: the account whose transactions open.
    named_.clear();
    for (QAction* action : menu.actions())
        if (const int id = action->data().toInt(); id == Command::kAdd || id == kOpenTransactions)
            named_.emplace_back(action);
    disconnect(menuShown_);
    menuShown_ = connect(&menu, &QMenu::aboutToShow, this, [this] {
        for (const QPointer<QAction>& action : named_)
            if (action) {
                const QString accelerator = action->text().section(u'\t', 1);
                action->setText(CommandText(action->data().toInt()) +
                                (accelerator.isEmpty() ? QString() : u'\t' + accelerator));
            }
    });
}

QString AAccountsPage::CommandText(int command) const
{
    if (command == Command::kAdd)
        return TableText(context_.Strings(), PageCommand::kAddAccount);
    if (command != PageCommand::kOpenTransactions)
        return TableText(context_.Strings(), command);
    const AAccount* account = db_.Accounts().Record(FocusedAccount());
    return ToQString(context_.Strings().Format(command, {account ? db_.Text(account->name) : std::u16string()}));
}

bool AAccountsPage::IsCommandEnabled(int command) const
{
    using namespace PageCommand;
    const ADBSettings settings = FileSettings();
    const AAccount* account = db_.Accounts().Record(FocusedAccount());
    const AAccountFolder* folder = db_.Folders().Record(FocusedFolder());
    switch (command) {
    case Command::kAdd:
    case kAddAccount: return !db_.Folders().Live().empty();
    case kAddFolder: return settings.accountFolders != 0;
    case kAddPlan: return settings.accountPlans != 0;
    case Command::kChange: return account || folder;
    case Command::kDelete: return !SelectedAccounts().empty() || (folder && (folder->parent || CanDeletePlan(db_)));
    case kMoveAccount: return account && settings.accountFolders;
    case kMoveFolder: return folder && folder->parent && settings.accountFolders;
    case kLockAccount: return account && !account->locked;
    case kUnlockAccount: return account && account->locked;
    case kLockFolder: return folder && !folder->locked;
    case kUnlockFolder: return folder && folder->locked;
    case kOpenTransactions: return account != nullptr;
    default: return false;
    }
}

void AAccountsPage::RunCommand(int command)
{
    using namespace PageCommand;
    if (!IsCommandEnabled(command))
        return;
    switch (command) {
    case Command::kAdd:
    case kAddAccount: RunAccountDialog(Form(), context_, db_, Plan(), {}, TargetFolder()); return;
    case kAddFolder:
        RunFolderDialog(Form(), context_, db_, AFolderDialogMode::AddFolder, Plan(), TargetFolder());
        return;
    case kAddPlan: RunFolderDialog(Form(), context_, db_, AFolderDialogMode::AddPlan, Plan(), {}); return;
    case Command::kChange: ChangeFocused(); return;
    case Command::kDelete:
        if (FocusedFolder())
            DeleteFolder();
        else
            DeleteAccounts();
        return;
    case kMoveAccount: RunMoveDialog(Form(), context_, db_, Plan(), FocusedAccount(), {}); return;
    case kMoveFolder: RunMoveDialog(Form(), context_, db_, Plan(), {}, FocusedFolder()); return;
    case kLockAccount:
    case kUnlockAccount: ToggleAccountLock(db_, db_.Accounts().Get(FocusedAccount()), context_.Strings().Text(command)); return;
    case kLockFolder:
    case kUnlockFolder: ToggleFolderLock(db_, db_.Folders().Get(FocusedFolder()), context_.Strings().Text(command)); return;
    case kOpenTransactions: OpenTransactions(); return;
    default: return;
    }
}

void AAccountsPage::ChangeFocused()
{
    if (const auto account = FocusedAccount())
        RunAccountDialog(Form(), context_, db_, Plan(), account);
    else if (const auto folder = FocusedFolder())
        RunFolderDialog(Form(), context_, db_, AFolderDialogMode::Change, Plan(), folder);
}

void AAccountsPage::DeleteAccounts()
{
    const auto accounts = SelectedAccounts();
    const std::u16string question = context_.Strings().Format(
        AccountMessage::kDeleteQuestion, {CountTransactionsOf(db_, accounts), accounts.size()});
    if (ShowTitledMessage(context_, Form(), AccountMessage::kDelete, question, AMessageButtons::YesNo,
                          AMessageIcon::Question) == Win32API::VelvixForms::kIdYes)
        Database::DeleteAccounts(db_, accounts, context_.Strings().Text(AccountMessage::kDelete));
}

void AAccountsPage::DeleteFolder()
{
    auto* folder = db_.Folders().Get(FocusedFolder());
    const std::u16string name = db_.Text(folder->Record().name);
    const bool plan = folder->Record().parent.IsNull();
    const int title = plan ? FolderMessage::kDeletePlan : FolderMessage::kDelete;
    const std::u16string question =
        plan ? PlanDeleteQuestion(context_.Strings(), name)
             : FolderDeleteQuestion(context_.Strings(), ContentsOf(db_, FocusedFolder()), name,
                                    FileSettings().accountPlans != 0);
    // No is the default: the folder takes everything in it along.
    if (ShowTitledMessage(context_, Form(), title, question, AMessageButtons::YesNo, AMessageIcon::Question, 1) ==
        Win32API::VelvixForms::kIdYes)
        Database::DeleteFolder(db_, *folder, context_.Strings().Text(title));
}

void AAccountsPage::OpenTransactions()
{
    auto* window = Form() ? qobject_cast<AMainWindow*>(Form()->window()) : nullptr;
    if (!window)
        return;
    for (int i = 0; i < window->PageCount(); ++i)
        if (auto* page = dynamic_cast<Transactions::ATransactionsPage*>(window->PageAt(i))) {
            Filters::ATransactionPageFilter filter = page->Filter();
            filter.accounts = Filters::AAccountSelection({FocusedAccount()});
            filter.period.SelectKind(Filters::APeriodKind::AllTransactions, Filters::TransactionDateRange(db_, false),
                                     context_.clock().date);
            page->SetFilter(std::move(filter));
            window->ShowPage(i);
            return;
        }
}

}  // namespace UserInterface::Accounts

namespace UserInterface {

std::unique_ptr<AAbstractPage> CreateAccountsPage(const AProgramContext& context, Database::ADatabase& db)
{
    return std::make_unique<Accounts::AAccountsPage>(context, db);
}

}  // namespace UserInterface
