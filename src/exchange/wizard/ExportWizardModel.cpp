#include "exchange/wizard/ExportWizardModel.h"

#include "core/CodePage.h"
#include "exchange/ExchangeTexts.h"

#include <filesystem>

namespace ExportImport::Wizards {

namespace {
constexpr int kNoModule = WizardMessage::kNoExportModule, kNoFile = WizardMessage::kNoExportFile;
using WizardMessage::kExported, WizardMessage::kExportFailed, WizardMessage::kNoAccount, WizardMessage::kNoKind;
}  // namespace

AExportWizardModel::AExportWizardModel(ADatabase& db, AModuleSession& session, const std::string& programFolder)
    : db_(db), session_(session), source_(CreateExportSource(session, programFolder))
{
    modules_ = std::make_unique<AModuleChoice<AExportInterface>>(
        *source_, session.Store(), UserInterface::Settings::ALibraryUse::Export,
        AModuleChoice<AExportInterface>::ARefusals{kNoModule, kNoFile});
    selection_ = SelectEverything(db, {});
    classifiers_ = selection_.classifierList;
    classifierTicks_.assign(classifiers_.size(), true);
}

AExportWizardModel::~AExportWizardModel() = default;

std::u16string AExportWizardModel::ClassifierName(std::size_t index) const
{
    const AClassifier* record = index < classifiers_.size() ? db_.Classifiers().Record(classifiers_[index]) : nullptr;
    return record ? std::u16string(db_.Text(record->plural)) : std::u16string();
}

bool AExportWizardModel::OverwriteApplies() const
{
    std::error_code error;
    const std::string path = modules_->FilePath();
    return !path.empty() && std::filesystem::exists(path, error);
}

AExportSelection AExportWizardModel::Chosen() const
{
    AExportSelection chosen = selection_;
    chosen.classifierList.clear();
    for (std::size_t i = 0; i < classifiers_.size(); ++i)
        if (classifierTicks_[i])
            chosen.classifierList.push_back(classifiers_[i]);
    chosen.classifiers = !chosen.classifierList.empty();
    if (!chosen.transactions) {
        chosen.period.reset();
        chosen.transactionAccounts.reset();
    }
    return chosen;
}

int AExportWizardModel::KindsRefusal() const
{
    const AExportSelection chosen = Chosen();
    const bool any = chosen.currencies || chosen.rates || chosen.accounts || chosen.classifiers || chosen.transactions;
    return any ? 0 : kNoKind;
}

int AExportWizardModel::AccountsRefusal() const
{
    const bool none = selection_.transactionAccounts && selection_.transactionAccounts->empty();
    return TransactionPagesApply() && none ? kNoAccount : 0;
}

HRESULT AExportWizardModel::Run(AClock clock)
{
    AExportRun run;
    run.selection = Chosen();
    run.fileName = modules_->UsesFile() ? modules_->FileName() : std::u16string();
    run.clock = clock;
    result_ = modules_->Module() ? RunExport(*modules_->Module(), db_, run, session_) : Result::kUnexpected;
    return result_;
}

ARunResult AExportWizardModel::Outcome() const
{
    const bool clean = Result::Succeeded(result_) && session_.Clean();
    return {clean ? kExported : kExportFailed, clean};
}

}  // namespace ExportImport::Wizards
