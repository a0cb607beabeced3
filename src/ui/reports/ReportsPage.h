// The reports page: the parameter pane beside the result of the chosen kind: the turnover
// tree with its shares and the ring chart (a click on either selects in the other), the
// dynamics histogram, the balance lines or the rate chart, or the validation message in their
// place. It recomputes when a parameter or the data changes; while hidden it only marks itself
// stale. Its commands add, change and delete data series.
#pragma once
#include "ui/RecordListPage.h"
#pragma push_macro("slots")
#undef slots
#include "analysis/PageRprt.h"
#include "analysis/ReportMessage.h"
#pragma pop_macro("slots")

#include <memory>
#include <set>

namespace Win32API::VelvixControls {
class AChartControl;
class AHistogram;
class APieChart;
}

namespace UserInterface::Reports {

class AGroupByCombo;
class AReportPane;

class AReportsPage final : public ARecordListPage {
public:
    // The result stack's children, in order.
    enum AResultView : int { kTurnoverView = 0, kDynamicsView, kBalancesView, kRatesView, kMessageView };

    AReportsPage(const AProgramContext& context, Database::ADatabase& db);
    ~AReportsPage() override;

    const AReportParameters& Parameters() const { return parameters_; }
    // Shows the parameters in the pane and recomputes.
    void SetParameters(const AReportParameters& parameters);
    AReportPane* Pane() const { return pane_; }
    AResultView View() const { return view_; }
    // The validation message shown in place of a result; empty while a result is shown.
    QString Message() const;
    Win32API::VelvixControls::APieChart* Pie() const;
    Win32API::VelvixControls::AHistogram* Histogram() const;
    Win32API::VelvixControls::AChartControl* TimeChart(AResultView view) const;

    void ApplyTexts() override;
    void FillActionsMenu(QMenu& menu) override;
    bool IsCommandEnabled(int command) const override;
    void RunCommand(int command) override;
    void ReadSettings(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> WriteSettings() const override;
    int PrintedSheetCount(QPainter& painter, const QRect& body, const APrintFonts& fonts) override;
    void PrintSheet(QPainter& painter, const QRect& body, int sheet, const APrintFonts& fonts) override;

protected:
    std::string Layout() const override;
    void Created() override;
    void Fill(Win32API::VelvixControls::Reports::AReportItemImpl& root) override;
    bool Concerns(const Database::Engine::ARecordBase& record) const override;

private:
    void ShowView(AResultView view);
    void ShowMessages(const std::vector<AReportMessage>& messages);
    void FillGrouping();
    void SelectNodeInList(int node);
    void SelectNodeInChart(int node);
    QWidget* ResultWidget() const;
    Win32API::VelvixForms::ADialogForm* PageForm() const { return const_cast<AReportsPage*>(this)->Form(); }

    AReportParameters parameters_;
    AReportPane* pane_ = nullptr;
    std::unique_ptr<AGroupByCombo> grouping_;
    AResultView view_ = kTurnoverView;
    std::set<std::u16string> shownMessages_;  // told once until the user changes a parameter
    std::set<std::u16string> silenced_;       // "Не показывать больше это сообщение"
    mutable bool dataChanged_ = false;
    bool showing_ = false;
    bool splitterPlaced_ = false;
};

}  // namespace UserInterface::Reports
