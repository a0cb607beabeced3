// The plans dialog of one article: "Бюджет на год:", "Планы заданы в валюте:", the five plan
// kinds with the total, monthly and weekly amounts, and the twelve months. Typing one amount
// recomputes the others (the budget model's arithmetic); the kind enables the field it uses.
// Years visited in one session are kept, and OK stores each that changed.
#include "ui/budget/BudgetDialog.h"

#pragma push_macro("slots")
#undef slots
#include "analysis/Budget.h"
#include "analysis/BudgetEdit.h"
#pragma pop_macro("slots")
#include "rates/AmountExpression.h"
#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/accounts/RecordPicker.h"
#include "win32api/DynaForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <map>

namespace UserInterface::Budget {

using namespace Database;
using Win32API::VelvixControls::Reports::AReportPicker;

namespace {

constexpr std::int16_t kYear = -10, kCurrency = -11, kTotal = -31, kMonthly = -32, kWeekly = -33;
using BudgetText::kPlansTitle;
using PlansText::kMonthLabel;
constexpr int kKinds = 5;
constexpr std::int16_t MonthLabel(int m) { return static_cast<std::int16_t>(-50 - m); }
constexpr std::int16_t MonthEdit(int m) { return static_cast<std::int16_t>(-70 - m); }
constexpr std::int16_t KindRadio(int kind) { return static_cast<std::int16_t>(682 + kind); }

std::string PlansLayout()
{
    std::string layout =
        "{t1{t2{br4xr[sr#677]}{bW70xl[et#-10]}{bt4r4xr[sr#678]}{bt4W200{bxe[rt#-11]}}}"
        "{t2t10{bxl[bRgt#682]}{b}"
        "{bt4xl[bRt#683]}{bt4W100[et#-31]}"
        "{bt4xl[bRt#684]}{bt4W100[et#-32]}"
        "{bt4xl[bRt#685]}{bt4W100[et#-33]}"
        "{bt4xl[bRt#686]}{b}}"
        "{t4t10";
    for (int m = 0; m < 12; ++m) {
        const std::string top = m >= 2 ? "t4" : "";
        layout += "{b" + top + "r4xr[sr#" + std::to_string(MonthLabel(m)) + "]}{b" + top + "W90[et#" +
                  std::to_string(MonthEdit(m)) + "]}";
    }
    return layout + "}}";
}

class APlansDialog final : public UtilityForms::AStandardDialog {
public:
    APlansDialog(QWidget* owner, const AProgramContext& context, ADatabase& db, AReference<ABudgetItem> article,
                 int year, AReference<ACurrency> currency)
        : AStandardDialog(context, kPlansTitle, PlansLayout(), owner),
          db_(db),
          article_(article),
          preselected_(currency),
          currencies_(*Form().ControlAs<AReportPicker>(kCurrency))
    {
        const ABudgetItem* item = db.BudgetItems().Record(article);
        const ASeries* series = item ? db.Series().Record(item->series) : nullptr;
        setWindowTitle(ToQString(context.Strings().Format(kPlansTitle, {series ? db.Text(series->name) : u""})));
        std::vector<Accounts::ARecordPicker::ARow> rows;
        for (auto* slot : db.Currencies().Live())
            rows.push_back({slot->id, db.Text(slot->Record().name)});
        currencies_.Fill(rows);
        const auto& locale = context.Strings().Locale();
        for (int m = 0; m < 12; ++m) {
            auto* label = Form().ControlAs<QLabel>(MonthLabel(m));
            label->setText(ToQString(context.Strings().Format(kMonthLabel, {m + 1, locale.MonthName(m)})));
            Edit(MonthEdit(m))->setAccessibleName(label->text().remove(u':'));
        }
        Form().Relayout(true, false);  // the month captions were empty when measured
        // An amount field sits beside its kind's choice and is named by it.
        for (auto [field, kind] : {std::pair{kTotal, 1}, {kMonthly, 2}, {kWeekly, 3}})
            Edit(field)->setAccessibleName(Radio(kind)->text().remove(u'&').remove(u':'));
        for (int kind = 0; kind < kKinds; ++kind)
            connect(Radio(kind), &QRadioButton::toggled, this, [this, kind](bool on) {
                if (on && !showing_) {
                    Current().kind = static_cast<std::uint32_t>(kind);
                    EnableFields();
                }
            });
        for (auto field : {kTotal, kMonthly, kWeekly})
            connect(Edit(field), &QLineEdit::textEdited, this, [this, field] { Typed(field); });
        for (int m = 0; m < 12; ++m)
            connect(Edit(MonthEdit(m)), &QLineEdit::textEdited, this, [this, m] {
                if (const auto value = Rates::EvaluateAmountExpression(ToU16(Edit(MonthEdit(m))->text())))
                    Current().fields.months[static_cast<std::size_t>(m)] = *value;
            });
        connect(Edit(kYear), &QLineEdit::editingFinished, this, [this] {
            const int typed = Edit(kYear)->text().toInt();
            if (typed >= 100 && typed <= 9999 && typed != year_)
                ShowYear(typed);
        });
        connect(&currencies_, &Accounts::ARecordPicker::Changed, this, [this] {
            Current().currency = Engine::ATableImpl<ACurrency>::RefTo(db_.Currencies().Find(currencies_.Chosen()));
        });
        ShowYear(year);
        Edit(kYear)->setFocus();
    }

    bool committed = false;

protected:
    bool Validate() override
    {
        // A field that cannot be read keeps the dialog open on it.
        for (auto field : {kTotal, kMonthly, kWeekly})
            if (Edit(field)->isEnabled() && !Rates::EvaluateAmountExpression(ToU16(Edit(field)->text())))
                return Reject(field);
        for (int m = 0; m < 12; ++m)
            if (Edit(MonthEdit(m))->isEnabled() && !Rates::EvaluateAmountExpression(ToU16(Edit(MonthEdit(m))->text())))
                return Reject(MonthEdit(m));
        return true;
    }

    void Apply() override
    {
        for (const auto& [year, input] : inputs_) {
            const APlanInput stored = ReadPlan(db_, article_, year, preselected_);
            const bool same = stored.kind == input.kind && stored.currency == input.currency &&
                              StoredAmount(input.kind, stored.fields) == StoredAmount(input.kind, input.fields) &&
                              stored.fields.months == input.fields.months;
            if (!same && StorePlan(db_, context_.Strings(), article_, input))
                committed = true;
        }
    }

private:
    QLineEdit* Edit(std::int16_t id) { return Form().ControlAs<QLineEdit>(id); }
    QRadioButton* Radio(int kind) { return Form().ControlAs<QRadioButton>(KindRadio(kind)); }
    APlanInput& Current() { return inputs_[year_]; }
    bool Reject(std::int16_t field)
    {
        QApplication::beep();
        Edit(field)->setFocus();
        Edit(field)->selectAll();
        return false;
    }

    int Decimals()
    {
        const ACurrency* currency = db_.Currencies().Record(Current().currency);
        return currency ? static_cast<int>(std::min<std::uint32_t>(currency->precision, 4)) : 2;
    }

    void ShowYear(int year)
    {
        year_ = year;
        if (!inputs_.contains(year))
            inputs_[year] = ReadPlan(db_, article_, year, preselected_);
        const APlanInput& input = Current();
        showing_ = true;
        Edit(kYear)->setText(QString::number(year));
        const auto* currency = db_.Currencies().Get(input.currency);
        currencies_.Choose(currency ? currency->id : 0);
        Radio(static_cast<int>(std::min<std::uint32_t>(input.kind, 4)))->setChecked(true);
        ShowFields(input.fields, 0);
        EnableFields();
        showing_ = false;
    }

    // Every field but the one being typed in.
    void ShowFields(const APlanFields& fields, std::int16_t typed)
    {
        const int decimals = Decimals();
        const auto show = [&](std::int16_t id, AMoney value) {
            if (id != typed)
                Edit(id)->setText(ToQString(AmountCell(context_.Strings().Locale(), value, true, false, decimals)));
        };
        show(kTotal, fields.total);
        show(kMonthly, fields.monthly);
        show(kWeekly, fields.weekly);
        for (int m = 0; m < 12; ++m)
            show(MonthEdit(m), fields.months[static_cast<std::size_t>(m)]);
    }

    void Typed(std::int16_t field)
    {
        const auto value = Rates::EvaluateAmountExpression(ToU16(Edit(field)->text()));
        if (!value)
            return;
        const int yearLength = Dates::DaysInYear(year_);
        const auto fields = field == kTotal     ? FromTotal(*value, yearLength)
                            : field == kMonthly ? FromMonthly(*value, yearLength)
                                                : FromWeekly(*value, yearLength);
        if (!fields)
            return;
        Current().fields = *fields;
        ShowFields(*fields, field);
    }

    void EnableFields()
    {
        const AEnabledFields enabled = EnabledFields(Current().kind);
        Edit(kTotal)->setEnabled(enabled.total);
        Edit(kMonthly)->setEnabled(enabled.monthly);
        Edit(kWeekly)->setEnabled(enabled.weekly);
        for (int m = 0; m < 12; ++m)
            Edit(MonthEdit(m))->setEnabled(enabled.months);
    }

    ADatabase& db_;
    AReference<ABudgetItem> article_;
    AReference<ACurrency> preselected_;
    Accounts::ARecordPicker currencies_;
    std::map<int, APlanInput> inputs_;
    int year_ = 0;
    bool showing_ = false;
};

}  // namespace

bool RunPlansDialog(QWidget* owner, const AProgramContext& context, ADatabase& db, AReference<ABudgetItem> article,
                    int year, AReference<ACurrency> currency)
{
    APlansDialog dialog(owner, context, db, article, year, currency);
    context.Dialogs().RunModal(dialog);
    return dialog.committed;
}

}  // namespace UserInterface::Budget
