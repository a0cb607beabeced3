// The export wizard without its windows: the module and file, what to export, the period and
// the accounts, which pages apply, the run and what its result page says.
//
//   1 module     the module and its file; Next refuses without them (775, 788)
//   2 overwrite  only when the chosen file exists
//   3 kinds      the kinds and the ticked classifiers; Next refuses nothing chosen (762)
//   4 dates      all transactions or a period } only while transactions are chosen
//   5 accounts   the ticked accounts (764)    }
//   6 ready      7 run      8 messages (only when the run collected some)
#pragma once
#include "exchange/export/ExportRun.h"
#include "exchange/export/ExportSources.h"
#include "exchange/wizard/WizardModules.h"

#include <memory>
#include <vector>

namespace ExportImport::Wizards {

// The text and icon of a run's result page.
struct ARunResult {
    int textId = 0;
    bool clean = false;  // the information icon; otherwise the warning icon
};

class AExportWizardModel {
public:
    AExportWizardModel(ADatabase& db, AModuleSession& session, const std::string& programFolder);
    ~AExportWizardModel();

    AModuleChoice<AExportInterface>& Modules() { return *modules_; }

    // ---- what to export
    AExportSelection& Selection() { return selection_; }
    // Every classifier of the file, in the list's order, and whether each is ticked.
    const std::vector<AReference<AClassifier>>& Classifiers() const { return classifiers_; }
    std::vector<bool>& ClassifierTicks() { return classifierTicks_; }
    std::u16string ClassifierName(std::size_t index) const;
    void SetPeriod(std::optional<AExportPeriod> period) { selection_.period = period; }
    void SetAccounts(std::vector<AReference<AAccount>> accounts) { selection_.transactionAccounts = std::move(accounts); }

    // ---- which pages apply, and what refuses Next
    bool OverwriteApplies() const;
    bool TransactionPagesApply() const { return selection_.transactions; }
    int KindsRefusal() const;
    int AccountsRefusal() const;

    // ---- the run
    HRESULT Run(AClock clock);
    ARunResult Outcome() const;
    bool HasMessages() const { return !session_.Clean(); }

private:
    AExportSelection Chosen() const;

    ADatabase& db_;
    AModuleSession& session_;
    std::unique_ptr<Private::AExportSource> source_;
    std::unique_ptr<AModuleChoice<AExportInterface>> modules_;
    AExportSelection selection_;
    std::vector<AReference<AClassifier>> classifiers_;
    std::vector<bool> classifierTicks_;
    HRESULT result_ = Result::kOk;
};

}  // namespace ExportImport::Wizards
