#include "ui/reports/ReportsPage.h"

#include "analysis/AnalysisTexts.h"
#include "core/CommonTexts.h"
#include "core/Settings.h"
#include "ui/InterfaceTexts.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/reports/GroupByCombo.h"
#include "ui/filters/PeriodSelector.h"
#include "ui/reports/ReportPane.h"
#include "ui/reports/ReportResults.h"
#include "ui/reports/SeriesDialog.h"
#include "win32api/APieCtrl.h"
#include "win32api/ChrtCtrl.h"
#include "win32api/DynaForm.h"
#include "win32api/HistCtrl.h"
#include "win32api/ReportPicker.h"

#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace UserInterface::Reports {

using namespace Database;
using namespace Win32API::VelvixControls;
using namespace Win32API::VelvixControls::Reports;

namespace {

constexpr std::int16_t kPaneId = -3, kGroupingRow = -5, kGroupingPicker = -6, kResultStack = -7, kPieId = -9,
                       kHistogramId = -10, kBalancesId = -11, kRatesId = -12, kMessageId = -13;
constexpr int kColumnTitles[kTurnoverColumnCount] = {UtilityClasses::Strings::CommonText::kName,
                                                     SharedText::kAmount,
                                                     ColumnText::kOfParentTurnover,
                                                     ColumnText::kParentShare,
                                                     ColumnText::kOfTotalTurnover,
                                                     ColumnText::kTotalShare};
constexpr std::uint16_t kWidths[kTurnoverColumnCount] = {220, 175, 90, 70, 90, 70};

AReportParameters InitialParameters(const AProgramContext& context, ADatabase& db)
{
    AReportParameters p;
    p.period = Filters::APeriodSelector::Initial(context, db);
    const auto currencies = db.Currencies().Live();
    if (!currencies.empty())
        p.currency = p.rateInCurrency = Engine::ATableImpl<ACurrency>::RefTo(currencies.front());
    if (currencies.size() > 1)
        p.rateCurrency = Engine::ATableImpl<ACurrency>::RefTo(currencies[1]);
    std::vector<AReference<AAccount>> accounts;
    for (auto* slot : db.Accounts().Live())
        accounts.push_back(Engine::ATableImpl<AAccount>::RefTo(slot));
    p.accounts = Filters::AAccountSelection(std::move(accounts));
    for (auto* slot : db.Series().Live())
        p.series.push_back(Engine::ATableImpl<ASeries>::RefTo(slot));
    if (!db.Classifiers().Live().empty())
        p.grouping = Engine::ATableImpl<AClassifier>::RefTo(db.Classifiers().Live().front());
    return p;
}

}  // namespace

AReportsPage::AReportsPage(const AProgramContext& context, ADatabase& db)
    : ARecordListPage(context, db, true, {}), parameters_(InitialParameters(context, db))
{
    for (int c = 0; c < kTurnoverColumnCount; ++c)
        Mode().AddTitledColumn(kColumnTitles[c], kWidths[c], c != kNameColumn);
}

AReportsPage::~AReportsPage() { grouping_.reset(); }

std::string AReportsPage::Layout() const
{
    return "{sxWeHe#-2{b~w150He#-3}"
           "{t1WeHexeye{t2#-5xlb4{bxl[s#44]}{bl4W220[rt#-6]}}"
           "{SWeHexeye#-7{sxWeHexeye#-8{bWeHe[Rt#-1]}{bW100WeHe[ct#-9]}}{bWeHe[ht#-10]}{bWeHe[gt#-11]}{bWeHe[gt#-12]}"
           "{bWeHe[gt#-13]}}}}";
}

void AReportsPage::Created()
{
    pane_ = new AReportPane(context_, db_, [this](const AReportParameters& parameters) {
        parameters_ = parameters;
        shownMessages_.clear();
        Refill();
    });
    Form()->InsertForm(kPaneId, pane_);
    Form()->ShowElement(kPaneId, true);
    pane_->Show(parameters_);
    connect(pane_, &Win32API::VelvixForms::ADialogForm::Command, this, [this](int id) {
        switch (id) {
        case AReportPane::kAddSeries: RunCommand(Command::kAdd); return;
        case AReportPane::kChangeSeries: RunCommand(Command::kChange); return;
        case AReportPane::kDeleteSeries: RunCommand(Command::kDelete); return;
        default: return;
        }
    });
    grouping_ = std::make_unique<AGroupByCombo>(*Form()->ControlAs<AReportPicker>(kGroupingPicker), context_.Strings(), db_);
    FillGrouping();
    connect(grouping_.get(), &AGroupByCombo::Changed, this, [this] {
        if (showing_)
            return;
        parameters_.grouping = grouping_->Chosen();
        shownMessages_.clear();
        Refill();
    });
    Form()->PlaceSplitterBar(0, -2);
    connect(Pie(), &APieChart::ItemClicked, this, [this](APieChart::AItem* item) {
        Pie()->SetSelected(item);
        if (auto* node = dynamic_cast<APieChartItem*>(item))
            SelectNodeInList(node->Node());
    });
    connect(Report(), &AReportWindow::Notify, this, [this](int code, bool*) {
        if (code != kNotifySelectionChanged)
            return;
        const AReportItemImpl* focused = Report()->Model().FocusedItem();
        SelectNodeInChart(focused ? NodeOfRow(focused->RecordId()) : -1);
    });
    ShowView(kTurnoverView);
}

APieChart* AReportsPage::Pie() const { return PageForm() ? PageForm()->ControlAs<APieChart>(kPieId) : nullptr; }
AHistogram* AReportsPage::Histogram() const
{
    return PageForm() ? PageForm()->ControlAs<AHistogram>(kHistogramId) : nullptr;
}
AChartControl* AReportsPage::TimeChart(AResultView view) const
{
    if (!PageForm())
        return nullptr;
    return PageForm()->ControlAs<AChartControl>(view == kBalancesView ? kBalancesId
                                            : view == kRatesView  ? kRatesId
                                                                  : kMessageId);
}

QString AReportsPage::Message() const
{
    return view_ == kMessageView && TimeChart(kMessageView) ? TimeChart(kMessageView)->Message() : QString();
}

bool AReportsPage::Concerns(const Engine::ARecordBase& record) const
{
    // Every report follows the data; only the page records do not count.
    if (record.table && record.table->Id() == APageInfo::kTableId)
        return false;
    dataChanged_ = true;
    return true;
}

void AReportsPage::FillGrouping()
{
    showing_ = true;
    grouping_->Fill();
    grouping_->Choose(parameters_.grouping);
    showing_ = false;
}

void AReportsPage::ShowView(AResultView view)
{
    view_ = view;
    Form()->SelectStackChild(kResultStack, static_cast<int>(view));
    Form()->ShowElement(kGroupingRow, view == kTurnoverView);
}

void AReportsPage::Fill(AReportItemImpl& root)
{
    if (!pane_)
        return;
    if (dataChanged_) {
        // Accounts, currencies, series or classifiers may have come or gone.
        dataChanged_ = false;
        pane_->Refill();
        FillGrouping();
    }
    if (const std::optional<int> failure = ValidateReport(db_, parameters_)) {
        TimeChart(kMessageView)->SetMessage(TableText(context_.Strings(), *failure));
        TimeChart(kMessageView)->setAccessibleName(TableText(context_.Strings(), *failure));
        ShowView(kMessageView);
        return;
    }
    const AReportCurrency currency = ReportCurrency(db_, parameters_.currency);
    switch (parameters_.kind) {
    case AReportKind::Turnover: {
        ATurnoverOptions options;
        options.hideClosedAccounts = context_.Options().Flag(Settings::kHideClosedAccounts);
        const ATurnoverReport report = ComputeTurnover(db_, context_.Strings(), parameters_, options);
        AddTurnoverRows(root, context_, report, currency);
        ShowTurnover(*Pie(), context_, report, parameters_, currency);
        ShowView(kTurnoverView);
        if (!splitterPlaced_ && Form()->width() > 0) {
            // The list takes what the ring chart leaves, until the user drags the bar.
            splitterPlaced_ = true;
            Form()->PlaceSplitterBar(Form()->width() - std::max(280, Form()->width() / 4), -8);
        }
        ShowMessages(report.messages);
        return;
    }
    case AReportKind::Dynamics: {
        const ADynamicsReport report = ComputeDynamics(db_, parameters_);
        ShowDynamics(*Histogram(), context_, report, parameters_, currency);
        ShowView(kDynamicsView);
        ShowMessages(report.messages);
        return;
    }
    case AReportKind::Balances: {
        const ABalanceReport report = ComputeBalances(db_, parameters_);
        ShowBalances(*TimeChart(kBalancesView), context_, report, parameters_, currency);
        ShowView(kBalancesView);
        ShowMessages(report.messages);
        return;
    }
    case AReportKind::Rates: {
        const std::u16string pair =
            CurrencyCode(db_, parameters_.rateCurrency) + u" / " + CurrencyCode(db_, parameters_.rateInCurrency);
        ShowRates(*TimeChart(kRatesView), context_, ComputeRates(db_, parameters_), parameters_, pair);
        ShowView(kRatesView);
        return;
    }
    }
}

// Accounts or series left out are told once, not at every recompute the data causes.
void AReportsPage::ShowMessages(const std::vector<AReportMessage>& messages)
{
    for (const AReportMessage& message : messages) {
        const std::u16string text = message.Format(context_.Strings());
        if (silenced_.contains(text) || !shownMessages_.insert(text).second)
            continue;
        Win32API::VelvixForms::AMessageBoxOptions options;
        options.text = text;
        options.icon = Win32API::VelvixForms::AMessageIcon::Warning;
        options.offerDontShowAgain = true;
        bool silence = false;
        options.dontShowAgain = &silence;
        context_.Dialogs().ShowMessage(Form(), options);
        if (silence)
            silenced_.insert(text);
    }
}

void AReportsPage::SelectNodeInList(int node)
{
    AReportListModel& model = Report()->Model();
    model.RebuildIfStale();
    for (int r = 0; r < model.RowCount(); ++r)
        if (NodeOfRow(model.Row(r)->RecordId()) == node) {
            model.FocusRow(r);
            Report()->EnsureRowVisible(r);
            Report()->Refresh();
            return;
        }
}

void AReportsPage::SelectNodeInChart(int node)
{
    APieChart* pie = Pie();
    const auto find = [node](const auto& self, APieChart::AItem* item) -> APieChart::AItem* {
        if (!item)
            return nullptr;
        if (auto* turnover = dynamic_cast<APieChartItem*>(item); turnover && turnover->Node() == node)
            return item;
        for (const auto& child : item->Children())
            if (APieChart::AItem* found = self(self, child.get()))
                return found;
        return nullptr;
    };
    pie->SetSelected(find(find, pie->Root()));
}

void AReportsPage::ApplyTexts()
{
    ARecordListPage::ApplyTexts();
    if (!pane_)
        return;
    pane_->ApplyTexts();
    FillGrouping();
}

void AReportsPage::FillActionsMenu(QMenu& menu)
{
    for (int id : {Command::kAdd, Command::kChange, Command::kDelete})
        menu.addAction(QString())->setData(id);
}

bool AReportsPage::IsCommandEnabled(int command) const
{
    switch (command) {
    case Command::kAdd: return pane_ != nullptr;
    case Command::kChange:
    case Command::kDelete: return pane_ && !pane_->FocusedSeries().IsNull();
    default: return false;
    }
}

void AReportsPage::RunCommand(int command)
{
    if (!IsCommandEnabled(command))
        return;
    AReference<ASeries> created;
    switch (command) {
    case Command::kAdd:
        if (RunSeriesDialog(Form(), context_, db_, {}, &created))
            pane_->IncludeSeries(created);
        return;
    case Command::kChange: RunSeriesDialog(Form(), context_, db_, pane_->FocusedSeries(), nullptr); return;
    case Command::kDelete: DeleteSeriesAsked(Form(), context_, db_, pane_->FocusedSeries()); return;
    default: return;
    }
}

std::vector<std::uint8_t> AReportsPage::WriteSettings() const
{
    AReportParameters p = parameters_;
    p.chartSettings = ARecordListPage::WriteSettings();  // the turnover list's columns
    return SaveReportSettings(db_, p, {context_.clock().date, context_.Options().Flag(Settings::kImprovedDateRange)});
}

void AReportsPage::ReadSettings(std::span<const std::uint8_t> bytes)
{
    AReportParameters read = InitialParameters(context_, db_);
    if (!LoadReportSettings(db_, std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                            {context_.clock().date, context_.Options().Flag(Settings::kImprovedDateRange)}, read))
        return;
    parameters_ = std::move(read);
    ARecordListPage::ReadSettings(parameters_.chartSettings);
    if (pane_) {
        pane_->Show(parameters_);
        FillGrouping();
    }
    if (IsFilled())
        Refill();
}

void AReportsPage::SetParameters(const AReportParameters& parameters)
{
    parameters_ = parameters;
    if (pane_) {
        pane_->Show(parameters_);
        FillGrouping();
    }
    Refill();
}

QWidget* AReportsPage::ResultWidget() const
{
    switch (view_) {
    case kTurnoverView: return Pie();
    case kDynamicsView: return Histogram();
    default: return TimeChart(view_);
    }
}

// The turnover list's sheets, then one sheet with the chart (or the message) as it is shown.
int AReportsPage::PrintedSheetCount(QPainter& painter, const QRect& body, const APrintFonts& fonts)
{
    const int listSheets = view_ == kTurnoverView ? ARecordListPage::PrintedSheetCount(painter, body, fonts) : 0;
    return listSheets + 1;
}

void AReportsPage::PrintSheet(QPainter& painter, const QRect& body, int sheet, const APrintFonts& fonts)
{
    const int listSheets = view_ == kTurnoverView ? ARecordListPage::PrintedSheetCount(painter, body, fonts) : 0;
    if (sheet < listSheets) {
        ARecordListPage::PrintSheet(painter, body, sheet, fonts);
        return;
    }
    QWidget* chart = ResultWidget();
    if (!chart)
        return;
    if (chart->width() < 100 || chart->height() < 100)
        chart->resize(800, 600);  // a chart never shown has no size of its own yet
    // Under the chart, what it shows in words: the kind, the period and the totals.
    const QStringList lines = chart->accessibleDescription().split(u'\n', Qt::SkipEmptyParts);
    const int lineHeight = QFontMetrics(fonts.normal, painter.device()).height();
    const int textHeight = static_cast<int>(lines.size()) * lineHeight;
    const QRect area(body.left(), body.top(), body.width(), std::max(1, body.height() - textHeight - lineHeight));
    // The chart keeps its proportions, scaled to the area's width or height.
    const double scale = std::min(static_cast<double>(area.width()) / chart->width(),
                                  static_cast<double>(area.height()) / chart->height());
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    chart->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.restore();
    painter.save();
    painter.setFont(fonts.normal);
    int y = area.top() + static_cast<int>(chart->height() * scale) + lineHeight;
    for (const QString& line : lines) {
        painter.drawText(QRect(body.left(), y, body.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += lineHeight;
    }
    painter.restore();
}

}  // namespace UserInterface::Reports

namespace UserInterface {

std::unique_ptr<AAbstractPage> CreateReportsPage(const AProgramContext& context, Database::ADatabase& db)
{
    return std::make_unique<Reports::AReportsPage>(context, db);
}

}  // namespace UserInterface
