#include "exchange/wizard/ImportWizardModel.h"
#include "database/DataFileSession.h"
#include "exchange/import/ImportTexts.h"

namespace ExportImport::Wizards {

namespace {
constexpr int kNoModule = WizardMessage::kNoImportModule, kNoFile = WizardMessage::kNoImportFile,
              kReadOnlyFile = Database::FileMessage::kReadOnlyFile;
constexpr int kRead = ImportText::kReadDone, kReadFailed = ImportText::kReadFailed,
              kImported = ImportText::kImportCompleted, kSaveFailed = ImportText::kSaveFailed;
}  // namespace

AImportWizardModel::AImportWizardModel(Database::ADatabase& db, AModuleSession& session,
                                       const std::string& programFolder)
    : db_(db), session_(session), source_(CreateImportSource(session, programFolder))
{
    modules_ = std::make_unique<AModuleChoice<AImportInterface>>(
        *source_, session.Store(), UserInterface::Settings::ALibraryUse::Import,
        AModuleChoice<AImportInterface>::ARefusals{kNoModule, kNoFile});
}

AImportWizardModel::~AImportWizardModel() = default;

int AImportWizardModel::Refusal(const Database::ADatabase& db)
{
    return db.ReadOnly() ? kReadOnlyFile : 0;
}

bool AImportWizardModel::Read()
{
    read_ = saved_ = false;
    if (!modules_->Module())
        return false;
    read_ = ReadDocument(*modules_->Module(), db_, modules_->UsesFile() ? modules_->FileName() : std::u16string(),
                         session_, batch_);
    return read_;
}

ARunResult AImportWizardModel::ReadOutcome() const
{
    const bool clean = read_ && session_.Clean();
    return {clean ? kRead : kReadFailed, clean};
}

HRESULT AImportWizardModel::Save()
{
    if (!CanSave())
        return saveResult_ = Result::kUnexpected;
    saveResult_ = SaveImport(*modules_->Module(), db_, session_, *batch_);
    saved_ = Result::Succeeded(saveResult_);
    return saveResult_;
}

ARunResult AImportWizardModel::SaveOutcome() const
{
    return {saved_ ? kImported : kSaveFailed, saved_};
}

}  // namespace ExportImport::Wizards
