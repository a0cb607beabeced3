// The import wizard's pages of a bank statement: the account of the data file it goes into,
// and the review of its lines with their categories before saving.
#pragma once
#include "win32api/AWizard.h"

#include "ui/exchange/ExchangeModel.h"
#pragma push_macro("slots")
#undef slots
#include "exchange/statements/StatementWizardModel.h"
#pragma pop_macro("slots")

#include <functional>
#include <memory>
#include <vector>

namespace UserInterface {
struct AProgramContext;
class APageMode;
}  // namespace UserInterface
namespace UserInterface::Filters {
class AAccountChooser;
class ACategoryChooser;
}  // namespace UserInterface::Filters

namespace UserInterface::Exchange {

// Both pages are passed by unless a statement was read (`active`).
using AStatementActive = std::function<bool()>;

class AStatementStepAccount final : public AWizard::AWizardStep {
public:
    AStatementStepAccount(const AProgramContext& context, Database::ADatabase& db,
                          ExportImport::Statements::AStatementWizardModel& model, AStatementActive active);
    ~AStatementStepAccount() override;

    void Build();
    bool IsSkipped(const AWizard&) const override { return !active_(); }
    void OnEnter(AWizard& wizard) override;
    bool OnLeave(AWizard& wizard, bool forward) override;

private:
    const AProgramContext& context_;
    Database::ADatabase& db_;
    ExportImport::Statements::AStatementWizardModel& model_;
    AStatementActive active_;
    std::unique_ptr<Filters::AAccountChooser> accounts_;
};

class AStatementStepReview final : public AWizard::AWizardStep {
public:
    AStatementStepReview(const AProgramContext& context, Database::ADatabase& db,
                         ExportImport::Statements::AStatementWizardModel& model, AStatementActive active);
    ~AStatementStepReview() override;

    void Build();
    bool IsSkipped(const AWizard&) const override { return !active_(); }
    void OnEnter(AWizard& wizard) override;

private:
    struct ACategoryRow;
    void ShowLine();
    std::size_t FocusedLine() const;

    const AProgramContext& context_;
    Database::ADatabase& db_;
    ExportImport::Statements::AStatementWizardModel& model_;
    AStatementActive active_;
    std::unique_ptr<APageMode> mode_;
    std::vector<ACategoryRow> rows_;
    bool showing_ = false;
};

}  // namespace UserInterface::Exchange
