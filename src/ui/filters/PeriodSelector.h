// The period selector of the transaction, report and budget panes: the kind picker with the previous,
// current and next period, the two dates, and the budget-date tick while the file keeps
// budget dates. It works on controls of its owner's form laid out by PeriodLayout().
#pragma once
#include "ui/DatabaseModel.h"
#pragma push_macro("slots")
#undef slots
#include "analysis/DateSpan.h"
#pragma pop_macro("slots")

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Win32API::VelvixForms {
class ADialogForm;
}
namespace Win32API::VelvixControls {
class ADatePicker;
}
namespace Win32API::VelvixControls::Reports::Implementation {
class AReportPicker;
}

namespace UserInterface {
struct AProgramContext;
}
namespace UserInterface::Accounts {
class ARecordPicker;
}

namespace UserInterface::Filters {

// The rows of the selector, captioned with string `captionId`, for a "{t1...}" pane.
std::string PeriodLayout(int captionId);

class APeriodSelector final : public QObject {
    Q_OBJECT
public:
    // The tick and the three step buttons; each id is its caption's.
    static constexpr std::int16_t kByBudgetDateId = 60;
    static constexpr int kPrevious = 61, kCurrent = 20, kNext = 63;

    APeriodSelector(Win32API::VelvixForms::ADialogForm& form, const AProgramContext& context, Database::ADatabase& db);
    ~APeriodSelector() override;

    const Filters::ADatePeriod& Period() const { return period_; }
    // Shows the period without reporting a change.
    void Show(const Filters::ADatePeriod& period);
    // Relabels the kinds after a language switch.
    void ApplyTexts();
    // The current month, as a new page starts.
    static Filters::ADatePeriod Initial(const AProgramContext& context, Database::ADatabase& db);
    Win32API::VelvixControls::Reports::Implementation::AReportPicker& KindPicker() const;

signals:
    void Changed();

private:
    void FillKinds();
    void Change(const std::function<void(Filters::ADatePeriod&)>& edit);
    void OnCommand(int id);
    std::optional<Filters::ADateRange> Transactions() const;

    Win32API::VelvixForms::ADialogForm& form_;
    const AProgramContext& context_;
    Database::ADatabase& db_;
    std::unique_ptr<Accounts::ARecordPicker> kind_;
    Win32API::VelvixControls::ADatePicker* start_ = nullptr;
    Win32API::VelvixControls::ADatePicker* end_ = nullptr;
    Filters::ADatePeriod period_;
    bool showing_ = false;
};

}  // namespace UserInterface::Filters
