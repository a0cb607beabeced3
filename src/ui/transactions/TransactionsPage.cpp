#include "ui/transactions/TransactionsPage.h"

#include "analysis/TransactionTotals.h"
#include "core/FormatText.h"
#include "ui/InterfaceTexts.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/transactions/TransactionPageFilters.h"
#include "ui/StandardDialog.h"
#include "ui/UserDialogs.h"
#include "win32api/Controls.h"
#include "win32api/DynaForm.h"

#include <QLineEdit>
#include <QMenu>

namespace UserInterface::Transactions {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;
using Win32API::VelvixForms::AMessageButtons;
using Win32API::VelvixForms::AMessageIcon;
using UtilityClasses::Strings::FormatArg;
namespace Message = Database::TransactionMessage;

namespace {

using namespace TransactionText;
constexpr int kNoTransactions = Filters::kNoTransactionsMessage;

// The page's own settings stream: a tag and a version, so that a stream of another form is
// ignored rather than misread.
constexpr std::uint32_t kSettingsTag = 0x50545246;  // "FRTP"
constexpr std::uint16_t kSettingsVersion = 1;

constexpr std::uint16_t kWidths[kColumnCount] = {80, 60, 80, 110, 150, 100, 50, 150, 100, 50, 100, 70, 190, 230,
                                                 120, 120, 120, 120};

}  // namespace

ATransactionsPage::ATransactionsPage(const AProgramContext& context, ADatabase& db)
    : ARecordListPage(context, db, false,
                      {ATransaction::kTableId, ARelation::kTableId, AAccount::kTableId, ACategory::kTableId,
                       ACurrency::kTableId, AString::kTableId, ADBSettings::kTableId, AClassifier::kTableId,
                       AAccountFolder::kTableId, AAccountPlacement::kTableId}),
      rows_{context, db, context.clock().date},
      filter_(ATransactionPageFilters::Initial(context, db))
{
    for (int c = 0; c < kExtraCommentColumn; ++c)
        if (c == kCategoriesColumn)
            AddClassifierColumn(0);
        else
            Mode().AddTitledColumn(TransactionColumnTitleId(c), kWidths[c], c != kDateColumn);
    for (int i = 0; i < 4; ++i)
        Mode().AddComputedColumn(
            [this, i] {
                const std::u16string caption = db_.Text(Filters::FileSettings(db_).extraCommentCaption[i]);
                return caption.empty() ? std::u16string(context_.Strings().Text(TransactionColumnTitleId(-1)))
                                       : caption;
            },
            kWidths[kExtraCommentColumn + i]);
    AddClassifierColumns();
    Mode().SetMultiSelect(true);
    Mode().SetSortColumn(kDateColumn + 1);
}

// Titled by the classifier's name when the list is drawn, so a renamed one shows at once.
void ATransactionsPage::AddClassifierColumn(int n)
{
    Mode().AddComputedColumn(
        [this, n] {
            const auto live = db_.Classifiers().Live();
            if (static_cast<std::size_t>(n) < live.size())
                return db_.Text(live[static_cast<std::size_t>(n)]->Record().singular);
            return std::u16string(context_.Strings().Text(TransactionColumnTitleId(kCategoriesColumn)));
        },
        kWidths[kCategoriesColumn]);
}

// One column per classifier: a classifier added since the page was made gets one at the next fill.
void ATransactionsPage::AddClassifierColumns()
{
    for (int n = Mode().ColumnCount() - kColumnCount + 1; n < static_cast<int>(db_.Classifiers().LiveCount()); ++n)
        AddClassifierColumn(n);
}

ATransactionsPage::~ATransactionsPage() = default;

std::string ATransactionsPage::Layout() const
{
    return "{sxWeHe#-2{b~w150He#-3}{t1WeHe{bWeHe[Rt#-1]}{bWexet2b1[s#-5]}}}";
}

void ATransactionsPage::Created()
{
    pane_ = new ATransactionPageFilters(context_, db_, [this](Filters::ATransactionPageFilter filter) {
        filter_ = std::move(filter);
        Refill();
    });
    Form()->InsertForm(kFilterPaneId, pane_);
    pane_->FitToOptions(filter_);
    pane_->Show(filter_);
    Form()->ShowElement(kFilterPaneId, paneShown_);
    // The pane takes what it needs, the list the rest, until the user drags the bar.
    Form()->PlaceSplitterBar(0, kSplitterId);
    connect(Report(), &AReportWindow::Notify, this, [this](int code, bool*) {
        if (code == kNotifySelectionChanged)
            UpdateStatus();
        else if (code == kNotifyDoubleClick && IsCommandEnabled(Command::kChange))
            RunCommand(Command::kChange);
    });
}

void ATransactionsPage::SetFilter(Filters::ATransactionPageFilter filter)
{
    filter_ = std::move(filter);
    if (pane_) {
        pane_->FitToOptions(filter_);
        pane_->Show(filter_);
    }
    Refill();
}

// The options may have switched the account list between the drop-down and the tick tree.
void ATransactionsPage::ApplyLook(const Win32API::VelvixControls::AToolkitLook& look, const QFont& font)
{
    ARecordListPage::ApplyLook(look, font);
    if (!pane_)
        return;
    pane_->ApplyOptions();
    if (pane_->FitToOptions(filter_))
        Refill();
    pane_->Show(filter_);
}

// Columns of values the file does not keep are hidden, and come back when it keeps them.
void ATransactionsPage::ShowColumnsOfFile()
{
    const ADBSettings settings = Filters::FileSettings(db_);
    hiddenByFile_.resize(static_cast<std::size_t>(Mode().ColumnCount()));
    auto keep = [&](int column, bool kept) {
        auto hidden = hiddenByFile_[static_cast<std::size_t>(column)];
        if (!kept && Mode().Column(column).shown && Mode().SetColumnShown(column, false))
            hidden = true;
        else if (kept && hidden) {
            Mode().SetColumnShown(column, true);
            hidden = false;
        }
    };
    keep(kTimeColumn, settings.times != 0);
    keep(kBudgetDateColumn, settings.budgetDates != 0);
    keep(kQuantityColumn, settings.quantities != 0);
    for (int i = 0; i < 4; ++i)
        keep(kExtraCommentColumn + i, settings.extraCommentInUse[i] != 0);
    // The columns of classifiers deleted since.
    const int classifiers = static_cast<int>(rows_.classifiers.size());
    for (int n = 1; ColumnOfClassifier(n) < Mode().ColumnCount(); ++n)
        keep(ColumnOfClassifier(n), n < classifiers);
}

void ATransactionsPage::Fill(AReportItemImpl& root)
{
    rows_.Refresh(context_.clock().date);
    AddClassifierColumns();
    ShowColumnsOfFile();
    if (pane_) {
        pane_->RefillChoosers();
        const bool forgot = filter_.ForgetDeleted(db_);
        if (filter_.FollowFile(db_, rows_.today) || forgot)
            pane_->Show(filter_);
    }
    const Filters::ATransactionList list = filter_.Apply(db_);
    std::int64_t order = 0;
    for (ATransactionItem::ASlot* slot : list)
        root.AddChild(std::make_unique<ATransactionItem>(rows_, *slot, order++));
    listed_ = list.size();
    totals_ = Filters::PeriodTotals(db_, filter_, list);
    UpdateStatus();
}

ATransactionSlots ATransactionsPage::Selection() const
{
    ATransactionSlots chosen;
    if (!Report())
        return chosen;
    auto take = [&](AReportItemImpl* item) {
        if (auto* row = dynamic_cast<ATransactionItem*>(item))
            chosen.push_back(const_cast<ATransactionItem::ASlot*>(&row->Slot()));
    };
    for (AReportItemImpl* item : Report()->Model().SelectedItems())
        take(item);
    if (chosen.empty())
        take(Report()->Model().FocusedItem());
    return chosen;
}

std::u16string ATransactionsPage::StatusText() const
{
    const auto& strings = context_.Strings();
    const auto& locale = strings.Locale();
    auto format = [&](int id, std::initializer_list<FormatArg> args) {
        return UtilityClasses::Strings::FormatText(locale, strings.Text(id), args);
    };
    auto amounts = [&](const std::vector<Filters::ACurrencyTotal>& totals, auto pick) {
        std::u16string text;
        for (const auto& total : totals) {
            if (!text.empty())
                text += u"; ";
            const ACurrency* currency = db_.Currencies().Record(total.currency);
            text += AmountText(context_, pick(total), currency ? static_cast<int>(currency->precision) : 2);
            if (currency)
                text += u" " + db_.Text(currency->code);
        }
        return text.empty() ? AmountText(context_, 0, 2) : text;
    };
    if (listed_ == 0)
        return std::u16string(strings.Text(kNoTransactions));
    std::u16string text = format(kAllCount, {listed_});
    const ATransactionSlots selection = Selection();
    if (selection.size() > 1) {
        std::vector<const ATransactionItem::ASlot*> chosen(selection.begin(), selection.end());
        const std::u16string sum =
            amounts(Filters::SelectionSums(db_, filter_.accounts, chosen), [](auto& t) { return t.Turnover(); });
        text += u"    " + format(kSelectedCount, {selection.size()}) + u"    " + format(kSelectedSum, {sum});
    }
    auto line = [&](int id, const std::u16string& value) { return u"    " + std::u16string(strings.Text(id)) + u" " + value; };
    if (totals_.startBalance)
        text += line(kStartBalance, AmountText(context_, *totals_.startBalance,
                                               AccountPrecision(db_, filter_.accounts.Accounts().front())));
    text += line(kPeriodIncome, amounts(totals_.byCurrency, [](auto& t) { return t.income; }));
    text += line(kPeriodExpense, amounts(totals_.byCurrency, [](auto& t) { return t.expense; }));
    text += line(kPeriodDifference, amounts(totals_.byCurrency, [](auto& t) { return t.Turnover(); }));
    if (totals_.endBalance)
        text += line(kEndBalance, AmountText(context_, *totals_.endBalance,
                                             AccountPrecision(db_, filter_.accounts.Accounts().front())));
    return text;
}

void ATransactionsPage::UpdateStatus()
{
    if (Form())
        Win32API::VelvixControls::SetControlText(Form()->Control(kStatusId), ToQString(StatusText()));
}

// ---- commands

void ATransactionsPage::FillActionsMenu(QMenu& menu)
{
    for (int id : {Command::kAdd, Command::kChange, PageCommand::kDuplicate, Command::kDelete})
        menu.addAction(QString())->setData(id);
    menu.addSeparator();
    for (int id : {PageCommand::kLock, PageCommand::kUnlock, PageCommand::kExecute})
        menu.addAction(QString())->setData(id);
    menu.addSeparator();
    for (int id : {PageCommand::kFind, PageCommand::kFindNext})
        menu.addAction(QString())->setData(id);
    menu.addSeparator();
    for (int id : {PageCommand::kShowFilters, PageCommand::kHideFilters})
        menu.addAction(QString())->setData(id);
}

bool ATransactionsPage::IsCommandEnabled(int command) const
{
    const ATransactionSlots selection = Selection();
    switch (command) {
    case Command::kAdd: return true;
    case Command::kChange:
    case Command::kDelete: return !selection.empty();
    case PageCommand::kDuplicate: return selection.size() == 1;
    case PageCommand::kLock:
        return std::any_of(selection.begin(), selection.end(), [](auto* s) { return !s->Record().locked; });
    case PageCommand::kUnlock: return AnyLocked(selection);
    case PageCommand::kExecute: return AnyPlanned(selection);
    case PageCommand::kFind: return listed_ > 0;
    case PageCommand::kFindNext: return listed_ > 0 && !findText_.empty();
    case PageCommand::kShowFilters: return !paneShown_;
    case PageCommand::kHideFilters: return paneShown_;
    default: return false;
    }
}

void ATransactionsPage::RunCommand(int command)
{
    if (!IsCommandEnabled(command))
        return;
    switch (command) {
    case Command::kAdd: OpenDialog(ATransactionDialogMode::Add); return;
    case Command::kChange: OpenDialog(ATransactionDialogMode::Change); return;
    case PageCommand::kDuplicate: OpenDialog(ATransactionDialogMode::Duplicate); return;
    case Command::kDelete: DeleteSelection(); return;
    case PageCommand::kLock: LockSelection(true); return;
    case PageCommand::kUnlock: LockSelection(false); return;
    case PageCommand::kExecute: ExecuteSelection(); return;
    case PageCommand::kFind: Find(); return;
    case PageCommand::kFindNext: FindNext(); return;
    case PageCommand::kShowFilters:
    case PageCommand::kHideFilters:
        paneShown_ = command == PageCommand::kShowFilters;
        Form()->ShowElement(kFilterPaneId, paneShown_);
        return;
    default: return;
    }
}

int ATransactionsPage::Ask(int textId, int titleId, std::initializer_list<FormatArg> args, AMessageButtons buttons,
                           AMessageIcon icon)
{
    const auto& strings = context_.Strings();
    Win32API::VelvixForms::AMessageBoxOptions options;
    options.text = UtilityClasses::Strings::FormatText(strings.Locale(), strings.Text(textId), args);
    // A menu text as a title: without its mnemonic mark and its dots.
    options.title = ToU16(TableText(strings, titleId).remove(u'&').remove(QStringLiteral("...")));
    options.buttons = buttons;
    options.icon = icon;
    return context_.Dialogs().ShowMessage(Form(), options);
}

bool ATransactionsPage::RefuseLocked(const ATransactionSlots& selection)
{
    if (!AnyLocked(selection))
        return false;
    Ask(Message::kLockedSelection, Message::kLockedTitle, {}, AMessageButtons::Ok, AMessageIcon::Warning);
    return true;
}

void ATransactionsPage::OpenDialog(ATransactionDialogMode mode)
{
    std::vector<Database::Engine::ARecordId> ids;
    if (mode != ATransactionDialogMode::Add)
        for (const auto* slot : Selection())
            ids.push_back(slot->id);
    // The filter warning only means something when the list shows less than everything.
    const Filters::ATransactionPageFilter* narrowing = filter_.Narrows(db_) ? &filter_ : nullptr;
    RunTransactionDialog(Form(), context_, db_, mode, std::move(ids), narrowing);
}

void ATransactionsPage::DeleteSelection()
{
    const ATransactionSlots selection = Selection();
    if (RefuseLocked(selection))
        return;
    if (Ask(Message::kDeleteQuestion, Message::kDeleteTitle, {selection.size()}, AMessageButtons::YesNo,
            AMessageIcon::Question) != Win32API::VelvixForms::kIdYes)
        return;
    DeleteTransactions(db_, selection, context_.Strings().Text(Message::kDeleteTitle));
}

void ATransactionsPage::LockSelection(bool lock)
{
    SetTransactionsLocked(db_, Selection(), lock,
                          context_.Strings().Text(lock ? Message::kLock : Message::kUnlock));
}

void ATransactionsPage::ExecuteSelection()
{
    const ATransactionSlots selection = Selection();
    if (RefuseLocked(selection))
        return;
    const int label = selection.size() == 1 ? Message::kExecuteOne : Message::kExecuteSeveral;
    ExecutePlanned(db_, selection, context_.Strings().Text(label));
}

void ATransactionsPage::Find()
{
    UtilityForms::AStandardDialog dialog(context_, PageCommand::kFind, "{t2xe{bxr[s#182]}{bl4W120xe[et#-1]}}",
                                         Form());
    auto* edit = dialog.Form().ControlAs<QLineEdit>(-1);
    edit->setText(ToQString(findText_));
    edit->selectAll();
    edit->setFocus();
    if (context_.Dialogs().RunModal(dialog) != UtilityForms::AStandardDialog::kOk || edit->text().isEmpty())
        return;
    findText_ = ToU16(edit->text());
    FindNext();
}

void ATransactionsPage::FindNext()
{
    AReportListModel& model = Report()->Model();
    model.RebuildIfStale();
    const int row = model.FindRow(findText_, model.Focus());
    if (row < 0) {
        Ask(kTextNotFound, PageCommand::kFind, {findText_}, AMessageButtons::Ok, AMessageIcon::Information);
        return;
    }
    Report()->MakeVisible(*model.Row(row));
    Report()->setFocus();
}

// ---- settings

std::vector<std::uint8_t> ATransactionsPage::WriteSettings() const
{
    return TaggedSettings(kSettingsTag, kSettingsVersion, [this](APageWriter& out) {
        filter_.Save(out, db_, context_.clock().date,
                     context_.Options().Flag(UserInterface::Settings::AFlag::kImprovedDateRange));
        out.Flag(paneShown_);
    });
}

void ATransactionsPage::ReadSettings(std::span<const std::uint8_t> bytes)
{
    Filters::ATransactionPageFilter filter = filter_;
    bool paneShown = true;
    if (!ReadTaggedSettings(bytes, kSettingsTag, kSettingsVersion, [&](AByteCursor& in) {
            return filter.Load(in, db_, context_.clock().date) && ReadFlag(in, paneShown);
        }))
        return;
    paneShown_ = paneShown;
    if (Form())
        Form()->ShowElement(kFilterPaneId, paneShown_);
    SetFilter(std::move(filter));
}

}  // namespace UserInterface::Transactions

namespace UserInterface {

std::unique_ptr<AAbstractPage> CreateTransactionsPage(const AProgramContext& context, Database::ADatabase& db)
{
    return std::make_unique<Transactions::ATransactionsPage>(context, db);
}

}  // namespace UserInterface
