#include "ui/currencies/CurrencyPage.h"

#pragma push_macro("slots")
#undef slots
#include "rates/Currencies.h"
#include "rates/RateList.h"
#include "rates/Rates.h"
#pragma pop_macro("slots")

#include "core/Settings.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/currencies/CurrencyDialog.h"
#include "ui/currencies/DownloadWizard.h"
#include "ui/currencies/RateDialog.h"
#include "win32api/DynaForm.h"
#include "win32api/MessageBox.h"
#include "win32api/ReportPicker.h"

#include <QMenu>
#include <QRadioButton>

namespace UserInterface::Currencies {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;
using Win32API::VelvixForms::AMessageBoxOptions;

namespace {

constexpr std::uint32_t kSettingsTag = 0x50435246;  // "FRCP"
constexpr std::uint16_t kSettingsVersion = 1;
constexpr int kCurrencyName = Rates::CurrencyText::kNameColumn, kCurrencyCode = Rates::CurrencyText::kCodeColumn,
              kRateDate = 380, kRateValue = 366, kPairText = 435;

}  // namespace

ACurrencyPage::ACurrencyPage(const AProgramContext& context, ADatabase& db)
    : ARecordListPage(context, db, false,
                      {ACurrency::kTableId, ARateHeader::kTableId, ARateValue::kTableId, AString::kTableId}),
      pairMode_(std::make_unique<APageMode>(context, false))
{
    const auto title = [this](int currencies, int rates) {
        return [this, currencies, rates] {
            return std::u16string(context_.Strings().Text(view_ == AView::Rates ? rates : currencies));
        };
    };
    Mode().AddComputedColumn(title(kCurrencyName, kRateDate), 240, false);
    Mode().AddComputedColumn(title(kCurrencyCode, kRateValue), 140);
    pairMode_->AddTitledColumn(kPairText, 200, false);
}

ACurrencyPage::~ACurrencyPage()
{
    if (pairs_) {
        pairs_->Model().DeleteAllItems();
        pairs_->SetMode(nullptr);
    }
}

std::string ACurrencyPage::Layout() const
{
    // "Просмотр:" with the two views and, for the rates, the pair; the list under them, and
    // under the list the download.
    return "{t1WeHe{t4Wexll4t4b4{bxl[s#376]}{bl8[bRgt#377]}{bl8[bRt#378]}{b#-4l16{t2{bxr[s#379]}"
           "{bl4W200[rt#-3]}}}}{bWeHe[Rt#-1]}{t2Wet4r4b4{bWe}{bxr[bt#383]}}}";
}

void ACurrencyPage::Created()
{
    pairs_ = Form()->ControlAs<AReportPicker>(kPairId);
    pairs_->SetMode(pairMode_.get());
    connect(pairs_, &AReportPicker::Notify, this, [this](int code, bool*) {
        if (code != kNotifySelectionChanged || showing_)
            return;
        const auto* item = pairs_->SelectedItem();
        pair_ = item ? Engine::ATableImpl<ARateHeader>::RefTo(db_.RateHeaders().Find(item->RecordId()))
                     : AReference<ARateHeader>();
        Report()->Model().DeleteAllItems();  // another list: it starts at its newest rate
        Refill();
    });
    for (int id : {kCurrenciesView, kRatesView})
        connect(Form()->ControlAs<QRadioButton>(static_cast<std::int16_t>(id)), &QRadioButton::toggled, this,
                [this, id](bool on) {
                    if (on && !showing_)
                        ShowView(id == kRatesView ? AView::Rates : AView::Currencies);
                });
    connect(Form(), &Win32API::VelvixForms::ADialogForm::Command, this, [this](int id) {
        if (id == kDownload)
            RunCommand(kDownload);
    });
    connect(Report(), &AReportWindow::Notify, this, [this](int code, bool*) {
        if (code == kNotifyDoubleClick && IsCommandEnabled(Command::kChange))
            RunCommand(Command::kChange);
    });
    ShowView(view_);
}

void ACurrencyPage::ShowView(AView view)
{
    view_ = view;
    if (!Form())
        return;
    showing_ = true;
    Form()->ControlAs<QRadioButton>(view == AView::Rates ? kRatesView : kCurrenciesView)->setChecked(true);
    showing_ = false;
    Form()->ShowElement(kPairRow, view == AView::Rates);
    // Another list with new column titles: it starts at its first row.
    Report()->Model().DeleteAllItems();
    Report()->RebuildRows();
    Refill();
}

void ACurrencyPage::FillPairs()
{
    showing_ = true;
    pairs_->Model().DeleteAllItems();
    const auto pairs = Rates::RatePairs(db_);
    if (!db_.RateHeaders().Record(pair_))
        pair_ = pairs.empty() ? AReference<ARateHeader>() : pairs.front();
    const AReportItemImpl* chosen = nullptr;
    for (auto pair : pairs) {
        const ARateHeader& header = *db_.RateHeaders().Record(pair);
        auto* item = pairs_->Root().AddChild(std::make_unique<ATextItem>(
            db_.RateHeaders().Get(pair)->id,
            std::vector<std::u16string>{context_.Strings().Format(
                kPairText, {CurrencyCode(db_, header.currency2), CurrencyCode(db_, header.currency1)})}));
        if (pair == pair_)
            chosen = item;
    }
    pairs_->RebuildRows();
    pairs_->Select(const_cast<AReportItemImpl*>(chosen));
    showing_ = false;
}

void ACurrencyPage::Fill(AReportItemImpl& root)
{
    if (view_ == AView::Currencies) {
        for (auto* slot : db_.Currencies().Live())
            root.AddChild(std::make_unique<ATextItem>(
                slot->id, std::vector<std::u16string>{db_.Text(slot->Record().name), db_.Text(slot->Record().code)}));
        return;
    }
    if (pairs_)
        FillPairs();
    for (const Rates::APairRate& rate : Rates::RatesOfPair(db_, pair_))
        root.AddChild(std::make_unique<ATextItem>(
            db_.RateValues().Get(rate.rate)->id,
            std::vector<std::u16string>{DateText(context_, rate.date), AmountText(context_, rate.perOne, 4)}, false,
            2u));
}

AReference<ACurrency> ACurrencyPage::FocusedCurrency() const
{
    const auto* item = Report() ? Report()->Model().FocusedItem() : nullptr;
    if (view_ != AView::Currencies || !item)
        return {};
    return Engine::ATableImpl<ACurrency>::RefTo(db_.Currencies().Find(item->RecordId()));
}

AReference<ARateValue> ACurrencyPage::FocusedRate() const
{
    const auto* item = Report() ? Report()->Model().FocusedItem() : nullptr;
    if (view_ != AView::Rates || !item)
        return {};
    return Engine::ATableImpl<ARateValue>::RefTo(db_.RateValues().Find(item->RecordId()));
}

void ACurrencyPage::FillActionsMenu(QMenu& menu)
{
    AAbstractPage::FillActionsMenu(menu);
    menu.addSeparator();
    menu.addAction(QString())->setData(kDownload);
}

bool ACurrencyPage::IsCommandEnabled(int command) const
{
    switch (command) {
    case kDownload: return true;
    case Command::kAdd: return view_ == AView::Currencies || db_.Currencies().LiveCount() >= 2;
    case Command::kChange:
    case Command::kDelete: return !FocusedCurrency().IsNull() || !FocusedRate().IsNull();
    default: return false;
    }
}

void ACurrencyPage::RunCommand(int command)
{
    if (!IsCommandEnabled(command))
        return;
    const bool rates = view_ == AView::Rates;
    switch (command) {
    case Command::kAdd:
        rates ? RunRateDialog(context_, db_, {}, pair_, Form()) : RunCurrencyDialog(context_, db_, {}, Form());
        return;
    case Command::kChange:
        rates ? RunRateDialog(context_, db_, FocusedRate(), pair_, Form())
              : RunCurrencyDialog(context_, db_, FocusedCurrency(), Form());
        return;
    case Command::kDelete: Delete(); return;
    case kDownload: RunDownloadWizard(context_, db_, Form()); return;
    default: return;
    }
}

void ACurrencyPage::Delete()
{
    const auto& strings = context_.Strings();
    if (const auto rate = FocusedRate()) {
        const Rates::AQuestion question = Rates::RateDeletionQuestion(db_, rate, strings);
        if (Confirm(question.messageId, question.text, Rates::RateText::kDelete))
            Rates::DeleteRate(db_, rate, strings.Text(Rates::RateText::kDelete));
    } else if (const auto currency = FocusedCurrency()) {
        const Rates::AQuestion question = Rates::CurrencyDeletionQuestion(db_, currency, strings);
        if (Confirm(question.messageId, question.text, Rates::CurrencyText::kDelete))
            Rates::DeleteCurrency(db_, currency, strings.Text(Rates::CurrencyText::kDelete));
    }
}

bool ACurrencyPage::Confirm(int messageId, const std::u16string& text, int titleId)
{
    // The two currency questions offer the tick, each for itself: silencing the one about an
    // unused currency must not silence the one that deletes accounts and transactions.
    const auto flag = messageId == Rates::CurrencyText::kDeleteWithAccounts ? Settings::kNoCurrencyWithAccountsQuestion
                      : messageId == Rates::CurrencyText::kDeleteUnused     ? Settings::kNoUnusedCurrencyQuestion
                                                                            : std::optional<Settings::AFlag>();
    auto& options = context_.Options();
    if (flag && options.Flag(*flag))
        return true;
    AMessageBoxOptions box;
    box.text = text;
    box.title = std::u16string(context_.Strings().Text(titleId));
    box.buttons = Win32API::VelvixForms::AMessageButtons::YesNo;
    box.icon = Win32API::VelvixForms::AMessageIcon::Question;
    box.defaultButton = 1;
    bool dontShowAgain = false;
    box.offerDontShowAgain = flag.has_value();
    box.dontShowAgain = flag ? &dontShowAgain : nullptr;
    const bool yes = context_.Dialogs().ShowMessage(Form(), box) == Win32API::VelvixForms::kIdYes;
    // Only a Yes can be taken as the answer for the next time.
    if (yes && dontShowAgain) {
        options.SetFlag(*flag, true);
        options.SaveAll();
    }
    return yes;
}

std::vector<std::uint8_t> ACurrencyPage::WriteSettings() const
{
    return TaggedSettings(kSettingsTag, kSettingsVersion, [this](APageWriter& out) {
        out.U8(static_cast<std::uint8_t>(view_));
        out.Ref(db_, pair_);
    });
}

void ACurrencyPage::ReadSettings(std::span<const std::uint8_t> bytes)
{
    std::uint8_t view = 0;
    AReference<ARateHeader> pair;
    if (!ReadTaggedSettings(bytes, kSettingsTag, kSettingsVersion, [&](AByteCursor& in) {
            return in.ReadInt(view) && view <= 1 && ReadRef(in, db_, pair);
        }))
        return;
    pair_ = pair;
    ShowView(static_cast<AView>(view));
}

}  // namespace UserInterface::Currencies

namespace UserInterface {

std::unique_ptr<AAbstractPage> CreateCurrenciesPage(const AProgramContext& context, Database::ADatabase& db)
{
    return std::make_unique<Currencies::ACurrencyPage>(context, db);
}

}  // namespace UserInterface
