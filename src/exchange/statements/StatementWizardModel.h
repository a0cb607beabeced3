// The statement side of the import wizard without its windows: the file read through its
// module, the account of the data file it goes into (remembered per bank account), the plan
// of new and skipped lines with the categories the user may change, and the save as one
// undoable step.
//
//   module    the statement module and its file
//   read      its messages (the problems, told by the wizard in its words)
//   account   the account to import into; one in another currency is refused
//   review    the new lines with their categories, the skipped ones with the reason
//   ready     save
#pragma once
#include "exchange/wizard/ExportWizardModel.h"
#include "exchange/modules/ModuleSession.h"
#include "exchange/statements/StatementFormats.h"
#include "exchange/statements/StatementImport.h"

#include <optional>

namespace ExportImport::Statements {

enum class AAccountRefusal { None, NoAccount, OtherCurrency };

class AStatementWizardModel {
public:
    AStatementWizardModel(Database::ADatabase& db, AModuleSession& session);

    // ---- the read phase. The session's messages are cleared; a file that can't be opened
    // adds its error. The statement's own problems are the caller's to tell. A CSV
    // statement is read with the current profile (ACsvProfiles), not with `options.mapping`.
    bool Read(AImportInterface& module, AStatementFormat format, const std::u16string& fileName,
              const AStatementReadOptions& options);
    const AStatementRead& Statement() const { return read_; }
    bool HasLines() const { return !read_.statement.lines.empty(); }
    Wizards::ARunResult ReadOutcome() const;

    // ---- the account
    // The account remembered for the statement's bank account; null when there is none.
    Database::AReference<Database::AAccount> RememberedAccount();
    AAccountRefusal Refusal(Database::AReference<Database::AAccount> account);
    // Plans the statement into `account`, which passed Refusal.
    void Plan(Database::AReference<Database::AAccount> account);
    const AStatementPlan& Planned() const { return plan_; }
    Database::AReference<Database::AAccount> Account() const { return account_; }
    const AStatementImportOptions& Options() const { return options_; }

    // ---- the review: line `index`'s category in `classifier`; a null category clears it.
    void SetCategory(std::size_t index, Database::AReference<Database::AClassifier> classifier,
                     Database::AReference<Database::ACategory> category);
    Database::AReference<Database::ACategory> CategoryOf(std::size_t index,
                                                         Database::AReference<Database::AClassifier> classifier);

    // ---- the save phase: the new lines in one step; the account is remembered for the next
    // statement of the same bank account and the module as the last import module.
    bool CanSave() const { return planned_ && !saved_ && plan_.NewCount() > 0; }
    bool Save();
    bool Saved() const { return saved_; }
    Wizards::ARunResult SaveOutcome() const;

private:
    std::string MemoryName() const;

    Database::ADatabase& db_;
    AModuleSession& session_;
    AImportInterface* module_ = nullptr;
    AStatementFormat format_ = AStatementFormat::Ofx;
    bool opened_ = false;
    AStatementRead read_;
    AStatementImportOptions options_;
    Database::AReference<Database::AAccount> account_;
    AStatementPlan plan_;
    bool planned_ = false;
    bool saved_ = false;
};

}  // namespace ExportImport::Statements
