#include "ui/currencies/RateDialog.h"

#pragma push_macro("slots")
#undef slots
#include "rates/Rates.h"
#pragma pop_macro("slots")

#include "core/FormatAmount.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DateCtrl.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportPicker.h"

#include <QLabel>
#include <QLineEdit>

#include <tuple>

namespace UserInterface::Currencies {

using namespace Database;
using Win32API::VelvixControls::ADatePicker;
using Win32API::VelvixControls::Reports::AReportPicker;

namespace {

constexpr std::int16_t kCurrency1 = -1, kCurrency2 = -2, kDate = -3, kValue1 = -4, kValue2 = -5, kCode1 = -6,
                       kCode2 = -7;
// The field of each ARateField, in its order.
constexpr std::int16_t kRefusalFields[] = {kValue1, kValue2, kDate, kCurrency2};
constexpr int kCurrencyName = Rates::CurrencyText::kNameColumn;

// "&Валюта:", "&В валюте:", "&Дата курса:", then the group "Значение курса" with each
// amount after the code of its currency.
const char* const kLayout =
    "{t1{t2{bxr[s#385]}{bl4W170[rt#-1]}{bt4xr[s#386]}{bl4t4W170[rt#-2]}{bt4xr[s#384]}{bl4t4W90xl[Dt#-3]}}"
    "{t4t10xe#366(:t){bxr[s#-6]}{bl4W80[e=t#-4]}{bl10xr[s#-7]}{bl4W80[e=t#-5]}}}";

std::u16string AmountForEditing(const AProgramContext& context, AMoney amount)
{
    return UtilityClasses::Strings::FormatAmount(amount, 4, false, context.Strings().Locale());
}

}  // namespace

ARateDialog::ARateDialog(const AProgramContext& context, ADatabase& db, AReference<ARateValue> rate,
                         AReference<ARateHeader> pair, QWidget* parent)
    : AStandardDialog(context, rate ? Rates::RateText::kChange : Rates::RateText::kAdd, kLayout, parent),
      db_(db),
      rate_(rate),
      mode_(std::make_unique<APageMode>(context, false))
{
    mode_->AddTitledColumn(kCurrencyName, 200, false);
    for (std::int16_t id : {kCurrency1, kCurrency2}) {
        auto* picker = Form().ControlAs<AReportPicker>(id);
        picker->SetMode(mode_.get());
        for (auto* slot : db.Currencies().Live())
            picker->Root().AddChild(std::make_unique<ATextItem>(
                slot->id, std::vector<std::u16string>{db.Text(slot->Record().name)}));
        picker->RebuildRows();
        connect(picker, &AReportPicker::Notify, this, [this](int, bool*) { ShowCodes(); });
    }
    const ARateValue* value = db.RateValues().Record(rate);
    if (value)
        pair = value->header;
    if (const ARateHeader* header = db.RateHeaders().Record(pair)) {
        Choose(kCurrency1, header->currency1);
        Choose(kCurrency2, header->currency2);
    } else {
        const auto currencies = db.Currencies().Live();
        for (std::size_t i = 0; i < 2 && i < currencies.size(); ++i)
            Choose(i == 0 ? kCurrency1 : kCurrency2, Engine::ATableImpl<ACurrency>::RefTo(currencies[i]));
    }
    auto* date = Form().ControlAs<ADatePicker>(kDate);
    date->SetPicture(context.Strings().Locale().shortDatePicture);
    date->SetDate(value ? value->date : context.clock().date);
    Form().ControlAs<QLineEdit>(kValue1)->setText(ToQString(value ? AmountForEditing(context, value->amount1) : u"1"));
    if (value)
        Form().ControlAs<QLineEdit>(kValue2)->setText(ToQString(AmountForEditing(context, value->amount2)));
    // A rate keeps its pair: only its date and amounts change.
    for (std::int16_t id : {kCurrency1, kCurrency2})
        Form().Control(id)->setEnabled(!value);
    ShowCodes();
    Form().Control(value ? kDate : kValue2)->setFocus();
}

ARateDialog::~ARateDialog()
{
    for (std::int16_t id : {kCurrency1, kCurrency2})
        if (auto* picker = Form().ControlAs<AReportPicker>(id)) {
            picker->Model().DeleteAllItems();
            picker->SetMode(nullptr);
        }
}

AReference<ACurrency> ARateDialog::Chosen(std::int16_t pickerId) const
{
    auto* picker = const_cast<ARateDialog*>(this)->Form().ControlAs<AReportPicker>(pickerId);
    const auto* item = picker->SelectedItem();
    return item ? Engine::ATableImpl<ACurrency>::RefTo(db_.Currencies().Find(item->RecordId())) : AReference<ACurrency>();
}

void ARateDialog::Choose(std::int16_t pickerId, AReference<ACurrency> currency)
{
    auto* picker = Form().ControlAs<AReportPicker>(pickerId);
    const auto* slot = db_.Currencies().Get(currency);
    for (int row = 0; slot && row < picker->Model().RowCount(); ++row)
        if (picker->Model().Row(row)->RecordId() == slot->id)
            picker->Select(picker->Model().Row(row));
}

void ARateDialog::ShowCodes()
{
    for (const auto& [code, value, picker] : {std::tuple{kCode1, kValue1, kCurrency1}, std::tuple{kCode2, kValue2, kCurrency2}}) {
        const QString text = ToQString(CurrencyCode(db_, Chosen(picker)));
        Form().ControlAs<QLabel>(code)->setText(text);
        // The group's caption would name the first amount too: each is named by its code.
        Form().Control(value)->setAccessibleName(text);
    }
    Form().Relayout(true, false);
}

bool ARateDialog::Validate()
{
    const auto text = [this](std::int16_t id) { return ToU16(Form().ControlAs<QLineEdit>(id)->text()); };
    const Rates::ARateInput input{Chosen(kCurrency1), Chosen(kCurrency2), Form().ControlAs<ADatePicker>(kDate)->Date(),
                                  text(kValue1), text(kValue2)};
    const std::u16string label(context_.Strings().Text(rate_ ? Rates::RateText::kChange : Rates::RateText::kAdd));
    const auto refusal = rate_ ? Rates::ChangeRate(db_, rate_, input, label) : Rates::AddRate(db_, input, label);
    return !refusal || Refuse(refusal->messageId, Form().Control(kRefusalFields[refusal->field]));
}

bool RunRateDialog(const AProgramContext& context, ADatabase& db, AReference<ARateValue> rate,
                   AReference<ARateHeader> pair, QWidget* parent)
{
    ARateDialog dialog(context, db, rate, pair, parent);
    return context.Dialogs().RunModal(dialog) == QDialog::Accepted;
}

}  // namespace UserInterface::Currencies
