// The import wizard without its windows: the module and file, the read phase and what its
// result page says, whether there is anything to save, and the save phase.
//
//   1 module    the module and its file; Next refuses without them (545, 546)
//   2 read      3 messages (only when the read collected some)
//   4 ready     5 save      (only when the read phase accepted something)
#pragma once
#include "exchange/wizard/ExportWizardModel.h"
#include "exchange/import/ImportRun.h"
#include "exchange/import/ImportSources.h"

#include <memory>

namespace ExportImport::Wizards {

class AImportWizardModel {
public:
    AImportWizardModel(Database::ADatabase& db, AModuleSession& session, const std::string& programFolder);
    ~AImportWizardModel();

    AModuleChoice<AImportInterface>& Modules() { return *modules_; }

    // A file that can't be changed takes no import: the text to refuse the wizard with, or 0.
    static int Refusal(const Database::ADatabase& db);

    // ---- the read phase; a new read forgets the batch of the last one
    bool Read();
    ARunResult ReadOutcome() const;
    bool HasMessages() const { return !session_.Clean(); }
    // The read phase accepted records and they were not saved yet.
    bool CanSave() const { return batch_ && read_ && !saved_ && batch_->RecordCount() > 0; }

    // ---- the save phase, one undoable step
    HRESULT Save();
    bool Saved() const { return saved_; }
    ARunResult SaveOutcome() const;

private:
    Database::ADatabase& db_;
    AModuleSession& session_;
    std::unique_ptr<Private::AImportSource> source_;
    std::unique_ptr<AModuleChoice<AImportInterface>> modules_;
    std::unique_ptr<AImportBatch> batch_;
    bool read_ = false;
    bool saved_ = false;
    HRESULT saveResult_ = Result::kOk;
};

}  // namespace ExportImport::Wizards
