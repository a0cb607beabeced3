#include "ui/exchange/ExportSteps.h"

#include "exchange/export/ExportSelection.h"
#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/exchange/WizardTexts.h"
#include "ui/filters/Choosers.h"
#include "win32api/DateCtrl.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

namespace UserInterface::Exchange {

using namespace Win32API::VelvixControls::Reports;
using Win32API::VelvixControls::ADatePicker;
using Win32API::VelvixForms::AMessageIcon;
namespace F = UserInterface::Filters;

namespace {

constexpr std::int16_t kText = -1;
using namespace ExchangeText;
constexpr const char* kOverwriteLayout = "{t1m8xeyt{bWexl[s#-1]}}";
constexpr const char* kReadyLayout = "{t1m8xeyt{bWexl[s#761]}{bt12Wexl[s#-1]}{bt4Wexl[s#-2]}}";

namespace Kind = Database::RecordKindText;
constexpr int kCurrencies = Kind::kCurrencies, kRates = Kind::kRates, kAccounts = Kind::kAccounts,
              kTransactions = Kind::kTransactions, kClassifiersTitle = Kind::kClassifiers;
constexpr std::int16_t kClassifiers = -1;
constexpr const char* kEntitiesLayout =
    "{t1m8xeyt{bxl[s#753]}{bt4xl[bCt#335]}{bt2xl[bCt#336]}{bt2xl[bCt#331]}{bt2xl[bCt#332]}"
    "{bt8xl[s#754]}{bt2WeH80[Rt#-1]}}";

constexpr int kAllTransactions = 534, kPeriod = 535;
constexpr std::int16_t kStart = -1, kEnd = -2, kKind = -3;
constexpr const char* kDatesLayout =
    "{t1m8xeyt{bxl[s#533]}{bt4xl[bRgt#534]}{bt2xl[bRt#535]}"
    "{t2l18t4xl{bxr[s#18]}{bl4W120xl[rt#-3]}{bt4xr[s#16]}{bl4t4W100xl[Dt#-1]}{bt4xr[s#17]}"
    "{bl4t4W100xl[Dt#-2]}}}";

constexpr int kTickAll = 537;
constexpr std::int16_t kAccountList = -1;
constexpr const char* kAccountsLayout = "{t1m8xe{bWeHeH120[Rt#-1]}{bt4xl[bt#537]}}";

// A classifier of the kinds page: its tick is the model's.
class AClassifierItem final : public ARecordItem {
public:
    AClassifierItem(std::uint32_t index, std::u16string name, std::vector<bool>& ticks)
        : ARecordItem(index), name_(std::move(name)), ticks_(ticks)
    {
    }
    std::u16string Text(int) const override { return name_; }
    ACheckState CheckState() const override { return ticks_[RecordId()] ? ACheckState::Checked : ACheckState::Unchecked; }
    void SetChecked(bool checked) override { ticks_[RecordId()] = checked; }

private:
    std::u16string name_;
    std::vector<bool>& ticks_;
};

std::vector<Database::AReference<Database::AAccount>> AllAccounts(Database::ADatabase& db)
{
    std::vector<Database::AReference<Database::AAccount>> all;
    for (const auto* slot : db.Accounts().Live())
        all.push_back(Database::Engine::ATableImpl<Database::AAccount>::RefTo(slot));
    return all;
}

}  // namespace

// ---- overwrite ----

AExportStepConfirmOverwrite::AExportStepConfirmOverwrite(const AProgramContext& context, AExportWizardModel& model)
    : AWizardStep(kOverwriteStep, kOverwriteStepHint, kOverwriteLayout), context_(context), model_(model)
{
}

bool AExportStepConfirmOverwrite::IsSkipped(const AWizard&) const
{
    return !model_.OverwriteApplies();
}

void AExportStepConfirmOverwrite::OnEnter(AWizard&)
{
    auto* text = Form()->ControlAs<QLabel>(kText);
    const int width = std::max(Form()->width() - 40, 200);
    const QString path = text->fontMetrics().elidedText(ToQString(model_.Modules().FileName()), Qt::ElideMiddle, width);
    text->setText(ToQString(context_.Strings().Format(kOverwriteText, {ToU16(path)})).remove(u'\r'));
    Form()->Relayout(true, false);
}

// ---- kinds ----

AExportStepEntities::AExportStepEntities(const AProgramContext& context, AExportWizardModel& model)
    : AWizardStep(kKindsStep, kKindsStepHint, kEntitiesLayout),
      context_(context),
      model_(model),
      mode_(std::make_unique<APageMode>(context, false))
{
    mode_->AddTitledColumn(kClassifiersTitle, 300, false);
}

AExportStepEntities::~AExportStepEntities() = default;

void AExportStepEntities::Build(AWizard&)
{
    auto& selection = model_.Selection();
    const std::pair<int, bool*> kinds[] = {{kCurrencies, &selection.currencies},
                                           {kRates, &selection.rates},
                                           {kAccounts, &selection.accounts},
                                           {kTransactions, &selection.transactions}};
    for (const auto& [id, flag] : kinds) {
        auto* box = Form()->ControlAs<QCheckBox>(static_cast<std::int16_t>(id));
        box->setChecked(*flag);
        QObject::connect(box, &QCheckBox::toggled, Form(), [flag](bool on) { *flag = on; });
    }
    auto* list = Form()->ControlAs<AReportWindow>(kClassifiers);
    list->SetMode(mode_.get());
    list->setAccessibleName(TableText(context_.Strings(), kClassifierList));
}

void AExportStepEntities::OnEnter(AWizard&)
{
    auto* list = Form()->ControlAs<AReportWindow>(kClassifiers);
    if (list->Model().RowCount() > 0)
        return;
    for (std::size_t i = 0; i < model_.Classifiers().size(); ++i)
        list->Root().AddChild(std::make_unique<AClassifierItem>(
            static_cast<std::uint32_t>(i), model_.ClassifierName(i), model_.ClassifierTicks()));
    list->RebuildRows();
}

bool AExportStepEntities::OnLeave(AWizard& wizard, bool forward)
{
    if (const int refusal = forward ? model_.KindsRefusal() : 0) {
        ShowWizardMessage(context_, &wizard, refusal, AMessageIcon::Warning);
        return false;
    }
    return true;
}

// ---- dates ----

AExportStepDates::AExportStepDates(const AProgramContext& context, Database::ADatabase& db, AExportWizardModel& model)
    : AWizardStep(kDatesStep, kDatesStepHint, kDatesLayout),
      context_(context),
      db_(db),
      model_(model),
      kindMode_(std::make_unique<APageMode>(context, false)),
      period_(context.clock().date, F::TransactionDateRange(db, false))
{
    kindMode_->AddTitledColumn(SharedText::kPeriodChoice, 120, false);
}

AExportStepDates::~AExportStepDates() = default;

void AExportStepDates::Build(AWizard&)
{
    auto* kind = Form()->ControlAs<AReportPicker>(kKind);
    kind->SetMode(kindMode_.get());
    for (int k = 0; k < F::kPeriodKindCount; ++k)
        kind->Root().AddChild(std::make_unique<ATextItem>(
            static_cast<std::uint32_t>(k),
            std::vector<std::u16string>{std::u16string(context_.Strings().Text(F::PeriodKindLabel(*F::PeriodKindFromIndex(k))))}));
    kind->RebuildRows();
    QObject::connect(kind, &AReportPicker::Notify, Form(), [this, kind](int code, bool*) {
        const AReportItemImpl* item = kind->SelectedItem();
        if (code != kNotifySelectionChanged || showing_ || !item)
            return;
        period_.SelectKind(*F::PeriodKindFromIndex(static_cast<int>(item->RecordId())),
                           F::TransactionDateRange(db_, false), context_.clock().date);
        Show();
    });
    for (std::int16_t id : {kStart, kEnd}) {
        auto* date = Form()->ControlAs<ADatePicker>(id);
        date->SetPicture(context_.Strings().Locale().shortDatePicture);
        QObject::connect(date, &QDateEdit::dateChanged, Form(), [this] {
            if (showing_)
                return;
            period_.SetDates(Form()->ControlAs<ADatePicker>(kStart)->Date(), Form()->ControlAs<ADatePicker>(kEnd)->Date(),
                             F::TransactionDateRange(db_, false));
            Show();
        });
    }
    Form()->ControlAs<QRadioButton>(kAllTransactions)->setChecked(true);
    QObject::connect(Form()->ControlAs<QRadioButton>(kPeriod), &QRadioButton::toggled, Form(), [this] { Show(); });
}

void AExportStepDates::Show()
{
    showing_ = true;
    Form()->ControlAs<ADatePicker>(kStart)->SetDate(period_.Start());
    Form()->ControlAs<ADatePicker>(kEnd)->SetDate(period_.End());
    auto* kind = Form()->ControlAs<AReportPicker>(kKind);
    if (const auto k = period_.Kind())
        kind->Select(kind->Model().Row(static_cast<int>(*k)));
    else
        kind->Select(nullptr);
    showing_ = false;
    const bool byPeriod = Form()->ControlAs<QRadioButton>(kPeriod)->isChecked();
    for (std::int16_t id : {kStart, kEnd, kKind})
        Form()->Control(id)->setEnabled(byPeriod);
}

bool AExportStepDates::IsSkipped(const AWizard&) const
{
    return !model_.TransactionPagesApply();
}

void AExportStepDates::OnEnter(AWizard&)
{
    Show();
}

bool AExportStepDates::OnLeave(AWizard&, bool)
{
    if (Form()->ControlAs<QRadioButton>(kPeriod)->isChecked())
        model_.SetPeriod(ExportImport::AExportPeriod{std::min(period_.Start(), period_.End()),
                                                     std::max(period_.Start(), period_.End())});
    else
        model_.SetPeriod(std::nullopt);
    return true;
}

// ---- accounts ----

AExportStepAccounts::AExportStepAccounts(const AProgramContext& context, Database::ADatabase& db,
                                         AExportWizardModel& model)
    : AWizardStep(kAccountsStep, kAccountsStepHint, kAccountsLayout), context_(context), db_(db), model_(model)
{
}

AExportStepAccounts::~AExportStepAccounts() = default;

void AExportStepAccounts::Build(AWizard&)
{
    auto* list = Form()->ControlAs<AReportWindow>(kAccountList);
    ticks_ = std::make_unique<F::AAccountTicks>(*list, context_, db_);
    ticks_->SetTicked(AllAccounts(db_));
    list->setAccessibleName(TableText(context_.Strings(), kAccountsStep));
    QObject::connect(Form(), &Win32API::VelvixForms::ADialogForm::Command, Form(), [this](int id) {
        if (id == kTickAll)
            ticks_->SetTicked(AllAccounts(db_));
    });
}

bool AExportStepAccounts::IsSkipped(const AWizard&) const
{
    return !model_.TransactionPagesApply();
}

bool AExportStepAccounts::OnLeave(AWizard& wizard, bool forward)
{
    model_.SetAccounts(ticks_->Ticked());
    if (const int refusal = forward ? model_.AccountsRefusal() : 0) {
        ShowWizardMessage(context_, &wizard, refusal, AMessageIcon::Warning);
        return false;
    }
    return true;
}

// ---- ready ----

AExportStepReady::AExportStepReady(const AProgramContext& context, AExportWizardModel& model)
    : AWizardStep(kReadyStep, kReadyStepHint, kReadyLayout), context_(context), model_(model)
{
}

void AExportStepReady::OnEnter(AWizard&)
{
    auto& modules = model_.Modules();
    const std::u16string module = modules.Selected() >= 0 ? modules.Name(static_cast<std::size_t>(modules.Selected())) : u"";
    Form()->ControlAs<QLabel>(-1)->setText(ToQString(context_.Strings().Format(kModuleLine, {module})));
    Form()->ControlAs<QLabel>(-2)->setText(ToQString(context_.Strings().Format(kFileLine, {modules.FileName()})));
    Form()->ShowControl(-2, modules.UsesFile());
    Form()->Relayout(true, false);
}

}  // namespace UserInterface::Exchange
