// The parameter pane of the reports page: "Вид отчёта:", the period, "В валюте:", "В
// разбивке по:", the series list with its three buttons, the ticked account tree, the
// transaction kinds with the classifier selections and the comment text, and the rate pair
// with its two ticks. Only the rows the chosen kind
// uses are shown; every change hands the page the new parameters at once.
#pragma once
#include "ui/DatabaseModel.h"
#pragma push_macro("slots")
#undef slots
#include "analysis/PageRprt.h"
#pragma pop_macro("slots")
#include "win32api/DynaForm.h"
#include "win32api/ReportMode.h"

#include <functional>
#include <memory>

namespace UserInterface {
struct AProgramContext;
}
namespace UserInterface::Accounts {
class ARecordPicker;
}
namespace UserInterface::Filters {
class AAccountTicks;
class AClassifierRows;
class APeriodSelector;
}

namespace UserInterface::Reports {

class AReportPane final : public Win32API::VelvixForms::ADialogForm {
    Q_OBJECT
public:
    static constexpr int kAddSeries = 96, kChangeSeries = 97, kDeleteSeries = 98;
    using AChanged = std::function<void(const AReportParameters&)>;

    AReportPane(const AProgramContext& context, Database::ADatabase& db, AChanged changed);
    ~AReportPane() override;

    // Shows the parameters without reporting a change.
    void Show(const AReportParameters& parameters);
    // Rereads currencies, accounts and series after the records changed, keeping the choices.
    void Refill();
    // The series of the focused row of the series list; none when it is empty.
    AReference<Database::ASeries> FocusedSeries() const;
    // Relabels the choices of the combos after a language switch.
    void ApplyTexts();
    // Ticks a series into the report (a series just added) and reports the change.
    void IncludeSeries(AReference<Database::ASeries> series);

private:
    class ASeriesItem;
    void FillChoices();
    void FillCurrencies();
    void FillSeries();
    void ShowRows(AReportKind kind);
    void Change(const std::function<void(AReportParameters&)>& edit);
    AReference<Database::ACurrency> Currency(const Accounts::ARecordPicker& picker) const;
    void Choose(Accounts::ARecordPicker& picker, AReference<Database::ACurrency> currency);

    const AProgramContext& context_;
    Database::ADatabase& db_;
    AChanged changed_;
    AReportParameters parameters_;
    std::unique_ptr<Filters::APeriodSelector> period_;
    std::unique_ptr<Accounts::ARecordPicker> kind_, currency_, bucket_, rateCurrency_, rateInCurrency_;
    std::unique_ptr<Filters::AAccountTicks> accounts_;
    std::unique_ptr<Filters::AClassifierRows> classifiers_;
    Win32API::VelvixControls::Reports::AReportMode seriesMode_;
    bool showing_ = false;
};

}  // namespace UserInterface::Reports
