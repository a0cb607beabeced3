// The recurrence dialog: the frequency radios over a stack of four rows forms (daily, weekly,
// monthly, yearly), the end of the repetition, and the start and next dates as a check for
// the user. The choices, their checks and the rule they make are the model's
// (database/RecurrenceChoice.h).
#include "ui/transactions/RecurrenceDialog.h"

#include "database/RecurrenceChoice.h"
#include "ui/InterfaceTexts.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DateCtrl.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportPicker.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <array>
#include <memory>

namespace UserInterface::Transactions {

using namespace Database::Recurrence;
using Win32API::VelvixControls::ADatePicker;
using Win32API::VelvixControls::Reports::AReportMode;
using Win32API::VelvixControls::Reports::AReportPicker;
using Win32API::VelvixForms::ADialogForm;

namespace {

using namespace RecurrenceText;
constexpr int kFrequencyIds[4] = {280, 281, 282, 283};
constexpr int kEndIds[3] = {285, 286, 288};
constexpr std::int16_t kStack = -50, kCount = -51, kLastDay = -52, kStart = -53, kNext = -54;
// Ids inside the rows forms.
constexpr std::int16_t kInterval = -1, kDayOfMonth = -2, kInstance = -3, kSelector = -4, kNthInterval = -5;
constexpr std::int16_t kMonth = -6, kNthMonth = -7, kFirstWeekday = -11;

const char* const kLayout =
    "{t1xe{t1xeb8#279(:t){t4l10t4xl{b[bRgt#280]}{bl8[bRt#281]}{bl8[bRt#282]}{bl8[bRt#283]}}{Sl10t8xe#-50}}"
    "{t1xeb8#284(:t){bl10t4xl[bRgt#285]}{t3l10t4xl{b[bRt#286]}{bl4W24[et#-51]}{bl4[s#287]}}"
    "{t3l10t4xl{b[bRt#288]}{bl4W64[Dt#-52]}{bl4[s#289]}}}{t2xl{bxl[s#311]}{bl4xl[s#-53]}{bt2xl[s#312]}{bt2l4xl[s#-54]}}}";
const char* const kRowsLayouts[4] = {
    "{t1xl{t3xl{b[bRgt#290]}{bl4W24[et#-1]}{bl4[s#291]}}{bt4xl[bRt#292]}}",
    "{t1xl{t3xl{b[sg#293]}{bl4W24[et#-1]}{bl4[s#294]}}{t4t4xl{bxl[bCgt#-11]}{bl8xl[bCt#-12]}{bl8xl[bCt#-13]}"
    "{bl8xl[bCt#-14]}{bt2xl[bCt#-15]}{bt2l8xl[bCt#-16]}{bt2l8xl[bCt#-17]}}}",
    "{t1xl{t6xl{b[bRgt#295]}{bl4W24[et#-2]}{bl4[s#296]}{bl4[s#297]}{bl4W24[et#-1]}{bl4[s#298]}}"
    "{t6t4xl{b[bRt#299]}{bl4W60[rt#-3]}{bl4W80[rt#-4]}{bl4[s#309]}{bl4W24[et#-5]}{bl4[s#310]}}}",
    "{t1xl{t4xl{b[bRgt#295]}{bl4W24[et#-2]}{bl4[s#300]}{bl4W70[rt#-6]}}"
    "{t4t4xl{b[bRt#299]}{bl4W60[rt#-3]}{bl4W80[rt#-4]}{bl4W70[rt#-7]}}}",
};

constexpr int Index(AFrequency f) { return static_cast<int>(f); }
// List positions 0-2 are the selectors 8-10, positions 3-9 the days Monday..Sunday.
constexpr int SelectorAt(int position) { return position < 3 ? kAnyDay + position : position - 2; }
constexpr int PositionOf(int selector) { return selector >= kAnyDay ? selector - kAnyDay : selector + 2; }

std::u16string Capitalized(std::u16string_view text)
{
    return ToU16(ToQString(text.substr(0, 1)).toUpper()) + std::u16string(text.substr(1));
}

// A drop-down of fixed texts; the mode is its own and outlives the items.
class AListPicker {
public:
    AListPicker(AReportPicker* picker, const std::vector<std::u16string>& texts, const QString& name) : picker_(picker)
    {
        mode_.AddColumn(u"", 120, false);
        picker_->SetMode(&mode_);
        for (std::size_t i = 0; i < texts.size(); ++i)
            picker_->Root().AddChild(
                std::make_unique<ATextItem>(static_cast<std::uint32_t>(i), std::vector<std::u16string>{texts[i]}));
        picker_->RebuildRows();
        picker_->setAccessibleName(name);
    }
    ~AListPicker() { picker_->Model().DeleteAllItems(); }
    AReportPicker* Picker() const { return picker_; }
    int Chosen() const { return std::max(0, picker_->Model().RowOf(picker_->Model().FocusedItem())); }
    void Choose(int index) { picker_->Select(picker_->Model().Row(index)); }

private:
    AReportPicker* picker_;
    AReportMode mode_;
};

class ARecurrenceDialog final : public UtilityForms::AStandardDialog {
public:
    ARecurrenceDialog(QWidget* parent, const AProgramContext& context, const ARule& rule, ADate start)
        : AStandardDialog(context, kTitle, kLayout, parent), start_(start)
    {
        for (int f = 0; f < 4; ++f) {
            rows_[f] = new ADialogForm(kRowsLayouts[f], context.strings.get());
            Form().InsertForm(kStack, rows_[f]);
        }
        MakeLists();
        NameFields();
        Picker(kLastDay)->SetPicture(context.Strings().Locale().shortDatePicture);
        Form().ControlAs<QLabel>(kStart)->setText(ToQString(DateText(context, start)));
        Load(ChoiceOf(rule, start));
        Connect();
        Apply();
    }

    ARule rule;

protected:
    bool Validate() override
    {
        const AChoice choice = Collect();
        const auto failure = CheckChoice(choice);
        if (!failure) {
            rule = RuleOf(choice);
            return true;
        }
        Win32API::VelvixForms::AMessageBoxOptions options;
        options.text = std::u16string(context_.Strings().Text(failure->message));
        options.title = std::u16string(context_.Strings().Text(kTitle));
        options.icon = Win32API::VelvixForms::AMessageIcon::Warning;
        context_.Dialogs().ShowMessage(this, options);
        QWidget* field = FieldOf(choice, failure->field);
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
        return false;
    }

private:
    ADialogForm& Rows(AFrequency f) const { return *rows_[Index(f)]; }
    QRadioButton* Radio(ADialogForm& form, int id) const { return form.ControlAs<QRadioButton>(static_cast<std::int16_t>(id)); }
    QLineEdit* Edit(ADialogForm& form, std::int16_t id) const { return form.ControlAs<QLineEdit>(id); }
    QCheckBox* Weekday(int day) const { return Rows(AFrequency::Weekly).ControlAs<QCheckBox>(static_cast<std::int16_t>(kFirstWeekday - day + 1)); }
    ADatePicker* Picker(std::int16_t id) { return Form().ControlAs<ADatePicker>(id); }
    QString Text(int id) const { return TableText(context_.Strings(), id); }
    QString Around(int before, int after) const { return Text(before) + u' ' + Text(after); }

    void MakeLists()
    {
        const auto& locale = context_.Strings().Locale();
        std::vector<std::u16string> instances, selectors, months;
        for (int i = 0; i < kLastInstance; ++i)
            instances.emplace_back(context_.Strings().Text(kInstanceWords + i));
        for (int i = 0; i < 3; ++i)
            selectors.emplace_back(context_.Strings().Text(kSelectorWords + i));
        for (int d = 0; d < 7; ++d)
            selectors.emplace_back(locale.DayName(d));
        for (int m = 0; m < 12; ++m)
            months.push_back(ToU16(ToQString(locale.GenitiveMonthName(m)).toLower()));
        for (AFrequency f : {AFrequency::Monthly, AFrequency::Yearly}) {
            ADialogForm& form = Rows(f);
            lists_.push_back(std::make_unique<AListPicker>(form.ControlAs<AReportPicker>(kInstance), instances, Text(kNth)));
            lists_.push_back(
                std::make_unique<AListPicker>(form.ControlAs<AReportPicker>(kSelector), selectors, Text(kSelectorWords)));
        }
        ADialogForm& yearly = Rows(AFrequency::Yearly);
        lists_.push_back(std::make_unique<AListPicker>(yearly.ControlAs<AReportPicker>(kMonth), months, Text(kYearDaySuffix)));
        lists_.push_back(
            std::make_unique<AListPicker>(yearly.ControlAs<AReportPicker>(kNthMonth), months, Text(kOfMonthSuffix)));
        for (int d = 1; d <= 7; ++d)
            Weekday(d)->setText(ToQString(Capitalized(locale.DayName(d - 1))));
    }
    // lists_: monthly instance, selector, yearly instance, selector, month, nth month.
    AListPicker& List(AFrequency f, std::int16_t id) const
    {
        const std::size_t base = f == AFrequency::Monthly ? 0 : 2;
        switch (id) {
        case kInstance: return *lists_[base];
        case kSelector: return *lists_[base + 1];
        case kMonth: return *lists_[4];
        default: return *lists_[5];
        }
    }

    // The number fields sit between two texts of their row: both make the name.
    void NameFields()
    {
        Edit(Rows(AFrequency::Daily), kInterval)->setAccessibleName(Around(kDailyEvery, kDailySuffix));
        Edit(Rows(AFrequency::Weekly), kInterval)->setAccessibleName(Around(kWeekPrefix, kWeekSuffix));
        Edit(Rows(AFrequency::Monthly), kDayOfMonth)->setAccessibleName(Around(kEachDay, kDaySuffix));
        Edit(Rows(AFrequency::Monthly), kInterval)->setAccessibleName(Around(kEveryMonths, kMonthsSuffix));
        Edit(Rows(AFrequency::Monthly), kNthInterval)->setAccessibleName(Around(kOfMonth, kOfMonthSuffix));
        Edit(Rows(AFrequency::Yearly), kDayOfMonth)->setAccessibleName(Around(kEachDay, kYearDaySuffix));
        Form().Control(kCount)->setAccessibleName(Around(kEndIds[1], 287));
        Form().Control(kLastDay)->setAccessibleName(Around(kEndIds[2], 289));
        Form().Control(kNext)->setAccessibleName(Text(kNextLabel));
        Form().Control(kStart)->setAccessibleName(Text(kStartsLabel));
    }

    void Load(const AChoice& c)
    {
        Radio(Form(), kFrequencyIds[Index(c.frequency)])->setChecked(true);
        Radio(Rows(AFrequency::Daily), c.frequency == AFrequency::Daily && c.nth ? kWorkingDays : kDailyEvery)->setChecked(true);
        for (AFrequency f : {AFrequency::Monthly, AFrequency::Yearly}) {
            Radio(Rows(f), c.frequency == f && c.nth ? kNth : kEachDay)->setChecked(true);
            Edit(Rows(f), kDayOfMonth)->setText(ToQString(c.dayOfMonth));
            List(f, kInstance).Choose(c.instance - 1);
            List(f, kSelector).Choose(PositionOf(c.selector));
        }
        for (AFrequency f : {AFrequency::Daily, AFrequency::Weekly, AFrequency::Monthly})
            Edit(Rows(f), kInterval)->setText(ToQString(c.interval));
        Edit(Rows(AFrequency::Monthly), kNthInterval)->setText(ToQString(c.interval));
        List(AFrequency::Yearly, kMonth).Choose(c.month - 1);
        List(AFrequency::Yearly, kNthMonth).Choose(c.month - 1);
        for (int d = 1; d <= 7; ++d)
            Weekday(d)->setChecked((c.weekdays & MaskBit(d)) != 0);
        Radio(Form(), kEndIds[static_cast<int>(c.end)])->setChecked(true);
        Form().ControlAs<QLineEdit>(kCount)->setText(ToQString(c.count));
        Picker(kLastDay)->SetDate(c.lastDay);
        regenerate_ = c.regenerate;
    }

    AChoice Collect()
    {
        AChoice c;
        for (int f = 0; f < 4; ++f)
            if (Radio(Form(), kFrequencyIds[f])->isChecked())
                c.frequency = static_cast<AFrequency>(f);
        ADialogForm& rows = Rows(c.frequency);
        c.nth = c.frequency != AFrequency::Weekly &&
                Radio(rows, c.frequency == AFrequency::Daily ? kWorkingDays : kNth)->isChecked();
        const bool nthInterval = c.frequency == AFrequency::Monthly && c.nth;
        if (c.frequency != AFrequency::Yearly)
            c.interval = ToU16(Edit(rows, nthInterval ? kNthInterval : kInterval)->text());
        if (c.frequency == AFrequency::Monthly || c.frequency == AFrequency::Yearly) {
            c.dayOfMonth = ToU16(Edit(rows, kDayOfMonth)->text());
            c.instance = List(c.frequency, kInstance).Chosen() + 1;
            c.selector = SelectorAt(List(c.frequency, kSelector).Chosen());
            c.month = List(AFrequency::Yearly, c.nth ? kNthMonth : kMonth).Chosen() + 1;
        }
        for (int d = 1; d <= 7; ++d)
            if (Weekday(d)->isChecked())
                c.weekdays |= MaskBit(d);
        for (int e = 0; e < 3; ++e)
            if (Radio(Form(), kEndIds[e])->isChecked())
                c.end = static_cast<AEnd>(e);
        c.count = ToU16(Form().ControlAs<QLineEdit>(kCount)->text());
        c.lastDay = Picker(kLastDay)->Date();
        c.regenerate = regenerate_;
        return c;
    }

    QWidget* FieldOf(const AChoice& c, AChoiceField field)
    {
        ADialogForm& rows = Rows(c.frequency);
        switch (field) {
        case AChoiceField::Interval:
            return Edit(rows, c.frequency == AFrequency::Monthly && c.nth ? kNthInterval : kInterval);
        case AChoiceField::DayOfMonth: return Edit(rows, kDayOfMonth);
        case AChoiceField::Weekdays: return Weekday(1);
        case AChoiceField::Count: break;
        }
        return Form().Control(kCount);
    }

    void Connect()
    {
        const auto apply = [this] { Apply(); };
        for (QWidget* w : findChildren<QWidget*>()) {
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                connect(button, &QAbstractButton::toggled, this, apply);
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                connect(edit, &QLineEdit::textChanged, this, apply);
        }
        for (const auto& list : lists_)
            connect(list->Picker(), &AReportPicker::Notify, this, apply);
        connect(Picker(kLastDay), &QDateEdit::dateChanged, this, apply);
    }

    // The chosen frequency's rows, the fields of the chosen rows enabled, the next date.
    void Apply()
    {
        const AChoice c = Collect();
        Form().SelectStackChild(kStack, Index(c.frequency));
        Edit(Rows(AFrequency::Daily), kInterval)->setEnabled(!Radio(Rows(AFrequency::Daily), kWorkingDays)->isChecked());
        for (AFrequency f : {AFrequency::Monthly, AFrequency::Yearly}) {
            const bool nth = Radio(Rows(f), kNth)->isChecked();
            for (std::int16_t id : {kDayOfMonth, kInterval, kMonth})
                if (QWidget* w = Rows(f).Control(id))
                    w->setEnabled(!nth);
            for (std::int16_t id : {kInstance, kSelector, kNthInterval, kNthMonth})
                if (QWidget* w = Rows(f).Control(id))
                    w->setEnabled(nth);
        }
        Form().Control(kCount)->setEnabled(c.end == AEnd::AfterCount);
        Form().Control(kLastDay)->setEnabled(c.end == AEnd::AtDate);
        QString next;
        if (!CheckChoice(c))
            if (AOccurrences occurrences(RuleOf(c), start_); occurrences.Next())
                next = ToQString(DateText(context_, occurrences.Date()));
        Form().ControlAs<QLabel>(kNext)->setText(next);
        Form().Relayout(true, false);  // the texts set here have their own widths
    }

    ADate start_;
    bool regenerate_ = false;
    std::array<ADialogForm*, 4> rows_{};
    std::vector<std::unique_ptr<AListPicker>> lists_;
};

}  // namespace

std::optional<ARule> RunRecurrenceDialog(QWidget* parent, const AProgramContext& context, const ARule& rule, ADate start)
{
    ARecurrenceDialog dialog(parent, context, rule, start);
    if (context.Dialogs().RunModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.rule;
}

std::u16string RuleDescription(const AProgramContext& context, const ARule& rule)
{
    if (!rule.active)
        return {};
    static constexpr int kKindWords[6] = {0, 1, 2, 2, 3, 3};
    std::u16string text(context.Strings().Text(kRepeatsDaily + kKindWords[rule.kind % 6]));
    if (rule.endsAfterCount)
        text += u". " + context.Strings().Format(kRemaining, {static_cast<int>(rule.count)});
    else if (rule.endsAtDate)
        text += u". " + context.Strings().Format(kUntil, {DateText(context, rule.end - 1)});
    return text;
}

}  // namespace UserInterface::Transactions
