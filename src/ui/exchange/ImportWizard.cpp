#include "ui/exchange/ImportWizard.h"

#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/UserDialogs.h"
#include "ui/exchange/CsvProfilesDialog.h"
#include "ui/exchange/StatementSteps.h"
#include "ui/exchange/StatementTexts.h"
#include "ui/exchange/StepErrors.h"
#include "ui/exchange/StepInterface.h"
#include "ui/exchange/StepProgress.h"
#include "ui/exchange/WizardTexts.h"
#include "win32api/DynaForm.h"

#include "ui/exchange/ExchangeModel.h"

#include "core/CodePage.h"
#pragma push_macro("slots")
#undef slots
#include "exchange/statements/StatementModules.h"
#pragma pop_macro("slots")

#include <functional>
#include <optional>

namespace UserInterface::Exchange {

namespace {

constexpr int kTitle = ExchangeText::kImportTitle, kReadyTitle = ExchangeText::kImportReadyTitle,
              kReadySubtitle = ExchangeText::kImportReadySubtitle;
constexpr std::int16_t kSaveFirst = -1;
constexpr const char* kReadyLayout = "{t1m8xeyt{bWexl[s#557]}{bt8Wexl[s#558]}{b#-1t8Wexl[s#559]}}";

using ExportImport::Wizards::AImportWizardModel;

// "Все готово к сохранению данных в файле", shown only when the read accepted something.
class AImportStepReady final : public AWizard::AWizardStep {
public:
    AImportStepReady(Database::ADatabase& db, std::function<bool()> canSave)
        : AWizardStep(kReadyTitle, kReadySubtitle, kReadyLayout), db_(db), canSave_(std::move(canSave))
    {
    }
    bool IsSkipped(const AWizard&) const override { return !canSave_(); }
    void OnEnter(AWizard&) override { Form()->ShowElement(kSaveFirst, db_.Modified()); }

private:
    Database::ADatabase& db_;
    std::function<bool()> canSave_;
};

}  // namespace

class AImportWizard::AImpl {
public:
    AImpl(AImportWizard& wizard, const AProgramContext& context, Database::ADatabase& db,
          const std::string& programFolder)
        : context(context),
          session(context.Strings(), context.Options().Store(), &display),
          model(db, session, programFolder),
          statement(db, session)
    {
        using AModuleStep = AWizardStepInterface<ExportImport::AImportInterface>;
        auto* modules = AddWizardStep<AModuleStep>(wizard, context, model.Modules(), 543, 544, false);
        modules->Build(wizard);
        modules->SetSettingsWindow([this](AWizard& w) {
            ExportImport::AImportInterface* module = model.Modules().Module();
            if (!module || ExportImport::Statements::StatementFormatOf(module->GetId()) !=
                               ExportImport::Statements::AStatementFormat::Csv)
                return false;
            RunCsvProfilesDialog(this->context, &w, model.Modules().FilePath());
            return true;
        });
        read = AddWizardStep<AWizardStepProgress>(
            wizard, context, 547, 548,
            [this] {
                display.target = read;
                return Read();
            },
            [this](AWizard& w) {
                const bool more = model.HasMessages() || (statementRead ? statement.HasLines() : model.CanSave());
                w.EnableButton(kBack, true);
                w.EnableButton(kNext, more);
                w.EnableButton(kFinish, !more);
                w.EnableButton(kCancel, true);
            });
        AddWizardStep<AWizardStepErrors>(wizard, context, session)->Build(wizard);
        const auto statementPages = [this] { return statementRead && statement.HasLines(); };
        AddWizardStep<AStatementStepAccount>(wizard, context, db, statement, statementPages)->Build();
        AddWizardStep<AStatementStepReview>(wizard, context, db, statement, statementPages)->Build(wizard);
        AddWizardStep<AImportStepReady>(wizard, db, [this] { return CanSave(); });
        save = AddWizardStep<AWizardStepProgress>(
            wizard, context, kReadyTitle, kReadySubtitle,
            [this] {
                display.target = save;
                return Save();
            },
            [](AWizard& w) { w.EnableButton(kFinish, true); });
        save->SetSkipped([this] { return !CanSave() && !Saved(); });
    }

    // The chosen module's file as an interchange document, or as a statement of its format.
    ExportImport::Wizards::ARunResult Read()
    {
        namespace Statements = ExportImport::Statements;
        ExportImport::AImportInterface* module = model.Modules().Module();
        statementRead = module ? Statements::StatementFormatOf(module->GetId()) : std::nullopt;
        if (!statementRead) {
            model.Read();
            return model.ReadOutcome();
        }
        Statements::AStatementReadOptions options;
        options.dayFirst = Statements::DayFirstIn(context.Strings().Locale().shortDatePicture);
        statement.Read(*module, *statementRead, model.Modules().FileName(), options);
        for (const Statements::AProblem& problem : statement.Statement().problems)
            session.AddMessage(true, StatementText::ProblemText(problem));
        return statement.ReadOutcome();
    }
    bool CanSave() const { return statementRead ? statement.CanSave() : model.CanSave(); }
    bool Saved() const { return statementRead ? statement.Saved() : model.Saved(); }
    ExportImport::Wizards::ARunResult Save()
    {
        if (statementRead) {
            statement.Save();
            return statement.SaveOutcome();
        }
        model.Save();
        return model.SaveOutcome();
    }

    const AProgramContext& context;
    AProgressRelay display;
    ExportImport::AModuleSession session;
    AImportWizardModel model;
    ExportImport::Statements::AStatementWizardModel statement;
    // The format of the statement the last read took the file for; none for a document.
    std::optional<ExportImport::Statements::AStatementFormat> statementRead;
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
