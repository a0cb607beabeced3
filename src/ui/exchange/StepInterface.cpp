#include "ui/exchange/StepInterface.h"

#include "core/CodePage.h"
#include "ui/DataFileNames.h"
#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/exchange/WizardTexts.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QLineEdit>
#include <QPushButton>

namespace UserInterface::Exchange {

using Win32API::VelvixControls::Reports::AReportWindow;

namespace {

constexpr std::int16_t kModules = -1, kFile = -2, kNoFileRow = -3, kFileRow = -4;
using ExchangeText::kExportModule, ExchangeText::kImportModule, ExchangeText::kBrowse, ExchangeText::kAllFiles;
constexpr int kSettings = 763;

std::string Layout(bool exporting)
{
    const std::string caption = std::to_string(exporting ? kExportModule : kImportModule);
    std::string layout = "{t1m8xe{bxl[s#" + caption + "]}{bt2WeH110[Rt#-1]}"
                         "{t3#-4t8xe{bxr[s#528]}{bl4We[et#-2]}{bl4[bt#529]}}{b#-3~t8xl[s#530]}"
                         "{bt8xl[bt#763]}";
    if (exporting)
        layout += "{bt12xl[s#755]}";
    return layout + "}";
}

}  // namespace

template <class Interface>
AWizardStepInterface<Interface>::AWizardStepInterface(const AProgramContext& context,
                                                      ExportImport::Wizards::AModuleChoice<Interface>& modules,
                                                      int titleId, int subtitleId, bool exporting)
    : AWizardStep(titleId, subtitleId, Layout(exporting)),
      context_(context),
      modules_(modules),
      exporting_(exporting),
      mode_(std::make_unique<APageMode>(context, false))
{
    mode_->AddTitledColumn(exporting ? kExportModule : kImportModule, 360, false);
}

template <class Interface>
AWizardStepInterface<Interface>::~AWizardStepInterface() = default;

template <class Interface>
void AWizardStepInterface<Interface>::Build(AWizard& wizard)
{
    auto* list = Form()->ControlAs<AReportWindow>(kModules);
    list->SetMode(mode_.get());
    for (std::size_t i = 0; i < modules_.Count(); ++i)
        list->Root().AddChild(
            std::make_unique<ATextItem>(static_cast<std::uint32_t>(i), std::vector<std::u16string>{modules_.Name(i)}));
    list->RebuildRows();
    // A list control is not named by the static before it: it takes its caption here.
    list->setAccessibleName(TableText(context_.Strings(), exporting_ ? kExportModule : kImportModule).remove(u'&'));
    QObject::connect(list, &AReportWindow::Notify, Form(), [this, list](int code, bool*) {
        if (code != Win32API::VelvixControls::Reports::kNotifySelectionChanged || showing_)
            return;
        modules_.Select(list->Model().Focus());
        ShowModule();
    });
    QObject::connect(Form()->ControlAs<QLineEdit>(kFile), &QLineEdit::textEdited, Form(),
                     [this](const QString& text) { modules_.SetFileName(ToU16(text)); });
    QObject::connect(Form(), &Win32API::VelvixForms::ADialogForm::Command, Form(), [this, &wizard](int id) {
        if (id == kBrowse)
            Browse(wizard);
        else if (id == kSettings && modules_.HasSettings() && !(settingsWindow_ && settingsWindow_(wizard)))
            modules_.Module()->ShowSettings(reinterpret_cast<ExportImport::AWindowHandle>(wizard.winId()));
    });
}

template <class Interface>
void AWizardStepInterface<Interface>::ShowModule()
{
    auto* list = Form()->ControlAs<AReportWindow>(kModules);
    if (modules_.Selected() >= 0 && list->Model().Focus() != modules_.Selected()) {
        showing_ = true;
        list->MakeVisible(*list->Model().Row(modules_.Selected()));
        showing_ = false;
    }
    Form()->ControlAs<QLineEdit>(kFile)->setText(ToQString(modules_.FileName()));
    Form()->ShowElement(kFileRow, modules_.UsesFile() || !modules_.Module());
    Form()->ShowElement(kNoFileRow, modules_.Module() && !modules_.UsesFile());
    Form()->Control(kSettings)->setEnabled(modules_.HasSettings());
}

template <class Interface>
void AWizardStepInterface<Interface>::OnEnter(AWizard&)
{
    ShowModule();
}

template <class Interface>
bool AWizardStepInterface<Interface>::OnLeave(AWizard& wizard, bool forward)
{
    if (!forward)
        return true;
    if (const int refusal = modules_.LeaveRefusal()) {
        ShowWizardMessage(context_, &wizard, refusal, Win32API::VelvixForms::AMessageIcon::Warning);
        return false;
    }
    return true;
}

template <class Interface>
void AWizardStepInterface<Interface>::Browse(AWizard& wizard)
{
    AFileDialogSpec spec;
    spec.title = TableText(context_.Strings(), kBrowse).remove(u'&').remove(QStringLiteral("..."));
    const std::string extension = UtilityClasses::Strings::Utf16ToUtf8(modules_.Extension());
    if (!extension.empty()) {
        spec.filters = FileFilter(ToQString(modules_.Name(static_cast<std::size_t>(modules_.Selected()))), extension) +
                       QStringLiteral(";;");
        // A module of several extensions ("ofx;qfx") offers them all and adds the first.
        spec.defaultSuffix = QString::fromStdString(extension.substr(0, extension.find(';')));
    }
    spec.filters += TableText(context_.Strings(), kAllFiles);
    spec.initialPath = modules_.FilePath();
    const auto chosen = exporting_ ? context_.Dialogs().AskSaveFile(&wizard, spec)
                                   : context_.Dialogs().AskOpenFile(&wizard, spec);
    if (!chosen || chosen->empty())
        return;
    modules_.SetFileName(UtilityClasses::Strings::Utf8ToUtf16(*chosen));
    Form()->ControlAs<QLineEdit>(kFile)->setText(ToQString(modules_.FileName()));
}

template class AWizardStepInterface<ExportImport::AExportInterface>;
template class AWizardStepInterface<ExportImport::AImportInterface>;

}  // namespace UserInterface::Exchange
