#include "ui/filters/PeriodSelector.h"

#pragma push_macro("slots")
#undef slots
#include "analysis/Filters.h"
#pragma pop_macro("slots")
#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/accounts/RecordPicker.h"
#include "win32api/DateCtrl.h"
#include "win32api/DynaForm.h"

#include <QCheckBox>

namespace UserInterface::Filters {

using namespace Database;
namespace F = UserInterface::Filters;

namespace {

constexpr std::int16_t kKindId = -20, kStartId = -21, kEndId = -22, kBudgetDateRow = -30;
using PeriodText::kChooseKindTip;

}  // namespace

std::string PeriodLayout(int captionId)
{
    return "{t2xet8{bxl[sg#" + std::to_string(captionId) +
           "]}{bl4Wexe[rt#-20]}}"
           "{t3xet4{b[bt#61]}{bl2[bt#20]}{bl2[bt#63]}}"
           "{t2xet4{bxr[s#16]}{bl4Wexe[Dt#-21]}{bt2xr[s#17]}{bl4t2Wexe[Dt#-22]}}"
           "{b#-30t4xl[bCt#60]}";
}

APeriodSelector::APeriodSelector(Win32API::VelvixForms::ADialogForm& form, const AProgramContext& context,
                                 ADatabase& db)
    : form_(form), context_(context), db_(db)
{
    auto* kindPicker = form.ControlAs<Win32API::VelvixControls::Reports::AReportPicker>(kKindId);
    kind_ = std::make_unique<Accounts::ARecordPicker>(*kindPicker);
    FillKinds();
    connect(kind_.get(), &Accounts::ARecordPicker::Changed, this, [this] {
        const auto kind = F::PeriodKindFromIndex(static_cast<int>(kind_->Chosen()) - 1);
        if (kind)
            Change([&](F::ADatePeriod& p) { p.SelectKind(*kind, Transactions(), context_.clock().date); });
    });
    start_ = form.ControlAs<Win32API::VelvixControls::ADatePicker>(kStartId);
    end_ = form.ControlAs<Win32API::VelvixControls::ADatePicker>(kEndId);
    for (auto* picker : {start_, end_}) {
        picker->SetPicture(context.Strings().Locale().shortDatePicture);
        connect(picker, &QDateEdit::dateChanged, this, [this] {
            Change([&](F::ADatePeriod& p) { p.SetDates(start_->Date(), end_->Date(), Transactions()); });
        });
    }
    connect(form.ControlAs<QCheckBox>(kByBudgetDateId), &QCheckBox::toggled, this,
            [this](bool on) { Change([&](F::ADatePeriod& p) { p.SetByBudgetDate(on); }); });
    connect(&form, &Win32API::VelvixForms::ADialogForm::Command, this, &APeriodSelector::OnCommand);
}

APeriodSelector::~APeriodSelector() = default;

Win32API::VelvixControls::Reports::AReportPicker& APeriodSelector::KindPicker() const
{
    return kind_->Picker();
}

void APeriodSelector::FillKinds()
{
    std::vector<Accounts::ARecordPicker::ARow> rows;
    for (int k = 0; k < F::kPeriodKindCount; ++k)  // row ids are the index + 1: 0 is none
        rows.push_back({static_cast<std::uint32_t>(k + 1),
                        std::u16string(context_.Strings().Text(F::PeriodKindLabel(*F::PeriodKindFromIndex(k))))});
    kind_->Fill(rows);
    kind_->Picker().setToolTip(TableText(context_.Strings(), kChooseKindTip));
}

void APeriodSelector::ApplyTexts()
{
    FillKinds();
    Show(period_);
}

F::ADatePeriod APeriodSelector::Initial(const AProgramContext& context, ADatabase& db)
{
    return F::ADatePeriod(context.clock().date, F::TransactionDateRange(db, false));
}

std::optional<F::ADateRange> APeriodSelector::Transactions() const
{
    return F::TransactionDateRange(db_, period_.UsesBudgetDates(F::FileSettings(db_).budgetDates != 0));
}

void APeriodSelector::OnCommand(int id)
{
    switch (id) {
    case kPrevious: Change([](F::ADatePeriod& p) { p.Previous(); }); return;
    case kNext: Change([](F::ADatePeriod& p) { p.Next(); }); return;
    case kCurrent: Change([&](F::ADatePeriod& p) { p.SelectCurrent(context_.clock().date); }); return;
    default: return;
    }
}

void APeriodSelector::Change(const std::function<void(F::ADatePeriod&)>& edit)
{
    if (showing_)
        return;
    edit(period_);
    Show(period_);
    emit Changed();
}

void APeriodSelector::Show(const F::ADatePeriod& period)
{
    period_ = period;
    showing_ = true;
    const auto kind = period.Kind();
    kind_->Choose(kind ? static_cast<std::uint32_t>(*kind) + 1 : 0);
    start_->SetDate(period.Start());
    end_->SetDate(period.End());
    form_.ShowElement(kBudgetDateRow, F::FileSettings(db_).budgetDates != 0);
    form_.ControlAs<QCheckBox>(kByBudgetDateId)->setChecked(period.ByBudgetDate());
    for (int id : {kPrevious, kCurrent, kNext})
        if (QWidget* button = form_.Control(static_cast<std::int16_t>(id)))
            button->setEnabled(period.CanStep());
    showing_ = false;
}

}  // namespace UserInterface::Filters
