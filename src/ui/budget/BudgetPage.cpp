#include "ui/budget/BudgetPage.h"

#include "analysis/BudgetEdit.h"
#include "core/Settings.h"
#include "ui/InterfaceTexts.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/accounts/RecordPicker.h"
#include "ui/budget/BudgetDialog.h"
#include "ui/categories/CategoriesPage.h"
#include "ui/filters/PeriodSelector.h"
#include "ui/reports/ShareBar.h"
#include "win32api/DynaForm.h"

#include <QCheckBox>
#include <QMenu>

#include <algorithm>

namespace UserInterface::Budget {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;

namespace {

constexpr int kColumnTitles[] = {BudgetText::kArticleColumn, BudgetText::kPlanColumn, BudgetText::kFactColumn,
                                 BudgetText::kFulfilmentColumn, BudgetText::kFulfilmentShareColumn};
constexpr std::uint16_t kWidths[] = {260, 120, 120, 100, 100};
constexpr int kPeriodCaption = SharedText::kReportPeriod, kCurrencyCaption = SharedText::kInCurrency;
using BudgetText::kChangeFolder, BudgetText::kChangeArticle, BudgetText::kDeleteFolder, BudgetText::kDeleteArticle;
constexpr AColour kBarColour = 0x0040B040, kOverBarColour = 0x004040E0;

// One row of the tree: the texts as computed, and the execution its bar shows.
class ABudgetRowItem final : public ARecordItem {
public:
    ABudgetRowItem(std::uint32_t id, std::vector<std::u16string> texts, std::optional<double> execution, bool folder)
        : ARecordItem(id), texts_(std::move(texts)), execution_(execution), folder_(folder)
    {
    }
    std::u16string Text(int column) const override
    {
        return column >= 0 && static_cast<std::size_t>(column) < texts_.size() ? texts_[static_cast<std::size_t>(column)]
                                                                              : std::u16string();
    }
    unsigned CellProperty(int column) const override
    {
        const bool amount = column == kPlanColumn || column == kFactColumn || column == kExecutionColumn;
        return (folder_ && column == kItemColumn ? kCellBold : kCellPlain) | (amount ? kCellRightAligned : kCellPlain);
    }
    void DrawCell(AReportCanvas& canvas, int column, const ARect& rect, const ACellStyle& style) const override
    {
        if (column != kBarColumn) {
            ARecordItem::DrawCell(canvas, column, rect, style);
            return;
        }
        // Past the plan the bar is full and turns red.
        if (execution_)
            Reports::DrawShareBar(canvas, rect, style, *execution_ / 100.0,
                                  *execution_ > 100.0 ? kOverBarColour : kBarColour);
    }

private:
    std::vector<std::u16string> texts_;
    std::optional<double> execution_;
    bool folder_;
};

}  // namespace

ABudgetPage::ABudgetPage(const AProgramContext& context, ADatabase& db) : ARecordListPage(context, db, true, {})
{
    for (int c = 0; c < 5; ++c)
        Mode().AddTitledColumn(kColumnTitles[c], kWidths[c], c != kItemColumn);
    parameters_.period = Filters::APeriodSelector::Initial(context, db);
    const auto currencies = db.Currencies().Live();
    if (!currencies.empty())
        parameters_.currency = Engine::ATableImpl<ACurrency>::RefTo(currencies.front());
}

ABudgetPage::~ABudgetPage()
{
    period_.reset();
    currencies_.reset();
}

std::string ABudgetPage::Layout() const
{
    return "{sxWeHe#-2{b~w150He#-3}{bWeHe[Rt#-1]}}";
}

void ABudgetPage::Created()
{
    const std::string pane = "{t1xeyt" + Filters::PeriodLayout(kPeriodCaption) + "{bt8xl[s#" +
                             std::to_string(kCurrencyCaption) + "]}{bt2Wexe[rt#-40]}{bt8xl[bCt#681]}}";
    pane_ = new Win32API::VelvixForms::ADialogForm(pane, context_.strings.get());
    pane_->Create();
    Form()->InsertForm(kPaneId, pane_);
    Form()->ShowElement(kPaneId, true);
    period_ = std::make_unique<Filters::APeriodSelector>(*pane_, context_, db_);
    currencies_ = std::make_unique<Accounts::ARecordPicker>(*pane_->ControlAs<AReportPicker>(kCurrencyId));
    FillCurrencies();
    connect(period_.get(), &Filters::APeriodSelector::Changed, this, [this] {
        parameters_.period = period_->Period();
        Refill();
    });
    connect(currencies_.get(), &Accounts::ARecordPicker::Changed, this, [this] {
        if (showing_)
            return;
        parameters_.currency = Engine::ATableImpl<ACurrency>::RefTo(db_.Currencies().Find(currencies_->Chosen()));
        Refill();
    });
    connect(pane_->ControlAs<QCheckBox>(kHideId), &QCheckBox::toggled, this, [this](bool on) {
        if (showing_)
            return;
        parameters_.hideUnplanned = on;
        Refill();
    });
    ShowParameters();
    Form()->PlaceSplitterBar(0, -2);
    connect(Report(), &AReportWindow::Notify, this, [this](int code, bool*) {
        if (code == kNotifyDoubleClick && IsCommandEnabled(Command::kChange))
            RunCommand(Command::kChange);
    });
}

void ABudgetPage::FillCurrencies()
{
    std::vector<Accounts::ARecordPicker::ARow> rows;
    for (auto* slot : db_.Currencies().Live())
        rows.push_back({slot->id, db_.Text(slot->Record().name)});
    showing_ = true;
    currencies_->Fill(rows);
    showing_ = false;
}

void ABudgetPage::ShowParameters()
{
    if (!pane_)
        return;
    showing_ = true;
    period_->Show(parameters_.period);
    const auto* currency = db_.Currencies().Get(parameters_.currency);
    currencies_->Choose(currency ? currency->id : 0);
    pane_->ControlAs<QCheckBox>(kHideId)->setChecked(parameters_.hideUnplanned);
    showing_ = false;
}

void ABudgetPage::SetParameters(const ABudgetParameters& parameters)
{
    parameters_ = parameters;
    ShowParameters();
    Refill();
}

bool ABudgetPage::Concerns(const Engine::ARecordBase& record) const
{
    // Plans, facts and names follow nearly every table; only the page records do not count.
    return !record.table || record.table->Id() != APageInfo::kTableId;
}

void ABudgetPage::Fill(AReportItemImpl& root)
{
    if (currencies_) {
        FillCurrencies();  // a currency may have come or gone
        const auto* currency = db_.Currencies().Get(parameters_.currency);
        if (!currency || !currency->Exists())
            parameters_.currency = {};
        currencies_->Choose(currency && currency->Exists() ? currency->id : 0);
    }
    const ABudgetTable table = ComputeBudget(db_, parameters_);
    const ACurrency* currency = db_.Currencies().Record(parameters_.currency);
    const int decimals = currency ? static_cast<int>(std::min<std::uint32_t>(currency->precision, 4)) : 2;
    const auto& locale = context_.Strings().Locale();
    const auto add = [&](const auto& self, AReportItemImpl& parent, int index) -> void {
        const ABudgetRow& row = table.rows[static_cast<std::size_t>(index)];
        if (row.hidden)
            return;
        const auto* slot = db_.BudgetItems().Get(row.item);
        std::vector<std::u16string> texts{row.name,
                                          AmountCell(locale, row.plan, row.planKnown, row.planUnconvertible, decimals),
                                          AmountCell(locale, row.fact, row.factKnown, row.factUnconvertible, decimals),
                                          std::u16string(), ExecutionCell(locale, row)};
        auto* item = parent.AddChild(
            std::make_unique<ABudgetRowItem>(slot ? slot->id : 0, std::move(texts), Execution(row), !row.article));
        for (int child : row.children)
            self(self, *item, child);
    };
    for (int top : table.tops)
        add(add, root, top);
}

AReference<ABudgetItem> ABudgetPage::Focused() const
{
    const AReportItemImpl* item = Report() ? Report()->Model().FocusedItem() : nullptr;
    auto* slot = item ? db_.BudgetItems().Find(item->RecordId()) : nullptr;
    return slot && slot->Exists() ? Engine::ATableImpl<ABudgetItem>::RefTo(slot) : AReference<ABudgetItem>();
}

bool ABudgetPage::FocusedIsArticle() const
{
    const ABudgetItem* record = db_.BudgetItems().Record(Focused());
    return record && !record->series.IsNull();
}

AReference<ABudgetItem> ABudgetPage::TargetFolder() const
{
    const AReference<ABudgetItem> focused = Focused();
    const ABudgetItem* record = db_.BudgetItems().Record(focused);
    if (!record)
        return {};
    return record->series.IsNull() ? focused : record->parent;
}

void ABudgetPage::ApplyTexts()
{
    ARecordListPage::ApplyTexts();
    if (period_) {
        showing_ = true;
        period_->ApplyTexts();
        showing_ = false;
    }
}

void ABudgetPage::FillActionsMenu(QMenu& menu)
{
    for (int id : {PageCommand::kAddFolder, PageCommand::kAddArticle, Command::kChange, PageCommand::kPlans,
                   PageCommand::kMove, Command::kDelete})
        menu.addAction(QString())->setData(id);
}

bool ABudgetPage::IsCommandEnabled(int command) const
{
    const bool focused = !Focused().IsNull();
    switch (command) {
    case PageCommand::kAddFolder:
    case PageCommand::kAddArticle: return true;
    case Command::kChange:
    case PageCommand::kMove:
    case Command::kDelete: return focused;
    case PageCommand::kPlans: return FocusedIsArticle();
    default: return false;
    }
}

void ABudgetPage::RunCommand(int command)
{
    if (!IsCommandEnabled(command))
        return;
    AReference<ABudgetItem> created;
    switch (command) {
    case PageCommand::kAddFolder:
        if (RunFolderDialog(Form(), context_, db_, {}, TargetFolder(), &created))
            FocusItem(created);
        return;
    case PageCommand::kAddArticle:
        if (RunArticleDialog(Form(), context_, db_, {}, TargetFolder(), &created))
            FocusItem(created);
        return;
    case Command::kChange:
        if (FocusedIsArticle())
            RunArticleDialog(Form(), context_, db_, Focused(), {}, nullptr);
        else
            RunFolderDialog(Form(), context_, db_, Focused(), {}, nullptr);
        return;
    case PageCommand::kPlans:
        RunPlansDialog(Form(), context_, db_, Focused(), Dates::ToYmd(parameters_.period.Start()).year,
                       parameters_.currency);
        return;
    case PageCommand::kMove: RunMoveDialog(Form(), context_, db_, Focused()); return;
    case Command::kDelete: DeleteFocused(); return;
    default: return;
    }
}

void ABudgetPage::DeleteFocused()
{
    const AReference<ABudgetItem> item = Focused();
    const bool article = FocusedIsArticle();
    const auto& strings = context_.Strings();
    const std::u16string title(strings.Text(article ? kDeleteArticle : kDeleteFolder));
    if (!Categories::AskToDelete(context_, Form(), DeleteQuestion(db_, item).Format(strings), title))
        return;
    bool withSeries = false;
    if (const auto offer = DeleteSeriesOffer(db_, item))
        withSeries = Categories::AskToDelete(context_, Form(), offer->Format(strings), title);
    DeleteItem(db_, strings, item, withSeries);
}

void ABudgetPage::FocusItem(AReference<ABudgetItem> item)
{
    Refill();
    const auto* slot = db_.BudgetItems().Get(item);
    AReportListModel& model = Report()->Model();
    const auto find = [&](const auto& self, AReportItemImpl& at) -> AReportItemImpl* {
        if (slot && at.RecordId() == slot->id)
            return &at;
        for (const auto& child : at.Children())
            if (AReportItemImpl* found = self(self, *child))
                return found;
        return nullptr;
    };
    if (AReportItemImpl* found = find(find, Report()->Root())) {
        Report()->MakeVisible(*found);
        model.RebuildIfStale();
        for (int r = 0; r < model.RowCount(); ++r)
            if (model.Row(r) == found)
                model.FocusRow(r);
        Report()->Refresh();
    }
}

std::vector<std::uint8_t> ABudgetPage::WriteSettings() const
{
    return SaveBudgetSettings(db_, parameters_, ARecordListPage::WriteSettings(), context_.clock().date,
                              context_.Options().Flag(Settings::kImprovedDateRange));
}

void ABudgetPage::ReadSettings(std::span<const std::uint8_t> bytes)
{
    std::vector<std::uint8_t> treeState;
    const bool read = LoadBudgetSettings(db_, std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                                         context_.clock().date, parameters_, treeState);
    if (read)
        ARecordListPage::ReadSettings(treeState);
    ShowParameters();
    if (IsFilled())
        Refill();
}

}  // namespace UserInterface::Budget

namespace UserInterface {

std::unique_ptr<AAbstractPage> CreateBudgetPage(const AProgramContext& context, Database::ADatabase& db)
{
    return std::make_unique<Budget::ABudgetPage>(context, db);
}

}  // namespace UserInterface
