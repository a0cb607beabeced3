#include "ui/transactions/TransactionPageFilters.h"

#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "win32api/DateCtrl.h"
#include "win32api/ReportPicker.h"

#include <QLineEdit>

namespace UserInterface::Transactions {

using namespace Database;
using namespace Win32API::VelvixControls;
using namespace Win32API::VelvixControls::Reports;
namespace F = UserInterface::Filters;

namespace {

// "&Период:" with the kind, the three steps, "&С:" and "&по:" with the dates, the comment, the reset.
constexpr const char* kLayout =
    "{t1xeyt#145(:t)"
    "{t2xet8{bxl[sg#18]}{bl4Wexe[rt#-20]}}"
    "{t3xet4{b[bt#61]}{bl2[bt#20]}{bl2[bt#63]}}"
    "{t2xet4{bxr[s#16]}{bl4Wexe[Dt#-21]}{bt2xr[s#17]}{bl4t2Wexe[Dt#-22]}}"
    "{bt8xl[s#43]}{bt2xe[et#-23]}"
    "{bt10xr[bt#148]}}";

}  // namespace

ATransactionPageFilters::ATransactionPageFilters(const AProgramContext& context, ADatabase& db, AChanged changed)
    : ADialogForm(kLayout, context.strings.get()),
      context_(context),
      db_(db),
      changed_(std::move(changed)),
      kindMode_(std::make_unique<APageMode>(context, false))
{
    Create();
    kindMode_->AddTitledColumn(18, 120, false);
    kind_ = ControlAs<AReportPicker>(kKindId);
    kind_->SetMode(kindMode_.get());
    for (int k = 0; k < F::kPeriodKindCount; ++k)
        kind_->Root().AddChild(std::make_unique<ATextItem>(
            static_cast<std::uint32_t>(k),
            std::vector<std::u16string>{std::u16string(context.Strings().Text(F::PeriodKindLabel(*F::PeriodKindFromIndex(k))))}));
    kind_->RebuildRows();
    start_ = ControlAs<ADatePicker>(kStartId);
    end_ = ControlAs<ADatePicker>(kEndId);
    start_->SetPicture(context.Strings().Locale().shortDatePicture);
    end_->SetPicture(context.Strings().Locale().shortDatePicture);
    kind_->setToolTip(TableText(context.Strings(), 19));

    connect(kind_, &AReportPicker::Notify, this, [this](int code, bool*) {
        const AReportItemImpl* item = kind_->SelectedItem();
        const auto kind = item ? F::PeriodKindFromIndex(static_cast<int>(item->RecordId())) : std::nullopt;
        if (code == kNotifySelectionChanged && kind)
            Change([&](F::ATransactionPageFilter& f) {
                f.period.SelectKind(*kind, F::TransactionDateRange(db_, f.period.UsesBudgetDates(F::FileSettings(db_).budgetDates)),
                                    context_.clock().date);
            });
    });
    auto dates = [this] {
        Change([&](F::ATransactionPageFilter& f) {
            f.period.SetDates(start_->Date(), end_->Date(), F::TransactionDateRange(db_, false));
        });
    };
    connect(start_, &QDateEdit::dateChanged, this, dates);
    connect(end_, &QDateEdit::dateChanged, this, dates);
    connect(ControlAs<QLineEdit>(kCommentId), &QLineEdit::textChanged, this, [this](const QString& text) {
        Change([&](F::ATransactionPageFilter& f) { f.comment = ToU16(text); });
    });
    connect(this, &ADialogForm::Command, this, &ATransactionPageFilters::OnCommand);
}

ATransactionPageFilters::~ATransactionPageFilters() = default;

F::ATransactionPageFilter ATransactionPageFilters::Initial(const AProgramContext& context, ADatabase& db)
{
    return {F::ADatePeriod(context.clock().date, F::TransactionDateRange(db, false)), {}, {}, {}};
}

void ATransactionPageFilters::OnCommand(int id)
{
    switch (id) {
    case kPrevious: Change([](F::ATransactionPageFilter& f) { f.period.Previous(); }); return;
    case kNext: Change([](F::ATransactionPageFilter& f) { f.period.Next(); }); return;
    case kCurrent: Change([&](F::ATransactionPageFilter& f) { f.period.SelectCurrent(context_.clock().date); }); return;
    case kReset: Change([&](F::ATransactionPageFilter& f) { f = Initial(context_, db_); }); return;
    default: return;
    }
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
    const auto kind = filter.period.Kind();
    kind_->Select(kind ? kind_->Model().Row(static_cast<int>(*kind)) : nullptr);
    start_->SetDate(filter.period.Start());
    end_->SetDate(filter.period.End());
    auto* comment = ControlAs<QLineEdit>(kCommentId);
    if (ToU16(comment->text()) != filter.comment)
        comment->setText(ToQString(filter.comment));
    for (int id : {kPrevious, kCurrent, kNext})
        if (QWidget* button = Control(static_cast<std::int16_t>(id)))
            button->setEnabled(filter.period.CanStep());
    showing_ = false;
}

}  // namespace UserInterface::Transactions
