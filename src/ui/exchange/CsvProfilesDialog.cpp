#include "ui/exchange/CsvProfilesDialog.h"

#include "core/CodePage.h"
#include "core/CommonTexts.h"
#include "core/FileSystem.h"
#include "ui/InterfaceTexts.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/exchange/StatementTexts.h"
#include "ui/exchange/WizardTexts.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

namespace UserInterface::Exchange {

using namespace ExportImport::Statements;
using Win32API::VelvixControls::Reports::AReportWindow;
namespace Text = StatementText;

namespace {

constexpr std::int16_t kProfilesCaption = -1, kProfiles = -2, kRemove = -3, kNameCaption = -4, kName = -5,
                       kColumnsCaption = -6, kFormCaption = -7, kSeparatorCaption = -30, kSeparator = -31,
                       kDecimalCaption = -32, kDecimal = -33, kSkipCaption = -34, kSkip = -35, kDateForms = -40,
                       kCodePages = -43, kPreviewCaption = -50, kPreview = -51;
constexpr std::int16_t ColumnCaption(int n) { return static_cast<std::int16_t>(-11 - n); }
constexpr std::int16_t ColumnEdit(int n) { return static_cast<std::int16_t>(-21 - n); }
constexpr std::uint32_t kCodePageValues[3] = {0, 65001, 1251};
constexpr std::size_t kPreviewLines = 8;
constexpr std::size_t kMaxPreviewFile = std::size_t{16} << 20;
constexpr int kDateColumn = UtilityClasses::Strings::CommonText::kDate, kAmountColumn = SharedText::kAmount;

std::string Layout()
{
    std::string columns;
    for (int n = 0; n < ACsvMappingFields::kColumnCount; ++n)
        columns += "{bt2" + std::string(n % 2 ? "l10" : "") + "xr[s#" + std::to_string(ColumnCaption(n)) +
                   "]}{bt2l4W28xl[et#" + std::to_string(ColumnEdit(n)) + "]}";
    return "{t2xeyt"
           "{t1xlyt{bxl[s#-1]}{bt2W130H150We[Rt#-2]}{bt4W90xl[bt#-3]}}"
           "{t1l10xeyt{t2xe{bxr[s#-4]}{bl4We[et#-5]}}{bt8xl[s#-6]}{t4t2xl" + columns + "}"
           "{bt8xl[s#-7]}{t6t2xl{bxr[s#-30]}{bl4W20xl[et#-31]}{bl10xr[s#-32]}{bl4W20xl[et#-33]}"
           "{bl10xr[s#-34]}{bl4W20xl[et#-35]}}"
           "{t3t6xl{bxl[bRgt#-40]}{bl8xl[bRt#-41]}{bl8xl[bRt#-42]}{bt2xl[bRgt#-43]}{bl8t2xl[bRt#-44]}"
           "{bl8t2xl[bRt#-45]}}}}"
           "{bt8xl[s#-50]}{bt2WeH100[Rt#-51]}";
}

class ACsvProfilesDialog final : public UtilityForms::AStandardDialog {
public:
    ACsvProfilesDialog(const AProgramContext& context, QWidget* parent, const std::string& path)
        : AStandardDialog(context, 0, Layout(), parent),
          profiles_(context.Options().Store()),
          listMode_(context, false),
          previewMode_(context, false)
    {
        ApplyTexts();
        listMode_.AddComputedColumn([] { return std::u16string(Text::kProfiles.substr(0, Text::kProfiles.size() - 1)); },
                                    130, false);
        for (int id : {kDateColumn, kAmountColumn})
            previewMode_.AddTitledColumn(id, id == kDateColumn ? 80 : 90, false);
        previewMode_.AddComputedColumn([] { return std::u16string(Text::kTextColumn); }, 220, false);
        previewMode_.AddComputedColumn([] { return std::u16string(Text::kReferenceColumn); }, 110, false);
        List(kProfiles)->SetMode(&listMode_);
        List(kPreview)->SetMode(&previewMode_);
        if (!path.empty() && context.fs && context.fs->ReadFile(path, file_, kMaxPreviewFile) != 0)
            file_.clear();
        hasFile_ = !file_.empty();

        FillProfiles();
        const ACsvProfile* current = profiles_.Current();
        Show(current ? current->name : std::u16string(), current ? current->mapping : ACsvMapping{});
        QObject::connect(List(kProfiles), &AReportWindow::Notify, this, [this](int code, bool*) {
            const auto* item = List(kProfiles)->Model().FocusedItem();
            if (code == Win32API::VelvixControls::Reports::kNotifySelectionChanged && item && !showing_ &&
                item->RecordId() < profiles_.All().size())
                Show(profiles_.All()[item->RecordId()].name, profiles_.All()[item->RecordId()].mapping);
        });
        QObject::connect(&Form(), &Win32API::VelvixForms::ADialogForm::Command, this, [this](int id) {
            if (id == kRemove)
                Remove();
        });
        for (QLineEdit* edit : Form().findChildren<QLineEdit*>())
            if (edit != Edit(kName))
                QObject::connect(edit, &QLineEdit::textChanged, this, [this] { Preview(); });
        for (QRadioButton* radio : Form().findChildren<QRadioButton*>())
            QObject::connect(radio, &QRadioButton::toggled, this, [this] { Preview(); });
        Preview();
    }

    void ApplyTexts() override
    {
        AStandardDialog::ApplyTexts();
        setWindowTitle(ToQString(Text::kProfilesTitle));
        const std::pair<std::int16_t, std::u16string_view> texts[] = {
            {kProfilesCaption, Text::kProfiles}, {kRemove, Text::kRemoveProfile}, {kNameCaption, Text::kProfileName},
            {kColumnsCaption, Text::kColumnsGroup}, {kFormCaption, Text::kFormGroup},
            {kSeparatorCaption, Text::kSeparator}, {kDecimalCaption, Text::kDecimal}, {kSkipCaption, Text::kSkip},
            {kPreviewCaption, Text::kPreview}};
        for (const auto& [id, text] : texts)
            SetText(id, text);
        // A heading static just before a field would name it too: the fields take their
        // captions by name.
        for (int n = 0; n < ACsvMappingFields::kColumnCount; ++n) {
            SetText(ColumnCaption(n), Text::kColumnCaptions[n]);
            Edit(ColumnEdit(n))->setAccessibleName(ToQString(Text::kColumnCaptions[n]));
        }
        Edit(kSeparator)->setAccessibleName(ToQString(Text::kSeparator));
        for (int n = 0; n < 3; ++n) {
            SetText(static_cast<std::int16_t>(kDateForms - n), Text::kDateForms[n]);
            SetText(static_cast<std::int16_t>(kCodePages - n), Text::kCodePages[n]);
        }
        // Lists are not named by the static before them.
        List(kProfiles)->setAccessibleName(ToQString(Text::kProfiles).remove(u':'));
        List(kPreview)->setAccessibleName(ToQString(Text::kPreview).remove(u':'));
        // The texts set here were not there when the form measured itself.
        Form().Relayout(true, true);
    }

protected:
    bool Validate() override
    {
        if (const AProfileNameRefusal refusal = ACsvProfiles::CheckName(ToU16(Edit(kName)->text()));
            refusal != AProfileNameRefusal::None)
            return Refuse(Text::NameRefusalText(refusal), Edit(kName));
        const AMappingCheck check = MappingOf(Fields());
        if (check.refusal == AMappingRefusal::None)
            return true;
        const int column = check.column >= 0 ? check.column : ACsvMappingFields::kAmount;
        const std::int16_t field = check.refusal == AMappingRefusal::BadSeparator ? kSeparator
                                   : check.refusal == AMappingRefusal::BadDecimal ? kDecimal
                                   : check.refusal == AMappingRefusal::BadSkip    ? kSkip
                                   : check.refusal == AMappingRefusal::NoDate     ? ColumnEdit(ACsvMappingFields::kDate)
                                                                                  : ColumnEdit(column);
        return Refuse(Text::MappingRefusalText(check.refusal, check.column >= 0 ? Text::kColumnCaptions[column] : u""),
                      Edit(field));
    }
    void Apply() override
    {
        for (const std::u16string& name : removed_)
            profiles_.Remove(name);
        profiles_.Save(ToU16(Edit(kName)->text()), MappingOf(Fields()).mapping);
    }

private:
    AReportWindow* List(std::int16_t id) { return Form().ControlAs<AReportWindow>(id); }
    QLineEdit* Edit(std::int16_t id) { return Form().ControlAs<QLineEdit>(id); }
    QRadioButton* Radio(std::int16_t id) { return Form().ControlAs<QRadioButton>(id); }
    void SetText(std::int16_t id, std::u16string_view text)
    {
        if (auto* label = Form().ControlAs<QLabel>(id))
            label->setText(ToQString(text));
        else if (auto* button = Form().ControlAs<QAbstractButton>(id))
            button->setText(ToQString(text));
    }
    bool Refuse(std::u16string_view text, QWidget* field)
    {
        ShowWizardText(context_, this, std::u16string(text), Win32API::VelvixForms::AMessageIcon::Warning);
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
        return false;
    }

    void FillProfiles()
    {
        AReportWindow* list = List(kProfiles);
        list->Model().DeleteAllItems();
        for (std::size_t i = 0; i < profiles_.All().size(); ++i)
            if (!Removed(profiles_.All()[i].name))
                list->Root().AddChild(std::make_unique<ATextItem>(static_cast<std::uint32_t>(i),
                                                                  std::vector<std::u16string>{profiles_.All()[i].name}));
        list->RebuildRows();
    }
    bool Removed(const std::u16string& name) const
    {
        return std::find(removed_.begin(), removed_.end(), name) != removed_.end();
    }

    void Show(const std::u16string& name, const ACsvMapping& mapping)
    {
        showing_ = true;
        const ACsvMappingFields fields = FieldsOf(mapping);
        Edit(kName)->setText(ToQString(name));
        for (int n = 0; n < ACsvMappingFields::kColumnCount; ++n)
            Edit(ColumnEdit(n))->setText(ToQString(fields.columns[static_cast<std::size_t>(n)]));
        Edit(kSeparator)->setText(ToQString(fields.separator));
        Edit(kDecimal)->setText(ToQString(fields.decimal));
        Edit(kSkip)->setText(ToQString(fields.skip));
        Radio(static_cast<std::int16_t>(kDateForms - static_cast<int>(fields.dateForm)))->setChecked(true);
        for (int n = 0; n < 3; ++n)
            if (kCodePageValues[n] == fields.codePage)
                Radio(static_cast<std::int16_t>(kCodePages - n))->setChecked(true);
        showing_ = false;
        Preview();
    }

    ACsvMappingFields Fields()
    {
        ACsvMappingFields fields;
        for (int n = 0; n < ACsvMappingFields::kColumnCount; ++n)
            fields.columns[static_cast<std::size_t>(n)] = ToU16(Edit(ColumnEdit(n))->text());
        fields.separator = ToU16(Edit(kSeparator)->text());
        fields.decimal = ToU16(Edit(kDecimal)->text());
        fields.skip = ToU16(Edit(kSkip)->text());
        for (int n = 0; n < 3; ++n) {
            if (Radio(static_cast<std::int16_t>(kDateForms - n))->isChecked())
                fields.dateForm = static_cast<ADateForm>(n);
            if (Radio(static_cast<std::int16_t>(kCodePages - n))->isChecked())
                fields.codePage = kCodePageValues[n];
        }
        return fields;
    }

    // The profile named goes from the list now and from the settings with OK.
    void Remove()
    {
        if (const ACsvProfile* named = profiles_.Find(ToU16(Edit(kName)->text())))
            removed_.push_back(named->name);
        FillProfiles();
        const auto left = std::find_if(profiles_.All().begin(), profiles_.All().end(),
                                       [this](const ACsvProfile& profile) { return !Removed(profile.name); });
        if (left != profiles_.All().end())
            Show(left->name, left->mapping);
        else
            Show({}, ACsvMapping{});
    }

    // The first lines of the file as the mapping reads them; what is wrong instead, when
    // the fields make no mapping.
    void Preview()
    {
        if (showing_)
            return;
        AReportWindow* list = List(kPreview);
        list->Model().DeleteAllItems();
        const AMappingCheck check = MappingOf(Fields());
        std::u16string caption(hasFile_ ? Text::kPreview : Text::kPreviewNoFile);
        if (check.refusal != AMappingRefusal::None) {
            const std::u16string refusal = Text::MappingRefusalText(
                check.refusal, check.column >= 0 ? Text::kColumnCaptions[check.column] : u"");
            caption = refusal.substr(0, refusal.find(u'\r'));
        } else if (hasFile_) {
            const AStatementRead read = PreviewCsv(file_, check.mapping, kPreviewLines);
            std::uint32_t row = 0;
            for (const AStatementLine& line : read.statement.lines)
                list->Root().AddChild(std::make_unique<ATextItem>(
                    row++,
                    std::vector<std::u16string>{DateText(context_, line.date), AmountText(context_, line.amount, 2),
                                                LineText(line), UtilityClasses::Strings::Utf8ToUtf16(line.reference)},
                    false, 2u));
            for (const AProblem& problem : read.problems)
                list->Root().AddChild(std::make_unique<ATextItem>(
                    row++, std::vector<std::u16string>{u"", u"", Text::ProblemText(problem), u""}));
        }
        list->RebuildRows();
        Form().ControlAs<QLabel>(kPreviewCaption)->setText(ToQString(caption));
    }

    ACsvProfiles profiles_;
    std::vector<std::u16string> removed_;
    APageMode listMode_;
    APageMode previewMode_;
    std::string file_;
    bool hasFile_ = false;
    bool showing_ = false;
};

}  // namespace

bool RunCsvProfilesDialog(const AProgramContext& context, QWidget* parent, const std::string& path)
{
    ACsvProfilesDialog dialog(context, parent, path);
    return context.Dialogs().RunModal(dialog) == QDialog::Accepted;
}

}  // namespace UserInterface::Exchange
