#include "ui/exchange/ExportWizard.h"

#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/UserDialogs.h"
#include "ui/exchange/ExportSteps.h"
#include "ui/exchange/StepErrors.h"
#include "ui/exchange/StepInterface.h"
#include "ui/exchange/StepProgress.h"
#include "ui/exchange/WizardTexts.h"

namespace UserInterface::Exchange {

namespace {
constexpr int kTitle = ExchangeText::kExportTitle;
}

class AExportWizard::AImpl {
public:
    AImpl(AExportWizard& wizard, const AProgramContext& context, Database::ADatabase& db,
          const std::string& programFolder)
        : session(context.Strings(), context.Options().Store(), &display), model(db, session, programFolder)
    {
        using AModuleStep = AWizardStepInterface<ExportImport::AExportInterface>;
        AddWizardStep<AModuleStep>(wizard, context, model.Modules(), 519, 520, true)->Build(wizard);
        AddWizardStep<AExportStepConfirmOverwrite>(wizard, context, model);
        AddWizardStep<AExportStepEntities>(wizard, context, model)->Build(wizard);
        AddWizardStep<AExportStepDates>(wizard, context, db, model)->Build(wizard);
        AddWizardStep<AExportStepAccounts>(wizard, context, db, model)->Build(wizard);
        AddWizardStep<AExportStepReady>(wizard, context, model);
        progress = AddWizardStep<AWizardStepProgress>(
            wizard, context, 780, 781,
            [this, &context] {
                model.Run(context.clock);
                return model.Outcome();
            },
            [this](AWizard& w) {
                // The messages page is reached only when there are messages.
                w.EnableButton(kBack, true);
                w.EnableButton(kNext, model.HasMessages());
                w.EnableButton(kFinish, true);
                w.EnableButton(kCancel, true);
            });
        display.target = progress;
        AddWizardStep<AWizardStepErrors>(wizard, context, session)->Build(wizard);
    }

    AProgressRelay display;
    ExportImport::AModuleSession session;
    ExportImport::Wizards::AExportWizardModel model;
    AWizardStepProgress* progress = nullptr;
};

AExportWizard::AExportWizard(const AProgramContext& context, Database::ADatabase& db, const std::string& programFolder,
                             QWidget* parent)
    : AWizard(context.strings.get(), kTitle, parent)
{
    impl_ = std::make_unique<AImpl>(*this, context, db, programFolder);
}

AExportWizard::~AExportWizard() = default;

AWizardStepProgress& AExportWizard::ProgressStep() const
{
    return *impl_->progress;
}

void RunExportWizard(const AProgramContext& context, Database::ADatabase& db, QWidget* parent)
{
    AExportWizard wizard(context, db, context.folders.pluginFolder, parent);
    context.Dialogs().RunModal(wizard);
}

}  // namespace UserInterface::Exchange
