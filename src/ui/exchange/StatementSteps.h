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
#include <string>
#include <vector>

namespace UserInterface {
struct AProgramContext;
class APageMode;
}  // namespace UserInterface
namespace UserInterface::Filters {
class AAccountChooser;
}  // namespace UserInterface::Filters

namespace UserInterface::Exchange {

class AClassifierChoosers;

// Both pages are passed by unless a statement was read (`active`).
using AStatementActive = std::function<bool()>;

// What both pages share: the model, and being passed by without a statement.
class AStatementStep : public AWizard::AWizardStep {
public:
    AStatementStep(const AProgramContext& context, Database::ADatabase& db,
                   ExportImport::Statements::AStatementWizardModel& model, AStatementActive active, std::string layout);
    bool IsSkipped(const AWizard&) const override { return !active_(); }

protected:
    const AProgramContext& context_;
    Database::ADatabase& db_;
    ExportImport::Statements::AStatementWizardModel& model_;

private:
    AStatementActive active_;
};

class AStatementStepAccount final : public AStatementStep {
public:
    AStatementStepAccount(const AProgramContext& context, Database::ADatabase& db,
                          ExportImport::Statements::AStatementWizardModel& model, AStatementActive active);
    ~AStatementStepAccount() override;

    void Build();
    void OnEnter(AWizard& wizard) override;
    bool OnLeave(AWizard& wizard, bool forward) override;

private:
    std::unique_ptr<Filters::AAccountChooser> accounts_;
};

class AStatementStepReview final : public AStatementStep {
public:
    AStatementStepReview(const AProgramContext& context, Database::ADatabase& db,
                         ExportImport::Statements::AStatementWizardModel& model, AStatementActive active);
    ~AStatementStepReview() override;

    void Build(AWizard& wizard);
    void OnEnter(AWizard& wizard) override;

private:
    void ShowLine();
    std::size_t FocusedLine() const;

    std::unique_ptr<APageMode> mode_;
    std::unique_ptr<AClassifierChoosers> choosers_;
};

}  // namespace UserInterface::Exchange
