#include "ui/currencies/DownloadWizard.h"

#pragma push_macro("slots")
#undef slots
#include "rates/DownloadWizard.h"
#pragma pop_macro("slots")

#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DateCtrl.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportPicker.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QRadioButton>

#include <iterator>

namespace UserInterface::Currencies {

using namespace Win32API::VelvixControls::Reports;
using Win32API::VelvixControls::ADatePicker;
using Win32API::VelvixForms::ADialogForm;

namespace {

static_assert(std::size(Rates::WizardText::kSamplingModes) == Rates::kSamplingModeCount);
constexpr int kNamesOnly = 619, kWithRates = 620, kCrossRates = Rates::WizardText::kCrossRates;
using DownloadText::kConnecting;
constexpr std::int16_t kSources = -1, kAuthor = -2, kEmail = -3, kSite = -4, kNoSources = -5;
constexpr std::int16_t kFrom = -1, kTo = -2, kSampling = -3, kEstimate = -4, kPeriodRows = -5;
constexpr std::int16_t kProgress = -1, kStatus = -2;
constexpr std::int16_t kChooseText = -1, kCurrencies = -2;

const char* const kSourceLayout =
    "{t1m8xe{bxl[s#614]}{bt8xl[s#615]}{bt2WeH70[Rt#-1]}"
    "{t2t8xe{bxr[s#616]}{bl4We[et#-2]}{bt4xr[s#617]}{bl4t4We[et#-3]}{bt4xr[s#618]}{bl4t4We[et#-4]}}{bt8Wexl[s#-5]}}";
const char* const kChoiceLayout =
    "{t1m8xe{bxl[bRgt#619]}{bt4xl[bRt#620]}"
    "{t2#-5l18t4xl{bxr[s#621]}{bl4W100xl[Dt#-1]}{bt4xr[s#622]}{bl4t4W100xl[Dt#-2]}{bt4xr[s#623]}"
    "{bl4t4W230xl[rt#-3]}{bt4xr[s#629]}{bl4t4xl[s#-4]}}}";
const char* const kDownloadLayout = "{t1m8xe{bxl[s#631]}{bt12We[p#-1]}{bt4Wexl[s#-2]}}";
const char* const kChooseLayout = "{t1m8xe{bWexl[s#-1]}{bt4WeH110[Rt#-2]}{bt4xl[bCt#635]}}";

// A downloaded currency: its tick is the model row's.
class ACurrencyItem final : public ARecordItem {
public:
    explicit ACurrencyItem(std::uint32_t index, Rates::ACurrencyRow& row) : ARecordItem(index), row_(row) {}
    std::u16string Text(int column) const override { return column == 0 ? row_.name : row_.code; }
    ACheckState CheckState() const override { return row_.checked ? ACheckState::Checked : ACheckState::Unchecked; }
    void SetChecked(bool checked) override { row_.checked = checked; }

private:
    Rates::ACurrencyRow& row_;
};

}  // namespace

class ADownloadCRImpl::AImpl final : public Rates::ADownloadObserver {
public:
    AImpl(ADownloadCRImpl& wizard, const AProgramContext& context, Database::ADatabase& db,
          const std::string& sourceFolder, std::vector<std::unique_ptr<Rates::ADataSourceItem>> sources)
        : wizard_(wizard),
          context_(context),
          sourceFolder_(sourceFolder),
          model_(db, context.Strings(), std::move(sources), context.clock),
          sourceMode_(context, false),
          samplingMode_(context, false),
          currencyMode_(context, false)
    {
        sourceMode_.AddTitledColumn(DownloadText::kSourceColumn, 300, false);
        samplingMode_.AddTitledColumn(DownloadText::kSamplingColumn, 230, false);
        currencyMode_.AddTitledColumn(Rates::CurrencyText::kNameColumn, 230, false);
        currencyMode_.AddTitledColumn(Rates::CurrencyText::kCodeColumn, 90);
    }
    ~AImpl() { model_.Cancel(); }

    void OnProgress(std::uint64_t bytes) override
    {
        auto* bar = DownloadForm()->ControlAs<QProgressBar>(kProgress);
        bar->setValue(static_cast<int>(std::min<std::uint64_t>(bar->value() + bytes, bar->maximum())));
    }
    void OnResourceReady() override { SetStatus(model_.StatusText()); }
    void OnAllDone() override
    {
        DownloadForm()->ControlAs<QProgressBar>(kProgress)->setValue(DownloadForm()->ControlAs<QProgressBar>(kProgress)->maximum());
        SetStatus(model_.StatusText());
        wizard_.EnableButton(kBack, true);
        wizard_.EnableButton(kNext, true);
        wizard_.EnableButton(kCancel, true);
    }

    void BuildSteps();
    Rates::ARateDownloadWizard& Model() { return model_; }

private:
    class AStep final : public AWizardStep {
    public:
        AStep(AImpl& impl, int index, const char* layout)
            : AWizardStep(Rates::WizardText::kStepTitles[index], 610 + index, layout), impl_(impl), index_(index)
        {
        }
        void OnEnter(AWizard&) override { impl_.Enter(index_); }
        bool OnLeave(AWizard&, bool forward) override { return impl_.Leave(index_, forward); }

    private:
        AImpl& impl_;
        int index_;
    };

    ADialogForm* Form(int step) const { return wizard_.Step(step)->Form(); }
    ADialogForm* DownloadForm() const { return Form(2); }
    void SetStatus(const std::u16string& text) { DownloadForm()->ControlAs<QLabel>(kStatus)->setText(ToQString(text)); }
    void Enter(int step);
    bool Leave(int step, bool forward);
    void ShowSource();
    void ShowChoice();
    void StartDownload();
    void FillCurrencies();

    ADownloadCRImpl& wizard_;
    const AProgramContext& context_;
    std::string sourceFolder_;
    Rates::ARateDownloadWizard model_;
    APageMode sourceMode_, samplingMode_, currencyMode_;
    bool showing_ = false;
};

void ADownloadCRImpl::AImpl::BuildSteps()
{
    for (const char* layout : {kSourceLayout, kChoiceLayout, kDownloadLayout, kChooseLayout})
        wizard_.AddStep(std::make_unique<AStep>(*this, wizard_.StepCount(), layout));

    auto* sources = Form(0)->ControlAs<AReportWindow>(kSources);
    sources->SetMode(&sourceMode_);
    for (std::size_t i = 0; i < model_.Sources().size(); ++i)
        sources->Root().AddChild(std::make_unique<ATextItem>(
            static_cast<std::uint32_t>(i), std::vector<std::u16string>{model_.Sources()[i]->Name()}));
    sources->RebuildRows();
    // A list control is not named by the static before it: it takes its caption here.
    sources->setAccessibleName(TableText(context_.Strings(), DownloadText::kSourceColumn));
    QObject::connect(sources, &AReportWindow::Notify, &wizard_, [this, sources](int code, bool*) {
        if (code != kNotifySelectionChanged || showing_)
            return;
        const int row = sources->Model().Focus();
        model_.Select(row);
        ShowSource();
    });
    for (std::int16_t id : {kAuthor, kEmail, kSite})
        Form(0)->ControlAs<QLineEdit>(id)->setReadOnly(true);
    auto* noSources = Form(0)->ControlAs<QLabel>(kNoSources);
    noSources->setWordWrap(true);
    if (model_.Sources().empty())
        noSources->setText(ToQString(Rates::ARateDownloadWizard::NoSourcesText(sourceFolder_)));
    noSources->setVisible(model_.Sources().empty());

    ADialogForm* choice = Form(1);
    for (int id : {kNamesOnly, kWithRates})
        QObject::connect(choice->ControlAs<QRadioButton>(static_cast<std::int16_t>(id)), &QRadioButton::toggled,
                         &wizard_, [this, id](bool on) {
                             if (on && !showing_) {
                                 model_.SetNamesOnly(id == kNamesOnly);
                                 ShowChoice();
                             }
                         });
    for (std::int16_t id : {kFrom, kTo}) {
        auto* date = choice->ControlAs<ADatePicker>(id);
        date->SetPicture(context_.Strings().Locale().shortDatePicture);
        QObject::connect(date, &QDateEdit::dateChanged, &wizard_, [this, choice] {
            if (showing_)
                return;
            model_.SetPeriod(choice->ControlAs<ADatePicker>(kFrom)->Date(), choice->ControlAs<ADatePicker>(kTo)->Date());
            ShowChoice();
        });
    }
    auto* sampling = choice->ControlAs<AReportPicker>(kSampling);
    sampling->SetMode(&samplingMode_);
    for (int mode = 0; mode < Rates::kSamplingModeCount; ++mode) {
        const std::u16string_view text = context_.Strings().Text(Rates::WizardText::kSamplingModes[mode]);
        sampling->Root().AddChild(std::make_unique<ATextItem>(static_cast<std::uint32_t>(mode),
                                                              std::vector<std::u16string>{std::u16string(text)}));
    }
    sampling->RebuildRows();
    QObject::connect(sampling, &AReportPicker::Notify, &wizard_, [this, sampling](int code, bool*) {
        if (code != kNotifySelectionChanged || showing_ || !sampling->SelectedItem())
            return;
        model_.SetMode(static_cast<Rates::ASamplingMode>(sampling->SelectedItem()->RecordId()));
        ShowChoice();
    });

    auto* currencies = Form(3)->ControlAs<AReportWindow>(kCurrencies);
    currencies->SetMode(&currencyMode_);
    QObject::connect(Form(3)->ControlAs<QCheckBox>(kCrossRates), &QCheckBox::toggled, &wizard_,
                     [this](bool on) { model_.SetCrossRates(on); });
}

void ADownloadCRImpl::AImpl::Enter(int step)
{
    switch (step) {
    case 0: ShowSource(); return;
    case 1: ShowChoice(); return;
    case 2: StartDownload(); return;
    default: FillCurrencies(); return;
    }
}

bool ADownloadCRImpl::AImpl::Leave(int step, bool forward)
{
    // Going back from the download stops it: what it had is thrown away.
    if (step == 2 && !forward)
        model_.Cancel();
    return true;
}

void ADownloadCRImpl::AImpl::ShowSource()
{
    const Rates::ASourceDetails details = model_.SelectedDetails();
    const std::pair<std::int16_t, const std::u16string*> fields[] = {
        {kAuthor, &details.author}, {kEmail, &details.email}, {kSite, &details.site}};
    for (const auto& [id, text] : fields)
        Form(0)->ControlAs<QLineEdit>(id)->setText(ToQString(*text));
    auto* sources = Form(0)->ControlAs<AReportWindow>(kSources);
    if (model_.Selected() >= 0 && sources->Model().Focus() != model_.Selected()) {
        showing_ = true;
        sources->MakeVisible(*sources->Model().Row(model_.Selected()));
        showing_ = false;
    }
    wizard_.EnableButton(kNext, model_.CanLeaveSource());
}

void ADownloadCRImpl::AImpl::ShowChoice()
{
    ADialogForm* choice = Form(1);
    showing_ = true;
    choice->ControlAs<QRadioButton>(model_.NamesOnly() ? kNamesOnly : kWithRates)->setChecked(true);
    choice->ControlAs<ADatePicker>(kFrom)->SetDate(model_.From());
    choice->ControlAs<ADatePicker>(kTo)->SetDate(model_.To());
    auto* sampling = choice->ControlAs<AReportPicker>(kSampling);
    sampling->Select(sampling->Model().Row(static_cast<int>(model_.Mode())));
    showing_ = false;
    for (std::int16_t id : {kFrom, kTo, kSampling, kEstimate})
        choice->Control(id)->setEnabled(model_.PeriodEnabled());
    choice->ControlAs<QLabel>(kEstimate)->setText(ToQString(model_.EstimateText()));
    choice->Relayout(true, false);
    wizard_.EnableButton(kNext, model_.CanLeaveChoice());
}

void ADownloadCRImpl::AImpl::StartDownload()
{
    auto* bar = DownloadForm()->ControlAs<QProgressBar>(kProgress);
    bar->setRange(0, static_cast<int>(std::min<std::uint64_t>(std::max<std::uint64_t>(model_.Estimate(), 1), INT32_MAX)));
    bar->setValue(0);
    SetStatus(std::u16string(context_.Strings().Text(kConnecting)));
    wizard_.EnableButton(kBack, false);
    wizard_.EnableButton(kNext, false);
    // The download thread only asks for a delivery; the notices are handled here.
    QPointer<ADownloadCRImpl> window(&wizard_);
    const bool started = model_.StartDownload([window] {
        QMetaObject::invokeMethod(
            window.data(),
            [window] {
                if (window)
                    window->impl_->model_.Deliver(*window->impl_);
            },
            Qt::QueuedConnection);
    });
    if (!started)
        OnAllDone();
}

void ADownloadCRImpl::AImpl::FillCurrencies()
{
    ADialogForm* form = Form(3);
    form->ControlAs<QLabel>(kChooseText)->setText(ToQString(model_.ChooseText()));
    auto* list = form->ControlAs<AReportWindow>(kCurrencies);
    list->setAccessibleName(ToQString(model_.ChooseText()));
    list->Model().DeleteAllItems();
    for (std::size_t i = 0; i < model_.Rows().size(); ++i)
        list->Root().AddChild(std::make_unique<ACurrencyItem>(static_cast<std::uint32_t>(i), model_.Rows()[i]));
    list->RebuildRows();
    auto* cross = form->ControlAs<QCheckBox>(kCrossRates);
    cross->setEnabled(model_.CrossRatesEnabled());
    cross->setChecked(model_.CrossRates());
    form->Relayout(true, false);
}

ADownloadCRImpl::ADownloadCRImpl(const AProgramContext& context, Database::ADatabase& db,
                                 const std::string& sourceFolder, QWidget* parent)
    : AWizard(context.strings.get(), Rates::WizardText::kTitle, parent),
      impl_(std::make_unique<AImpl>(*this, context, db, sourceFolder,
                                    Rates::FindRateSources(sourceFolder, context.Strings().CodePage())))
{
    impl_->BuildSteps();
}

ADownloadCRImpl::~ADownloadCRImpl()
{
    impl_->Model().Cancel();
}

bool ADownloadCRImpl::OnFinish()
{
    impl_->Model().Finish();
    return true;
}

void ADownloadCRImpl::reject()
{
    impl_->Model().Cancel();
    AWizard::reject();
}

bool RunDownloadWizard(const AProgramContext& context, Database::ADatabase& db, QWidget* parent)
{
    ADownloadCRImpl wizard(context, db, context.folders.pluginFolder, parent);
    return context.Dialogs().RunModal(wizard) == QDialog::Accepted;
}

}  // namespace UserInterface::Currencies
