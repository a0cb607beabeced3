// The transaction dialog: six sub-forms laid out by their own layout strings (state, type,
// dates, accounts and categories, amounts, comments) under one form with OK, "save and add"
// and Cancel. The checks and the records are the model's (analysis/TransactionEdit.h).
#include "ui/transactions/TransactionDialog.h"

#pragma push_macro("slots")
#undef slots
#include "analysis/TransactionEdit.h"
#pragma pop_macro("slots")

#include "core/CommonTexts.h"
#include "core/FormatAmount.h"
#include "rates/AmountExpression.h"
#include "ui/InterfaceTexts.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/filters/AccountClassifierFilters.h"
#include "ui/transactions/RecurrenceDialog.h"
#include "win32api/DateCtrl.h"
#include "win32api/DynaForm.h"
#include "win32api/LayoutElement.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace UserInterface::Transactions {

using namespace Database;
using Win32API::VelvixForms::ADialogForm;
using Win32API::VelvixControls::ADatePicker;
using Win32API::VelvixControls::ATimePicker;
using Filters::AAccountClassifierFilters;

namespace {

constexpr int kOk = 1, kCancel = 2, kSaveAndAdd = 12;
using namespace TransactionText;
namespace CommonText = UtilityClasses::Strings::CommonText;
constexpr int kDifferentValues = CommonText::kDifferentValues, kPlanned = CommonText::kPlanned;
constexpr int kStateIds[4] = {CommonText::kExecuted, kExecutedLocked, kPlanned, kRecurring};
constexpr std::int16_t kRecurrence = 424;
constexpr int kTypeIds[4] = {412, 413, 701, 414};  // in layout order; mode order below
constexpr AAmountMode kTypeModes[4] = {AAmountMode::Income, AAmountMode::Expense, AAmountMode::Balance,
                                       AAmountMode::Transfer};
constexpr std::int16_t kDate = -10, kTime = -11, kBudgetDate = -12, kNote = -14;
constexpr std::int16_t kEdits[4] = {-23, -24, -25, -26}, kLabels[4] = {-16, -20, -21, -22};
constexpr std::int16_t kRadios[3] = {-17, -18, -19}, kExtraLabels[4] = {-29, -30, -31, -32};
constexpr std::int16_t kExtraEdits[4] = {-33, -34, -35, -36}, kRateCombo = -27, kRatePicker = -40;

const char* const kLayout =
    "{bm6{t1{t2xe{b#-6}{b#-7}}{t2xe{bt4#-5}{bt4#-9}}{bt4#-8}{bt4#-28}{bt10xr{t3{b[bDgt#1]}{bl4[bt#12]}"
    "{bl4[bt#2]}}}}}";
const char* const kStateLayout =
    "{bxe{t1b2xl{bt4xl[bRg#420]}{bt4xl[bR#421]}{bt4b4xl[bR#422]}{t2b4{b#-37xl[bR#423]}{bh8}}{t2b4xr{b#-38[bgt#424]}{"
    "bh14}}}}";
const char* const kTypeLayout = "{bxe{t5{bWe}{t1{bxl[bRg#412]}{bt4xl[bR#413]}}{bWe}{t1{bxl[bR#414]}{bt4xl[bR#701]}}{bWe}}}";
const char* const kDatesLayout =
    "{t2{br2}{bW117}{bxr[sg#416]}{b{bWe[Dt#-10]}}{bxr[s#417]}{bt2p{bWe[Tt#-11]}}{bxr[s#418]}{bt2p{bWe[Dt#-12]}}}";
const char* const kAmountsLayout =
    "{t3yt{br2}{bW120}{bWel2}{t2xr{bWe#-16*1[srg#-16]}{b#-13}}{b{bWe#-23*2[e=t#-23]}}{t2xl{b#-20*3[s#-20]}{bWe}}{b#-"
    "17xr*4[bRlrg#-17]}{b{bWe#-24*7[e=gt#-24]}}{t2xl{b#-21*8[s#-21]}{bWe}}{b#-18xr*5[bRlr#-18]}{b{bWe#-25*9[e=t#-25]}}"
    "{t2xl{b#-22*10[s#-22]}{bWe}}{b#-19xr*6[bRlr#-19]}{b{bWe#-26*11[e=t#-26]}}{bWe{bWe#-27*12}}}";
const char* const kCommentsLayout =
    "{t2{br2}{bWe}{bxr[sg#436]}{b{bWe[etX#-14]}}{bt4xr[sg#-29]}{b{bWe[etX#-33]}}{bt4xr[sg#-30]}{b{bWe[etX#-34]}}{bt4xr["
    "sg#-31]}{b{bWe[etX#-35]}}{bt4xr[sg#-32]}{b{bWe[etX#-36]}}}";

// Shows or hides the element that holds a control (elements without ids of their own).
void ShowControlElement(ADialogForm& form, std::int16_t controlId, bool show)
{
    if (auto* e = form.Root() ? FindControlElement(*form.Root(), controlId) : nullptr; e && e->visible != show) {
        e->visible = show;
        form.Relayout(true, false);
    }
}

class ATransactionDialog final : public QDialog {
public:
    ATransactionDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, ATransactionDialogMode mode,
                       std::vector<Engine::ARecordId> selection, const Filters::ATransactionPageFilter* filter)
        : QDialog(parent), context_(context), db_(db), mode_(mode), selection_(std::move(selection)),
          filter_(filter), settings_(Filters::FileSettings(db))
    {
        const auto* strings = context.strings.get();
        form_ = new ADialogForm(kLayout, strings, this);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSizeConstraint(QLayout::SetMinimumSize);
        layout->addWidget(form_);
        form_->Create();
        for (auto [element, sub] : {std::pair{-6, &state_}, {-7, &type_}, {-5, &dates_}, {-9, &amounts_},
                                    {-28, &comments_}}) {
            const char* text = element == -6   ? kStateLayout
                               : element == -7  ? kTypeLayout
                               : element == -5  ? kDatesLayout
                               : element == -9  ? kAmountsLayout
                                                : kCommentsLayout;
            *sub = new ADialogForm(text, strings);
            form_->InsertForm(static_cast<std::int16_t>(element), *sub);
        }
        accounts_ = new AAccountClassifierFilters(context, db);
        form_->InsertForm(-8, accounts_);
        amounts_->InsertElements(kRateCombo, "{bWe[rt#-40]}");
        rateMode_.AddColumn(u"", 160, false);
        rate_ = amounts_->ControlAs<Win32API::VelvixControls::Reports::AReportPicker>(kRatePicker);
        rate_->SetMode(&rateMode_);
        Connect();
        PrepareFields();
        Load();
        // Only the user's changes count as typed into (the mark of several dates).
        connect(dates_->ControlAs<ADatePicker>(kDate), &QDateEdit::dateChanged, this, [this] { dateTouched_ = true; });
        setWindowTitle(Title());
    }

    ~ATransactionDialog() override { rate_->Model().DeleteAllItems(); }

    bool committed = false;

private:
    QLineEdit* Edit(ADialogForm* form, std::int16_t id) const { return form->ControlAs<QLineEdit>(id); }
    QRadioButton* Radio(ADialogForm* form, int id) const { return form->ControlAs<QRadioButton>(static_cast<std::int16_t>(id)); }

    QString Title() const
    {
        switch (mode_) {
        case ATransactionDialogMode::Add: return TableText(context_.Strings(), kAddTitle);
        case ATransactionDialogMode::Duplicate: return TableText(context_.Strings(), kDuplicateTitle);
        case ATransactionDialogMode::Change: break;
        }
        return ToQString(context_.Strings().Format(kChangeTitle, {static_cast<int>(selection_.size())}));
    }

    void Connect()
    {
        for (int id : {kOk, kSaveAndAdd, kCancel})
            connect(form_->ControlAs<QPushButton>(static_cast<std::int16_t>(id)), &QPushButton::clicked, this,
                    [this, id] { Press(id); });
        for (int id : kTypeIds)
            connect(Radio(type_, id), &QRadioButton::toggled, this, [this](bool on) {
                if (on)
                    ApplyType();
            });
        for (int k = 0; k < 3; ++k)
            connect(Radio(amounts_, kRadios[k]), &QRadioButton::toggled, this, [this](bool) { ApplyComputed(); });
        for (int k = 0; k < 4; ++k)
            connect(Edit(amounts_, kEdits[k]), &QLineEdit::textEdited, this, [this, k] {
                touched_[k] = true;
                if (k > 0)
                    RecomputeAfter(k);
            });
        connect(accounts_, &AAccountClassifierFilters::Changed, this, [this] { ApplyType(); });
        for (int id : kStateIds)
            connect(Radio(state_, id), &QRadioButton::toggled, this, [this] { ShowRule(); });
        // Choosing "repeats" needs a rule: without one the choice goes back to a plain planned one.
        connect(Radio(state_, kRecurring), &QRadioButton::clicked, this, [this] {
            if (!rule_ || !rule_->active)
                EditRule();
        });
        connect(state_->ControlAs<QPushButton>(kRecurrence), &QPushButton::clicked, this, [this] { EditRule(); });
        connect(rate_, &Win32API::VelvixControls::Reports::AReportPicker::Notify, this, [this](int, bool*) {
            RecomputeAfter(3);
        });
    }

    void PrepareFields()
    {
        const bool times = settings_.times, budget = settings_.budgetDates;
        for (std::int16_t id : {std::int16_t(417), kTime})
            ShowControlElement(*dates_, id, times);
        for (std::int16_t id : {std::int16_t(418), kBudgetDate})
            ShowControlElement(*dates_, id, budget);
        for (int i = 0; i < 4; ++i) {
            const bool used = settings_.extraCommentInUse[i];
            ShowControlElement(*comments_, kExtraLabels[i], used);
            ShowControlElement(*comments_, kExtraEdits[i], used);
            if (used)
                comments_->ControlAs<QLabel>(kExtraLabels[i])->setText(ToQString(db_.Text(settings_.extraCommentCaption[i])) + u':');
        }
        Radio(amounts_, settings_.quantities ? kRadios[1] : kRadios[2])->setChecked(true);
        SetAmount(3, kOne, 4);
        const auto today = context_.clock().date;
        dates_->ControlAs<ADatePicker>(kDate)->SetDate(today);
        dates_->ControlAs<ADatePicker>(kBudgetDate)->SetDate(today);
    }

    void SetAmount(int k, AMoney value, int precision)
    {
        Edit(amounts_, kEdits[k])->setText(ToQString(AmountText(context_, value, precision)));
    }
    void SetMark(QLineEdit* edit) { edit->setText(TableText(context_.Strings(), kDifferentValues)); }

    // The selection's values into the sub-forms; the mark where they differ.
    void Load()
    {
        if (mode_ == ATransactionDialogMode::Add) {
            Radio(state_, 420)->setChecked(true);
            Radio(type_, 413)->setChecked(true);
            if (const auto account = AccountForAdding(db_, filter_))
                for (int side : {AAccountClassifierFilters::kReceiving, AAccountClassifierFilters::kGiving})
                    accounts_->Account(side).Choose(account);
            ApplyType();
            ShowRule();
            return;
        }
        loaded_ = InputOf(db_, selection_, settings_.quantities);
        rule_ = loaded_.rule;
        const bool change = mode_ == ATransactionDialogMode::Change;
        if (loaded_.state)
            Radio(state_, kStateIds[static_cast<int>(*loaded_.state)])->setChecked(true);
        if (loaded_.type)
            for (int i = 0; i < 4; ++i)
                if (kTypeModes[i] == *loaded_.type)
                    Radio(type_, kTypeIds[i])->setChecked(true);
        ADate date = loaded_.date.value_or(0);
        if (!change && context_.Options().initDupDate.value == 1)
            date = context_.clock().date;
        if (loaded_.date || !change)
            dates_->ControlAs<ADatePicker>(kDate)->SetDate(date);
        if (loaded_.time)
            dates_->ControlAs<ATimePicker>(kTime)->SetTime(*loaded_.time);
        if (loaded_.budgetDate)
            dates_->ControlAs<ADatePicker>(kBudgetDate)->SetDate(*loaded_.budgetDate);
        LoadSide(AAccountClassifierFilters::kReceiving, loaded_.receiving);
        LoadSide(AAccountClassifierFilters::kGiving, loaded_.giving);
        for (std::size_t i = 0; i < accounts_->Categories().size() && i < loaded_.categories.size(); ++i) {
            if (loaded_.categories[i])
                accounts_->Categories()[i]->Choose(*loaded_.categories[i]);
            else
                accounts_->Categories()[i]->ShowDifferentValues(true);
        }
        ApplyType();
        ShowRule();
        for (int k = 0; k < 4; ++k) {
            if (loaded_.fields[k].differs)
                SetMark(Edit(amounts_, kEdits[k]));
            else if (loaded_.fields[k].value)
                SetAmount(k, *loaded_.fields[k].value, FieldPrecision(k));
        }
        LoadText(Edit(comments_, kNote), loaded_.comment);
        for (int i = 0; i < 4; ++i)
            LoadText(Edit(comments_, kExtraEdits[i]), loaded_.extra[i]);
        if (!change) {
            loaded_ = {};
            return;
        }
        bool locked = false;
        for (auto id : selection_)
            if (auto* slot = db_.Transactions().Find(id); slot && slot->Exists() && slot->Record().locked)
                locked = true;
        if (locked) {
            for (QWidget* w : std::initializer_list<QWidget*>{state_, type_, dates_, accounts_, amounts_, comments_,
                                                              form_->Control(kOk), form_->Control(kSaveAndAdd)})
                w->setEnabled(false);
            form_->Control(kCancel)->setFocus();
        }
    }

    void LoadSide(int index, const ASideInput& side)
    {
        if (side.differs)
            accounts_->Account(index).ShowDifferentValues(true);
        else
            accounts_->Account(index).Choose(side.account);
    }
    void LoadText(QLineEdit* edit, const std::optional<std::u16string>& text)
    {
        if (text)
            edit->setText(ToQString(*text));
        else
            SetMark(edit);
    }

    void EditRule()
    {
        const ADate start = dates_->ControlAs<ADatePicker>(kDate)->Date();
        if (auto chosen = RunRecurrenceDialog(this, context_, rule_.value_or(Recurrence::ARule{}), start))
            rule_ = chosen;
        if (!rule_ || !rule_->active)
            Radio(state_, kPlanned)->setChecked(true);
        ShowRule();
    }
    // The rule is edited only for a repeating transaction; what it does shows on its button.
    void ShowRule()
    {
        const bool recurring = Radio(state_, kRecurring)->isChecked();
        auto* button = state_->ControlAs<QPushButton>(kRecurrence);
        button->setEnabled(recurring);
        const QString description = recurring && rule_ ? ToQString(RuleDescription(context_, *rule_)) : QString();
        button->setToolTip(description);
        button->setAccessibleDescription(description);
        Radio(state_, kRecurring)->setAccessibleDescription(description);
    }

    int Precision() const
    {
        const auto& chooser = accounts_->Account(Mode() == AAmountMode::Income ? AAccountClassifierFilters::kReceiving
                                                                               : AAccountClassifierFilters::kGiving);
        return AccountPrecision(db_, chooser.Account());
    }
    // Amounts in their currency's decimals; a price, a quantity or a rate in four.
    int FieldPrecision(int k) const
    {
        if (k == 2 && Mode() == AAmountMode::Transfer)
            return AccountPrecision(db_, accounts_->Account(AAccountClassifierFilters::kReceiving).Account());
        return k <= 1 ? Precision() : 4;
    }

    std::optional<AAmountMode> ChosenType() const
    {
        for (int i = 0; i < 4; ++i)
            if (Radio(type_, kTypeIds[i])->isChecked())
                return kTypeModes[i];
        return std::nullopt;
    }
    AAmountMode Mode() const { return ChosenType().value_or(AAmountMode::Expense); }

    AReference<ACurrency> CurrencyOf(int side) const
    {
        const AAccount* account = db_.Accounts().Record(accounts_->Account(side).Account());
        return account ? account->currency : AReference<ACurrency>();
    }
    bool SameCurrency() const
    {
        const auto debit = CurrencyOf(AAccountClassifierFilters::kGiving);
        const auto credit = CurrencyOf(AAccountClassifierFilters::kReceiving);
        return !debit || !credit || debit == credit;
    }

    // Labels, rows, sides and the rate combo after the type or an account changed.
    void ApplyType()
    {
        const AAmountMode mode = Mode();
        const bool transfer = mode == AAmountMode::Transfer;
        accounts_->ShowAccount(AAccountClassifierFilters::kReceiving, mode == AAmountMode::Income || transfer);
        accounts_->ShowAccount(AAccountClassifierFilters::kGiving, mode != AAmountMode::Income);
        const bool rows = UsesThreeRows(mode, settings_.quantities, SameCurrency());
        const bool wasRows = threeRows_;
        threeRows_ = rows;
        for (int k = 0; k < 4; ++k)
            if (const int label = FieldLabel(mode, k)) {
                const QString caption = TableText(context_.Strings(), label);
                amounts_->ControlAs<QLabel>(kLabels[k])->setText(caption);
                // In the rows the radio comes between a label and its field: both carry the caption.
                if (k > 0) {
                    Edit(amounts_, kEdits[k])->setAccessibleName(caption);
                    Radio(amounts_, kRadios[k - 1])->setAccessibleName(caption);
                }
            }
        for (std::int16_t id : {kLabels[0], kEdits[0]})
            amounts_->ShowElement(id, !rows);
        for (int k = 1; k < 4; ++k)
            for (std::int16_t id : {kLabels[k], kRadios[k - 1]})
                amounts_->ShowElement(id, rows);
        for (int k = 1; k < 4; ++k)
            ShowControlElement(*amounts_, kEdits[k], rows);
        amounts_->ShowElement(kRateCombo, rows && transfer);
        if (rows && transfer)
            FillRateCombo(!wasRows);
        ApplyComputed();
    }

    void FillRateCombo(bool prefill)
    {
        const auto debit = CurrencyOf(AAccountClassifierFilters::kGiving);
        const auto credit = CurrencyOf(AAccountClassifierFilters::kReceiving);
        const std::u16string d = CurrencyCode(db_, debit), c = CurrencyCode(db_, credit);
        const int chosen = RateItem();
        rate_->Model().DeleteAllItems();
        for (const auto& [first, last] : {std::pair{d, c}, std::pair{c, d}})
            rate_->Root().AddChild(std::make_unique<ATextItem>(
                0, std::vector<std::u16string>{context_.Strings().Format(kRateItemText, {first, last})}));
        rate_->RebuildRows();
        if (prefill && mode_ == ATransactionDialogMode::Add) {
            const AComputed stored =
                StoredRate(db_, debit, credit, dates_->ControlAs<ADatePicker>(kDate)->Date());
            SetAmount(3, stored.value, 4);
            SelectRateItem(stored.item.value_or(ARateItem::CreditPerDebit));
        } else {
            SelectRateItem(static_cast<ARateItem>(chosen < 0 ? 1 : chosen));
        }
    }
    int RateItem() const { return rate_->Model().RowOf(rate_->Model().FocusedItem()); }
    void SelectRateItem(ARateItem item) { rate_->Select(rate_->Model().Row(static_cast<int>(item))); }

    int ComputedField() const
    {
        for (int k = 0; k < 3; ++k)
            if (Radio(amounts_, kRadios[k])->isChecked())
                return k + 1;
        return 3;
    }
    void ApplyComputed()
    {
        const int computed = ComputedField();
        for (int k = 1; k < 4; ++k)
            Edit(amounts_, kEdits[k])->setReadOnly(k == computed);
    }

    std::optional<AMoney> Value(int k) const
    {
        return Rates::EvaluateAmountExpression(ToU16(Edit(amounts_, kEdits[k])->text()));
    }

    void RecomputeAfter(int changed)
    {
        const int computed = ComputedField();
        if (!threeRows_ || computed == changed)
            return;
        AThreeRows rows{Value(1), Value(2), Value(3),
                        RateItem() == 0 ? ARateItem::DebitPerCredit : ARateItem::CreditPerDebit};
        const AComputed result = Recompute(Mode(), computed, rows);
        SetAmount(computed, result.value, FieldPrecision(computed));
        touched_[computed] = true;
        if (result.item)
            SelectRateItem(*result.item);
    }

    bool Differs(const QLineEdit* edit, bool touched) const
    {
        return !touched && edit->text() == TableText(context_.Strings(), kDifferentValues);
    }

    ATransactionInput Collect() const
    {
        ATransactionInput in;
        in.type = ChosenType();
        in.rule = rule_;
        for (int i = 0; i < 4; ++i)
            if (Radio(state_, kStateIds[i])->isChecked())
                in.state = static_cast<AState>(i);
        const bool change = mode_ == ATransactionDialogMode::Change;
        if (!change || loaded_.date || dateTouched_)
            in.date = dates_->ControlAs<ADatePicker>(kDate)->Date();
        if (settings_.times)
            in.time = dates_->ControlAs<ATimePicker>(kTime)->Time();
        if (settings_.budgetDates)
            in.budgetDate = dates_->ControlAs<ADatePicker>(kBudgetDate)->Date();
        for (int index : {AAccountClassifierFilters::kReceiving, AAccountClassifierFilters::kGiving}) {
            const auto& chooser = accounts_->Account(index);
            ASideInput side{chooser.Account(), chooser.Folder(), chooser.ShowsDifferentValues()};
            (index == AAccountClassifierFilters::kReceiving ? in.receiving : in.giving) = side;
        }
        in.threeRows = threeRows_;
        for (int k = 0; k < 4; ++k) {
            const QLineEdit* edit = Edit(amounts_, kEdits[k]);
            const bool shown = k == 0 ? !threeRows_ : threeRows_;
            in.fields[k] = {shown, Differs(edit, touched_[k]), Value(k)};
        }
        in.rateItem = RateItem() == 0 ? ARateItem::DebitPerCredit : ARateItem::CreditPerDebit;
        const auto text = [this](const QLineEdit* edit) -> std::optional<std::u16string> {
            if (edit->text() == TableText(context_.Strings(), kDifferentValues) && !edit->isModified())
                return std::nullopt;
            return ToU16(edit->text());
        };
        in.comment = text(Edit(comments_, kNote));
        for (int i = 0; i < 4; ++i)
            in.extra[i] = text(Edit(comments_, kExtraEdits[i]));
        for (const auto& chooser : accounts_->Categories())
            if (chooser->ShowsDifferentValues())
                in.categories.push_back(std::nullopt);
            else
                in.categories.push_back(chooser->Category());
        return in;
    }

    QWidget* FocusOf(AFocus focus) const
    {
        switch (focus) {
        case AFocus::Receiving: return &accounts_->Account(AAccountClassifierFilters::kReceiving).Picker();
        case AFocus::Giving: return &accounts_->Account(AAccountClassifierFilters::kGiving).Picker();
        default: return Edit(amounts_, kEdits[static_cast<int>(focus) - static_cast<int>(AFocus::Field0)]);
        }
    }

    int Message(std::u16string text, Win32API::VelvixForms::AMessageButtons buttons, int defaultButton = 0,
                bool* dontShowAgain = nullptr)
    {
        Win32API::VelvixForms::AMessageBoxOptions options;
        options.text = std::move(text);
        options.title = u"Fendral";
        options.buttons = buttons;
        options.icon = Win32API::VelvixForms::AMessageIcon::Warning;
        options.defaultButton = defaultButton;
        options.offerDontShowAgain = dontShowAgain != nullptr;
        options.dontShowAgain = dontShowAgain;
        return context_.Dialogs().ShowMessage(this, options);
    }

    void Press(int button)
    {
        if (button == kCancel) {
            reject();
            return;
        }
        const ATransactionInput input = Collect();
        if (auto failure = CheckInput(db_, input)) {
            Message(context_.Strings().Format(failure->message, {failure->argument}),
                    Win32API::VelvixForms::AMessageButtons::Ok);
            FocusOf(failure->focus)->setFocus();
            return;
        }
        const bool change = mode_ == ATransactionDialogMode::Change;
        if (filter_ && !context_.Options().Flag(Settings::kSkipFilterCheck) &&
            !PassesFilter(db_, input, change ? selection_ : std::vector<Engine::ARecordId>{}, *filter_)) {
            const std::u16string who(context_.Strings().Text(change ? kChanged : kAdded));
            const std::u16string what(context_.Strings().Text(change ? kToSave : kToAdd));
            bool silence = false;
            const int answer = Message(context_.Strings().Format(kFilterWarning, {who, what}),
                                       Win32API::VelvixForms::AMessageButtons::YesNo, 1, &silence);
            if (silence) {
                context_.Options().SetFlag(Settings::kSkipFilterCheck, true);
                context_.Options().SaveAll();
            }
            if (answer != Win32API::VelvixForms::kIdYes)
                return;
        }
        const bool saved = change ? ChangeTransactions(db_, selection_, input, context_.Strings().Text(kChangeStep))
                                  : AddTransaction(db_, input, context_.Strings().Text(kAddTitle));
        if (!saved) {
            const AFocus focus = threeRows_ ? AFocus::Field1 : AFocus::Field0;
            Message(std::u16string(context_.Strings().Text(FieldMessage(Mode(), threeRows_ ? 1 : 0))),
                    Win32API::VelvixForms::AMessageButtons::Ok);
            FocusOf(focus)->setFocus();
            return;
        }
        committed = true;
        if (button == kOk || change) {
            accept();
            return;
        }
        FocusOf(threeRows_ ? AFocus::Field1 : AFocus::Field0)->setFocus();
    }

    const AProgramContext& context_;
    ADatabase& db_;
    ATransactionDialogMode mode_;
    std::vector<Engine::ARecordId> selection_;
    const Filters::ATransactionPageFilter* filter_;
    ADBSettings settings_;
    ADialogForm* form_ = nullptr;
    ADialogForm *state_ = nullptr, *type_ = nullptr, *dates_ = nullptr, *amounts_ = nullptr, *comments_ = nullptr;
    AAccountClassifierFilters* accounts_ = nullptr;
    Win32API::VelvixControls::Reports::AReportPicker* rate_ = nullptr;
    Win32API::VelvixControls::Reports::AReportMode rateMode_;
    ATransactionInput loaded_;
    std::optional<Recurrence::ARule> rule_;
    bool touched_[4] = {};
    bool threeRows_ = false;
    bool dateTouched_ = false;
};

}  // namespace

bool RunTransactionDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, ATransactionDialogMode mode,
                          std::vector<Engine::ARecordId> selection, const Filters::ATransactionPageFilter* pageFilter)
{
    ATransactionDialog dialog(parent, context, db, mode, std::move(selection), pageFilter);
    context.Dialogs().RunModal(dialog);
    return dialog.committed;
}

}  // namespace UserInterface::Transactions
