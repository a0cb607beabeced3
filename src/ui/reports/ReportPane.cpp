#include "ui/reports/ReportPane.h"

#pragma push_macro("slots")
#undef slots
#include "core/ChartColours.h"
#pragma pop_macro("slots")
#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/accounts/RecordPicker.h"
#include "ui/filters/Choosers.h"
#include "ui/filters/ClassifierRows.h"
#include "ui/reports/KindTicks.h"
#include "ui/filters/PeriodSelector.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>

namespace UserInterface::Reports {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;
namespace F = UserInterface::Filters;

namespace {

constexpr std::int16_t kKindPicker = -30, kCurrencyPicker = -31, kBucketPicker = -32, kSeriesList = -33,
                       kAccountList = -34, kRatePicker = -35, kRateInPicker = -36;
constexpr std::int16_t kClassifierTable = -67, kComment = -37;
constexpr int kClassifierBase = -80;  // the classifier rows' ids count down from here
constexpr std::int16_t kCurrencyRow = -61, kBucketRow = -62, kSeriesRow = -63, kAccountRow = -64, kKindsRow = -65,
                       kRatesRow = -66;
using namespace KindTick;
constexpr std::int16_t kZeroLine = 89, kSmooth = 90;

std::string PaneLayout()
{
    return "{t1xeyt"
           "{t1xe{bxl[s#82]}{bt2Wexe[rt#-30]}}" +
           Filters::PeriodLayout(SharedText::kReportPeriod) +
           "{t1#-61xe{bt8xl[s#84]}{bt2Wexe[rt#-31]}}"
           "{t1#-62xe{bt8xl[s#85]}{bt2Wexe[rt#-32]}}"
           "{t1#-63xe{bt8xl[s#86]}{bt2WeH110[Rt#-33]}{t3xlt4{b[bt#96]}{bl2[bt#97]}{bl2[bt#98]}}}"
           "{t1#-64xe{bt8xl[s#39]}{bt2WeH150[Rt#-34]}}"
           "{t1#-65xe{bt8xl[s#34]}{bt2xl[bCt#35]}{bt2xl[bCt#36]}{bt2xl[bCt#37]}{bt2xl[bCt#38]}"
           "{bt8xl[s#149]}{t2#-67xet2{b}{b}}{bt8xl[s#43]}{bt2xe[et#-37]}}"
           "{t1#-66xe{t2xet8#87(:t){bxr[s#88]}{bl4Wexe[rt#-35]}{bt2xr[s#386]}{bl4t2Wexe[rt#-36]}}"
           "{bt4xl[bCt#89]}{bt2xl[bCt#90]}}}";
}

constexpr AColour ToColour(Charts::ARgb rgb)
{
    return static_cast<AColour>(rgb.r) | static_cast<AColour>(rgb.g) << 8 | static_cast<AColour>(rgb.b) << 16;
}

}  // namespace

// A row of the series list: the series' colour and name, ticked while the report shows it.
class AReportPane::ASeriesItem final : public ARecordItem {
public:
    ASeriesItem(std::uint32_t id, std::u16string name, int hue, bool ticked, std::function<void(bool)> toggled)
        : ARecordItem(id), name_(std::move(name)), hue_(hue), ticked_(ticked), toggled_(std::move(toggled))
    {
    }
    std::u16string Text(int column) const override { return column == 0 ? name_ : std::u16string(); }
    ACheckState CheckState() const override { return ticked_ ? ACheckState::Checked : ACheckState::Unchecked; }
    void SetChecked(bool checked) override
    {
        ticked_ = checked;
        toggled_(checked);
    }
    int IconWidth() const override { return 14; }
    void DrawIcon(AReportCanvas& canvas, const ARect& rect) const override
    {
        if (!Charts::IsSeriesHue(hue_))
            return;
        const int side = std::min(rect.Width(), rect.Height()) - 4;
        const int top = rect.top + (rect.Height() - side) / 2;
        canvas.FillRect({rect.left + 1, top, rect.left + 1 + side, top + side}, ToColour(Charts::SeriesBarColour(hue_)));
    }

private:
    std::u16string name_;
    int hue_;
    bool ticked_;
    std::function<void(bool)> toggled_;
};

AReportPane::AReportPane(const AProgramContext& context, ADatabase& db, AChanged changed)
    : ADialogForm(PaneLayout(), context.strings.get()), context_(context), db_(db), changed_(std::move(changed))
{
    Create();
    const auto picker = [this](std::int16_t id) {
        return std::make_unique<Accounts::ARecordPicker>(*ControlAs<AReportPicker>(id));
    };
    kind_ = picker(kKindPicker);
    connect(kind_.get(), &Accounts::ARecordPicker::Changed, this, [this] {
        if (kind_->Chosen() != 0)
            Change([&](AReportParameters& p) { p.kind = static_cast<AReportKind>(kind_->Chosen() - 1); });
    });
    period_ = std::make_unique<Filters::APeriodSelector>(*this, context, db);
    connect(period_.get(), &Filters::APeriodSelector::Changed, this,
            [this] { Change([&](AReportParameters& p) { p.period = period_->Period(); }); });
    currency_ = picker(kCurrencyPicker);
    rateCurrency_ = picker(kRatePicker);
    rateInCurrency_ = picker(kRateInPicker);
    FillCurrencies();
    connect(currency_.get(), &Accounts::ARecordPicker::Changed, this,
            [this] { Change([&](AReportParameters& p) { p.currency = Currency(*currency_); }); });
    connect(rateCurrency_.get(), &Accounts::ARecordPicker::Changed, this,
            [this] { Change([&](AReportParameters& p) { p.rateCurrency = Currency(*rateCurrency_); }); });
    connect(rateInCurrency_.get(), &Accounts::ARecordPicker::Changed, this,
            [this] { Change([&](AReportParameters& p) { p.rateInCurrency = Currency(*rateInCurrency_); }); });
    bucket_ = picker(kBucketPicker);
    FillChoices();
    connect(bucket_.get(), &Accounts::ARecordPicker::Changed, this, [this] {
        if (const auto bucket = F::PeriodKindFromIndex(static_cast<int>(bucket_->Chosen()) - 1))
            Change([&](AReportParameters& p) { p.bucket = *bucket; });
    });
    seriesMode_.AddColumn(u"", 200, false);
    ControlAs<AReportWindow>(kSeriesList)->SetMode(&seriesMode_);
    accounts_ = std::make_unique<F::AAccountTicks>(*ControlAs<AReportWindow>(kAccountList), context, db);
    connect(accounts_.get(), &F::AAccountTicks::Changed, this,
            [this] { Change([&](AReportParameters& p) { p.accounts = F::AAccountSelection(accounts_->Ticked()); }); });
    const std::pair<std::int16_t, bool F::ATransactionKindFlags::*> flags[] = {
        {kIncome, &F::ATransactionKindFlags::income},
        {kExpense, &F::ATransactionKindFlags::expense},
        {kCredits, &F::ATransactionKindFlags::transferCredits},
        {kDebits, &F::ATransactionKindFlags::transferDebits}};
    for (auto [id, flag] : flags)
        connect(ControlAs<QCheckBox>(id), &QCheckBox::toggled, this,
                [this, flag](bool on) { Change([&](AReportParameters& p) { p.kinds.*flag = on; }); });
    classifiers_ = std::make_unique<F::AClassifierRows>(*this, kClassifierTable, kClassifierBase, context, db);
    connect(classifiers_.get(), &F::AClassifierRows::Changed, this,
            [this] { Change([&](AReportParameters& p) { p.classifierFilters = classifiers_->Chosen(); }); });
    connect(ControlAs<QLineEdit>(kComment), &QLineEdit::textChanged, this,
            [this](const QString& text) { Change([&](AReportParameters& p) { p.commentText = ToU16(text); }); });
    connect(ControlAs<QCheckBox>(kZeroLine), &QCheckBox::toggled, this,
            [this](bool on) { Change([&](AReportParameters& p) { p.zeroLine = on; }); });
    connect(ControlAs<QCheckBox>(kSmooth), &QCheckBox::toggled, this,
            [this](bool on) { Change([&](AReportParameters& p) { p.smooth = on; }); });
}

AReportPane::~AReportPane()
{
    if (auto* list = ControlAs<AReportWindow>(kSeriesList)) {
        list->Model().DeleteAllItems();
        list->SetMode(nullptr);
    }
}

// The kinds and the buckets (row ids are the index + 1: 0 is none), and the names of the
// rate pair, whose group's caption would otherwise name the first of them too.
void AReportPane::FillChoices()
{
    const auto& strings = context_.Strings();
    std::vector<Accounts::ARecordPicker::ARow> kinds, buckets;
    for (int k = 0; k < kReportKindCount; ++k)
        kinds.push_back({static_cast<std::uint32_t>(k + 1),
                         std::u16string(strings.Text(ReportKindLabel(static_cast<AReportKind>(k))))});
    for (int k = 0; k < F::kPeriodKindCount; ++k)
        buckets.push_back({static_cast<std::uint32_t>(k + 1),
                           std::u16string(strings.Text(F::PeriodKindLabel(*F::PeriodKindFromIndex(k))))});
    kind_->Fill(kinds);
    bucket_->Fill(buckets);
    ControlAs<AReportPicker>(kRatePicker)->setAccessibleName(TableText(strings, ColumnText::kRate).remove(u'&'));
    ControlAs<AReportPicker>(kRateInPicker)
        ->setAccessibleName(TableText(strings, ReportText::kRateInCurrency).remove(u'&'));
}

void AReportPane::ApplyTexts()
{
    showing_ = true;
    FillChoices();
    period_->ApplyTexts();
    showing_ = false;
    Show(parameters_);
}

void AReportPane::FillCurrencies()
{
    std::vector<Accounts::ARecordPicker::ARow> rows;
    for (auto* slot : db_.Currencies().Live())
        rows.push_back({slot->id, db_.Text(slot->Record().name)});
    for (auto* picker : {currency_.get(), rateCurrency_.get(), rateInCurrency_.get()})
        picker->Fill(rows);
}

void AReportPane::FillSeries()
{
    auto* list = ControlAs<AReportWindow>(kSeriesList);
    const AReportItemImpl* focused = list->Model().FocusedItem();
    const std::uint32_t focusedId = focused ? focused->RecordId() : 0;
    list->Model().DeleteAllItems();
    for (auto* slot : db_.Series().Live()) {
        const auto ref = Engine::ATableImpl<ASeries>::RefTo(slot);
        const bool ticked = std::find(parameters_.series.begin(), parameters_.series.end(), ref) != parameters_.series.end();
        list->Root().AddChild(std::make_unique<ASeriesItem>(
            slot->id, db_.Text(slot->Record().name), slot->Record().hue, ticked, [this, ref](bool on) {
                Change([&](AReportParameters& p) {
                    std::erase(p.series, ref);
                    if (on)
                        p.series.push_back(ref);
                });
            }));
    }
    list->RebuildRows();
    for (int r = 0; r < list->Model().RowCount(); ++r)
        if (list->Model().Row(r)->RecordId() == focusedId || (focusedId == 0 && r == 0)) {
            list->Model().FocusRow(r);
            break;
        }
}

void AReportPane::Refill()
{
    showing_ = true;
    FillCurrencies();
    accounts_->Fill();
    classifiers_->Refill(parameters_.classifierFilters);
    showing_ = false;
    Show(parameters_);
}

AReference<ASeries> AReportPane::FocusedSeries() const
{
    auto* list = const_cast<AReportPane*>(this)->ControlAs<AReportWindow>(kSeriesList);
    const AReportItemImpl* item = list->Model().FocusedItem();
    auto* slot = item ? db_.Series().Find(item->RecordId()) : nullptr;
    return slot && slot->Exists() ? Engine::ATableImpl<ASeries>::RefTo(slot) : AReference<ASeries>();
}

void AReportPane::IncludeSeries(AReference<ASeries> series)
{
    Change([&](AReportParameters& p) {
        if (std::find(p.series.begin(), p.series.end(), series) == p.series.end())
            p.series.push_back(series);
    });
    FillSeries();
}

AReference<ACurrency> AReportPane::Currency(const Accounts::ARecordPicker& picker) const
{
    return Engine::ATableImpl<ACurrency>::RefTo(db_.Currencies().Find(picker.Chosen()));
}

void AReportPane::Choose(Accounts::ARecordPicker& picker, AReference<ACurrency> currency)
{
    const auto* slot = db_.Currencies().Get(currency);
    picker.Choose(slot && slot->Exists() ? slot->id : 0);
}

void AReportPane::ShowRows(AReportKind kind)
{
    const auto is = [kind](std::initializer_list<AReportKind> kinds) {
        return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
    };
    using K = AReportKind;
    ShowElement(kCurrencyRow, is({K::Turnover, K::Dynamics, K::Balances}));
    ShowElement(kBucketRow, kind == K::Dynamics);
    ShowElement(kSeriesRow, kind == K::Dynamics);
    ShowElement(kAccountRow, is({K::Turnover, K::Balances}));
    ShowElement(kKindsRow, kind == K::Turnover);
    ShowElement(kRatesRow, kind == K::Rates);
}

void AReportPane::Change(const std::function<void(AReportParameters&)>& edit)
{
    if (showing_)
        return;
    // The controls already show what the user did; only the rows follow the kind.
    edit(parameters_);
    ShowRows(parameters_.kind);
    changed_(parameters_);
}

void AReportPane::Show(const AReportParameters& parameters)
{
    parameters_ = parameters;
    showing_ = true;
    kind_->Choose(static_cast<std::uint32_t>(parameters.kind) + 1);
    period_->Show(parameters.period);
    Choose(*currency_, parameters.currency);
    Choose(*rateCurrency_, parameters.rateCurrency);
    Choose(*rateInCurrency_, parameters.rateInCurrency);
    bucket_->Choose(static_cast<std::uint32_t>(parameters.bucket) + 1);
    FillSeries();
    accounts_->SetTicked(parameters.accounts.Accounts());
    ControlAs<QCheckBox>(kIncome)->setChecked(parameters.kinds.income);
    ControlAs<QCheckBox>(kExpense)->setChecked(parameters.kinds.expense);
    ControlAs<QCheckBox>(kCredits)->setChecked(parameters.kinds.transferCredits);
    ControlAs<QCheckBox>(kDebits)->setChecked(parameters.kinds.transferDebits);
    classifiers_->Show(parameters.classifierFilters);
    if (ToU16(ControlAs<QLineEdit>(kComment)->text()) != parameters.commentText)
        ControlAs<QLineEdit>(kComment)->setText(ToQString(parameters.commentText));
    ControlAs<QCheckBox>(kZeroLine)->setChecked(parameters.zeroLine);
    ControlAs<QCheckBox>(kSmooth)->setChecked(parameters.smooth);
    ShowRows(parameters.kind);
    showing_ = false;
}

}  // namespace UserInterface::Reports
