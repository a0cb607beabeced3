#include "ui/reports/SeriesDialog.h"

#pragma push_macro("slots")
#undef slots
#include "core/ChartColours.h"
#include "analysis/SeriesEdit.h"
#pragma pop_macro("slots")
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/categories/CategoriesPage.h"
#include "ui/filters/Choosers.h"
#include "ui/reports/KindTicks.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace UserInterface::Reports {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;
namespace S = UserInterface::Series;

namespace {

constexpr std::int16_t kName = -10, kColour = -11, kAccounts = -12, kClassifierTable = -13;
constexpr std::int16_t kAboveZero = 700, kNoBars = 103, kNoLine = 104;
using namespace KindTick;
using S::SeriesText::kAddTitle;
using S::SeriesText::kChangeTitle;
constexpr std::int16_t ClassifierLabel(std::size_t n) { return static_cast<std::int16_t>(-40 - 2 * static_cast<int>(n)); }
constexpr std::int16_t ClassifierPicker(std::size_t n) { return static_cast<std::int16_t>(-41 - 2 * static_cast<int>(n)); }

// "Название, обозначение:" with the name and the colour, the display ticks, "По счетам:" with
// the account tree, "Учитывать операции:" with the kinds, then a node per classifier.
const char* const kLayout =
    "{t1{t2xe#102(:t){br4xr[s#400]}{bW220[et#-10]}{bt4r4xr[s#81]}{bt4W220[rt#-11]}}"
    "{bt8xl[bCt#700]}{bt2xl[bCt#103]}{bt2xl[bCt#104]}"
    "{bt8xl[s#39]}{bt2W320H150[Rt#-12]}"
    "{bt8xl[s#34]}{t2xlt2{bxl[bCt#35]}{bl10xl[bCt#36]}{bt2xl[bCt#37]}{bl10t2xl[bCt#38]}}"
    "{t2#-13xet8{b}{b}}}";

// A colour of the colour combo: its swatch, named by its RGB value for whoever cannot see it.
class AHueColorReportItem final : public ARecordItem {
public:
    explicit AHueColorReportItem(int hue) : ARecordItem(static_cast<std::uint32_t>(hue) + 1), hue_(hue) {}
    int Hue() const { return hue_; }
    std::u16string Text(int column) const override
    {
        if (column != 0)
            return {};
        const Charts::ARgb rgb = Charts::SeriesBarColour(hue_);
        return ToU16(QStringLiteral("#%1%2%3")
                         .arg(rgb.r, 2, 16, QLatin1Char('0'))
                         .arg(rgb.g, 2, 16, QLatin1Char('0'))
                         .arg(rgb.b, 2, 16, QLatin1Char('0'))
                         .toUpper());
    }
    void DrawSingleText(AReportCanvas& canvas, const ARect& rect, const ACellStyle& style) const override
    {
        Draw(canvas, rect, style);
    }
    void DrawCell(AReportCanvas& canvas, int column, const ARect& rect, const ACellStyle& style) const override
    {
        if (column == 0)
            Draw(canvas, rect, style);
    }

private:
    void Draw(AReportCanvas& canvas, const ARect& rect, const ACellStyle& style) const
    {
        const Charts::ARgb rgb = Charts::SeriesBarColour(hue_);
        const AColour colour = rgb.r | rgb.g << 8 | rgb.b << 16;
        const ARect swatch{rect.left + 2, rect.top + 2, rect.left + 2 + 40, rect.bottom - 2};
        canvas.FillRect(swatch, colour);
        canvas.DrawText({swatch.right + 6, rect.top, rect.right, rect.bottom}, Text(0), style.text, kTextLeft);
    }
    int hue_;
};

class ASeriesDialog final : public UtilityForms::AStandardDialog {
public:
    ASeriesDialog(QWidget* owner, const AProgramContext& context, ADatabase& db, AReference<ASeries> series)
        : AStandardDialog(context, series.IsNull() ? kAddTitle : kChangeTitle, kLayout, owner),
          db_(db),
          series_(series),
          input_(S::ReadSeriesInput(db, series)),
          accounts_(*Form().ControlAs<AReportWindow>(kAccounts), context, db)
    {
        // The group's caption would name the name field too: both are named by their own captions.
        Form().Control(kName)->setAccessibleName(TableText(context.Strings(), 400).remove(u'&'));
        Form().Control(kColour)->setAccessibleName(TableText(context.Strings(), 81).remove(u'&'));
        colourMode_.AddColumn(u"", 120, false);
        AReportPicker& colours = ColourPicker();
        colours.SetMode(&colourMode_);
        for (int n = 0; n < Charts::kHueCount; ++n)
            colours.Root().AddChild(std::make_unique<AHueColorReportItem>(n * Charts::kHueStep));
        colours.RebuildRows();
        for (int r = 0; r < colours.Model().RowCount(); ++r)
            if (static_cast<const AHueColorReportItem*>(colours.Model().Row(r))->Hue() == input_.hue)
                colours.Select(colours.Model().Row(r));
        Form().ControlAs<QLineEdit>(kName)->setText(ToQString(input_.name));
        for (auto [id, flag] : Ticks())
            Form().ControlAs<QCheckBox>(id)->setChecked(input_.*flag);
        accounts_.SetTicked(input_.accounts);
        AddClassifierRows();
        Form().Control(kName)->setFocus();
    }

    ~ASeriesDialog() override
    {
        choosers_.clear();
        ColourPicker().Model().DeleteAllItems();
        ColourPicker().SetMode(nullptr);
    }

    AReference<ASeries> created;
    bool committed = false;

protected:
    bool Validate() override
    {
        input_.name = ToU16(Form().ControlAs<QLineEdit>(kName)->text());
        const auto* colour = static_cast<const AHueColorReportItem*>(ColourPicker().SelectedItem());
        input_.hue = colour ? static_cast<std::uint8_t>(colour->Hue()) : ASeries::kNoHue;
        for (auto [id, flag] : Ticks())
            input_.*flag = Form().ControlAs<QCheckBox>(id)->isChecked();
        input_.accounts = accounts_.Ticked();
        input_.nodes = ChosenNodes();
        const std::optional<S::ASeriesRefusal> refusal = S::CheckSeriesInput(input_);
        if (!refusal)
            return true;
        QWidget* field = nullptr;
        switch (refusal->focus) {
        case S::ASeriesField::Name: field = Form().Control(kName); break;
        case S::ASeriesField::Colour: field = &ColourPicker(); break;
        case S::ASeriesField::Bars: field = Form().Control(kNoBars); break;
        case S::ASeriesField::Accounts: field = Form().Control(kAccounts); break;
        }
        return Refuse(refusal->message, field);
    }

    void Apply() override
    {
        const auto refusal = series_.IsNull() ? S::AddSeries(db_, context_.Strings(), input_, &created)
                                              : S::ChangeSeries(db_, context_.Strings(), series_, input_);
        committed = !refusal;
    }

private:
    static std::span<const std::pair<std::int16_t, bool S::ASeriesInput::*>> Ticks()
    {
        static const std::pair<std::int16_t, bool S::ASeriesInput::*> ticks[] = {
            {kAboveZero, &S::ASeriesInput::debitsAboveZero}, {kNoBars, &S::ASeriesInput::noBars},
            {kNoLine, &S::ASeriesInput::noLine},            {kIncome, &S::ASeriesInput::income},
            {kExpense, &S::ASeriesInput::expense},          {kCredits, &S::ASeriesInput::transferCredits},
            {kDebits, &S::ASeriesInput::transferDebits}};
        return ticks;
    }
    AReportPicker& ColourPicker() { return *Form().ControlAs<AReportPicker>(kColour); }

    // One chooser per classifier; a series with several nodes of one classifier keeps them
    // until the user chooses one.
    void AddClassifierRows()
    {
        std::size_t n = 0;
        for (auto* classifier : db_.Classifiers().Live()) {
            Form().InsertElements(kClassifierTable, "{bt2xr[s#" + std::to_string(ClassifierLabel(n)) + "]}{bl4t2W220[rt#" +
                                                        std::to_string(ClassifierPicker(n)) + "]}");
            const QString name = ToQString(db_.Text(classifier->Record().singular));
            Form().ControlAs<QLabel>(ClassifierLabel(n))->setText(name + u':');
            auto* picker = Form().ControlAs<AReportPicker>(ClassifierPicker(n));
            picker->setAccessibleName(name);
            const auto ref = Engine::ATableImpl<AClassifier>::RefTo(classifier);
            auto chooser = std::make_unique<Filters::ACategoryChooser>(*picker, context_, db_, ref);
            std::vector<AReference<ACategory>> mine;
            for (AReference<ACategory> node : input_.nodes)
                if (chooser->Choose(node), !chooser->NoneChosen())
                    mine.push_back(node);
            if (mine.size() == 1)
                chooser->Choose(mine.front());
            else
                chooser->ChooseNone();
            chooser->ShowDifferentValues(mine.size() > 1);
            kept_.push_back(mine);
            choosers_.push_back(std::move(chooser));
            ++n;
        }
        Form().Relayout(true, true);
    }

    std::vector<AReference<ACategory>> ChosenNodes() const
    {
        std::vector<AReference<ACategory>> nodes;
        for (std::size_t n = 0; n < choosers_.size(); ++n) {
            if (choosers_[n]->ShowsDifferentValues())
                nodes.insert(nodes.end(), kept_[n].begin(), kept_[n].end());
            else if (!choosers_[n]->NoneChosen())
                nodes.push_back(choosers_[n]->Category());
        }
        return nodes;
    }

    ADatabase& db_;
    AReference<ASeries> series_;
    S::ASeriesInput input_;
    Filters::AAccountTicks accounts_;
    Win32API::VelvixControls::Reports::AReportMode colourMode_;
    std::vector<std::unique_ptr<Filters::ACategoryChooser>> choosers_;
    std::vector<std::vector<AReference<ACategory>>> kept_;
};

}  // namespace

bool RunSeriesDialog(QWidget* owner, const AProgramContext& context, ADatabase& db, AReference<ASeries> series,
                     AReference<ASeries>* created)
{
    ASeriesDialog dialog(owner, context, db, series);
    context.Dialogs().RunModal(dialog);
    if (created)
        *created = dialog.created;
    return dialog.committed;
}

bool DeleteSeriesAsked(QWidget* owner, const AProgramContext& context, ADatabase& db, AReference<ASeries> series)
{
    const auto& strings = context.Strings();
    if (const auto refusal = S::DeleteSeriesRefusal(db, series)) {
        Win32API::VelvixForms::AMessageBoxOptions options;
        options.text = refusal->Format(strings);
        options.icon = Win32API::VelvixForms::AMessageIcon::Information;
        context.Dialogs().ShowMessage(owner, options);
        return false;
    }
    const std::u16string title(strings.Text(S::SeriesText::kDeleteTitle));
    return Categories::AskToDelete(context, owner, S::DeleteSeriesQuestion(db, series).Format(strings), title) &&
           S::DeleteSeries(db, strings, series);
}

}  // namespace UserInterface::Reports
