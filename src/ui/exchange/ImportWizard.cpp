#include "ui/exchange/ImportWizard.h"

#include "ui/ProgramContext.h"
#include "ui/UserDialogs.h"
#include "ui/exchange/StepErrors.h"
#include "ui/exchange/StepInterface.h"
#include "ui/exchange/StepProgress.h"
#include "ui/exchange/WizardTexts.h"
#include "win32api/DynaForm.h"

#include "ui/exchange/ExchangeModel.h"

#include "core/CodePage.h"

namespace UserInterface::Exchange {

namespace {

constexpr int kTitle = 542, kReadyTitle = 555, kReadySubtitle = 556;
constexpr std::int16_t kSaveFirst = -1;
constexpr const char* kReadyLayout = "{t1m8xeyt{bWexl[s#557]}{bt8Wexl[s#558]}{b#-1t8Wexl[s#559]}}";

using ExportImport::Wizards::AImportWizardModel;

// "Все готово к сохранению данных в файле", shown only when the read accepted something.
class AImportStepReady final : public AWizard::AWizardStep {
public:
    AImportStepReady(Database::ADatabase& db, AImportWizardModel& model)
        : AWizardStep(kReadyTitle, kReadySubtitle, kReadyLayout), db_(db), model_(model)
    {
    }
    bool IsSkipped(const AWizard&) const override { return !model_.CanSave(); }
    void OnEnter(AWizard&) override { Form()->ShowElement(kSaveFirst, db_.Modified()); }

private:
    Database::ADatabase& db_;
    AImportWizardModel& model_;
};

}  // namespace

class AImportWizard::AImpl {
public:
    AImpl(AImportWizard& wizard, const AProgramContext& context, Database::ADatabase& db,
          const std::string& programFolder)
        : session(context.Strings(), context.Options().Store(), &display), model(db, session, programFolder)
    {
        using AModuleStep = AWizardStepInterface<ExportImport::AImportInterface>;
        AddWizardStep<AModuleStep>(wizard, context, model.Modules(), 543, 544, false)->Build(wizard);
        read = AddWizardStep<AWizardStepProgress>(
            wizard, context, 547, 548,
            [this] {
                display.target = read;
                model.Read();
                return model.ReadOutcome();
            },
            [this](AWizard& w) {
                const bool more = model.HasMessages() || model.CanSave();
                w.EnableButton(kBack, true);
                w.EnableButton(kNext, more);
                w.EnableButton(kFinish, !more);
                w.EnableButton(kCancel, true);
            });
        AddWizardStep<AWizardStepErrors>(wizard, context, session)->Build(wizard);
        AddWizardStep<AImportStepReady>(wizard, db, model);
        save = AddWizardStep<AWizardStepProgress>(
            wizard, context, kReadyTitle, kReadySubtitle,
            [this] {
                display.target = save;
                model.Save();
                return model.SaveOutcome();
            },
            [](AWizard& w) { w.EnableButton(kFinish, true); });
        save->SetSkipped([this] { return !model.CanSave() && !model.Saved(); });
    }

    AProgressRelay display;
    ExportImport::AModuleSession session;
    AImportWizardModel model;
    AWizardStepProgress* read = nullptr;
    AWizardStepProgress* save = nullptr;
};

AImportWizard::AImportWizard(const AProgramContext& context, Database::ADatabase& db, const std::string& programFolder,
                             QWidget* parent)
    : AWizard(context.strings.get(), kTitle, parent)
{
    impl_ = std::make_unique<AImpl>(*this, context, db, programFolder);
}

AImportWizard::~AImportWizard() = default;

AWizardStepProgress& AImportWizard::ReadStep() const
{
    return *impl_->read;
}

AWizardStepProgress& AImportWizard::SaveStep() const
{
    return *impl_->save;
}

void RunImportWizard(const AProgramContext& context, Database::ADatabase& db, QWidget* parent)
{
    if (const int refusal = AImportWizardModel::Refusal(db)) {
        const std::u16string name = UtilityClasses::Strings::Utf8ToUtf16(db.FileName().NameWithExtension());
        ShowWizardMessage(context, parent, refusal, Win32API::VelvixForms::AMessageIcon::Information, {name});
        return;
    }
    AImportWizard wizard(context, db, context.folders.pluginFolder, parent);
    context.Dialogs().RunModal(wizard);
}

}  // namespace UserInterface::Exchange
