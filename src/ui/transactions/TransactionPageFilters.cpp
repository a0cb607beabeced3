#include "ui/transactions/TransactionPageFilters.h"

#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/filters/Choosers.h"
#include "ui/filters/ClassifierRows.h"
#include "ui/filters/PeriodSelector.h"
#include "win32api/ReportPicker.h"

#include "core/Settings.h"
#include "win32api/ReportWindow.h"

#include <QLineEdit>
#include <QRadioButton>

#include <string>

namespace UserInterface::Transactions {

using namespace Database;
using namespace Win32API::VelvixControls;
using namespace Win32API::VelvixControls::Reports;
namespace F = UserInterface::Filters;

namespace {

constexpr std::int16_t kClassifierTable = -31;
// The account chooser's caption and box; the tick tree's caption, box and list; the scope row.
constexpr std::int16_t kChooserRows[] = {-32, -33}, kTickRows[] = {-34, -35, -36}, kTickListId = -25;
constexpr int kScopeAll = Filters::kAllTransactionsScope, kScopeTransfers = Filters::kTransfersOnlyScope;
constexpr int kClassifierBase = -40;  // the classifier rows' ids count down from here
using TransactionText::kAllAccounts;

// "&Период:" with its selector, "Показывать операции:" with the account or, for the expanded
// account list, "По счетам:" with the ticked tree and the scope, "Категории:" with the
// classifier rows, the comment, the reset.
const std::string kLayout =
    "{t1xeyt#145(:t)" + F::PeriodLayout(SharedText::kPeriodChoice) +
    "{b#-32t8xl[s#40]}{b#-33t2xe{bWe[rt#-24]}}"
    "{b#-34t8xl[s#39]}{b#-35t2xeWeH130{bWeHe[Rt#-25]}}{t1#-36xlt2{bxl[bRgt#41]}{bxlt2[bR#42]}}"
    "{bt8xl[s#149]}{t2#-31xet2{b}{b}}"
    "{bt8xl[s#43]}{bt2xe[et#-23]}"
    "{bt10xr[bt#148]}}";

}  // namespace

ATransactionPageFilters::ATransactionPageFilters(const AProgramContext& context, ADatabase& db, AChanged changed)
    : ADialogForm(kLayout.c_str(), context.strings.get()),
      context_(context),
      db_(db),
      changed_(std::move(changed))
{
    Create();
    period_ = std::make_unique<F::APeriodSelector>(*this, context, db);
    connect(period_.get(), &F::APeriodSelector::Changed, this,
            [this] { Change([&](F::ATransactionPageFilter& f) { f.period = period_->Period(); }); });
    accounts_ = std::make_unique<F::AAccountChooser>(*ControlAs<AReportPicker>(kAccountId), context, db, kAllAccounts);
    connect(accounts_.get(), &F::AChooser::Changed, this, [this] {
        Change([&](F::ATransactionPageFilter& f) {
            f.accounts = accounts_->NoneChosen() ? F::AAccountSelection() : F::AAccountSelection(accounts_->Accounts());
        });
    });
    ticks_ = std::make_unique<F::AAccountTicks>(*ControlAs<AReportWindow>(kTickListId), context, db);
    connect(ticks_.get(), &F::AAccountTicks::Changed, this, [this] {
        Change([&](F::ATransactionPageFilter& f) { f.accounts = F::AAccountSelection(ticks_->Ticked(), f.accounts.Scope()); });
    });
    for (int id : {kScopeAll, kScopeTransfers})
        connect(ControlAs<QRadioButton>(static_cast<std::int16_t>(id)), &QRadioButton::toggled, this, [this, id](bool on) {
            if (on)
                Change([&](F::ATransactionPageFilter& f) {
                    f.accounts.SetScope(id == kScopeAll ? F::AAccountScope::AllTransactions : F::AAccountScope::TransfersOnly);
                });
        });
    ApplyOptions();
    classifiers_ = std::make_unique<F::AClassifierRows>(*this, kClassifierTable, kClassifierBase, context, db);
    connect(classifiers_.get(), &F::AClassifierRows::Changed, this,
            [this] { Change([&](F::ATransactionPageFilter& f) { f.classifiers = classifiers_->Chosen(); }); });
    connect(ControlAs<QLineEdit>(kCommentId), &QLineEdit::textChanged, this, [this](const QString& text) {
        Change([&](F::ATransactionPageFilter& f) { f.comment = ToU16(text); });
    });
    connect(this, &ADialogForm::Command, this, &ATransactionPageFilters::OnCommand);
}

ATransactionPageFilters::~ATransactionPageFilters() = default;

AReportPicker* ATransactionPageFilters::KindPicker() const
{
    return &period_->KindPicker();
}

void ATransactionPageFilters::RefillChoosers()
{
    showing_ = true;
    accounts_->Fill();
    ticks_->Fill();
    classifiers_->Refill(filter_.classifiers);
    showing_ = false;
}

void ATransactionPageFilters::ApplyOptions()
{
    expanded_ = context_.Options().Flag(Settings::kExpandedAccountList);
    for (std::int16_t id : kChooserRows)
        ShowElement(id, !expanded_);
    for (std::int16_t id : kTickRows)
        ShowElement(id, expanded_);
}

// The drop-down shows one account as itself and several as the folder that holds exactly
// them; the tick tree shows any set with its scope.
bool ATransactionPageFilters::ShowAccounts(const F::AAccountSelection& accounts)
{
    ticks_->SetTicked(accounts.Accounts());
    const bool transfers = accounts.Scope() == F::AAccountScope::TransfersOnly;
    ControlAs<QRadioButton>(transfers ? kScopeTransfers : kScopeAll)->setChecked(true);
    if (accounts.Empty()) {
        accounts_->ChooseNone();
        return true;
    }
    if (accounts.Accounts().size() == 1) {
        accounts_->Choose(accounts.Accounts().front());
        return !transfers;
    }
    for (auto* folder : db_.Folders().Live()) {
        accounts_->ChooseFolder(Engine::ATableImpl<AAccountFolder>::RefTo(folder));
        auto held = accounts_->Accounts();
        std::sort(held.begin(), held.end());
        held.erase(std::unique(held.begin(), held.end()), held.end());
        if (held == accounts.Accounts())
            return !transfers;
    }
    accounts_->ChooseNone();
    return false;
}

bool ATransactionPageFilters::FitToOptions(F::ATransactionPageFilter& filter)
{
    if (expanded_)
        return false;
    const F::AAccountSelection before = filter.accounts;
    showing_ = true;
    const bool shown = ShowAccounts(before);
    showing_ = false;
    if (shown)
        return false;
    filter.accounts = accounts_->NoneChosen() ? F::AAccountSelection() : F::AAccountSelection(accounts_->Accounts());
    return true;
}

F::ATransactionPageFilter ATransactionPageFilters::Initial(const AProgramContext& context, ADatabase& db)
{
    return {F::ADatePeriod(context.clock().date, F::TransactionDateRange(db, false)), {}, {}, {}};
}

void ATransactionPageFilters::OnCommand(int id)
{
    // The period's own buttons are the selector's.
    if (id == kReset)
        Change([&](F::ATransactionPageFilter& f) { f = Initial(context_, db_); });
}

void ATransactionPageFilters::Change(const std::function<void(F::ATransactionPageFilter&)>& edit)
{
    if (showing_)
        return;
    edit(filter_);
    Show(filter_);
    changed_(filter_);
}

void ATransactionPageFilters::Show(const F::ATransactionPageFilter& filter)
{
    filter_ = filter;
    showing_ = true;
    period_->Show(filter.period);
    ShowAccounts(filter.accounts);
    classifiers_->Show(filter.classifiers);
    auto* comment = ControlAs<QLineEdit>(kCommentId);
    if (ToU16(comment->text()) != filter.comment)
        comment->setText(ToQString(filter.comment));
    showing_ = false;
}

}  // namespace UserInterface::Transactions
