#include "ui/currencies/CurrencyDialog.h"

#pragma push_macro("slots")
#undef slots
#include "rates/Currencies.h"
#pragma pop_macro("slots")

#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DynaForm.h"

#include <QLineEdit>

#include <string>

namespace UserInterface::Currencies {

using namespace Database;

namespace {

constexpr std::int16_t kFieldIds[] = {-1, -2, -3};  // name, code, decimals, as ACurrencyField counts them

const char* const kLayout =
    "{t2{bxr[s#355]}{bl4W170[et#-1]}{bt4xr[s#356]}{bl4t4W60xl[et#-2]}{bt4xr[s#357]}{bl4t4W30xl[et#-3]}}";

}  // namespace

ACurrencyDialog::ACurrencyDialog(const AProgramContext& context, ADatabase& db, AReference<ACurrency> currency,
                                 QWidget* parent)
    : AStandardDialog(context, currency ? Rates::CurrencyText::kChange : Rates::CurrencyText::kAdd, kLayout, parent),
      db_(db),
      currency_(currency)
{
    const ACurrency* record = db.Currencies().Record(currency);
    const std::u16string texts[] = {record ? db.Text(record->name) : std::u16string(),
                                    record ? db.Text(record->code) : std::u16string(),
                                    record ? std::u16string(1, static_cast<char16_t>(u'0' + record->precision))
                                           : std::u16string(u"2")};
    for (int i = 0; i < 3; ++i)
        Form().ControlAs<QLineEdit>(kFieldIds[i])->setText(ToQString(texts[i]));
    Form().Control(kFieldIds[0])->setFocus();
}

bool ACurrencyDialog::Validate()
{
    const auto text = [this](int i) { return ToU16(Form().ControlAs<QLineEdit>(kFieldIds[i])->text()); };
    Rates::ACurrencyInput input{text(0), text(1), text(2)};
    Rates::ACurrencyValues values;
    if (const auto refusal = Rates::CheckCurrencyDialog(db_, input, currency_, values))
        return Refuse(refusal->messageId, Form().Control(kFieldIds[refusal->field]));
    const std::u16string label(context_.Strings().Text(currency_ ? Rates::CurrencyText::kChange
                                                                 : Rates::CurrencyText::kAdd));
    if (!currency_)
        result_ = Rates::AddCurrency(db_, values, label);
    else if (Rates::ChangeCurrency(db_, currency_, values, label))
        result_ = currency_;
    return true;
}

bool RunCurrencyDialog(const AProgramContext& context, ADatabase& db, AReference<ACurrency> currency, QWidget* parent)
{
    ACurrencyDialog dialog(context, db, currency, parent);
    return context.Dialogs().RunModal(dialog) == QDialog::Accepted && dialog.Result();
}

}  // namespace UserInterface::Currencies
