// The page of a run's messages: errors and warnings with their icons and the counts; a
// double click (or Enter) on one shows its whole text.
#pragma once
#include "win32api/AWizard.h"

#include "ui/exchange/ExchangeModel.h"

#include <memory>

namespace UserInterface {
struct AProgramContext;
class APageMode;
}  // namespace UserInterface

namespace UserInterface::Exchange {

class AWizardStepErrors final : public AWizard::AWizardStep {
public:
    AWizardStepErrors(const AProgramContext& context, const ExportImport::AModuleSession& session);
    ~AWizardStepErrors() override;

    // Fills the page once the wizard has made it.
    void Build(AWizard& wizard);
    // The page applies only when the run collected messages.
    bool IsSkipped(const AWizard& wizard) const override;
    void OnEnter(AWizard& wizard) override;

private:
    const AProgramContext& context_;
    const ExportImport::AModuleSession& session_;
    std::unique_ptr<APageMode> mode_;
};

}  // namespace UserInterface::Exchange
